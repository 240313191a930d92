// The death list: one entry per unit, the bounty, remains, a warlord's fall in and out of his own
// turn, and a kill that resolves alike on host and client however the messages arrive.
#include <gtest/gtest.h>

#include "game/model/death.h"
#include "game/model/digest.h"
#include "game/model/stats.h"
#include "game/model/turns.h"
#include "game/model/turnstart.h"
#include "game/net/builders.h"
#include "game/model/states.h"
#include "tests/game/model/cycle_fixture.h"

namespace {

bool Sent(const std::vector<SentFrame>& frames, const std::string& body)
{
    for (const SentFrame& f : frames)
        if (f.Body() == body)
            return true;
    return false;
}

} // namespace

class DeathTest : public CycleTest {
protected:
    void SetUp() override
    {
        CycleTest::SetUp();
        MakeWorld(3, 20);
        AddTestUnit(0, 2, 2, 2);        // each human's first unit is his warlord
        AddTestUnit(1, 5, 5, 2);
        AddTestUnit(1, 6, 5);
        AddTestUnit(1, 7, 5);
        AddTestUnit(2, 9, 9, 2);
        AddTestUnit(3, 12, 12);         // the neutral side's
        currplayer = 0;
        log.clear();
    }
};

TEST_F(DeathTest, AUnitIsEnteredOnceAndItsDeathSoundPlaysOnce)
{
    map[6][5].explored = 1;
    KillUnit(1, 1, 0);
    KillUnit(1, 1, 2);
    ASSERT_EQ(deathlist.size(), 1u);
    EXPECT_EQ(deathlist[0].killer, 0);
    EXPECT_TRUE(IsUnitDying(1, 1));
    EXPECT_FALSE(IsUnitDying(1, 2));
    EXPECT_EQ(HeardSounds(), (std::vector<std::string>{ "Hurt3.wav" }));
    KillUnit(1, 2, 0);                  // not explored: no sound
    EXPECT_EQ(HeardSounds().size(), 1u);
    const int32_t id = U(1, 1).id;
    ProcessDeaths();
    EXPECT_TRUE(deathlist.empty());
    EXPECT_EQ(p[1].units.size(), 1u);
    const std::vector<SentFrame> sent = TakeSentFrames();
    EXPECT_TRUE(Sent(sent, BuildKillUnit(id, 0)));
    EXPECT_EQ(p[0].kills, 2);
}

TEST_F(DeathTest, TheBountyIsTheLifeOfTheDeadBetween0And100)
{
    struct Case {
        int32_t life, killer, player, wantgoldto, wantgold;
    };
    const Case cases[] = {
        { 150, 0, 1, 0, 100 },
        { 10, 0, 1, 0, 10 },
        { 0, 0, 1, 0, 0 },
        { -9999, 0, 1, 0, 0 },
        { 10, 1, 1, 1, 0 },     // one's own unit pays nothing
        { 10, -1, 1, 3, 10 },   // an unknown killer is the neutral side
        { 10, 9, 1, 3, 10 },
    };
    for (const Case& c : cases) {
        SetUp();
        U(c.player, 1).stat[STAT_LIFE] = c.life;
        const int32_t before = p[c.wantgoldto].gold;
        currplayer = 2;
        ResolveKill(c.player, 1, c.killer);
        EXPECT_EQ(p[c.wantgoldto].gold - before, c.wantgold) << c.life << " by " << c.killer;
    }
}

TEST_F(DeathTest, OutsideHisTurnAUnitLeavesRemainsAndCountsAKill)
{
    ResolveKill(1, 1, 0);
    EXPECT_EQ(p[0].kills, 1);
    EXPECT_EQ(map[6][5].timed, 1);
    EXPECT_EQ(map[6][5].bits, 0xFu | 3u << 4);
    EXPECT_EQ(p[1].units.size(), 2u);
    EXPECT_EQ(U(1, 1).x, 7) << "the units after it move down";
    EXPECT_TRUE(Logged("Just killed player 1's unit #1"));

    U(1, 1).abilities[4] = UNSTABLE;
    ResolveKill(1, 1, 0);
    EXPECT_EQ(map[7][5].timed, 0) << "an unstable unit leaves nothing";
}

TEST_F(DeathTest, AWarlordSlainOutsideHisTurnTakesHisArmy)
{
    playersleft = 3;
    ResolveKill(1, 0, 2);
    EXPECT_TRUE(p[1].units.empty());
    EXPECT_EQ(playersleft, 2);
    EXPECT_EQ(p[2].kills, 1);
    EXPECT_EQ(map[5][5].timed, 1);
    EXPECT_TRUE(Fed("P1's warlord has been slain by P2"));
    EXPECT_EQ(p.size(), 4u) << "the record stays";
    // The neutral side's first unit is no warlord.
    ResolveKill(3, 0, 0);
    EXPECT_EQ(playersleft, 2);
}

