// Unit and player abilities (turn start, creation): what each does, and host and client ending up
// alike when a turn starts.
#include <vector>

#include "game/magic/abilities.h"
#include "game/model/abilityslots.h"
#include "game/model/death.h"
#include "game/model/mapgen.h"
#include "game/model/stats.h"
#include "game/model/turns.h"
#include "game/model/turnstart.h"
#include "game/model/units.h"
#include "game/model/wards.h"
#include "game/net/builders.h"
#include "game/net/routing.h"
#include "tests/game/magic/abilities_fixture.h"

namespace {

class TurnAbilityTest : public AbilityTest {
protected:
    // Runs the ability in the unit's slot as the turn start does.
    static void RunTurnStart(int32_t player, int32_t unit, int32_t slot = 0)
    {
        ASSERT_TRUE(UnitHasAbilityKind(player, unit, slot, ABILITY_TURNSTART));
        ExecuteAbilitySlot(player, unit, slot, player, unit, 0, 0, turncount, 0);
    }
    static void PutMine(int32_t x, int32_t y, int32_t owner)
    {
        map[x][y].terrain = TERRAIN_MINE;
        map[x][y].extra = static_cast<uint8_t>(owner);
    }
};

TEST_F(TurnAbilityTest, PlayerWideAbilities)
{
    struct Values {
        int32_t hp, poison, mana, actions;
    };
    struct Case {
        const char* ability;
        int32_t phase;
        Values after[3];            // the holder's player's three units
    };
    // Soldiers (life 10): hp, poison, mana and base actions before.
    const Values before[3] = { { 5, 2, 0, 2 }, { 9, 0, 10, 3 }, { 10, 1, 12, 4 } };
    const Case cases[] = {
        { "Savior", 1, { { 8, 0, 0, 2 }, { 10, 0, 10, 3 }, { 10, 0, 12, 4 } } },
        { "Knight", 1, { { 5, 2, 0, 3 }, { 9, 0, 10, 3 }, { 10, 1, 12, 5 } } },
        { "Wizard", 0, { { 5, 2, 1, 2 }, { 9, 0, 10, 3 }, { 10, 1, 10, 4 } } },
        { "Wizard", 1, { { 5, 2, 0, 2 }, { 9, 0, 10, 3 }, { 10, 1, 12, 4 } } },
        { "Wizard", 2, { { 5, 2, 0, 2 }, { 9, 0, 10, 3 }, { 10, 1, 12, 4 } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ability) + " in phase " + std::to_string(c.phase));
        MakeWorld(2, 20);
        turncount = c.phase;
        for (int32_t i = 0; i < 3; i++) {
            Put(0, i, 1);
            U(0, i).hp = before[i].hp;
            U(0, i).poison = before[i].poison;
            U(0, i).mana = before[i].mana;
            U(0, i).stat[STAT_ACTIONS] = before[i].actions;
        }
        Give(0, 0, c.ability);
        const int32_t enemy = Put(1, 5, 5);
        U(1, enemy).hp = 5;
        U(1, enemy).poison = 2;
        U(1, enemy).stat[STAT_ACTIONS] = 2;
        const Unit enemybefore = U(1, enemy);
        RunTurnStart(0, 0);
        for (int32_t i = 0; i < 3; i++) {
            EXPECT_EQ(U(0, i).hp, c.after[i].hp) << "unit " << i;
            EXPECT_EQ(U(0, i).poison, c.after[i].poison) << "unit " << i;
            EXPECT_EQ(U(0, i).mana, c.after[i].mana) << "unit " << i;
            EXPECT_EQ(U(0, i).stat[STAT_ACTIONS], c.after[i].actions) << "unit " << i;
        }
        EXPECT_EQ(U(1, enemy).hp, enemybefore.hp);
        EXPECT_EQ(U(1, enemy).poison, enemybefore.poison);
        EXPECT_EQ(U(1, enemy).stat[STAT_ACTIONS], enemybefore.stat[STAT_ACTIONS]);
    }
}

TEST_F(TurnAbilityTest, KnightCountsEffectiveActions)
{
    // A ward raising actions from 2 to 3 makes the count odd: no lasting gain.
    const int32_t u = Put(0, 1, 1, SOLDIER, { "Knight" });
    AddWard(0, u, 3, 0, 0, 0, 0, 0, 1, 0, 0, 0, 5, 0);
    RunTurnStart(0, u);
    EXPECT_EQ(U(0, u).stat[STAT_ACTIONS], 2);
    RemoveWard(0, u, 0);
    RunTurnStart(0, u);
    RunTurnStart(0, u);
    EXPECT_EQ(U(0, u).stat[STAT_ACTIONS], 3);
}

TEST_F(TurnAbilityTest, WarriorPrincePaysForOwnedMines)
{
    const int32_t u = Put(0, 1, 1, WARLORD, { "Warrior_Prince" });
    const int32_t mine0 = p[0].code - FIRSTCODE;
    const int32_t mine1 = p[1].code - FIRSTCODE;
    PutMine(3, 3, mine0);
    PutMine(4, 3, mine0);
    PutMine(5, 3, mine0);
    PutMine(6, 3, mine1);
    PutMine(7, 3, MINENOBODY);
    p[0].gold = 100;
    p[1].gold = 100;
    RunTurnStart(0, u);
    EXPECT_EQ(p[0].gold, 120);
    EXPECT_EQ(p[1].gold, 100);
    // The neutral side's number means nobody: it holds no mine.
    const int32_t neutral = static_cast<int32_t>(p.size()) - 1;
    const int32_t guard = Put(neutral, 9, 9, WARLORD, { "Warrior_Prince" });
    p[neutral].gold = 0;
    RunTurnStart(neutral, guard);
    EXPECT_EQ(p[neutral].gold, 5);
}

TEST_F(TurnAbilityTest, DaylightWeakensOnlyAtNight)
{
    for (const int32_t phase : { 0, 1, 2 }) {
        SCOPED_TRACE(phase);
        MakeWorld(2, 20);
        turncount = phase;
        const int32_t u = Put(0, 1, 1, SOLDIER, { "Daylight" });
        RunTurnStart(0, u);
        const bool night = phase == 2;
        EXPECT_EQ(U(0, u).wards[0].inuse, night ? 1 : 0);
        EXPECT_EQ(GetStat(0, u, STAT_ATTACK), night ? 2 : 3);
        EXPECT_EQ(GetStat(0, u, STAT_MOVES), night ? 2 : 3);
        EXPECT_EQ(U(0, u).moves, night ? 2 : 3);    // one move off at once, not two
        // Each call at night stacks one more.
        RunTurnStart(0, u);
        EXPECT_EQ(GetStat(0, u, STAT_ATTACK), night ? 1 : 3);
    }
}

TEST_F(TurnAbilityTest, DaylightLastsOneTurnThroughTheTurnStart)
{
    turncount = 2;
    const int32_t u = Put(0, 1, 1, SOLDIER, { "Daylight" });
    for (int turn = 0; turn < 3; turn++) {
        UpdateUnit(0, u);
        EXPECT_EQ(U(0, u).moves, 2) << "turn " << turn;
        EXPECT_EQ(GetStat(0, u, STAT_ATTACK), 2) << "turn " << turn;
    }
    turncount = 0;
    UpdateUnit(0, u);
    EXPECT_EQ(U(0, u).moves, 3);
}

TEST_F(TurnAbilityTest, TacticianRevealsTheMapOnlyOnItsOwnersMachine)
{
    const int32_t mine = Put(0, 1, 1, WARLORD);
    const int32_t theirs = Put(1, 9, 9, WARLORD);
    U(0, mine).abilities[0] = AbilityIndex("Tactician");
    U(1, theirs).abilities[0] = AbilityIndex("Tactician");
    ExecuteAbilitySlot(1, theirs, 0, 1, theirs, 1, theirs, 0, 0);
    EXPECT_EQ(map[10][10].explored, 0);
    ExecuteAbilitySlot(0, mine, 0, 0, mine, 0, mine, 0, 0);
    for (const auto& column : map)
        for (const MapSquare& square : column) {
            EXPECT_EQ(square.explored, 1);
            EXPECT_EQ(square.visible, 1);
        }
    EXPECT_EQ(needredraw, 1);
}

TEST_F(TurnAbilityTest, HazeEndsEveryWardAndCuresPoison)
{
    const int32_t u = Put(0, 1, 1, SOLDIER, { "Haze" });
    AddWard(0, u, 3, 0, 2, 0, 1, 0, 0, 0, 0, 0, 5, 0);
    AddWard(0, u, 1, 0, -1, 0, 0, 0, 0, 0, 0, 0, 7, 0);
    U(0, u).poison = 3;
    RunTurnStart(0, u);
    for (const Ward& ward : U(0, u).wards)
        EXPECT_EQ(ward.inuse, 0);
    EXPECT_EQ(U(0, u).poison, 0);
    EXPECT_EQ(U(0, u).moves, 3);
}

TEST_F(TurnAbilityTest, ExplosiveAndUnstableBlowUpOnTheHostOnce)
{
    for (const char* name : { "Explosive", "Unstable" }) {
        SCOPED_TRACE(name);
        MakeWorld(2, 20);
        const int32_t u = Put(1, 4, 4, IMP, { name });
        RunTurnStart(1, u);
        EXPECT_EQ(U(1, u).picture, 253);
        ASSERT_EQ(deathlist.size(), 1u);
        EXPECT_EQ(deathlist[0].id, U(1, u).id);
        EXPECT_EQ(deathlist[0].killer, static_cast<int32_t>(p.size()) - 1);
        RunTurnStart(1, u);
        EXPECT_EQ(deathlist.size(), 1u);
        // On a client the unit waits for the host's kill.
        deathlist.clear();
        BecomeClient(1);
        RunTurnStart(1, u);
        EXPECT_TRUE(deathlist.empty());
        EXPECT_EQ(p[1].units.size(), 1u);
    }
}

TEST_F(TurnAbilityTest, ExplosionIsHeardOnlyWhereExplored)
{
    const int32_t u = Put(1, 4, 4, IMP, { "Explosive" });
    RunTurnStart(1, u);
    EXPECT_TRUE(HeardSounds().empty());
    deathlist.clear();
    map[4][4].explored = 1;
    RunTurnStart(1, u);
    ASSERT_FALSE(HeardSounds().empty());
    EXPECT_EQ(HeardSounds()[0], ".\\Sound\\GSExplode.wav");
}

// Host and client start a turn of a third player whose units hold every turn-start ability: both run
// them by themselves, the host's kill of the exploding unit follows by message, and the two end alike.
TEST_F(TurnAbilityTest, TurnStartReplaysAlikeOnHostAndClient)
{
    for (const int32_t phase : { 0, 2 }) {
        SCOPED_TRACE(phase);
        Load(3);
        turncount = phase;
        Put(0, 1, 1, WARLORD);
        Put(1, 18, 18, WARLORD);
        const int32_t lord = Put(2, 10, 10, WARLORD, { "Savior", "Knight", "Wizard", "Warrior_Prince" });
        const int32_t sun = Put(2, 11, 10, SOLDIER, { "Daylight", "Haze" });
        Put(2, 12, 10, IMP, { "Unstable" });
        U(2, lord).hp = 12;
        U(2, sun).poison = 2;
        AddWard(2, sun, 2, 0, 1, 0, 0, 0, 0, 0, 0, 0, 5, 1);
        map[3][3].terrain = TERRAIN_MINE;
        map[3][3].extra = static_cast<uint8_t>(p[2].code - FIRSTCODE);
        currplayer = 1;
        const int32_t gold = p[2].gold;
        HostAndClient machines(1);

        EXPECT_FALSE(ServerNextTurn(1));
        ProcessDeaths();
        const uint64_t host = GameStateDigest();
        EXPECT_EQ(p[2].units.size(), 2u);
        EXPECT_EQ(U(2, lord).hp, 15);
        EXPECT_EQ(U(2, lord).stat[STAT_ACTIONS], 3);
        EXPECT_EQ(p[2].gold, gold + 10);
        machines.HostToClient();
        EXPECT_EQ(GameStateDigest(), host);
        EXPECT_EQ(p[2].units.size(), 2u);
        EXPECT_EQ(U(2, sun).poison, 0);
    }
}

// Creation abilities run on every machine as the unit appears: the host creates the client's new
// warlord, which reveals the map to its owner and, made at night, is weakened at once; the client makes
// it from the host's message, and both end alike (the fog being each machine's own).
TEST_F(TurnAbilityTest, CreationAbilitiesReplayAlikeOnHostAndClient)
{
    TestStrings strings = AbilityTestStrings();
    strings[STR_UNITPOWERS + WARLORD] = "Tactician,Daylight;";
    ASSERT_FALSE(LoadTestStrings(strings));
    CreateSpells();
    MakeWorld(2, 20);
    abilities[AbilityIndex("Daylight")].kind = ABILITY_CREATED;
    turncount = 2;
    HostAndClient machines(1);
    const int32_t u = CreateUnit(1, 4, 4, WARLORD, 0);
    ASSERT_EQ(u, 0);
    SendToPlayer(BuildCreateUnit(1, WARLORD, U(1, u).id, 4, 4), -1);
    EXPECT_EQ(map[15][15].explored, 0);
    EXPECT_EQ(GetStat(1, u, STAT_ATTACK), 3);
    const uint64_t host = GameStateDigest();
    machines.HostToClient();
    ASSERT_EQ(p[1].units.size(), 1u);
    EXPECT_EQ(map[15][15].explored, 1);
    EXPECT_EQ(GetStat(1, 0, STAT_ATTACK), 3);
    EXPECT_EQ(GameStateDigest(), host);
}

} // namespace
