// Moves: the checks of a requested step, the step itself with its cost and its on-move abilities, and
// host and client carrying out the same steps to the same state.
#include <gtest/gtest.h>

#include "game/magic/abilities.h"
#include "game/model/death.h"
#include "game/model/digest.h"
#include "game/model/mapgen.h"
#include "game/model/moves.h"
#include "game/model/queries.h"
#include "game/model/stats.h"
#include "game/model/turns.h"
#include "game/model/turnstart.h"
#include "game/model/upgrade.h"
#include "game/model/wards.h"
#include "game/net/builders.h"
#include "game/net/kinds.h"
#include "game/net/routing.h"
#include "platform/random.h"
#include "tests/game/model/units_fixture.h"

class MovesTest : public UnitsTest {
protected:
    void SetUp() override
    {
        UnitsTest::SetUp();
        mover = AddTestUnit(0, 5, 5);
        log.clear();
    }
    int32_t mover = 0;
};

TEST_F(MovesTest, AStepIsCheckedInOrderAndTheFirstFailureLogged)
{
    AddTestUnit(1, 5, 6);
    map[4][5].counter2 = 2;
    struct Case {
        int32_t player, unit, x, y, moves;
        const char* refusal;            // null: allowed
    };
    const Case cases[] = {
        { -1, 0, 6, 5, 3, "Not a player." },
        { 3, 0, 6, 5, 3, "Not a player." },
        { 0, 1, 6, 5, 3, "Not a unit." },
        { 0, -1, 6, 5, 3, "Not a unit." },
        { 0, 0, 6, 5, 0, "Insufficient moves." },
        { 0, 0, 7, 5, 3, "Move too great in X direction." },
        { 0, 0, 7, 7, 3, "Move too great in X direction." },
        { 0, 0, 5, 3, 3, "Move too great in Y direction." },
        { 0, 0, 6, 6, 3, "Diagonal movement." },
        { 0, 0, 4, 5, 3, "Walking onto a forcefield." },
        { 0, 0, 5, 6, 3, "Square occupied." },
        { 0, 0, 5, 5, 3, "Square occupied." },    // its own square
        { 0, 0, 6, 5, 1, nullptr },
        { 0, 0, 5, 4, 3, nullptr },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.player << "," << c.unit << " to " << c.x << "," << c.y);
        U(0, mover).moves = c.moves;
        log.clear();
        EXPECT_EQ(ValidateMove(c.player, c.unit, c.x, c.y), c.refusal == nullptr);
        EXPECT_EQ(log, c.refusal ? std::string(c.refusal) + "\n" : std::string());
    }
    // The map's edge: the last column is on it, the next is not.
    U(0, mover).x = 18;
    EXPECT_TRUE(ValidateMove(0, 0, 19, 5));
    U(0, mover).x = 19;
    log.clear();
    EXPECT_FALSE(ValidateMove(0, 0, 20, 5));
    EXPECT_EQ(log, "Walking off the map.\n");
    U(0, mover).x = 0;
    log.clear();
    EXPECT_FALSE(ValidateMove(0, 0, -1, 5));
    EXPECT_EQ(log, "Walking off the map.\n");
}

TEST_F(MovesTest, AStepCostsTheSquaresCostAndNeverTakesMovesBelowZero)
{
    map[6][5].cost = COST_RIVER;
    map[6][5].terrain = TERRAIN_RIVER;
    EXPECT_TRUE(MoveUnit(0, mover, 6, 5));
    EXPECT_EQ(U(0, mover).x, 6);
    EXPECT_EQ(U(0, mover).moves, 0);
    U(0, mover).moves = 3;
    map[6][4].cost = COST_ROUGH;
    EXPECT_TRUE(MoveUnit(0, mover, 6, 4));
    EXPECT_EQ(U(0, mover).moves, 1);
    EXPECT_FALSE(MoveUnit(0, mover, 6, -1));   // a square off the map is never read
    EXPECT_EQ(U(0, mover).y, 4);
    EXPECT_EQ(U(0, mover).moves, 1);
}

