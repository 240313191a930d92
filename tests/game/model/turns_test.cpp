// The turn cycle and the day: who plays next, the messages the host sends in their order, the square
// counters of a phase change, mine income, the winner, and host and client ending in the same state.
#include <gtest/gtest.h>

#include "game/model/dayphase.h"
#include "game/model/digest.h"
#include "game/model/mapgen.h"
#include "game/model/mines.h"
#include "game/model/turns.h"
#include "game/model/turnstart.h"
#include "game/model/winner.h"
#include "game/net/builders.h"
#include "game/net/frame.h"
#include "game/model/states.h"
#include "game/model/names.h"
#include "tests/game/model/cycle_fixture.h"

namespace {

std::vector<std::string> Bodies(const std::vector<SentFrame>& frames)
{
    std::vector<std::string> bodies;
    for (const SentFrame& f : frames)
        if (bodies.empty() || bodies.back() != f.Body())
            bodies.push_back(f.Body());     // one copy per addressee: each body once
    return bodies;
}

void OwnMine(int32_t x, int32_t y, int32_t number)
{
    map[x][y].terrain = TERRAIN_MINE;
    map[x][y].extra = static_cast<uint8_t>(number);
}

} // namespace

using TurnTest = CycleTest;

TEST_F(TurnTest, TurnsSkipPlayersWithoutUnitsAndTheCycleWrapsIntoTheNextPhase)
{
    // P0 (the host's own), P1 without units, the neutral side N.
    AddTestUnit(0, 2, 2);
    AddTestUnit(2, 9, 9);
    currplayer = 0;
    EXPECT_FALSE(ServerNextTurn(0));
    EXPECT_EQ(currplayer, 2);
    EXPECT_EQ(gs, GAME_COMPTURN);
    EXPECT_EQ(currunit, -1);
    EXPECT_EQ(Bodies(TakeSentFrames()), (std::vector<std::string>{ BuildNextTurn(2) }));

    gs = GAME_WATCH;
    EXPECT_FALSE(ServerNextTurn(2));
    EXPECT_EQ(currplayer, 0);
    EXPECT_EQ(turncount, 1);
    EXPECT_EQ(gs, GAME_STARTTURN);
    EXPECT_EQ(currunit, -1);
    EXPECT_EQ(Bodies(TakeSentFrames()), (std::vector<std::string>{ BuildAdvanceDay(), BuildNextTurn(0) }));

    // A remote human's turn: his units are brought up to date here, the host watches.
    AddTestUnit(1, 4, 4);
    p[1].units[0].moves = 0;
    gs = GAME_WATCH;
    EXPECT_FALSE(ServerNextTurn(0));
    EXPECT_EQ(currplayer, 1);
    EXPECT_EQ(gs, GAME_WATCH);
    EXPECT_EQ(p[1].units[0].moves, 3);

    // Nobody with units: nothing is handed out or sent.
    for (Player& player : p)
        player.units.clear();
    TakeSentFrames();
    EXPECT_TRUE(ServerNextTurn(1));
    EXPECT_EQ(currplayer, 1);
    EXPECT_EQ(Bodies(TakeSentFrames()), (std::vector<std::string>{ BuildAdvanceDay() }));
}

TEST_F(TurnTest, TheLastTurnOfTheNightEndsTheDay)
{
    AddTestUnit(0, 2, 2);
    AddTestUnit(1, 5, 5);
    U(1, 0).abilities[0] = VIGIL;
    U(0, 0).abilities[2] = DUSK;
    p[0].gold = 300;
    p[1].gold = 410;
    p[0].shopped = p[1].shopped = 1;
    shoppers = 2;
    turncount = 2;
    currplayer = 1;
    EXPECT_TRUE(ServerNextTurn(1));
    EXPECT_EQ(Bodies(TakeSentFrames()),
              (std::vector<std::string>{ BuildAdvanceDay(), BuildForceSetMoney(0, 300), BuildForceSetMoney(1, 410),
                                         BuildSetGs(GAME_DAYSUMMARYOPEN) }));
    EXPECT_EQ(gs, GAME_DAYSUMMARYOPEN);
    EXPECT_EQ(turncount, -1);
    EXPECT_EQ(shoppers, 0);
    EXPECT_EQ(p[0].shopped + p[1].shopped, 0);     // the next day's shopping is waited for anew
    // The day-end ability ran, the ending player's end-of-turn ability did not.
    ASSERT_EQ(abilitycalls.size(), 1u);
    EXPECT_EQ(abilitycalls[0].a1, 0);
    EXPECT_EQ(abilitycalls[0].a3, 0);
}

