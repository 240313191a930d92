// One step of a neutral unit: the step it takes towards its target, its attack and its casts, with the
// exact messages that go to the other machines; how a unit's turn ends; the pacing of the steps.
#include <gtest/gtest.h>

#include <algorithm>

#include "ai_fixture.h"
#include "game/ai/actioncost.h"
#include "game/ai/computerturn.h"
#include "game/model/digest.h"
#include "game/shell/shell.h"
#include "platform/clock.h"

namespace {

bool Blocked(int32_t id)
{
    return std::find(blockedtargets.begin(), blockedtargets.end(), id) != blockedtargets.end();
}

} // namespace

TEST_F(AiTest, TheStepGoesAlongTheCheaperWayAndTheYWayOnATie)
{
    enum Obstacle { NONE, FORCEFIELDY, FORCEFIELDBOTH, ENEMYX, OWNX, DEARY };
    struct Row {
        const char* what;
        int32_t tx, ty;             // the target (hurt, so that it is the one chosen)
        Obstacle obstacle;
        int32_t ability;            // -1 none
        int32_t dx, dy;             // where the guard ends up
        bool moved;                 // a move message went out
        const char* logged;
    };
    const Row rows[] = {
        { "same column", 5, 1, NONE, -1, 5, 4, true, "Moving to new location." },
        { "same row", 1, 5, NONE, -1, 4, 5, true, "Moving to new location." },
        { "equal costs", 2, 2, NONE, -1, 5, 4, true, "Moving to new location." },
        { "the y way dearer", 2, 2, DEARY, -1, 4, 5, true, "Moving to new location." },
        { "flying makes them equal", 2, 2, DEARY, FLYING, 5, 4, true, "Moving to new location." },
        { "a forcefield along y", 2, 2, FORCEFIELDY, -1, 4, 5, true, "Moving to new location." },
        { "an enemy beats a forcefield", 2, 2, ENEMYX, -1, 5, 5, false, "We're blocked, so take it off the list.." },
        { "forcefields both ways", 2, 2, FORCEFIELDBOTH, -1, 5, 5, false, "Blocked on all counts!" },
        { "an own unit and a forcefield", 2, 2, OWNX, -1, 5, 5, false, "Blocked on all counts!" },
        { "immobile", 2, 2, NONE, IMMOBILE, 5, 5, false, "Blocked on all counts!" },
    };
    for (const Row& r : rows) {
        MakeWorld(2, AIMAP);
        currplayer = turnholder = NEUTRALSIDE;
        ResetComputerPlayer();
        CaptureLog();
        const int32_t g = AddGuard(5, 5);
        const int32_t t = AddEnemy(r.tx, r.ty);
        Enemy(t).hp = 9;
        if (r.ability >= 0)
            GiveAbility(Guard(g), 0, r.ability);
        if (r.obstacle == FORCEFIELDY || r.obstacle == FORCEFIELDBOTH || r.obstacle == ENEMYX || r.obstacle == OWNX)
            map[5][4].counter2 = 3;
        if (r.obstacle == FORCEFIELDBOTH)
            map[4][5].counter2 = 3;
        if (r.obstacle == ENEMYX)
            AddTestUnit(0, 4, 5);
        if (r.obstacle == OWNX)
            AddTestUnit(NEUTRALSIDE, 4, 5);
        if (r.obstacle == DEARY)
            map[5][4].cost = 3;
        const int32_t id = Guard(g).id;
        currunit = g;
        ComputerUnitTurn(NEUTRALSIDE, g);
        EXPECT_EQ(Guard(g).x, r.dx) << r.what;
        EXPECT_EQ(Guard(g).y, r.dy) << r.what;
        const std::vector<std::string> sent = Sent();
        if (r.moved) {
            // '#', the guard's id, the square + 50, its experience + 50.
            EXPECT_EQ(sent, std::vector<std::string>({ Bytes({ '#', IdHigh(id), IdLow(id), r.dx + 50, r.dy + 50, 50, ';' }) }))
                << r.what;
            EXPECT_LT(Guard(g).moves, 3) << r.what;
        } else {
            EXPECT_TRUE(sent.empty()) << r.what;
            EXPECT_TRUE(Blocked(Enemy(t).id)) << r.what;   // not chosen again this turn
        }
        EXPECT_TRUE(Logged(r.logged)) << r.what;
        EXPECT_EQ(gs, GAME_COMPUNIT) << r.what;             // the unit goes on
    }
}