TEST_F(MovesTest, OnMoveAbilitiesPriceTheStepAndTheLowestWins)
{
    map[6][5].cost = COST_RIVER;
    U(0, mover).abilities[1] = A_WADE;
    waderesult = 0;
    EXPECT_TRUE(MoveUnit(0, mover, 6, 5));
    EXPECT_EQ(U(0, mover).moves, 3);           // crossed for free
    ASSERT_EQ(slotcalls.size(), 1u);
    const SlotCall c = slotcalls[0];
    EXPECT_EQ(c.a1, 5);
    EXPECT_EQ(c.a2, 5);
    EXPECT_EQ(c.a3, 6);
    EXPECT_EQ(c.a4, 5);
    EXPECT_EQ(c.a5, mover);                    // player 0 x 1000 + unit
    EXPECT_EQ(c.a6, 0);

    // One ability forbids the step, another would make it cheap: no step, and the move-ending ward goes.
    U(0, mover).abilities[3] = A_STRIDE;
    waderesult = -1;
    strideresult = 1;
    AddWard(0, mover, 3, 1, 0, 0, 1, 0, 0, 0, 0, 0, 7, 0);
    AddWard(0, mover, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0);
    EXPECT_EQ(U(0, mover).moves, 4);
    slotcalls.clear();
    EXPECT_FALSE(MoveUnit(0, mover, 6, 6));
    EXPECT_EQ(slotcalls.size(), 2u);
    EXPECT_EQ(U(0, mover).y, 5);
    EXPECT_EQ(U(0, mover).moves, 3);           // the ward's move given back, nothing charged
    EXPECT_EQ(U(0, mover).wards[0].inuse, 0);
    EXPECT_EQ(U(0, mover).wards[1].inuse, 1);

    waderesult = 5;
    EXPECT_TRUE(MoveUnit(0, mover, 6, 6));     // the square's 1; Stride's 1 and Wade's 5 lower nothing
    EXPECT_EQ(U(0, mover).moves, 2);
}

TEST_F(MovesTest, AForcedMoveRunsTheFirstHalfOnlyAndCannotBeRefused)
{
    U(0, mover).abilities[0] = A_WADE;
    waderesult = -1;
    AddWard(0, mover, 3, 1, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0);
    PrepareUnitMove(0, mover, 9, 9);
    EXPECT_EQ(slotcalls.size(), 1u);
    EXPECT_EQ(slotcalls[0].a3, 9);
    EXPECT_EQ(U(0, mover).wards[0].inuse, 0);
    EXPECT_EQ(U(0, mover).x, 5);
    EXPECT_EQ(U(0, mover).moves, 3);
}

TEST_F(MovesTest, AForcedMoveKeepsTheStandingWardItsAbilityAddsInALaterSlot)
{
    // Pushed into the trees: the old move-ending ward goes before the ability adds the new one, which
    // lands in a slot after the ability's own and must outlast the push like after a step.
    abilities[A_STRIDE].handler = AbilityTreeShot;
    U(0, mover).abilities[0] = A_STRIDE;
    map[9][9].terrain = TERRAIN_TREES;
    AddWard(0, mover, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0);
    AddWard(0, mover, 3, 1, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0);
    const int32_t attack = GetStat(0, mover, STAT_ATTACK);
    PrepareUnitMove(0, mover, 9, 9);
    EXPECT_EQ(U(0, mover).wards[0].inuse, 1);          // does not end on moving
    ASSERT_EQ(U(0, mover).wards[1].inuse, 1);          // the old ward's slot, now the standing ward
    EXPECT_EQ(U(0, mover).wards[1].flag, 1);
    EXPECT_NE(U(0, mover).wards[1].kind, 7);
    EXPECT_EQ(U(0, mover).wards[2].inuse, 0);
    EXPECT_EQ(GetStat(0, mover, STAT_ATTACK), attack + 1);
}

