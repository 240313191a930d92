// What a square does to a unit arriving on it: brushfire, water, gold, the mine claim and the map objects.
#include <gtest/gtest.h>

#include <functional>

#include "game/model/death.h"
#include "game/model/mapgen.h"
#include "game/model/squares.h"
#include "tests/game/model/units_fixture.h"

namespace {

constexpr int32_t SX = 5, SY = 5;

struct SquareCase {
    const char* what;
    uint8_t terrain, extra;
    bool warlord;                       // the arriving unit is its player's first
    bool neutral;                       // of the neutral side (else the local player 0)
    std::function<void(Unit&)> prepare; // may be empty
    uint8_t wantterrain, wantextra;
    const char* feed;                   // the line the local player reads; null for none
    std::function<void(const Unit&, const Player&)> check;  // may be empty
};

void FillAbilities(Unit& u)
{
    for (int32_t& a : u.abilities)
        a = A_TOUGH;
}

} // namespace

class SquaresTest : public UnitsTest {
protected:
    // The arriving unit, standing on (SX, SY); the warlord is elsewhere unless it is the one arriving.
    int32_t Arrive(const SquareCase& c)
    {
        const int32_t player = c.neutral ? 2 : 0;
        if (!c.warlord)
            AddTestUnit(player, 0, 0);
        const int32_t u = AddTestUnit(player, SX, SY);
        if (c.prepare)
            c.prepare(U(player, u));
        map[SX][SY].terrain = c.terrain;
        map[SX][SY].extra = c.extra;
        ClearHeard();
        EnterSquare(player, u);
        return u;
    }
};