TEST_F(TurnTest, EndOfTurnAbilitiesRunOnceWithTheOwnersUnits)
{
    AddTestUnit(1, 5, 5);
    AddTestUnit(1, 6, 6);
    U(1, 1).abilities[3] = VIGIL;
    AddTestUnit(0, 2, 2);
    EXPECT_FALSE(ServerNextTurn(1));
    ASSERT_EQ(abilitycalls.size(), 1u);
    const AbilityCall c = abilitycalls[0];
    EXPECT_EQ((std::vector<int32_t>{ c.a1, c.a2, c.a3, c.a4, c.a5, c.a6 }), (std::vector<int32_t>{ 1, 1, 1, 1, 0, 0 }));
    EXPECT_TRUE(Logged("Executing ability Vigil for P1's unit #1"));
    abilitycalls.clear();
    EXPECT_FALSE(ServerNextTurn(-1));   // the first turn of a day ends nobody's
    EXPECT_TRUE(abilitycalls.empty());
}

TEST_F(TurnTest, APhaseChangeCountsDownTheSquaresAndSetsTheLight)
{
    struct Case {
        uint8_t timed;
        uint32_t timer;
        int8_t hazard, counter2, lightowner, dark;
        int32_t phasesbefore;       // turncount before the change
        uint8_t wanttimed;
        uint32_t wanttimer;
        int8_t wanthazard, wantcounter2, wantdark;
    };
    const Case cases[] = {
        { 1, 3, 2, 1, -1, 0, 0, 1, 2, 1, 0, 0 },    // morning to afternoon
        { 1, 1, 0, 0, -1, 0, 1, 0, 0, 0, 0, 1 },    // the timer runs out; night falls
        { 1, 0, -3, -1, -1, 1, 1, 0, 15, 0, 0, 1 }, // a timer already out wraps and stays off
        { 0, 5, 1, 0, 2, 0, 1, 0, 5, 0, 0, 0 },     // no timer: untouched; a light override keeps its dark
        { 0, 0, 0, 0, 3, 1, 1, 0, 0, 0, 0, 1 },
    };
    for (const Case& c : cases) {
        MapSquare& s = map[4][7];
        s.timed = c.timed;
        s.bits = 0x5 | c.timer << 4;
        s.hazard = c.hazard;
        s.counter2 = c.counter2;
        s.lightowner = c.lightowner;
        s.dark = c.dark;
        turncount = c.phasesbefore;
        AdvanceDayPhase();
        EXPECT_EQ(s.timed, c.wanttimed);
        EXPECT_EQ(s.bits, 0x5 | c.wanttimer << 4) << "the claim bits stay";
        EXPECT_EQ(s.hazard, c.wanthazard);
        EXPECT_EQ(s.counter2, c.wantcounter2);
        EXPECT_EQ(s.dark, c.wantdark);
    }
    // Remains of 3 outlast two phase changes and go with the third.
    MapSquare& s = map[1][1];
    s.timed = 1;
    s.bits = 0xF | 3 << 4;
    turncount = 0;
    AdvanceDayPhase();
    AdvanceDayPhase();
    EXPECT_EQ(s.timed, 1);
    ishost = 0;                         // a client wraps from the night straight to morning
    AdvanceDayPhase();
    EXPECT_EQ(s.timed, 0);
    EXPECT_EQ(turncount, 0);
    EXPECT_EQ(s.dark, 0);
}

TEST_F(TurnTest, MinesPayTheirOwnerByNumberAtTheEndOfHisTurn)
{
    OwnMine(1, 1, 1);
    OwnMine(2, 1, 1);
    OwnMine(3, 1, 0);
    OwnMine(4, 1, MINENOBODY);
    EXPECT_EQ(CountMines(1), 2);
    EXPECT_EQ(CountMines(0), 1);
    EXPECT_EQ(CountMines(2), 0) << "the neutral side owns no mine it freed";
    EXPECT_EQ(CountMines(7), 0);
    AddTestUnit(0, 2, 2);
    AddTestUnit(1, 5, 5);
    p[0].gold = p[1].gold = 100;
    EXPECT_FALSE(ServerNextTurn(-1));
    EXPECT_EQ(p[0].gold, 100) << "the first turn of a day pays nobody";
    EXPECT_FALSE(ServerNextTurn(0));
    EXPECT_EQ(p[0].gold, 100 + TESTMINEINCOME);
    EXPECT_EQ(p[1].gold, 100) << "paid when his turn ends, not when it begins";
    AddMineIncome(1, 10);
    EXPECT_EQ(p[1].gold, 120);
}