TEST_F(AiTest, TheCostOfAStepIsAskedWithoutChangingAnything)
{
    const int32_t g = AddGuard(5, 5);
    GiveAbility(Guard(g), 0, TWIGWALK);
    map[4][5].terrain = 1;      // trees: free for a twig walker
    map[4][5].cost = 3;
    map[6][5].cost = 2;
    map[5][6].counter2 = 1;
    AddEnemy(5, 4);
    AddGuard(6, 6);
    EXPECT_EQ(ActionCost(NEUTRALSIDE, g, 4, 5), 0);
    EXPECT_EQ(ActionCost(NEUTRALSIDE, g, 6, 5), 2);
    EXPECT_EQ(ActionCost(NEUTRALSIDE, g, 5, 6), COSTIMPOSSIBLE);     // forcefield
    EXPECT_EQ(ActionCost(NEUTRALSIDE, g, 5, 4), COSTENEMY);
    EXPECT_EQ(ActionCost(NEUTRALSIDE, g, 6, 6), COSTIMPOSSIBLE);     // its own side
    EXPECT_EQ(ActionCost(NEUTRALSIDE, g, 5, 5), COSTIMPOSSIBLE);     // where it stands
    EXPECT_EQ(ActionCost(NEUTRALSIDE, g, -1, 5), COSTIMPOSSIBLE);    // off the map
    EXPECT_EQ(ActionCost(NEUTRALSIDE, g, 5, AIMAP), COSTIMPOSSIBLE);
    // A rock gatherer is not given the rough ground's stones for a step it only weighs.
    GiveAbility(Guard(g), 1, ROCKS);
    map[6][5].terrain = 2;
    const int32_t rocks = Guard(g).rocks;
    EXPECT_EQ(ActionCost(NEUTRALSIDE, g, 6, 5), 1);
    EXPECT_EQ(map[6][5].terrain, 2);
    EXPECT_EQ(map[6][5].cost, 2);
    EXPECT_EQ(Guard(g).rocks, rocks);
    GiveAbility(Guard(g), 2, IMMOBILE);
    EXPECT_EQ(ActionCost(NEUTRALSIDE, g, 6, 5), COSTIMPOSSIBLE);
    EXPECT_TRUE(Logged("Calculated cost: 2"));
    EXPECT_TRUE(Sent().empty());
}

TEST_F(AiTest, TheExperienceByteOfAStepIsNeverZero)
{
    // 206 + 50 is 256, a zero byte: the experience travels clamped.
    const int32_t g = AddGuard(5, 5);
    Guard(g).experience = 206;
    AddEnemy(5, 1);
    const int32_t id = Guard(g).id;
    ComputerUnitTurn(NEUTRALSIDE, g);
    EXPECT_EQ(Sent(), std::vector<std::string>({ Bytes({ '#', IdHigh(id), IdLow(id), 55, 54, 255, ';' }) }));
}

TEST_F(AiTest, ATargetInReachIsAttackedAsTheHostAttacksForAPlayer)
{
    const int32_t g = AddGuard(5, 5);
    const int32_t t = AddEnemy(6, 6);       // diagonal: 1 away
    const int32_t gid = Guard(g).id, tid = Enemy(t).id;
    ComputerUnitTurn(NEUTRALSIDE, g);
    EXPECT_EQ(Enemy(t).hp, 10 - 4);
    EXPECT_EQ(Guard(g).hits, 0);
    // 'k', attacker, target, the four masks + 50.
    EXPECT_EQ(Sent(), std::vector<std::string>({ Bytes({ 'k', IdHigh(gid), IdLow(gid), IdHigh(tid), IdLow(tid), 50, 50,
                                                         50, 50, ';' }) }));
    EXPECT_TRUE(Logged("Acted on " + std::to_string(tid)));
    EXPECT_EQ(gs, GAME_COMPUNIT);
    // Its actions are spent: the next step ends its turn.
    ComputerUnitTurn(NEUTRALSIDE, g);
    EXPECT_TRUE(Logged("No hits... next unit turn."));
    EXPECT_EQ(gs, GAME_COMPTURN);
}