TEST_F(DeathTest, AWarlordSlainInHisOwnTurnEndsItOnTheHost)
{
    // Player 1 (remote) in his turn, his warlord falls to a counter-attack by player 2.
    currplayer = 1;
    currunit = 2;
    playersleft = 3;
    KillUnit(1, 0, 2);
    ProcessDeaths();
    EXPECT_TRUE(p[1].units.empty());
    EXPECT_EQ(playersleft, 2);
    EXPECT_EQ(p[2].kills, 0) << "no kill in the owner's own turn";
    EXPECT_EQ(map[5][5].timed, 0) << "nor remains";
    EXPECT_EQ(currplayer, 2) << "the host passed the turn";
    const std::vector<SentFrame> sent = TakeSentFrames();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent.front().Body()[0], '`') << "the kill goes out before the next turn";
    EXPECT_TRUE(Sent(sent, BuildNextTurn(2)));

    // The host's own warlord: the host leaves its unit turn before the turn passes on.
    SetUp();
    currplayer = 0;
    gs = GAME_UNITTURN;
    KillUnit(0, 0, 3);
    ProcessDeaths();
    EXPECT_EQ(currplayer, 1);
    EXPECT_EQ(gs, GAME_WATCH);
    EXPECT_TRUE(Fed("P0's warlord has been slain by Unaligned"));
}

TEST_F(DeathTest, AnOrdinaryUnitDyingInItsOwnTurnLeavesTheTurnAtTheFirstUnit)
{
    currplayer = 1;
    currunit = 2;
    ResolveKill(1, 2, 0);
    EXPECT_EQ(currunit, 0);
    EXPECT_EQ(map[7][5].timed, 1);
    EXPECT_EQ(p[0].kills, 0);
    // An entry whose unit is gone is dropped without a word.
    deathlist.push_back({ 4321, 0 });
    ProcessDeaths();
    EXPECT_TRUE(deathlist.empty());
    EXPECT_TRUE(TakeSentFrames().empty());
}

TEST_F(DeathTest, AKillResolvesAlikeWhenTheNextTurnArrivesInTheSameRead)
{
    // Player 1's unit dies in his own turn, and his turn ends before the client's next main-loop pass.
    for (const bool warlord : { false, true }) {
        SetUp();
        currplayer = 1;
        currunit = 1;
        playersleft = 3;
        HostAndClient machines(2);
        machines.UseHost();
        KillUnit(1, warlord ? 0 : 1, 2);
        ProcessDeaths();
        if (!warlord)
            ServerNextTurn(1);
        machines.HostToClient();        // '`' and 'n' dispatched together
        EXPECT_EQ(currplayer, 2);
        EXPECT_EQ(p[2].kills, 0);
        EXPECT_EQ(map[6][5].timed, warlord ? 0 : 1);
        const uint64_t client = GameStateDigest();
        machines.UseHost();
        EXPECT_EQ(GameStateDigest(), client) << (warlord ? "warlord" : "soldier");
    }
}

TEST_F(DeathTest, AWarlordAndHisVictimDyingTogetherAreBothResolvedBeforeTheTurnPasses)
{
    // Player 0's warlord attacks player 1's warlord in player 0's turn and an after-defence hit kills
    // him too: the list holds the attacker first. Player 1 would be next.
    currplayer = 0;
    currunit = 0;
    playersleft = 3;
    HostAndClient machines(2);
    machines.UseHost();
    const int32_t attacker = U(0, 0).id, defender = U(1, 0).id;
    const int32_t gold0 = p[0].gold, gold1 = p[1].gold;
    const int32_t bounty0 = GetLifeStat(1, 0), bounty1 = GetLifeStat(0, 0);
    U(0, 0).hp = 0;
    U(1, 0).hp = 0;
    KillUnit(0, 0, 1);
    KillUnit(1, 0, 0);
    ProcessDeaths();
    const std::vector<SentFrame> sent = machines.HostToClient();
    std::vector<std::string> bodies;
    for (const SentFrame& f : sent)
        if (f.socket == TESTSOCKETBASE + 2
            && (f.Body()[0] == '`' || f.Body() == BuildNextTurn(2) || f.Body() == BuildNextTurn(1)))
            bodies.push_back(f.Body());
    EXPECT_EQ(bodies, (std::vector<std::string>{ BuildKillUnit(attacker, 1), BuildKillUnit(defender, 0), BuildNextTurn(2) }))
        << "both kills go out, then the turn passes once";
    const uint64_t client = GameStateDigest();
    for (const bool host : { true, false }) {
        if (host)
            machines.UseHost();
        SCOPED_TRACE(host ? "host" : "client");
        EXPECT_TRUE(p[0].units.empty());
        EXPECT_TRUE(p[1].units.empty()) << "player 1's warlord fell with his army";
        EXPECT_EQ(playersleft, 1);
        EXPECT_EQ(p[0].kills, 1);
        EXPECT_EQ(p[1].kills, 0) << "no kill for a death in its owner's turn";
        EXPECT_EQ(p[0].gold - gold0, bounty0);
        EXPECT_EQ(p[1].gold - gold1, bounty1);
        EXPECT_TRUE(Fed("P1's warlord has been slain by P0"));
        EXPECT_EQ(currplayer, 2);
        EXPECT_TRUE(deathlist.empty());
    }
    EXPECT_EQ(GameStateDigest(), client);
}