TEST_F(TurnTest, AClientPaysTheTurnTheHostEndedNotTheOneItsScreenPointsAt)
{
    MakeWorld(3, 20);
    AddTestUnit(0, 2, 2);
    AddTestUnit(1, 5, 5);
    AddTestUnit(2, 8, 8);
    U(2, 0).abilities[0] = VIGIL;
    OwnMine(1, 1, 0);
    OwnMine(1, 2, 2);
    // A new day: the waiting screen leaves currplayer at 0 on every machine.
    currplayer = 0;
    HostAndClient machines(1);
    // Every machine brings the new player's units up to date when the turn begins, its own included.
    machines.UseHost();
    ServerNextTurn(-1);
    machines.HostToClient();
    EXPECT_EQ(p[0].gold, 750) << "the first turn of a day pays nobody, whoever currplayer named";
    machines.UseHost();
    ServerNextTurn(0);
    machines.HostToClient();
    EXPECT_EQ(currplayer, 1);
    EXPECT_EQ(gs, GAME_BEGINDEPLOY);
    // Player 1 ends his turn through the host; then player 2, whose unit has an end-of-turn ability.
    EndTurn();
    machines.ClientToHost();
    EXPECT_EQ(currplayer, 2);
    ServerNextTurn(2);
    machines.HostToClient();
    EXPECT_EQ(currplayer, 0);
    EXPECT_EQ(p[0].gold, 750 + TESTMINEINCOME);
    EXPECT_EQ(p[2].gold, 750 + TESTMINEINCOME);
    EXPECT_EQ(abilitycalls.size(), 2u) << "once on the host, once on the client";
    currunit = -1;                      // the host's screen holds its own turn's unit; the client's 0
    const uint64_t client = GameStateDigest();
    machines.UseHost();
    EXPECT_EQ(GameStateDigest(), client);
}

TEST_F(TurnTest, DayEndAbilitiesLeaveHostAndClientAlike)
{
    MakeWorld(3, 20);
    AddTestUnit(0, 2, 2);
    AddTestUnit(1, 5, 5);
    AddTestUnit(2, 8, 8);
    U(1, 0).abilities[1] = DUSK;
    U(2, 0).abilities[1] = DUSK;
    turncount = 2;
    currplayer = 2;
    HostAndClient machines(1);
    machines.UseHost();
    ServerNextTurn(2);
    machines.HostToClient();
    EXPECT_EQ(gs, GAME_DAYSUMMARYOPEN);
    EXPECT_EQ(turncount, 0);
    EXPECT_EQ(U(1, 0).mana, 1);
    const uint64_t client = GameStateDigest();
    machines.UseHost();
    EXPECT_EQ(U(1, 0).mana, 1);
    turncount = 0;                      // the host's waiting screen does this
    EXPECT_EQ(GameStateDigest(), client);
}

TEST_F(TurnTest, TheWinnerIsDeclaredAndAFalseClaimRefused)
{
    DeclareWinner(0);
    EXPECT_EQ(winnername, "P0");
    EXPECT_EQ(gs, GAME_VICTORY);
    EXPECT_EQ(HeardSounds().back(), ".\\Sound\\GSVictory.wav");
    shownames = 0;
    DeclareWinner(1);
    EXPECT_EQ(winnername, "Player Two");
    EXPECT_EQ(HeardSounds().back(), ".\\Sound\\GSLose.wav");
    DeclareWinner(9);
    EXPECT_EQ(winnername, "!BADPLAYER");
    shownames = 1;

    // Player 1 claims while player 0 still has units: refused, and told only to him.
    AddTestUnit(0, 2, 2);
    AddTestUnit(1, 5, 5);
    AddTestUnit(2, 9, 9);
    gs = GAME_WATCH;
    turnholder = 1;                     // at the start of his turn
    const std::string claim = BuildFrame(BuildWinner(1));
    DeliverToHost({ SentFrame{ claim, 0 } }, 1);
    EXPECT_TRUE(Logged("No they didn't!"));
    EXPECT_EQ(gs, GAME_WATCH);
    const std::vector<SentFrame> refusal = TakeSentFrames();
    ASSERT_EQ(refusal.size(), 1u);
    EXPECT_EQ(refusal[0].Body(), BuildSetGs(GAME_YOURTURN));
    EXPECT_EQ(refusal[0].socket, TESTSOCKETBASE + 1);

    // Only the neutral side is left beside him: the host declares and relays.
    p[0].units.clear();
    DeliverToHost({ SentFrame{ claim, 0 } }, 1);
    EXPECT_EQ(gs, GAME_VICTORY);
    EXPECT_EQ(winnername, "P1");
    EXPECT_EQ(Bodies(TakeSentFrames()), (std::vector<std::string>{ BuildWinner(1) }));
}
