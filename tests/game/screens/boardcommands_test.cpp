// The board commands of the unit turn, played through the screen with scripted keys and clicks: what
// each does to the game and the exact messages it sends, on the host and on a client.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/screens/boardcommands.h"
#include "game/screens/states.h"
#include "game/shell/input.h"
#include "game/view/commandmode.h"
#include "game/view/geometry.h"
#include "game/model/turns.h"
#include "platform/input.h"
#include "platform/inputscript.h"
#include "tests/game/screens/playscreen.h"
#include "tests/game/support/world.h"

namespace {

class BoardCommands : public PlayScreenTest {
protected:
    // Host: player 0's unit on (5, 5) with the moves given, player 1's far away.
    int32_t SetUpMover(int32_t moves)
    {
        MakeGame(2, 12);
        const int32_t u = Put(0, 5, 5, Buyable(0));
        p[0].units[u].moves = moves;
        Put(1, 10, 10, Buyable(0));
        ActWith(u);
        Frames(1);
        Sent();
        return u;
    }
    const Unit& Mover() const { return p[0].units[0]; }
    // In attack mode, a click on square (x, y): what was sent.
    std::vector<std::string> ClickInAttackMode(int32_t x, int32_t y)
    {
        Mode(COMMAND_ATTACK);
        Frames(1);
        Click(ScreenX(x), ScreenY(y));
        Frames(1);
        return Sent();
    }
};

TEST_F(BoardCommands, AnArrowPressIsOneStepOnTheHostToldToEveryone)
{
    SetUpMover(3);
    const int32_t id = Mover().id;
    Tap(KEY_LEFT, 3);       // held over three reads: still one step
    Frames(3);
    EXPECT_EQ(Mover().x, 4);
    EXPECT_EQ(Mover().y, 5);
    EXPECT_EQ(Mover().moves, 3 - map[4][5].cost);
    // '#': id high, id low, x+50, y+50, experience+50.
    EXPECT_EQ(Sent(), std::vector<std::string>{Bytes({'#', id / 256, id % 256, 4 + 50, 5 + 50, Mover().experience + 50, ';'})});
}

TEST_F(BoardCommands, TheArrowsStepTheirWaysInTheirOrder)
{
    const struct {
        uint8_t key;
        int32_t x, y;
    } cases[] = {{KEY_LEFT, 4, 5}, {KEY_RIGHT, 6, 5}, {KEY_UP, 5, 4}, {KEY_DOWN, 5, 6}};
    for (const auto& c : cases) {
        SetUpMover(3);
        Tap(c.key);
        Frames(1);
        EXPECT_EQ(Mover().x, c.x) << (int)c.key;
        EXPECT_EQ(Mover().y, c.y) << (int)c.key;
    }
    // Left and Up together: Left is tested first.
    SetUpMover(3);
    ScriptKeys({KEY_UP, KEY_LEFT});
    Frames(1);
    EXPECT_EQ(Mover().x, 4);
    EXPECT_EQ(Mover().y, 5);
}

TEST_F(BoardCommands, ACostlySquareTakesWhatMovesAreLeft)
{
    SetUpMover(2);
    map[4][5].cost = 5;
    Tap(KEY_LEFT);
    Frames(1);
    EXPECT_EQ(Mover().x, 4);
    EXPECT_EQ(Mover().moves, 0);
}

TEST_F(BoardCommands, RefusedStepsDoNothingAndSendNothing)
{
    const struct {
        const char* what;
        int32_t moves, startx;
        bool forcefield, ownunit;
    } cases[] = {
        {"no moves left", 0, 5, false, false},
        {"off the map", 3, 0, false, false},
        {"a forcefield", 3, 5, true, false},
        {"an own unit", 3, 5, false, true},
    };
    for (const auto& c : cases) {
        SetUpMover(c.moves);
        p[0].units[0].x = c.startx;
        if (c.forcefield)
            map[4][5].counter2 = 2;
        if (c.ownunit)
            Put(0, 4, 5, Buyable(0));
        Tap(KEY_LEFT);
        Frames(1);
        EXPECT_EQ(Mover().x, c.startx) << c.what;
        EXPECT_EQ(commandmode, COMMAND_MOVE) << c.what;
        EXPECT_TRUE(Sent().empty()) << c.what;
    }
}

TEST_F(BoardCommands, AnArrowIntoAnEnemyTurnsToAttackWithTheActionsForIt)
{
    for (const int32_t hits : {2, 1}) {
        SetUpMover(3);
        p[0].units[0].hits = hits;
        Put(1, 4, 5, Buyable(0));
        Tap(KEY_LEFT);
        Frames(1);
        EXPECT_EQ(Mover().x, 5);
        EXPECT_EQ(commandmode, hits > 1 ? COMMAND_ATTACK : COMMAND_MOVE) << hits;
        EXPECT_TRUE(Sent().empty());
    }
}

TEST_F(BoardCommands, AClientsStepIsARequestTheHostAnswers)
{
    MakeGame(2, 12);
    Put(0, 10, 10, Buyable(0));
    const int32_t u = Put(1, 5, 5, Buyable(0));
    BecomeClient(1);
    currplayer = 1;
    turnholder = 1;
    ActWith(u);
    Frames(1);
    Sent();
    const int32_t id = p[1].units[u].id;
    Tap(KEY_UP);
    Frames(1);
    // 'f': id high, id low, x+50, y+50; nothing moves until the host's answer.
    EXPECT_EQ(Sent(), std::vector<std::string>{Bytes({'f', id / 256, id % 256, 5 + 50, 4 + 50, ';'})});
    EXPECT_EQ(p[1].units[u].y, 5);
}

TEST_F(BoardCommands, TabTurnsToAttackOnlyWithMoreThanOneActionAndBack)
{
    SetUpMover(3);
    p[0].units[0].hits = 1;
    Tap(KEY_TAB);
    Frames(1);
    EXPECT_EQ(commandmode, COMMAND_MOVE);
    p[0].units[0].hits = 2;
    Tap(KEY_TAB);
    Frames(1);
    EXPECT_EQ(commandmode, COMMAND_ATTACK);
    Tap(KEY_TAB);
    Frames(1);
    EXPECT_EQ(commandmode, COMMAND_MOVE);
}

TEST_F(BoardCommands, TheRightButtonReturnsToMoveMode)
{
    SetUpMover(3);
    Mode(COMMAND_ATTACK);
    ScriptMouse(0, 0, 2);
    Frames(1);
    EXPECT_EQ(commandmode, COMMAND_MOVE);
}

TEST_F(BoardCommands, WPassesToTheNextUnitWhichStartsInMoveMode)
{
    SetUpMover(3);
    Put(0, 7, 7, Buyable(0));
    Tap(KEY_TAB);
    Frames(1);
    ASSERT_EQ(commandmode, COMMAND_ATTACK);
    Tap(KEY_W);
    Frames(1);
    EXPECT_EQ(gs, GAME_NEXTUNIT);
    Frames(1);
    EXPECT_EQ(gs, GAME_UNITTURN);
    EXPECT_EQ(currunit, 1);
    EXPECT_EQ(commandmode, COMMAND_MOVE);
}

// Attack range: the marks of range stats 0, 1 and 2 around the attacker.
TEST_F(BoardCommands, AttackModeMarksTheSquaresInRange)
{
    const struct {
        int32_t range;
        std::vector<std::pair<int, int>> marked, unmarked;
    } cases[] = {
        {0, {}, {{5, 5}, {4, 5}, {4, 4}}},
        {1, {{4, 5}, {6, 5}, {5, 4}, {5, 6}, {4, 4}, {6, 6}}, {{5, 5}, {3, 5}, {7, 7}}},
        {2, {{3, 5}, {7, 5}, {5, 3}, {4, 4}, {3, 4}}, {{5, 5}, {3, 3}, {2, 5}}},
    };
    for (const auto& c : cases) {
        SetUpMover(3);
        p[0].units[0].stat[STAT_RANGE] = c.range - (GetStat(0, 0, STAT_RANGE) - p[0].units[0].stat[STAT_RANGE]);
        Mode(COMMAND_ATTACK);
        Frames(1);
        for (const auto& [x, y] : c.marked)
            EXPECT_TRUE(map[x][y].mark) << "range " << c.range << " at " << x << ", " << y;
        for (const auto& [x, y] : c.unmarked)
            EXPECT_FALSE(map[x][y].mark) << "range " << c.range << " at " << x << ", " << y;
    }
}

TEST_F(BoardCommands, TheMarkerShowsAVisibleEnemyInRangeAsATarget)
{
    SetUpMover(3);
    Put(1, 6, 4, Buyable(0));
    const int32_t hidden = Put(1, 4, 4, Buyable(0));
    p[1].units[hidden].stat[STAT_STEALTH] = 3;
    Put(1, 5, 2, Buyable(0));   // out of range
    Put(0, 6, 6, Buyable(0));   // own
    Mode(COMMAND_ATTACK);
    Frames(1);
    const struct {
        int32_t x, y, marker;
    } cases[] = {{6, 4, MARKER_TARGET}, {4, 4, MARKER_REFUSED}, {5, 2, MARKER_REFUSED}, {6, 6, MARKER_REFUSED},
                 {4, 6, MARKER_REFUSED}};
    for (const auto& c : cases) {
        MoveTo(ScreenX(c.x), ScreenY(c.y));
        Frames(1);
        EXPECT_TRUE(MarkerShows(c.marker)) << c.x << ", " << c.y;
    }
}

TEST_F(BoardCommands, AClickOnAnEnemyInRangeAttacksIt)
{
    SetUpMover(3);
    Put(1, 6, 5, Buyable(0));
    const int32_t aid = Mover().id, tid = p[1].units[1].id;
    const std::vector<std::string> sent = ClickInAttackMode(6, 5);
    ASSERT_FALSE(sent.empty());
    // 'k': the two ids, then the four masks of the combat + 50.
    EXPECT_EQ(sent[0].substr(0, 5), Bytes({'k', aid / 256, aid % 256, tid / 256, tid % 256}));
    EXPECT_EQ(sent[0].size(), 10u);
    EXPECT_EQ(commandmode, COMMAND_MOVE);
}

TEST_F(BoardCommands, EmptySquaresAndUnmarkedOnesAreNoTargets)
{
    SetUpMover(3);
    Put(1, 9, 5, Buyable(0));   // an enemy out of range
    Mode(COMMAND_ATTACK);
    Frames(1);
    for (const auto& [x, y] : {std::pair{9, 5}, std::pair{4, 4}}) {
        Click(ScreenX(x), ScreenY(y));
        Frames(1);
        EXPECT_TRUE(Sent().empty()) << x << ", " << y;
        EXPECT_EQ(commandmode, COMMAND_ATTACK);
    }
}

TEST_F(BoardCommands, AClickOnAnOwnUnitInRangeMakesItTheActingUnitInstead)
{
    SetUpMover(3);
    Put(0, 6, 5, Buyable(0));
    Mode(COMMAND_ATTACK);
    Frames(1);
    Click(ScreenX(6), ScreenY(5));
    Frames(2);
    const std::vector<std::string> sent = Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][0], '.') << "no attack: only the next unit's notice";
    EXPECT_EQ(gs, GAME_UNITTURN);
    EXPECT_EQ(currunit, 1);
    EXPECT_EQ(commandmode, COMMAND_MOVE);
}