TEST_F(SquaresTest, EachSquareActsOnTheUnitThatArrives)
{
    const SquareCase cases[] = {
        { "deposit 0", TERRAIN_DEPOSIT, 0, false, false, {}, TERRAIN_OPEN, 0, "Your Soldier found 10 gold.",
          [](const Unit&, const Player& pl) { EXPECT_EQ(pl.gold, 760); } },
        { "deposit 3", TERRAIN_DEPOSIT, 3, false, false, {}, TERRAIN_OPEN, 3, "Your Soldier found 25 gold.",
          [](const Unit&, const Player& pl) { EXPECT_EQ(pl.gold, 775); } },
        { "deposit, neutral", TERRAIN_DEPOSIT, 3, false, true, {}, TERRAIN_DEPOSIT, 3, nullptr,
          [](const Unit&, const Player& pl) { EXPECT_EQ(pl.gold, 0); } },
        { "free mine", TERRAIN_MINE, MINENOBODY, false, false, {}, TERRAIN_MINE, 0, "Your unit claimed this gold mine.", {} },
        { "own mine", TERRAIN_MINE, 0, false, false, {}, TERRAIN_MINE, 0, nullptr, {} },
        { "another's mine", TERRAIN_MINE, 1, false, false, {}, TERRAIN_MINE, 0, "Your unit claimed this gold mine.", {} },
        { "mine, neutral", TERRAIN_MINE, 0, false, true, {}, TERRAIN_MINE, MINENOBODY, nullptr, {} },
        { "node", TERRAIN_SITE, SITE_NODE, false, false, [](Unit& u) { u.mana = 2; }, TERRAIN_SITE, 1,
          "Your unit visited a node and regained mana.", [](const Unit& u, const Player&) { EXPECT_EQ(u.mana, 10); } },
        { "used node", TERRAIN_SITE, 1, false, false, [](Unit& u) { u.mana = 2; }, TERRAIN_SITE, 1, nullptr,
          [](const Unit& u, const Player&) { EXPECT_EQ(u.mana, 2); } },
        { "node, neutral", TERRAIN_SITE, SITE_NODE, false, true, [](Unit& u) { u.mana = 2; }, TERRAIN_SITE, 0, nullptr,
          [](const Unit& u, const Player&) { EXPECT_EQ(u.mana, 2); } },
        { "tome", TERRAIN_SITE, SITE_TOME, false, false, {}, TERRAIN_SITE, 3,
          "Your unit read this Tome of the Wise and gained experience.",
          [](const Unit& u, const Player&) { EXPECT_EQ(u.experience, 20); } },   // half of 40
        { "tome, warlord", TERRAIN_SITE, SITE_TOME, true, false, {}, TERRAIN_SITE, SITE_TOME,
          "Your warlord already knows the arcane contents of this tome.",
          [](const Unit& u, const Player&) { EXPECT_EQ(u.experience, 0); } },
        { "vial", TERRAIN_SITE, SITE_VIAL, false, false, {}, TERRAIN_SITE, 5, "Your unit's weapon is now poisoned.",
          [](const Unit& u, const Player&) { EXPECT_EQ(u.abilities[0], A_POISON); } },
        { "vial, abilities full", TERRAIN_SITE, SITE_VIAL, false, false, FillAbilities, TERRAIN_SITE, SITE_VIAL,
          "Your unit cannot use this item.", {} },
        { "vial, poison known", TERRAIN_SITE, SITE_VIAL, false, false, [](Unit& u) { u.abilities[3] = A_POISON; },
          TERRAIN_SITE, SITE_VIAL, nullptr, [](const Unit& u, const Player&) { EXPECT_EQ(u.abilities[0], -1); } },
        { "weapon", TERRAIN_SITE, SITE_WEAPON, true, false, {}, TERRAIN_SITE, 7,
          "Your unit used this Ancient Weapon to enhance its attack.",
          [](const Unit& u, const Player&) { EXPECT_EQ(u.stat[STAT_ATTACK], 4); } },
        { "statue", TERRAIN_SITE, SITE_STATUE, false, false, {}, TERRAIN_SITE, 9, "This statue raised your unit's stamina.",
          [](const Unit& u, const Player&) {
              EXPECT_EQ(u.wards[0].inuse, 1);
              EXPECT_EQ(u.wards[0].mods[STAT_ATTACK], 2);
          } },
        { "scroll, spells full", TERRAIN_SITE, SITE_SCROLL, false, false,
          [](Unit& u) {
              for (int32_t& s : u.spells)
                  s = S_VIGILANCE;
          },
          TERRAIN_SITE, SITE_SCROLL, "Your unit already knows the maximum number of spells.", {} },
        { "beacon", TERRAIN_SITE, SITE_BEACON, false, false, {}, TERRAIN_SITE, 13,
          "This Beacon of Invisibility has shrouded your unit.",
          [](const Unit& u, const Player&) { EXPECT_EQ(u.wards[0].mods[STAT_STEALTH], 2); } },
        { "beacon, warlord", TERRAIN_SITE, SITE_BEACON, true, false, {}, TERRAIN_SITE, SITE_BEACON,
          "The Beacon of Invisibility is too weak to mask your warlord's presence.",
          [](const Unit& u, const Player&) { EXPECT_EQ(u.wards[0].inuse, 0); } },
        { "pillar", TERRAIN_SITE, SITE_PILLAR, false, false, {}, TERRAIN_SITE, 15,
          "This Pillar of Lost Sights revealed distant portions of the world.", {} },
        { "past the last object", TERRAIN_SITE, 16, false, false, {}, TERRAIN_SITE, 16, nullptr, {} },
        { "water", TERRAIN_RIVER, 3, false, false, {}, TERRAIN_RIVER, 3, nullptr, {} },
    };
    for (const SquareCase& c : cases) {
        SCOPED_TRACE(c.what);
        MakeWorld(2, 20);
        if (c.neutral)
            p[2].gold = 0;
        const int32_t player = c.neutral ? 2 : 0;
        const int32_t u = Arrive(c);
        EXPECT_EQ(map[SX][SY].terrain, c.wantterrain);
        EXPECT_EQ(map[SX][SY].extra, c.wantextra);
        if (c.feed) {
            ASSERT_EQ(Feed().size(), 1u);
            EXPECT_EQ(Feed()[0], c.feed);
        } else {
            EXPECT_TRUE(Feed().empty());
        }
        if (c.check)
            c.check(U(player, u), p[player]);
    }
}