TEST_F(MovesTest, TheMoveSoundIsHeardOnlyWhereTheLocalPlayerSeesTheUnit)
{
    for (auto& column : map)
        for (MapSquare& s : column)
            s.explored = 1;
    MoveUnit(0, mover, 6, 5);
    EXPECT_EQ(HeardSounds(), (std::vector<std::string>{ "Step2.wav" }));
    const int32_t hidden = AddTestUnit(1, 9, 9);
    U(1, hidden).stat[STAT_STEALTH] = 2;
    MoveUnit(1, hidden, 9, 8);
    EXPECT_EQ(HeardSounds().size(), 1u);
    U(1, hidden).stat[STAT_STEALTH] = 1;
    MoveUnit(1, hidden, 9, 7);
    EXPECT_EQ(HeardSounds().size(), 2u);
    map[9][6].explored = 0;
    MoveUnit(1, hidden, 9, 6);
    EXPECT_EQ(HeardSounds().size(), 2u);
}

TEST_F(MovesTest, TheViewFollowsOnlyTheLocalPlayersUnitsOntoExploredSquares)
{
    const int32_t other = AddTestUnit(1, 12, 12);
    MoveUnit(1, other, 12, 11);             // another's unit: never
    EXPECT_TRUE(HeardOf("centre").empty());
    MoveUnit(0, mover, 6, 5);               // the move's own look explores the square
    EXPECT_EQ(HeardOf("centre"), std::vector<std::string>{ "6 5" });
    EXPECT_EQ(ToggleAutofocus(), 0);
    EXPECT_EQ(autofocus, 0);
    MoveUnit(0, mover, 7, 5);
    EXPECT_EQ(HeardOf("centre").size(), 1u);
    ToggleAutofocus();
    EXPECT_EQ(autofocus, 1);
}

TEST_F(MovesTest, AMoveLooksAroundAndWakesCampsInReach)
{
    const int32_t guard = AddTestUnit(2, 8, 5);
    U(2, guard).group = 4;
    const int32_t mate = AddTestUnit(2, 15, 15);
    U(2, mate).group = 4;
    MoveUnit(0, mover, 6, 5);
    EXPECT_EQ(U(2, mate).alerted, 1);
    EXPECT_EQ(map[8][5].explored, 1);
}

// The protocol's moves, host and client: a client's requests, checked and carried out by the host and
// replayed by the client, and the neutral side's steps made on the host, over squares of every kind.
// After every step both machines hold the same state.
class MoveReplayTest : public UnitsTest {
protected:
    void BuildWorld(uint32_t seed)
    {
        MakeWorld(2, 16);
        SeedRandom(seed);
        for (int32_t x = 0; x < mapsize; x++)
            for (int32_t y = 0; y < mapsize; y++) {
                MapSquare& s = map[x][y];
                const int r = Random() % 20;
                if (r < 2) {
                    s.terrain = TERRAIN_ROUGH;
                    s.cost = COST_ROUGH;
                } else if (r < 3) {
                    s.terrain = TERRAIN_RIVER;
                    s.cost = COST_RIVER;
                } else if (r < 4) {
                    s.terrain = TERRAIN_DEPOSIT;
                    s.extra = static_cast<uint8_t>(Random() % 4);
                } else if (r < 5) {
                    s.terrain = TERRAIN_MINE;
                    s.extra = MINENOBODY;
                } else if (r < 8) {
                    s.terrain = TERRAIN_SITE;
                    s.extra = static_cast<uint8_t>(2 * (Random() % 8));
                }
                if (Random() % 15 == 0)
                    s.hazard = 2;
            }
        for (int32_t i = 0; i < 4; i++) {
            AddTestUnit(1, 1 + 3 * i, 2 + i);
            AddTestUnit(2, 2 + 3 * i, 10 + i);
        }
        U(1, 0).hp = 1000;                  // his warlord stands through every fire: the turn stays his
        U(1, 1).abilities[0] = A_WADE;      // water crossed for free, a forbidden step elsewhere
        U(2, 2).abilities[0] = A_FLYING;
        for (int32_t player = 1; player <= 2; player++)
            for (Unit& u : p[player].units)
                u.stat[STAT_MOVES] = 6;
        currplayer = turnholder = 1;
    }
    // Everything each machine sends reaches the other until both are quiet; the main loop's passes run.
    void Settle(HostAndClient& machines)
    {
        for (int round = 0; round < 4; round++) {
            machines.UseHost();
            ProcessUpgrades();
            ProcessDeaths();
            for (const SentFrame& f : machines.HostToClient())
                moves += f.Body()[0] == MSG_MOVE ? 1 : 0;
            ProcessDeaths();
            machines.ClientToHost();
        }
    }
    int32_t moves = 0;                  // steps the host confirmed
};

