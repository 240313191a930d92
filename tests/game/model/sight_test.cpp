// Sight, fog, exploration experience and camp alert.
#include <random>
#include <set>
#include <utility>

#include "game/model/localplayer.h"
#include "game/model/queries.h"
#include "game/model/sight.h"
#include "game/model/upgrade.h"
#include "game/model/wards.h"
#include "game/net/builders.h"
#include "tests/game/model/rules_fixture.h"
#include "tests/game/support/literalflood.h"

namespace {

// The oracle's camp alert: every reached square's first unit wakes its camp.
void OracleAlert(int32_t x, int32_t y, int32_t budget)
{
    Squares reached;
    LiteralFlood(x, y, budget, reached);
    for (const auto& [sx, sy] : reached) {
        const UnitRef found = FindUnit(UnitIdAt(sx, sy));
        if (found.player < 0)
            continue;
        const uint8_t group = p[found.player].units[found.unit].group;
        if (group == NOCAMP || group == NOGROUP)
            continue;
        for (Unit& u : p[found.player].units)
            if (u.group == group)
                u.alerted = 1;
    }
}

Squares Visible()
{
    Squares seen;
    for (int32_t x = 0; x < mapsize; x++)
        for (int32_t y = 0; y < mapsize; y++) {
            EXPECT_EQ(map[x][y].visible, map[x][y].explored);
            if (map[x][y].visible)
                seen.insert({ x, y });
        }
    return seen;
}

void ClearFog()
{
    for (auto& column : map)
        for (MapSquare& s : column)
            s.visible = s.explored = 0;
}

class SightTest : public RulesTest {};

TEST_F(SightTest, SmallBudgetsReachWhatTheStepsAllow)
{
    struct Case {
        int32_t x, y, budget;
        size_t count;
    };
    const Case cases[] = {
        { 5, 5, -6, 0 }, { 5, 5, -5, 1 }, { 5, 5, 0, 1 }, { 5, 5, 5, 5 },   { 5, 5, 9, 9 },  { 5, 5, 14, 9 },
        { 5, 5, 15, 13 }, { 0, 0, 9, 4 }, { 0, 0, 5, 3 }, { 19, 19, 9, 4 }, { -1, 0, 50, 0 }, { 0, 20, 50, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.x << "," << c.y << ") budget " << c.budget);
        ClearFog();
        RevealSight(0, c.x, c.y, c.budget);
        const Squares seen = Visible();
        EXPECT_EQ(seen.size(), c.count);
        Squares oracle;
        LiteralFlood(c.x, c.y, c.budget, oracle);
        EXPECT_EQ(seen, oracle);
    }
}

TEST_F(SightTest, FastFloodReachesWhatTheRecursiveOneDoes)
{
    std::mt19937 rng(20240611);
    for (int round = 0; round < 300; round++) {
        const int32_t size = 1 + static_cast<int32_t>(rng() % 24);
        MakeWorld(2, size);
        const int32_t x = static_cast<int32_t>(rng() % (size + 2)) - 1;
        const int32_t y = static_cast<int32_t>(rng() % (size + 2)) - 1;
        const int32_t budget = static_cast<int32_t>(rng() % 58) - 8;
        SCOPED_TRACE(testing::Message() << "size " << size << " (" << x << "," << y << ") budget " << budget);

        RevealSight(0, x, y, budget);
        Squares oracle;
        LiteralFlood(x, y, budget, oracle);
        EXPECT_EQ(Visible(), oracle);

        // Camps: guards scattered in a few groups of two players, some sharing squares.
        for (int i = 0; i < 12; i++) {
            const int32_t owner = static_cast<int32_t>(rng() % 3);
            const int32_t u = AddTestUnit(owner, static_cast<int32_t>(rng() % size), static_cast<int32_t>(rng() % size));
            const uint8_t groups[] = { NOCAMP, 1, 2, NOGROUP };
            U(owner, u).group = groups[rng() % 4];
        }
        const MachineState before = SaveMachine();
        OracleAlert(x, y, budget);
        std::vector<uint8_t> expected;
        for (const Player& pl : p)
            for (const Unit& u : pl.units)
                expected.push_back(u.alerted);
        LoadMachine(before);
        AlertCamps(x, y, budget);
        std::vector<uint8_t> actual;
        for (const Player& pl : p)
            for (const Unit& u : pl.units)
                actual.push_back(u.alerted);
        EXPECT_EQ(actual, expected);
    }
}

TEST_F(SightTest, OnlyTheLocalPlayersLooksMarkSquares)
{
    RevealSight(1, 5, 5, 30);
    RevealSquare(1, 5, 5);
    EXPECT_TRUE(Visible().empty());
    EXPECT_EQ(needredraw, 0);
    RevealSquare(0, 5, 5);
    EXPECT_EQ(Visible().size(), 1u);
    EXPECT_EQ(needredraw, 1);
}

TEST_F(SightTest, DayAndNightBudgets)
{
    p[0].sightbonus = 4;
    struct Case {
        int32_t phase, look, alert;
    };
    for (const Case c : { Case{ 0, 34, 24 }, Case{ 1, 34, 24 }, Case{ 2, 24, 14 } }) {
        turncount = c.phase;
        EXPECT_EQ(LookBudget(0), c.look) << c.phase;
        EXPECT_EQ(AlertBudget(0), c.alert) << c.phase;
        EXPECT_EQ(LookBudget(1), c.look - 4);
    }
    // By night a look sees less far.
    turncount = 2;
    ExploreFrom(0, 10, 10, LookBudget(0), NOEXPERIENCE);
    Squares night = Visible();
    ClearFog();
    turncount = 0;
    ExploreFrom(0, 10, 10, LookBudget(0), NOEXPERIENCE);
    Squares day = Visible();
    Squares oracle;
    LiteralFlood(10, 10, 34, oracle);
    EXPECT_EQ(day, oracle);
    oracle.clear();
    LiteralFlood(10, 10, 24, oracle);
    EXPECT_EQ(night, oracle);
    EXPECT_LT(night.size(), day.size());
    // The default budget is the day sight, whatever the phase.
    ClearFog();
    turncount = 2;
    ExploreFrom(0, 10, 10, DEFAULTSIGHT, NOEXPERIENCE);
    oracle.clear();
    LiteralFlood(10, 10, 30, oracle);
    EXPECT_EQ(Visible(), oracle);
}

TEST_F(SightTest, ExplorationPaysTheNewSquaresOverTheDivisor)
{
    const int32_t u = AddTestUnit(0, 5, 5);
    // Budget 5 from (5, 5): five squares, one of them seen before: 4 new / 2.
    map[5][6].visible = map[5][6].explored = 1;
    ExploreFrom(0, 5, 5, 5, u);
    EXPECT_EQ(U(0, u).experience, 2);
    // Seven new squares pay 3.
    ClearFog();
    U(0, u).experience = 0;
    map[5][6].visible = map[5][6].explored = 1;
    map[4][4].visible = map[4][4].explored = 1;
    ExploreFrom(0, 5, 5, 9, u);
    EXPECT_EQ(U(0, u).experience, 3);
    // Nothing new, nothing paid; and another player's look pays nothing here.
    ExploreFrom(0, 5, 5, 9, u);
    EXPECT_EQ(U(0, u).experience, 3);
    const int32_t v = AddTestUnit(1, 12, 12);
    ExploreFrom(1, 12, 12, 30, v);
    EXPECT_EQ(U(1, v).experience, 0);
    // The host tells the clients what its own unit earned (2, then 3), once each; nothing for the rest.
    const int32_t id = U(0, u).id;
    std::vector<std::string> bodies;
    for (const SentFrame& frame : TakeSentFrames())
        bodies.push_back(frame.Body());
    ASSERT_FALSE(bodies.empty());
    for (const std::string& body : bodies)
        EXPECT_TRUE(body == BuildAddExperience(id, 2) || body == BuildAddExperience(id, 3));
    EXPECT_EQ(bodies.size() % 2, 0u);
}

TEST_F(SightTest, ADivisorOfZeroDoesNotCrash)
{
    expdivisor = 0;
    const int32_t u = AddTestUnit(0, 5, 5);
    ExploreFrom(0, 5, 5, 5, u);
    EXPECT_EQ(U(0, u).experience, 5);
}

TEST_F(SightTest, AClientReportsEveryLookToTheHost)
{
    const int32_t u = AddTestUnit(1, 5, 5);
    const int32_t id = U(1, u).id;
    HostAndClient machines(1);
    // Every machine runs the look; only the owner's sees what it reveals.
    for (int look = 0; look < 2; look++) {
        machines.UseHost();
        ExploreFrom(1, 5, 5, 9, u);
        machines.UseClient();
        ExploreFrom(1, 5, 5, 9, u); // nine new squares: 4; then nothing new, reported all the same
    }
    EXPECT_EQ(U(1, u).experience, 4);
    const std::vector<SentFrame> frames = machines.ClientToHost();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].Body(), BuildAddExperience(id, 4));
    EXPECT_EQ(frames[1].Body(), BuildAddExperience(id, 0));
    EXPECT_EQ(U(1, u).experience, 4);
    EXPECT_FALSE(Logged("ERROR"));
    EXPECT_TRUE(unreportedlooks.empty());
    EXPECT_TRUE(Visible().empty());     // the host's fog is its own
}

