// On-move abilities: the cost each answers for a step, what the others do on the way, that a cost-only
// question changes nothing, and host and client moving alike.
#include <vector>

#include "game/magic/abilities.h"
#include "game/model/abilityslots.h"
#include "game/model/mapgen.h"
#include "game/model/moves.h"
#include "game/model/stats.h"
#include "game/model/turns.h"
#include "game/net/builders.h"
#include "game/net/routing.h"
#include "tests/game/magic/abilities_fixture.h"

namespace {

class MoveAbilityTest : public AbilityTest {
protected:
    static void SetTerrain(int32_t x, int32_t y, uint8_t terrain, uint8_t cost)
    {
        map[x][y].terrain = terrain;
        map[x][y].cost = cost;
    }
    // Asks the unit's ability in slot 0 for the cost of a step to (x, y), as a move or as a question.
    static int32_t Ask(int32_t player, int32_t unit, int32_t x, int32_t y, int32_t costonly)
    {
        EXPECT_TRUE(UnitHasAbilityKind(player, unit, 0, ABILITY_MOVE));
        const Unit& u = p[player].units[unit];
        return ExecuteAbilitySlot(player, unit, 0, u.x, u.y, x, y, player * MOVERPLAYER + unit, costonly);
    }
};

TEST_F(MoveAbilityTest, StepCosts)
{
    struct Terrain {
        uint8_t terrain, cost;
    };
    // Open ground, trees, rough ground, river.
    const Terrain terrains[4] = { { TERRAIN_OPEN, 1 }, { TERRAIN_TREES, 2 }, { TERRAIN_ROUGH, 2 }, { TERRAIN_RIVER, 100 } };
    struct Case {
        const char* ability;
        int32_t cost[4];
    };
    const Case cases[] = {
        { "Flying", { 1, 1, 1, 1 } },        { "Immobile", { -1, -1, -1, -1 } }, { "Twigwalk", { 1, 0, 2, 100 } },
        { "Cragwalk", { 1, 2, 0, 100 } },    { "Rocks", { 1, 2, 1, 100 } },      { "TreeShot", { 1, 1, 2, 100 } },
        { "Boulder", { 1, 2, 1, 100 } },     { "Damper", { 1, 2, 2, 100 } },     { "Scout", { 1, 2, 2, 100 } },
    };
    for (const Case& c : cases)
        for (int t = 0; t < 4; t++)
            for (const int32_t costonly : { int32_t(0), int32_t(MOVECOSTONLY) }) {
                SCOPED_TRACE(std::string(c.ability) + " onto terrain " + std::to_string(terrains[t].terrain)
                             + (costonly ? ", cost only" : ""));
                MakeWorld(2, 20);
                const int32_t u = Put(0, 5, 5, SOLDIER, { c.ability });
                SetTerrain(6, 5, terrains[t].terrain, terrains[t].cost);
                EXPECT_EQ(Ask(0, u, 6, 5, costonly), c.cost[t]);
            }
}

// The computer player weighs steps it may not take: asked for the cost only, no ability changes the
// map, the units or the fog, and the answer is the one the real step gets.
TEST_F(MoveAbilityTest, CostOnlyChangesNothing)
{
    const char* const changers[] = { "Rocks", "TreeShot", "Boulder", "Damper", "Scout" };
    for (const char* name : changers)
        for (const uint8_t terrain : { TERRAIN_OPEN, TERRAIN_TREES, TERRAIN_ROUGH }) {
            SCOPED_TRACE(std::string(name) + " onto terrain " + std::to_string(terrain));
            MakeWorld(2, 20);
            Explore();
            const int32_t u = Put(0, 5, 5, SOLDIER, { name });
            U(0, u).mana = 4;
            const int32_t enemy = Put(1, 7, 5);
            U(1, enemy).mana = 5;
            const int32_t neutral = static_cast<int32_t>(p.size()) - 1;
            Put(neutral, 7, 9, IMP);    // a camp the scout could wake
            U(neutral, 0).group = 1;
            SetTerrain(6, 5, terrain, terrain == TERRAIN_OPEN ? 1 : 2);
            const uint64_t before = GameStateDigest();
            const auto fog = map;
            ClearHeard();
            const int32_t asked = Ask(0, u, 6, 5, MOVECOSTONLY);
            EXPECT_EQ(GameStateDigest(), before);
            EXPECT_EQ(U(neutral, 0).alerted, 0);
            for (int32_t x = 0; x < mapsize; x++)
                for (int32_t y = 0; y < mapsize; y++)
                    ASSERT_EQ(map[x][y].visible, fog[x][y].visible) << x << "," << y;
            EXPECT_TRUE(heard.empty());
            EXPECT_EQ(Ask(0, u, 6, 5, 0), asked);
        }
}

TEST_F(MoveAbilityTest, RocksClearsRoughGroundOnce)
{
    const int32_t u = Put(0, 5, 5, SOLDIER, { "Rocks" });
    SetTerrain(6, 5, TERRAIN_ROUGH, 2);
    map[6][5].extra = 3;
    EXPECT_TRUE(MoveUnit(0, u, 6, 5));
    EXPECT_EQ(U(0, u).rocks, 2);
    EXPECT_EQ(U(0, u).moves, 2);
    EXPECT_EQ(map[6][5].terrain, TERRAIN_OPEN);
    EXPECT_EQ(map[6][5].cost, 1);
    EXPECT_EQ(map[6][5].extra, 3);
    EXPECT_TRUE(MoveUnit(0, u, 5, 5));
    EXPECT_TRUE(MoveUnit(0, u, 6, 5));
    EXPECT_EQ(U(0, u).rocks, 2);
}

TEST_F(MoveAbilityTest, StandingBonusesLastWhileOnTheirTerrain)
{
    struct Case {
        const char* ability;
        uint8_t terrain;
        int32_t bonus;
    };
    for (const Case& c : { Case{ "TreeShot", TERRAIN_TREES, 1 }, Case{ "Boulder", TERRAIN_ROUGH, 2 } }) {
        SCOPED_TRACE(c.ability);
        MakeWorld(2, 20);
        const int32_t u = Put(0, 5, 5, SOLDIER, { c.ability });
        U(0, u).moves = 10;
        SetTerrain(6, 5, c.terrain, 2);
        SetTerrain(7, 5, c.terrain, 2);
        ASSERT_TRUE(MoveUnit(0, u, 6, 5));
        EXPECT_EQ(GetStat(0, u, STAT_ATTACK), 3 + c.bonus);
        EXPECT_EQ(U(0, u).moves, 9);
        // From one such square to the next: still one bonus.
        ASSERT_TRUE(MoveUnit(0, u, 7, 5));
        EXPECT_EQ(GetStat(0, u, STAT_ATTACK), 3 + c.bonus);
        ASSERT_TRUE(MoveUnit(0, u, 8, 5));
        EXPECT_EQ(GetStat(0, u, STAT_ATTACK), 3);
    }
}

TEST_F(MoveAbilityTest, StandingBonusWithoutAFreeWardSlot)
{
    const int32_t u = Put(0, 5, 5, SOLDIER, { "TreeShot" });
    for (int i = 0; i < MAXWARDS; i++)
        U(0, u).wards[i].inuse = 1;
    SetTerrain(6, 5, TERRAIN_TREES, 2);
    ASSERT_TRUE(MoveUnit(0, u, 6, 5));
    EXPECT_EQ(U(0, u).moves, 2);
    EXPECT_EQ(GetStat(0, u, STAT_ATTACK), 3);
    EXPECT_TRUE(Logged("Couldn't add ward!  No room remaining."));
}

TEST_F(MoveAbilityTest, DamperDrainsOtherPlayersAroundTheNewSquareOnce)
{
    Explore();
    const int32_t u = Put(0, 5, 5, SOLDIER, { "Damper" });
    const int32_t own = Put(0, 7, 5);
    const int32_t a = Put(1, 7, 6);
    const int32_t b = Put(1, 7, 4);
    const int32_t dry = Put(1, 6, 6);
    const int32_t far = Put(1, 8, 5);
    const int32_t neutral = static_cast<int32_t>(p.size()) - 1;
    const int32_t guard = Put(neutral, 5, 4, IMP);
    U(0, own).mana = 3;
    U(1, a).mana = 5;
    U(1, b).mana = -2;
    U(1, dry).mana = 0;
    U(1, far).mana = 4;
    U(neutral, guard).mana = 1;
    ASSERT_TRUE(MoveUnit(0, u, 6, 5));
    EXPECT_EQ(U(0, own).mana, 3);
    EXPECT_EQ(U(1, a).mana, 0);
    EXPECT_EQ(U(1, b).mana, 0);
    EXPECT_EQ(U(1, far).mana, 4);
    EXPECT_EQ(U(neutral, guard).mana, 0);
    int told = 0;
    for (const std::string& m : Feed())
        told += m == "The Soldier depleted surrounding enemy units' mana!";
    EXPECT_EQ(told, 1);
    int heard = 0;
    for (const std::string& s : HeardSounds())
        heard += s == ".\\Sound\\SPManaDrain.wav";
    EXPECT_EQ(heard, 1);
}

TEST_F(MoveAbilityTest, ScoutLooksThreeSquaresAhead)
{
    const int32_t u = Put(0, 10, 10, SOLDIER, { "Scout" });
    ASSERT_EQ(Ask(0, u, 10, 11, 0), 1);
    // Budget 20 from each of the four points: two squares along a row or column around them.
    for (const auto& [x, y] : { std::pair{ 10, 12 }, { 10, 16 }, { 10, 6 }, { 13, 11 }, { 7, 11 }, { 5, 11 } })
        EXPECT_EQ(map[x][y].explored, 1) << x << "," << y;
    for (const auto& [x, y] : { std::pair{ 10, 17 }, { 4, 11 }, { 16, 11 } })
        EXPECT_EQ(map[x][y].explored, 0) << x << "," << y;
    // Near the edge the points off the map are passed over.
    const int32_t v = Put(0, 0, 0, SOLDIER, { "Scout" });
    EXPECT_EQ(Ask(0, v, 0, 1, 0), 1);
}

TEST_F(MoveAbilityTest, TheLowestAnswerPricesTheStep)
{
    struct Case {
        std::vector<const char*> held;
        uint8_t terrain;
        bool moves;
        int32_t movesleft;          // of 3
    };
    const Case cases[] = {
        { { "Flying", "Immobile" }, TERRAIN_OPEN, false, 3 },
        { { "Immobile", "Flying" }, TERRAIN_TREES, false, 3 },
        { { "Twigwalk" }, TERRAIN_TREES, true, 3 },
        { { "Flying" }, TERRAIN_TREES, true, 2 },
        { { "Twigwalk", "Flying" }, TERRAIN_TREES, true, 3 },
        { { "Cragwalk", "Rocks" }, TERRAIN_ROUGH, true, 3 },
        { {}, TERRAIN_ROUGH, true, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.held.empty() ? "nothing" : c.held[0]) + " onto terrain " + std::to_string(c.terrain));
        MakeWorld(2, 20);
        const int32_t u = Put(0, 5, 5);
        for (const char* name : c.held)
            Give(0, u, name);
        SetTerrain(6, 5, c.terrain, c.terrain == TERRAIN_OPEN ? 1 : 2);
        EXPECT_EQ(MoveUnit(0, u, 6, 5), c.moves);
        EXPECT_EQ(U(0, u).x, c.moves ? 6 : 5);
        EXPECT_EQ(U(0, u).moves, c.movesleft);
    }
}