TEST_F(BoardCommands, AHiddenEnemyOnAMarkedSquareIsAttackedAsWell)
{
    SetUpMover(3);
    const int32_t t = Put(1, 6, 5, Buyable(0));
    p[1].units[t].stat[STAT_STEALTH] = 3;
    const std::vector<std::string> sent = ClickInAttackMode(6, 5);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0][0], 'k');
}

TEST_F(BoardCommands, AClickOnTheMinimapAttacksNothingUnderIt)
{
    // The view (5, 9)-(25, 22); the minimap covers the board's top right, over squares (22..24, 9..11).
    MakeGame(2, 30);
    minimapon = 1;
    ActWith(Put(0, 23, 10, Buyable(0)));
    Put(1, 24, 10, Buyable(0));
    Frames(1);
    Mode(COMMAND_ATTACK);
    Frames(1);
    ASSERT_TRUE(map[24][10].mark);
    Sent();
    Click(ScreenX(24), ScreenY(10));
    Frames(1);
    const std::vector<std::string> sent = Sent();
    EXPECT_TRUE(std::none_of(sent.begin(), sent.end(), [](const std::string& m) { return m[0] == 'k'; }));
    EXPECT_EQ(p[1].units[0].hp, GetStat(1, 0, STAT_LIFE));
}