TEST_F(AiTest, SpellsAreCastAtTheTargetOrNextToTheCaster)
{
    // A unit spell within its range 3.
    const int32_t g = AddGuard(5, 5);
    Learn(g, 0, SPARKS);
    const int32_t t = AddEnemy(5, 8);
    const int32_t gid = Guard(g).id, tid = Enemy(t).id;
    ComputerUnitTurn(NEUTRALSIDE, g);
    EXPECT_EQ(Enemy(t).hp, 10 - 7);
    EXPECT_EQ(Guard(g).mana, 10 - 2);
    // '[', caster, target, spell + 50, target kind + 50.
    EXPECT_EQ(Sent(), std::vector<std::string>({ Bytes({ '[', IdHigh(gid), IdLow(gid), IdHigh(tid), IdLow(tid),
                                                         SPARKS + 50, 1 + 50, ';' }) }));

    // A square spell: on the first free square of the caster's block, towards the target first.
    MakeWorld(2, AIMAP);
    currplayer = turnholder = NEUTRALSIDE;
    ResetComputerPlayer();
    const int32_t c = AddGuard(5, 5);
    Learn(c, 0, FORCEFIELD);
    AddEnemy(8, 2);
    AddTestUnit(0, 6, 4);                   // the first square tried is taken
    const int32_t cid = Guard(c).id;
    ComputerUnitTurn(NEUTRALSIDE, c);
    EXPECT_EQ(map[6][5].counter2, 3);
    EXPECT_EQ(Sent(), std::vector<std::string>({ Bytes({ '[', IdHigh(cid), IdLow(cid), 6 + 50, 5 + 50, FORCEFIELD + 50,
                                                         4 + 50, ';' }) }));
    EXPECT_TRUE(Logged("Spelled at 6,5"));
}

TEST_F(AiTest, ARefusedSpellIsNotTriedAgainAndTheAttackFollows)
{
    // Heal rates highest but takes no enemy; the attack is next.
    const int32_t g = AddGuard(5, 5);
    Learn(g, 0, HEAL);
    const int32_t t = AddEnemy(5, 6);
    ComputerUnitTurn(NEUTRALSIDE, g);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(refusedactions, 1u);
    EXPECT_EQ(Guard(g).hits, 2);
    ComputerUnitTurn(NEUTRALSIDE, g);
    EXPECT_EQ(compaction, ACTION_ATTACK);
    EXPECT_EQ(Enemy(t).hp, 10 - 4);

    // A square spell with no free square round the caster is put aside too.
    MakeWorld(2, AIMAP);
    currplayer = turnholder = NEUTRALSIDE;
    ResetComputerPlayer();
    const int32_t c = AddGuard(1, 1);
    Learn(c, 0, FORCEFIELD);
    for (int32_t x = 0; x <= 2; x++)
        for (int32_t y = 0; y <= 2; y++)
            if (x != 1 || y != 1)
                AddEnemy(x, y);
    ComputerUnitTurn(NEUTRALSIDE, c);
    EXPECT_TRUE(Logged("No free square to cast at."));
    EXPECT_EQ(refusedactions, 1u);
    EXPECT_TRUE(Sent().empty());
    ComputerUnitTurn(NEUTRALSIDE, c);
    EXPECT_EQ(compaction, ACTION_ATTACK);
    EXPECT_EQ(Sent().size(), 1u);
}

TEST_F(AiTest, AUnitsTurnEndsWhenItCanDoNothing)
{
    struct Row {
        const char* what;
        int32_t hits, range;
        bool alerted, enemy;
        const char* logged;
    };
    const Row rows[] = {
        { "no actions, moves left", 0, 1, true, true, "No hits... next unit turn." },
        { "asleep", 2, 1, false, true, "No hits... next unit turn." },
        { "no reach and no spell", 2, 0, true, true, "Action impossible." },
        { "one action: no attack", 1, 1, true, true, "Action impossible." },
        { "nobody near", 2, 1, true, false, "No units in range!" },
    };
    for (const Row& r : rows) {
        StartNeutralTurn();
        const int32_t g = AddGuard(5, 5);
        Guard(g).hits = r.hits;
        Guard(g).stat[STAT_RANGE] = r.range;
        Guard(g).alerted = r.alerted ? 1 : 0;
        if (r.enemy)
            AddEnemy(5, 7);
        ComputerUnitTurn(NEUTRALSIDE, g);
        EXPECT_EQ(gs, GAME_COMPTURN) << r.what;
        EXPECT_TRUE(Logged(r.logged)) << r.what;
        EXPECT_TRUE(Sent().empty()) << r.what;
        EXPECT_EQ(Guard(g).x * 100 + Guard(g).y, 505) << r.what;
    }
}