TEST_F(SquaresTest, AScrollTeachesTheSameSpellOnEveryMachineAndStaysWhenNoneIsLeft)
{
    // The spells looked at start after (id + x + y) mod 4; of the four, Spark (0) and Glow (3) are class 1.
    struct Case {
        int32_t offset;                 // (id + x + y) mod 4
        int32_t known;                  // a spell the unit knows already, -1 none
        int32_t learned;                // -1: the scroll stays
    };
    const Case cases[] = {
        { 0, -1, S_GLOW }, { 2, -1, S_GLOW }, { 3, -1, S_SPARK }, { 3, S_SPARK, S_GLOW }, { 1, S_GLOW, S_SPARK },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        MakeWorld(2, 20);
        AddTestUnit(0, 0, 0);
        const int32_t u = AddTestUnit(0, SX, SY);
        U(0, u).id = 400 + (c.offset + 4 - (SX + SY) % 4) % 4;
        U(0, u).spells[1] = c.known;
        map[SX][SY].terrain = TERRAIN_SITE;
        map[SX][SY].extra = SITE_SCROLL;
        EnterSquare(0, u);
        EXPECT_EQ(U(0, u).spells[0], c.learned);
        EXPECT_EQ(map[SX][SY].terrain, TERRAIN_OPEN);
        EXPECT_TRUE(Fed(std::string("Your unit learned the spell The ") + spells[c.learned].name));
    }

    MakeWorld(2, 20);
    AddTestUnit(0, 0, 0);
    const int32_t u = AddTestUnit(0, SX, SY);
    U(0, u).spells[0] = S_SPARK;
    U(0, u).spells[4] = S_GLOW;
    map[SX][SY].terrain = TERRAIN_SITE;
    map[SX][SY].extra = SITE_SCROLL;
    EnterSquare(0, u);
    EXPECT_EQ(map[SX][SY].extra, SITE_SCROLL);
    EXPECT_EQ(U(0, u).spells[1], -1);
}

TEST_F(SquaresTest, ABrushfireBurnsAllButFlyersAndTheHostRecordsTheDeath)
{
    map[SX][SY].hazard = 2;
    const int32_t walker = AddTestUnit(0, SX, SY);
    EnterSquare(0, walker);
    EXPECT_EQ(U(0, walker).hp, 10 - BRUSHFIREDAMAGE);
    const int32_t flyer = AddTestUnit(0, SX, SY);
    U(0, flyer).abilities[2] = A_FLYING;
    EnterSquare(0, flyer);
    EXPECT_EQ(U(0, flyer).hp, 10);
    EXPECT_TRUE(deathlist.empty());

    EnterSquare(0, walker);             // 0 hit points left
    ASSERT_EQ(deathlist.size(), 1u);
    EXPECT_EQ(deathlist[0].id, U(0, walker).id);
    EXPECT_EQ(deathlist[0].killer, 2);  // the neutral side

    deathlist.clear();
    BecomeClient(1);
    const int32_t other = AddTestUnit(1, SX, SY);
    U(1, other).hp = 3;
    EnterSquare(1, other);
    EXPECT_TRUE(deathlist.empty());     // a client hears of it from the host
}