TEST_F(BoardCommands, WhileAnotherPlayerActsTheBoardTakesNoCommands)
{
    MakeGame(2, 12);
    Put(0, 5, 5, Buyable(0));
    Put(1, 6, 5, Buyable(0));
    currplayer = 1;
    turnholder = 1;
    currunit = 0;
    gs = GAME_WATCH;
    Frames(1);
    Sent();
    const Unit before = p[0].units[0];
    Tap(KEY_LEFT);
    Frames(1);
    Tap(KEY_TAB);
    Frames(1);
    Click(ScreenX(6), ScreenY(5));
    Frames(2);
    Tap(KEY_W);
    Frames(1);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(p[0].units[0].x, before.x);
    EXPECT_EQ(p[1].units[0].hp, GetStat(1, 0, STAT_LIFE));
    EXPECT_EQ(gs, GAME_WATCH);
}

TEST_F(BoardCommands, AClientsAttackIsARequestAndItWaitsForTheAnswer)
{
    MakeGame(2, 12);
    const int32_t t = Put(0, 6, 5, Buyable(0));
    const int32_t u = Put(1, 5, 5, Buyable(0));
    BecomeClient(1);
    currplayer = 1;
    turnholder = 1;
    ActWith(u);
    Mode(COMMAND_ATTACK);
    Frames(1);
    Sent();
    const int32_t aid = p[1].units[u].id, tid = p[0].units[t].id;
    Click(ScreenX(6), ScreenY(5));
    Frames(1);
    EXPECT_EQ(Sent(), std::vector<std::string>{Bytes({'?', aid / 256, aid % 256, tid / 256, tid % 256, ';'})});
    EXPECT_EQ(gs, GAME_REQUESTSENT);
    EXPECT_EQ(commandmode, COMMAND_MOVE);
    EXPECT_EQ(p[0].units[t].hp, GetStat(0, t, STAT_LIFE));
}

TEST_F(BoardCommands, MarksOfASpellDoNotWidenTheAttack)
{
    SetUpMover(3);
    Put(1, 8, 5, Buyable(0));
    map[8][5].mark = 1;     // left over from aiming a spell
    EXPECT_TRUE(ClickInAttackMode(8, 5).empty());
    EXPECT_FALSE(map[8][5].mark);
}

TEST_F(BoardCommands, AttackModeFallsBackWithoutTheActionsOrRocks)
{
    for (const auto& [hits, rocks] : {std::pair{1, 5}, std::pair{2, 0}}) {
        SetUpMover(3);
        p[0].units[0].hits = hits;
        p[0].units[0].rocks = rocks;
        Mode(COMMAND_ATTACK);
        Frames(1);
        EXPECT_EQ(commandmode, COMMAND_MOVE) << hits << " " << rocks;
    }
}

} // namespace