// A client's unit with every map- and unit-changing on-move ability walks over rough ground, trees and
// past enemies: the host moves it, the client follows the host's moves, and both end alike.
TEST_F(MoveAbilityTest, MovesReplayAlikeOnHostAndClient)
{
    Put(0, 1, 1, WARLORD);
    const int32_t u = Put(1, 5, 5, SOLDIER, { "Rocks", "Boulder", "TreeShot", "Damper", "Scout" });
    U(1, u).moves = 10;
    const int32_t enemy = Put(0, 8, 6);
    U(0, enemy).mana = 6;
    const int32_t neutral = static_cast<int32_t>(p.size()) - 1;
    Put(neutral, 9, 9, IMP);
    U(neutral, 0).group = 1;
    SetTerrain(6, 5, TERRAIN_ROUGH, 2);
    SetTerrain(7, 5, TERRAIN_TREES, 2);
    currplayer = turnholder = 1;
    currunit = u;
    HostAndClient machines(1);
    const int32_t id = U(1, u).id;
    for (const int32_t x : { 6, 7, 8 }) {
        machines.UseClient();
        SendToPlayer(BuildMoveRequest(id, x, 5), -1);
        machines.ClientToHost();
        machines.HostToClient();
        // What the client's own look around earned its unit goes to the host by message.
        machines.ClientToHost();
        const uint64_t host = GameStateDigest();
        machines.UseClient();
        EXPECT_EQ(GameStateDigest(), host) << "after the step to " << x;
        machines.UseHost();
        EXPECT_EQ(U(1, u).x, x);
    }
    machines.UseHost();
    EXPECT_EQ(U(1, u).rocks, 2);
    EXPECT_EQ(map[6][5].terrain, TERRAIN_OPEN);
    EXPECT_EQ(U(0, enemy).mana, 0);
}

} // namespace