TEST_F(SightTest, AHugeRevealIsClampedToWhatOneMessageCarries)
{
    MakeWorld(2, 45);
    expdivisor = 1;
    const int32_t u = AddTestUnit(1, 22, 22);
    U(1, u).stat[STAT_LIFE] = 10;
    HostAndClient machines(1);
    machines.UseHost();
    ExploreFrom(1, 22, 22, 90, u);
    machines.UseClient();
    ExploreFrom(1, 22, 22, 90, u);  // several hundred squares
    // 127 paid and reported, the threshold (100) crossed on both sides the same way.
    EXPECT_EQ(U(1, u).experience, 27);
    const std::vector<SentFrame> frames = machines.ClientToHost();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].Body(), BuildAddExperience(U(1, u).id, 127));
    EXPECT_EQ(U(1, u).experience, 27);
    EXPECT_EQ(upgradequeue.size(), 1u);
}

TEST_F(SightTest, CampAlertWakesOneMinesGuardsTogether)
{
    const int32_t neutral = static_cast<int32_t>(p.size()) - 1;
    // Camp 1 around one mine, camp 2 around another, far away.
    const int32_t a = AddTestUnit(neutral, 10, 10);
    const int32_t b = AddTestUnit(neutral, 11, 11);
    const int32_t c = AddTestUnit(neutral, 12, 10);
    const int32_t d = AddTestUnit(neutral, 18, 18);
    for (const int32_t g : { a, b, c })
        U(neutral, g).group = 1;
    U(neutral, d).group = 2;
    // Reaching only (10, 10) wakes all of camp 1, nothing of camp 2.
    AlertCamps(9, 10, 10);
    EXPECT_EQ(U(neutral, a).alerted, 1);
    EXPECT_EQ(U(neutral, b).alerted, 1);
    EXPECT_EQ(U(neutral, c).alerted, 1);
    EXPECT_EQ(U(neutral, d).alerted, 0);
    // A look does the same: the looker's own square counts too.
    ExploreFrom(0, 18, 17, 0, NOEXPERIENCE);
    EXPECT_EQ(U(neutral, d).alerted, 0);
    ExploreFrom(0, 18, 18, 0, NOEXPERIENCE);
    EXPECT_EQ(U(neutral, d).alerted, 1);
}

