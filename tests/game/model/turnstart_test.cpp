// The start-of-turn update.
#include <vector>

#include "game/model/abilityslots.h"
#include "game/model/digest.h"
#include "game/model/stats.h"
#include "game/model/turnstart.h"
#include "game/model/wards.h"
#include "tests/game/model/rules_fixture.h"

namespace {

class TurnStartTest : public RulesTest {};

TEST_F(TurnStartTest, OneUnitsUpdate)
{
    struct Case {
        const char* what;
        int32_t wardturns, wardmoves, wardactions, wardmana;   // one ward (turns -99: none)
        int32_t hp, poison, mana;
        // after
        bool wardleft;
        int32_t moves, hits, hpafter, poisonafter, manaafter;
        const char* feed;   // null: none
    };
    // Soldier: moves 3, actions 2, mana 1, life 10.
    const Case cases[] = {
        { "no ward", -99, 0, 0, 0, 10, 0, 0, false, 3, 2, 10, 0, 1, nullptr },
        { "ward ending now gives nothing this turn", 0, 2, 1, 0, 10, 0, 0, false, 3, 2, 10, 0, 1, nullptr },
        { "ward with a turn left still counts", 1, 2, 1, 0, 10, 0, 0, true, 5, 3, 10, 0, 1, nullptr },
        { "poison bites above 2 hp", -99, 0, 0, 0, 10, 3, 0, false, 3, 2, 8, 2, 1,
          "Poison saps the strength of your Soldier." },
        { "poison at 3 hp: to 1", -99, 0, 0, 0, 3, 2, 0, false, 3, 2, 1, 1, 1,
          "Poison saps the strength of your Soldier." },
        { "last poison turn", -99, 0, 0, 0, 9, 1, 0, false, 3, 2, 7, 0, 1, "Your Soldier is rid of poison." },
        { "poison waits at 2 hp", -99, 0, 0, 0, 2, 3, 0, false, 3, 2, 2, 3, 1, nullptr },
        { "poison waits at 1 hp", -99, 0, 0, 0, 1, 3, 0, false, 3, 2, 1, 3, 1, nullptr },
        { "mana capped at 10", 3, 0, 0, 2, 10, 0, 9, true, 3, 2, 10, 0, 10, nullptr },
        { "mana above 10 drops to 10", -99, 0, 0, 0, 10, 0, 14, false, 3, 2, 10, 0, 10, nullptr },
        { "negative mana gain has no floor", 3, 0, 0, -4, 10, 0, 1, true, 3, 2, 10, 0, -2, nullptr },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MakeWorld(2, 20);
        const int32_t u = AddTestUnit(0, 1, 1);
        if (c.wardturns != -99)
            AddWard(0, u, c.wardturns, 0, 0, 0, c.wardmoves, 0, c.wardactions, 0, 0, c.wardmana, 5, 0);
        U(0, u).hp = c.hp;
        U(0, u).poison = c.poison;
        U(0, u).mana = c.mana;
        U(0, u).moves = 0;
        U(0, u).hits = 0;
        U(0, u).turnflag = 1;
        EXPECT_FALSE(UpdateUnit(0, u));
        EXPECT_EQ(U(0, u).wards[0].inuse != 0, c.wardleft);
        EXPECT_EQ(U(0, u).moves, c.moves);
        EXPECT_EQ(U(0, u).hits, c.hits);
        EXPECT_EQ(U(0, u).hp, c.hpafter);
        EXPECT_EQ(U(0, u).poison, c.poisonafter);
        EXPECT_EQ(U(0, u).mana, c.manaafter);
        EXPECT_EQ(U(0, u).turnflag, 0);
        if (c.feed)
            EXPECT_TRUE(Fed(c.feed));
        else
            EXPECT_TRUE(Feed().empty());
    }
}

TEST_F(TurnStartTest, OnlyTheLocalPlayerHearsOfPoison)
{
    const int32_t u = AddTestUnit(1, 1, 1);
    U(1, u).poison = 2;
    UpdateUnit(1, u);
    EXPECT_EQ(U(1, u).hp, 8);
    EXPECT_TRUE(Feed().empty());
}

TEST_F(TurnStartTest, TheDeadGoAndTheNextUnitIsUpdatedOnce)
{
    const int32_t a = AddTestUnit(0, 1, 1);
    const int32_t b = AddTestUnit(0, 2, 1, 3);
    const int32_t c = AddTestUnit(0, 3, 1);
    const int32_t d = AddTestUnit(0, 4, 1);
    U(0, a).hp = 0;                                          // no hit points left
    AddWard(0, b, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, LIFETIMEWARD, 1);   // a summoned unit's last turn
    U(0, d).poison = 1;
    const int32_t lastid = U(0, d).id, thirdid = U(0, c).id;
    currplayer = 0;
    UpdateUnits();
    ASSERT_EQ(p[0].units.size(), 2u);
    EXPECT_EQ(U(0, 0).id, thirdid);
    EXPECT_EQ(U(0, 1).id, lastid);
    EXPECT_EQ(U(0, 1).hp, 8);           // poisoned once, not twice
    EXPECT_EQ(U(0, 1).poison, 0);
    EXPECT_EQ(deathlist.size(), 1u);    // the host also lists the summoned unit; it is gone already
}

TEST_F(TurnStartTest, StartOfTurnAbilitiesRunBeforeTheWards)
{
    static std::vector<int32_t> seen;
    seen.clear();
    abilities[2].handler = [](int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5, int32_t a6) {
        seen = { a1, a2, a3, a4, a5, a6, p[a1].units[a2].wards[0].inuse };
        return 0;
    };
    abilities[0].handler = [](int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {
        ADD_FAILURE() << "a kind-4 ability ran at turn start";
        return 0;
    };
    AddTestUnit(1, 5, 5);
    const int32_t u = AddTestUnit(1, 1, 1);
    U(1, u).abilities[0] = 0;
    U(1, u).abilities[2] = 2;
    AddWard(1, u, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0);
    turncount = 2;
    UpdateUnits(1);
    EXPECT_EQ(seen, (std::vector<int32_t>{ 1, u, 0, 0, 2, 0, 1 }));
}

TEST_F(TurnStartTest, OnlyThePlayersClaimsAndLightsEnd)
{
    map[1][1].bits = 0x30 | 1;     // claimed by player 1, with a timer
    map[2][2].bits = 0x50 | 0;     // claimed by player 0
    map[3][3].lightowner = 1;
    map[3][3].dark = -1;
    map[4][4].lightowner = 0;
    map[4][4].dark = -1;
    turncount = 2;
    currplayer = 1;
    UpdateUnits();
    EXPECT_EQ(map[1][1].bits, 0x3Fu);
    EXPECT_EQ(map[2][2].bits, 0x50u);
    EXPECT_EQ(map[3][3].lightowner, -1);
    EXPECT_EQ(map[3][3].dark, 1);   // night
    EXPECT_EQ(map[4][4].lightowner, 0);
    EXPECT_EQ(map[4][4].dark, -1);
    turncount = 0;
    UpdateUnits(0);
    EXPECT_EQ(map[4][4].dark, 0);
    EXPECT_EQ(map[2][2].bits, 0x5Fu);
}

TEST_F(TurnStartTest, EveryMachineEndsASummonedUnitTheSameWay)
{
    const int32_t imp = AddTestUnit(1, 2, 2, 3);
    AddTestUnit(1, 3, 3);
    AddWard(1, imp, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, LIFETIMEWARD, 1);
    HostAndClient machines(1);
    currplayer = 1;
    UpdateUnits();
    const uint64_t host = GameStateDigest();
    machines.UseClient();
    currplayer = 1;
    UpdateUnits();
    EXPECT_EQ(GameStateDigest(), host);
    EXPECT_EQ(p[1].units.size(), 1u);
    EXPECT_TRUE(Fed("Your Imp broke apart and vanished."));
}

} // namespace