TEST_F(DeathTest, AKillQueuedBeforeTheAttackersEndOfTurnCountsInHisTurn)
{
    // Player 1 (the client) kills a unit and his end of turn reaches the host before the main loop
    // resolves the death list: the kill is his, and the turn passes once, on both machines.
    struct Case {
        const char* name;
        int32_t victim, victimunit, killer;
        int32_t kills1, next, left;
    };
    const Case cases[] = {
        { "player 2's warlord", 2, 0, 1, 1, 3, 2 },     // player 2 falls: the neutral side is next
        { "his own warlord", 1, 0, 2, 0, 2, 2 },        // his fall ends his turn, which is ending anyway
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        currplayer = 1;
        turnholder = 1;
        playersleft = 3;
        HostAndClient machines(1);
        machines.UseHost();
        const int32_t dead = U(c.victim, c.victimunit).id;
        const int32_t gold = p[c.killer].gold, bounty = GetLifeStat(c.victim, c.victimunit);
        KillUnit(c.victim, c.victimunit, c.killer);     // the attack, as its handler resolves it
        machines.UseClient();
        EndTurn();
        machines.ClientToHost();        // the '^' right behind the attack
        ProcessDeaths();                // the main loop's pass
        const std::vector<SentFrame> sent = machines.HostToClient();
        std::vector<std::string> bodies;
        for (const SentFrame& f : sent)
            if (f.socket == TESTSOCKETBASE + 1 && (f.Body()[0] == '`' || f.Body()[0] == 'n'))
                bodies.push_back(f.Body());
        EXPECT_EQ(bodies, (std::vector<std::string>{ BuildKillUnit(dead, c.killer), BuildNextTurn(c.next) }))
            << "the kill goes out, then the turn passes once";
        const uint64_t client = GameStateDigest();
        for (const bool host : { false, true }) {
            if (host)
                machines.UseHost();
            SCOPED_TRACE(host ? "host" : "client");
            EXPECT_TRUE(p[c.victim].units.empty());
            EXPECT_EQ(p[1].kills, c.kills1);
            EXPECT_EQ(p[c.killer].gold - gold, bounty);
            EXPECT_EQ(playersleft, c.left);
            EXPECT_EQ(currplayer, c.next);
            EXPECT_TRUE(deathlist.empty());
        }
        EXPECT_EQ(GameStateDigest(), client);
    }
}

TEST_F(DeathTest, AKilledUnitWaitsAtItsOwnersTurnStartForTheHostsKill)
{
    // Player 1 killed player 0's soldier and the day's first turn, player 0's, begins before the death
    // list runs: player 0's turn start leaves the dead unit to the kill on every machine. (A turn that
    // ends resolves its kills before it passes.)
    AddTestUnit(0, 3, 2);
    currplayer = 0;
    turnholder = -1;
    HostAndClient machines(2);
    machines.UseHost();
    const int32_t dead = U(0, 1).id;
    const int32_t gold1 = p[1].gold, bounty = GetLifeStat(0, 1);
    U(0, 1).hp = 0;
    machines.UseClient();
    U(0, 1).hp = 0;                     // the client saw the same blow
    machines.UseHost();
    KillUnit(0, 1, 1);
    ServerNextTurn(-1);
    ASSERT_EQ(currplayer, 0);
    EXPECT_EQ(U(0, 1).id, dead);
    ProcessDeaths();
    machines.HostToClient();
    const uint64_t client = GameStateDigest();
    for (const bool host : { true, false }) {
        if (host)
            machines.UseHost();
        SCOPED_TRACE(host ? "host" : "client");
        EXPECT_EQ(p[0].units.size(), 1u);
        EXPECT_EQ(p[1].gold - gold1, bounty);
    }
    EXPECT_EQ(GameStateDigest(), client);
}