TEST_F(SightTest, AUnitOfNoCampWakesNobody)
{
    const int32_t neutral = static_cast<int32_t>(p.size()) - 1;
    // Units of no camp (as every unit starts, and every guard on a client) and a camp of two.
    const int32_t loner = AddTestUnit(neutral, 5, 5);
    const int32_t other = AddTestUnit(neutral, 15, 15);
    const int32_t zero = AddTestUnit(neutral, 6, 15);
    const int32_t g1 = AddTestUnit(neutral, 15, 5);
    const int32_t g2 = AddTestUnit(neutral, 16, 5);
    const int32_t mine = AddTestUnit(0, 5, 6);
    U(neutral, zero).group = NOCAMP;
    U(neutral, g1).group = U(neutral, g2).group = 7;
    AlertCamps(5, 5, 10);       // reaches the loner and player 0's unit
    WakeCamp(neutral, zero);
    for (const int32_t u : { loner, other, zero, g1, g2 })
        EXPECT_EQ(U(neutral, u).alerted, 0) << u;
    EXPECT_EQ(U(0, mine).alerted, 0);
    WakeCamp(neutral, g1);
    EXPECT_EQ(U(neutral, g2).alerted, 1);
    EXPECT_EQ(U(neutral, other).alerted, 0);
    WakeCamp(neutral, 99);      // no such unit: nothing
    WakeCamp(-1, 0);
}