TEST_F(AiTest, AGuardThatCannotAttackCastsASpellItCanAffordWhateverItsPower)
{
    // The guard's attack (9) outrates its Sparks (7); an attack it cannot make must not hide the spell.
    struct Row {
        const char* what;
        int32_t hits, rocks, spell;
        bool casts;
    };
    const Row rows[] = {
        { "no rock charge", 2, 0, SPARKS, true },
        { "no rock charge, no spell", 2, 0, -1, false },
        // A cast costs 2 actions as well: with one left there is nothing to weigh.
        { "one action left", 1, 1000, SPARKS, false },
    };
    for (const Row& r : rows) {
        StartNeutralTurn();
        const int32_t g = AddGuard(5, 5);
        Guard(g).stat[STAT_ATTACK] = 9;
        if (r.spell >= 0)
            Learn(g, 0, r.spell);
        Guard(g).hits = r.hits;
        Guard(g).rocks = r.rocks;
        const int32_t t = AddEnemy(5, 6);
        const int32_t gid = Guard(g).id, tid = Enemy(t).id;
        ComputerUnitTurn(NEUTRALSIDE, g);
        if (r.casts) {
            EXPECT_EQ(Enemy(t).hp, 10 - SPARKSPOWER) << r.what;
            EXPECT_EQ(Sent(), std::vector<std::string>({ Bytes({ '[', IdHigh(gid), IdLow(gid), IdHigh(tid), IdLow(tid),
                                                                 SPARKS + 50, 1 + 50, ';' }) }))
                << r.what;
            EXPECT_EQ(gs, GAME_COMPUNIT) << r.what;
        } else {
            EXPECT_TRUE(Logged("Action impossible.")) << r.what;
            EXPECT_TRUE(Sent().empty()) << r.what;
            EXPECT_EQ(gs, GAME_COMPTURN) << r.what;
        }
    }
}

TEST_F(AiTest, WhileDrawingAStepWaitsAQuarterSecondAfterOneThatFoundTargets)
{
    candraw = 1;
    UseVirtualClock(1000);
    const int32_t g = AddGuard(5, 5);
    AddEnemy(5, 1);
    ComputerUnitTurn(NEUTRALSIDE, g);
    EXPECT_EQ(Guard(g).y, 4);
    AdvanceClock(COMPSTEPMS - 1);
    ComputerUnitTurn(NEUTRALSIDE, g);
    EXPECT_EQ(Guard(g).y, 4);               // too soon: nothing
    EXPECT_EQ(Sent().size(), 1u);
    AdvanceClock(1);
    ComputerUnitTurn(NEUTRALSIDE, g);
    EXPECT_EQ(Guard(g).y, 3);
    // Nothing drawn: no wait at all.
    candraw = 0;
    ComputerUnitTurn(NEUTRALSIDE, g);
    EXPECT_EQ(Guard(g).y, 2);
    UseRealClock();
}

TEST_F(AiTest, OnlyTheHostPlaysTheNeutralSideAndOnlyInItsTurn)
{
    struct Row {
        const char* what;
        bool client;
        int32_t player, holder;     // the step's player, and who holds the turn
    };
    const Row rows[] = {
        { "a client", true, NEUTRALSIDE, NEUTRALSIDE },
        { "the turn passed on", false, NEUTRALSIDE, HUMAN },
        { "a player's unit", false, HUMAN, HUMAN },
        { "a player's unit in the neutral turn", false, HUMAN, NEUTRALSIDE },
    };
    for (const Row& r : rows) {
        MakeWorld(2, AIMAP);
        ResetComputerPlayer();
        CaptureLog();
        // Each would step towards the other side's unit (the rules check an attack's turn, not a step).
        const int32_t g = AddGuard(5, 5);
        const int32_t h = AddEnemy(5, 1);
        Enemy(h).alerted = 1;
        currplayer = r.player;
        turnholder = r.holder;
        gs = GAME_COMPUNIT;
        if (r.client)
            BecomeClient(1);
        const uint64_t before = GameStateDigest();
        ComputerUnitTurn(r.player, r.player == HUMAN ? h : g);
        EXPECT_EQ(GameStateDigest(), before) << r.what;
        EXPECT_TRUE(Sent().empty()) << r.what;
        if (!r.client) {
            EXPECT_EQ(gs, GAME_WATCH) << r.what;
            EXPECT_FALSE(compactive) << r.what;
        }
    }
}
