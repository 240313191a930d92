// The turn states through the screen machine: the next-unit search, the start of a turn with its win
// check, the end of a turn, the wait for the host's answer and the end-turn box.
#include <gtest/gtest.h>

#include "game/model/state.h"
#include "game/model/turns.h"
#include "game/net/builders.h"
#include "game/net/lobby.h"
#include "game/net/routing.h"
#include "game/screens/states.h"
#include "game/screens/turnsteps.h"
#include "game/view/commandmode.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "tests/game/screens/playscreen.h"
#include "tests/game/support/world.h"

namespace {

class Turn : public PlayScreenTest {
protected:
    void SetUp() override
    {
        PlayScreenTest::SetUp();
        wincheck = 1;
    }
};

// GAME_NEXTUNIT over the units' moves and actions, a picked unit and where the search starts.
TEST_F(Turn, TheNextUnitIsTheFirstThatCanActAfterTheLastOne)
{
    const struct {
        const char* what;
        std::vector<std::pair<int, int>> units;     // moves, hits
        int32_t from;
        uint8_t picked;
        int32_t expected;                           // -1: the turn ends
    } cases[] = {
        {"the first that can act", {{0, 0}, {2, 0}, {0, 2}}, -1, 0, 1},
        {"after the last one", {{2, 2}, {2, 2}, {2, 2}}, 0, 0, 1},
        {"round again from the start", {{2, 2}, {0, 0}, {0, 0}}, 1, 0, 0},
        {"actions alone will do", {{0, 0}, {0, 1}}, -1, 0, 1},
        {"a picked unit even when spent", {{2, 2}, {0, 0}}, 0, 1, 1},
        {"nobody left", {{0, 0}, {0, 0}}, -1, 0, -1},
    };
    for (const auto& c : cases) {
        MakeGame(2, 12);
        for (size_t i = 0; i < c.units.size(); i++) {
            const int32_t u = Put(0, 2 + (int32_t)i, 2, Buyable(0));
            p[0].units[u].moves = c.units[i].first;
            p[0].units[u].hits = c.units[i].second;
        }
        currunit = c.from;
        pickedunit = c.picked;
        gs = GAME_NEXTUNIT;
        Frames(1);
        if (c.expected < 0) {
            EXPECT_EQ(gs, GAME_ENDTURN) << c.what;
            continue;
        }
        EXPECT_EQ(gs, GAME_UNITTURN) << c.what;
        EXPECT_EQ(currunit, c.expected) << c.what;
        EXPECT_EQ(pickedunit, 0) << c.what;
        const int32_t id = p[0].units[c.expected].id;
        EXPECT_EQ(Sent(), std::vector<std::string>{Bytes({'.', id / 256, id % 256, ';'})}) << c.what;
    }
}

TEST_F(Turn, SpaceRestsTheUnitForTheTurnAndKeepsItsMovesAsEveryMachineHasThem)
{
    MakeGame(2, 12);
    const int32_t first = Put(0, 2, 2, Buyable(0));
    Put(0, 4, 4, Buyable(0));
    Put(1, 9, 9, Buyable(0));
    const int32_t moves = p[0].units[first].moves;
    gs = GAME_YOURTURN;
    Frames(2);
    ASSERT_EQ(currunit, 0);
    Tap(KEY_SPACE);
    Frames(2);
    EXPECT_EQ(gs, GAME_UNITTURN);
    EXPECT_EQ(currunit, 1);
    EXPECT_EQ(p[0].units[first].moves, moves);
    Tap(KEY_SPACE);
    Frames(3);
    // Both rest: the turn ends, though both still have their moves.
    EXPECT_EQ(currplayer, 1);
    EXPECT_EQ(gs, GAME_WATCH);
}

TEST_F(Turn, ATurnWithNothingToDoEndsInTwoFrames)
{
    MakeGame(2, 12);
    const int32_t u = Put(0, 2, 2, Buyable(0));
    p[0].units[u].moves = 0;
    p[0].units[u].hits = 0;
    Put(1, 9, 9, Buyable(0));
    gs = GAME_YOURTURN;
    Frames(1);
    EXPECT_EQ(gs, GAME_NEXTUNIT);
    EXPECT_TRUE(Played(".\\Sound\\GSNextPlayer.wav"));
    Frames(1);
    EXPECT_EQ(gs, GAME_ENDTURN);
    Frames(1);
    // The turn passed on to player 1: the host watches.
    EXPECT_EQ(gs, GAME_WATCH);
    EXPECT_EQ(currplayer, 1);
}

TEST_F(Turn, TheStartOfATurnWinsOnlyAgainstNoOtherArmy)
{
    const struct {
        const char* what;
        bool othersunits, ownunits, check;
        bool wins;
    } cases[] = {
        {"another player has units", true, true, true, false},
        {"only the neutral side is left", false, true, true, true},
        {"alone, even without units", false, false, true, true},
        {"the win check is off", false, true, false, false},
    };
    for (const auto& c : cases) {
        MakeGame(2, 12);
        wincheck = c.check ? 1 : 0;
        if (c.ownunits)
            Put(0, 2, 2, Buyable(0));
        if (c.othersunits)
            Put(1, 9, 9, Buyable(0));
        Put((int32_t)p.size() - 1, 5, 5, Buyable(0));  // a neutral guard
        gs = GAME_STARTTURN;
        Frames(1);
        if (c.wins) {
            EXPECT_EQ(gs, GAME_VICTORY) << c.what;
            const std::vector<std::string> sent = Sent();
            EXPECT_NE(std::find(sent.begin(), sent.end(), Bytes({'(', 0 + 50, ';'})), sent.end()) << c.what;
        } else {
            EXPECT_EQ(gs, GAME_YOURTURN) << c.what;
        }
    }
}

TEST_F(Turn, AClientClaimingTheWinWatchesForTheHostsWord)
{
    MakeGame(2, 12);
    Put(1, 9, 9, Buyable(0));
    BecomeClient(1);
    gs = GAME_STARTTURN;
    Frames(1);
    EXPECT_EQ(gs, GAME_WATCH);
    EXPECT_EQ(Sent(), std::vector<std::string>{Bytes({'(', 1 + 50, ';'})});
}

TEST_F(Turn, TheEndOfATurnKeepsTheStateTheTurnOrderSet)
{
    // The next player is the host's own: the turn order sets GAME_STARTTURN, which stands.
    MakeGame(2, 12);
    Put(0, 2, 2, Buyable(0));
    currplayer = 1;
    turnholder = 1;
    turncount = MORNING;
    gs = GAME_ENDTURN;
    Frames(1);
    EXPECT_EQ(gs, GAME_STARTTURN);
    EXPECT_EQ(currplayer, 0);
}

TEST_F(Turn, CancelAppearsOnlyAfterTenSecondsOfWaiting)
{
    MakeGame(2, 12);
    const int32_t u = Put(1, 5, 5, Buyable(0));
    BecomeClient(1);
    currplayer = 1;
    currunit = u;
    gs = GAME_REQUESTSENT;
    Frames(1);
    ASSERT_EQ(gs, GAME_WAITRESULT);
    const uint32_t sent = requesttime;
    // Cancel's place: (595, 525), 200 x 50.
    AdvanceClock(10000 - (GetTicks() - sent));
    Click(695, 550);
    Frames(2);
    EXPECT_EQ(gs, GAME_WAITRESULT) << "no Cancel at 10000 ms";
    AdvanceClock(1);
    Click(695, 550);
    Frames(2);
    EXPECT_EQ(gs, GAME_UNITTURN);
}

TEST_F(Turn, AnAnswerWhileTheMenuIsOpenOverTheWaitGoesBackToTheUnitTurn)
{
    MakeGame(2, 12);
    const int32_t t = Put(0, 6, 5, Buyable(0));
    const int32_t u = Put(1, 5, 5, Buyable(0));
    currplayer = 1;
    turnholder = 1;
    currunit = u;
    HostAndClient machines(1);
    machines.UseClient();
    SendToPlayer(BuildAttackRequest(p[1].units[u].id, p[0].units[t].id), -1);
    gs = GAME_MENU;
    returngs = GAME_WAITRESULT;
    machines.ClientToHost();
    const std::vector<SentFrame> answer = machines.HostToClient();
    ASSERT_FALSE(answer.empty());
    EXPECT_EQ(answer[0].Body()[0], 'k');
    EXPECT_EQ(gs, GAME_MENU) << "the menu stays open";
    EXPECT_EQ(returngs, GAME_UNITTURN) << "and closes onto the unit turn, not onto a wait for what came";
}

TEST_F(Turn, TheEndTurnBoxEndsTheTurnOrGoesBack)
{
    for (const bool end : {true, false}) {
        MakeGame(2, 12);
        ActWith(Put(0, 5, 5, Buyable(0)));
        Put(1, 9, 9, Buyable(0));
        Frames(1);
        gs = GAME_ENDTURNOPEN;
        Frames(1);
        ASSERT_EQ(gs, GAME_ENDTURNCONFIRM);
        EXPECT_FALSE(Played(".\\Sound\\GSMenu.wav"));
        Frames(1);
        // "End Turn" at (300, 200), "Cancel" at (300, 325).
        Click(400, end ? 225 : 350);
        Frames(3);
        if (end)
            EXPECT_EQ(currplayer, 1) << "the turn passed on";
        else
            EXPECT_EQ(gs, GAME_UNITTURN);
    }
}

TEST_F(Turn, AnActingUnitThatIsGoneHandsOnToTheNextOrToWatching)
{
    MakeGame(2, 12);
    Put(0, 2, 2, Buyable(0));
    Put(1, 9, 9, Buyable(0));
    ActWith(5);         // no such unit
    Frames(1);
    EXPECT_EQ(gs, GAME_NEXTUNIT);
    // The turn has passed to player 1 while the screen stayed on the unit turn.
    currplayer = 1;
    turnholder = 1;
    currunit = 0;
    gs = GAME_UNITTURN;
    Frames(1);
    EXPECT_EQ(gs, GAME_WATCH);
    EXPECT_EQ(p[1].units[0].x, 9);
}

TEST_F(Turn, TheNeutralTurnIsPlayedOnTheHostAndWatchedElsewhere)
{
    MakeGame(2, 12);
    Put(0, 2, 2, Buyable(0));
    const int32_t neutral = (int32_t)p.size() - 1;
    currplayer = neutral;
    turnholder = neutral;
    currunit = -1;
    gs = GAME_COMPTURN;
    Frames(1);
    // No neutral unit: the turn ends at once.
    EXPECT_EQ(gs, GAME_ENDTURN);
    BecomeClient(1);
    gs = GAME_COMPTURN;
    Frames(1);
    EXPECT_EQ(gs, GAME_WATCH);
}

TEST_F(Turn, WaitingForThePlayersTheHostStartsTheDayOnceEverybodyIsDone)
{
    MakeGame(2, 12);
    Put(0, 2, 2, Buyable(0));
    Put(1, 9, 9, Buyable(0));
    turnholder = -1;
    currplayer = 1;
    gs = GAME_WAITPLAYERS;
    Frames(1);
    EXPECT_EQ(gs, GAME_WAITPLAYERS);
    EXPECT_EQ(currplayer, 1) << "the turn holder is left alone while waiting";
    p[1].shopped = 1;
    Frames(1);
    EXPECT_EQ(gs, GAME_STARTTURN);
    EXPECT_EQ(currplayer, 0);
}

} // namespace