TEST_F(SightTest, WhoIsSeen)
{
    const int32_t mine = AddTestUnit(0, 2, 2);
    const int32_t enemy = AddTestUnit(1, 3, 3);
    EXPECT_FALSE(YouCanSeeUnit(0, mine));      // never explored
    EXPECT_FALSE(YouCanSeeUnit(1, enemy));
    map[2][2].explored = map[3][3].explored = 1;
    EXPECT_TRUE(YouCanSeeUnit(1, enemy));
    struct Case {
        int32_t stealth, dark;
        bool enemyseen;
    };
    for (const Case c : { Case{ 1, 0, true }, Case{ 1, 1, false }, Case{ 0, 1, true }, Case{ 2, -1, true },
                          Case{ 3, -1, false } }) {
        U(1, enemy).stat[STAT_STEALTH] = c.stealth;
        U(0, mine).stat[STAT_STEALTH] = c.stealth;
        map[3][3].dark = static_cast<int8_t>(c.dark);
        map[2][2].dark = static_cast<int8_t>(c.dark);
        EXPECT_EQ(YouCanSeeUnit(1, enemy), c.enemyseen) << c.stealth << " " << c.dark;
        EXPECT_TRUE(YouCanSeeUnit(0, mine));
    }
    // A ward of stealth counts.
    U(1, enemy).stat[STAT_STEALTH] = 0;
    map[3][3].dark = 1;
    EXPECT_TRUE(YouCanSeeUnit(1, enemy));
    AddWard(1, enemy, 3, 0, 0, 0, 0, 0, 0, 1, 0, 0, 5, 0);
    EXPECT_FALSE(YouCanSeeUnit(1, enemy));
    EXPECT_FALSE(YouCanSeeUnit(1, 9));
    EXPECT_FALSE(YouCanSeeUnit(7, 0));
    U(1, enemy).x = -1;
    EXPECT_FALSE(YouCanSeeUnit(1, enemy));
}

TEST_F(SightTest, SoundsOnlyWhereTheLocalPlayerLooked)
{
    PlaySoundAt(4, 4, "A.wav");
    PlaySoundAt(-1, 4, "B.wav");
    map[4][4].explored = 1;
    PlaySoundAt(4, 4, "D.wav");
    EXPECT_EQ(HeardSounds(), std::vector<std::string>{ "D.wav" });
}

} // namespace