int32_t WadeByTerrain(int32_t, int32_t, int32_t x, int32_t y, int32_t, int32_t)
{
    if (!InBounds(x, y))
        return 1;
    return map[x][y].terrain == TERRAIN_RIVER ? 0 : map[x][y].terrain == TERRAIN_ROUGH ? -1 : map[x][y].cost;
}

int32_t FlyingCost(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    return 1;
}

TEST_F(MoveReplayTest, ClientAndHostEndEveryStepWithTheSameState)
{
    abilities[A_WADE].handler = WadeByTerrain;
    abilities[A_FLYING].handler = FlyingCost;
    const int32_t steps[4][2] = { { 1, 0 }, { -1, 0 }, { 0, 1 }, { 0, -1 } };
    for (uint32_t seed = 1; seed <= 25; seed++) {
        SCOPED_TRACE(seed);
        BuildWorld(seed);
        HostAndClient machines(1);
        for (int32_t turn = 0; turn < 30; turn++) {
            machines.UseHost();
            const bool neutral = Random() % 3 == 0;
            const int32_t player = neutral ? 2 : 1;
            if (p[player].units.empty())
                continue;
            const int32_t unit = Random() % static_cast<int32_t>(p[player].units.size());
            const int32_t* step = steps[Random() % 4];
            const int32_t x = p[player].units[unit].x + step[0];
            const int32_t y = p[player].units[unit].y + step[1];
            if (neutral) {
                if (ValidateMove(player, unit, x, y))
                    MoveAndAnnounce(player, unit, x, y);
            } else {
                machines.UseClient();
                SendToPlayer(BuildMoveRequest(p[player].units[unit].id, x, y), -1);
                machines.ClientToHost();
            }
            Settle(machines);
            if (turn % 10 == 9)
                for (bool host : { true, false }) {   // a new turn for both sides, on each machine
                    host ? machines.UseHost() : machines.UseClient();
                    UpdateUnits(1);
                    UpdateUnits(2);
                }
            machines.UseClient();
            const uint64_t client = GameStateDigest();
            machines.UseHost();
            ASSERT_EQ(GameStateDigest(), client) << "after step " << turn;
        }
    }
    EXPECT_GT(moves, 250);              // most steps were tried for real
}

TEST_F(MoveReplayTest, TheHostRefusesWhatItMustNotCarryOut)
{
    BuildWorld(7);
    map[1][3] = MapSquare{ 0, 0, 1, 0, 0, 0, 0, 0, 0, 0xF, 0, -1 };
    HostAndClient machines(1);
    machines.UseHost();
    const int32_t mine = p[1].units[0].id;
    const int32_t theirs = p[2].units[0].id;
    const uint64_t before = GameStateDigest();
    const std::string requests[] = {
        BuildMoveRequest(theirs, p[2].units[0].x + 1, p[2].units[0].y),  // another player's unit
        BuildMoveRequest(mine, 2, 3),                                      // diagonal
        BuildMoveRequest(mine, 3, 2),                                      // two squares
    };
    for (const std::string& request : requests) {
        machines.UseClient();
        SendToPlayer(request, -1);
        EXPECT_TRUE(machines.ClientToHost().size() == 1u);
        EXPECT_EQ(GameStateDigest(), before);
        EXPECT_TRUE(TakeSentFrames().empty());
    }
    currplayer = turnholder = 2;                     // not his turn
    machines.UseClient();
    SendToPlayer(BuildMoveRequest(mine, 1, 3), -1);
    machines.ClientToHost();
    EXPECT_TRUE(TakeSentFrames().empty());
    EXPECT_TRUE(Logged("ERROR: Player 1 asked to move while the turn is player 2's."));
}