TEST_F(SquaresTest, SoundsPlayOnlyWhereTheLocalPlayerHasLooked)
{
    map[SX][SY].terrain = TERRAIN_RIVER;
    map[SX][SY].hazard = 1;
    const int32_t u = AddTestUnit(1, SX, SY);
    EnterSquare(1, u);
    EXPECT_TRUE(HeardSounds().empty());
    map[SX][SY].explored = 1;
    EnterSquare(1, u);
    ASSERT_FALSE(HeardSounds().empty());
    EXPECT_EQ(HeardSounds().back(), ".\\Sound\\GSWater.wav");
    EXPECT_EQ(U(1, u).hp, 10 - 2 * BRUSHFIREDAMAGE);     // burnt first, then the water

    map[6][6].terrain = TERRAIN_DEPOSIT;
    const int32_t g = AddTestUnit(0, 6, 6);
    ClearHeard();
    EnterSquare(0, g);
    EXPECT_TRUE(HeardSounds().empty());
}

// The neutral side owns no mine: each of its arrivals frees the mine again, with the line (in its own
// feed, which nobody reads) and the sound; a player arriving on his own mine changes nothing.
TEST_F(SquaresTest, TheNeutralSideFreesAMineEveryTimeItArrives)
{
    map[SX][SY].terrain = TERRAIN_MINE;
    map[SX][SY].extra = MINENOBODY;
    map[SX][SY].explored = 1;
    const int32_t neutral = static_cast<int32_t>(p.size()) - 1;
    const int32_t guard = AddTestUnit(neutral, SX, SY);
    for (int arrival = 0; arrival < 2; arrival++) {
        ClearHeard();
        EnterSquare(neutral, guard);
        EXPECT_EQ(map[SX][SY].extra, MINENOBODY);
        ASSERT_EQ(HeardSounds().size(), 1u) << arrival;
        EXPECT_EQ(HeardSounds()[0], ".\\Sound\\GSGold.wav");
    }
    const int32_t u = AddTestUnit(0, SX, SY);
    EnterSquare(0, u);
    EXPECT_EQ(map[SX][SY].extra, p[0].code - FIRSTCODE);
    ClearHeard();
    ClearHeard();
    EnterSquare(0, u);
    EXPECT_TRUE(HeardSounds().empty());
    EXPECT_TRUE(Feed().empty());
}

TEST_F(SquaresTest, APillarRevealsEveryPillarForItsOwnerOnly)
{
    const int32_t pillars[3][2] = { { 2, 2 }, { 15, 3 }, { 12, 17 } };
    for (const auto& at : pillars) {
        map[at[0]][at[1]].terrain = TERRAIN_SITE;
        map[at[0]][at[1]].extra = SITE_PILLAR;
    }
    map[12][17].extra = SITE_PILLAR + 1;    // used up, still shown
    const int32_t other = AddTestUnit(1, 2, 2);
    EnterSquare(1, other);
    EXPECT_EQ(map[2][2].extra, SITE_PILLAR + 1);
    EXPECT_EQ(map[15][3].explored, 0);      // another player's pillar shows this machine nothing

    const int32_t u = AddTestUnit(0, 15, 3);
    EnterSquare(0, u);
    for (const auto& at : pillars) {
        EXPECT_EQ(map[at[0]][at[1]].explored, 1);
        EXPECT_EQ(map[at[0] + 1][at[1]].explored, 1);
        EXPECT_EQ(map[at[0]][at[1] - 1].explored, 1);
        EXPECT_EQ(map[at[0] - 1][at[1] - 1].explored, 1);
    }
    EXPECT_EQ(map[15][6].explored, 0);      // the sight of a pillar is short
}

TEST_F(SquaresTest, APowerNeitherTableHasIsReported)
{
    const int32_t u = AddTestUnit(0, 1, 1);
    EXPECT_TRUE(AddPowerNamed(0, u, "Nothing"));
    EXPECT_TRUE(Logged("ERROR: Cannot find a spell or ability named Nothing"));
    EXPECT_FALSE(AddPowerNamed(0, u, "Glow"));
    EXPECT_EQ(U(0, u).spells[0], S_GLOW);
    EnterSquare(0, 7);                      // no such unit
    EXPECT_TRUE(Logged("ERROR: EnterSquare"));
    U(0, u).x = -3;
    EnterSquare(0, u);                      // off the map: left alone
}
