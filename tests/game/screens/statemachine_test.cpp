// The state machine: which numbers have a frame, what a frame does while the game is in the
// background, and the Esc keys in every state.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <iterator>

#include "game/main/winmain.h"
#include "game/model/state.h"
#include "game/net/link.h"
#include "game/screens/runscreen.h"
#include "game/screens/statetable.h"
#include "game/screens/states.h"
#include "game/shell/input.h"
#include "game/shell/shell.h"
#include "game/view/frames.h"
#include "platform/input.h"
#include "platform/inputscript.h"
#include "platform/window.h"
#include "tests/game/screens/screentest.h"

namespace {

class StateMachine : public ScreenTest {
protected:
    void SetKeys(std::initializer_list<uint8_t> down)
    {
        std::fill(std::begin(keys), std::end(keys), 0);
        for (const uint8_t k : down)
            keys[k] = KEY_DOWNBIT;
    }
};

TEST_F(StateMachine, EveryNamedStateHasItsFrameAndTheUnusedNumbersNone)
{
    const int32_t nocase[] = { 12, 21, 39, 40, 44, 59, 61, 62, GAME_COMPTURN, GAME_COMPUNIT, GAME_DEPLOYWAIT };
    for (int32_t s = 0; s <= GAME_LASTSTATE; s++) {
        const bool without = std::find(std::begin(nocase), std::end(nocase), s) != std::end(nocase);
        EXPECT_EQ(FrameOfState(s) == nullptr, without) << "state " << s;
    }
    for (const int32_t s : { -1, GAME_LASTSTATE + 1, 99, 200, INT32_MIN, INT32_MAX })
        EXPECT_EQ(FrameOfState(s), nullptr) << s;
}

TEST_F(StateMachine, NumbersWithoutACaseLeaveTheFrameDoingNothing)
{
    for (const int32_t s : { 12, 21, 39, 40, 44, 59, 61, 62, 68, 99, 200, -5 }) {
        gs = s;
        returngs = 7;
        const int32_t frames = framecount;
        RunScreen();
        EXPECT_EQ(gs, s);
        EXPECT_EQ(returngs, 7);
        EXPECT_EQ(framecount, frames + 1);
    }
}

TEST_F(StateMachine, InBackgroundFramesCountButOnlyTheComputerTurnGoesOn)
{
    appactive = 0;
    candraw = 0;
    gs = GAME_MAINMENU;
    returngs = 5;
    const int reads = ScriptedKeyboardReads();
    RunScreen();
    EXPECT_EQ(framecount, 1);
    EXPECT_EQ(returngs, 5) << "the main menu's frame ran";
    EXPECT_EQ(candraw, 0);
    EXPECT_EQ(ScriptedKeyboardReads(), reads) << "input is not read in the background";

    // A client in the computer's turn watches: the step ran although nothing else did.
    ishost = 0;
    gs = GAME_COMPTURN;
    RunScreen();
    EXPECT_EQ(gs, GAME_WATCH);
    EXPECT_EQ(framecount, 2);
}

TEST_F(StateMachine, AnActiveFrameReadsTheDevicesAndMayDraw)
{
    candraw = 0;
    gs = 12;
    MoveTo(450, 320);
    Tap(KEY_G);
    RunScreen();
    EXPECT_EQ(candraw, 1);
    EXPECT_TRUE(IsKeyDown(KEY_G));
    EXPECT_EQ(mousex, 450);
    EXPECT_EQ(mousey, 320);
}

struct EscCase {
    int32_t state;
    bool opens;
};

TEST_F(StateMachine, EscOpensTheMenuInThePlayStatesOnly)
{
    const EscCase cases[] = {
        { GAME_SELECTWARLORD, true }, { GAME_SHOP, true },        { GAME_DEPLOY, true },
        { GAME_UNITTURN, true },      { GAME_WATCH, true },       { GAME_WAITPLAYERS, true },
        { GAME_REQUESTSENT, true },   { GAME_COMPTURN, true },    { GAME_COMPUNIT, true },
        { GAME_WAITRESULT, false },   { GAME_MAINMENU, false },   { GAME_LOBBY, false },
        { GAME_ENTERNAME, false },    { GAME_CREDITS, false },    { GAME_UPDATE, false },
        { GAME_QUIT, false },         { GAME_ERRORSCREEN, false }, { GAME_DAYSUMMARY, false },
        { GAME_MENU, false },         { GAME_OPTIONS, false },    { GAME_VICTORYSCREEN, false },
    };
    for (const EscCase& c : cases) {
        gs = c.state;
        returngs = -1;
        escheld = 0;
        SetKeys({ KEY_ESCAPE });
        EscapeKeys();
        EXPECT_EQ(gs, c.opens ? GAME_MENUOPEN : c.state) << "state " << c.state;
        EXPECT_EQ(returngs, c.opens ? c.state : -1) << "state " << c.state;
        EXPECT_EQ(escheld, 1);
    }
}

TEST_F(StateMachine, EscHeldOpensTheMenuOnce)
{
    gs = GAME_UNITTURN;
    SetKeys({ KEY_ESCAPE });
    EscapeKeys();
    ASSERT_EQ(gs, GAME_MENUOPEN);
    // Resumed while Esc is still held: the same press does not open it again.
    gs = GAME_UNITTURN;
    returngs = -1;
    EscapeKeys();
    EXPECT_EQ(gs, GAME_UNITTURN);
    SetKeys({});
    EscapeKeys();
    SetKeys({ KEY_ESCAPE });
    EscapeKeys();
    EXPECT_EQ(gs, GAME_MENUOPEN);
    EXPECT_EQ(returngs, GAME_UNITTURN);
}

TEST_F(StateMachine, AMenuClosedByAMessageDoesNotBlockTheNextEsc)
{
    // The menu was opened over a watched turn, and a message moved the game on: returngs still names
    // the state that Esc is pressed in now.
    gs = GAME_WATCH;
    returngs = GAME_WATCH;
    SetKeys({ KEY_ESCAPE });
    EscapeKeys();
    EXPECT_EQ(gs, GAME_MENUOPEN);
    EXPECT_EQ(returngs, GAME_WATCH);
}

TEST_F(StateMachine, EscInTheHelpGoesToTheMainMenuWhichNeverSeesThatPress)
{
    gs = GAME_HELP;
    Tap(KEY_ESCAPE, 3);                 // held for three reads
    PollKeyboard();
    const int reads = ScriptedKeyboardReads();
    EscapeKeys();
    EXPECT_EQ(gs, GAME_TOMAINMENU);
    EXPECT_EQ(ScriptedKeyboardReads(), reads) << "the frame goes on while Esc is held";
    EXPECT_FALSE(IsKeyDown(KEY_ESCAPE));
    EXPECT_EQ(escheld, 0);
    for (int read = 2; read <= 3; read++) {
        PollKeyboard();
        EXPECT_FALSE(IsKeyDown(KEY_ESCAPE)) << "still held, read " << read;
    }
}

TEST_F(StateMachine, EscWithF7EndsTheProgramFromAnyState)
{
    for (const int32_t s : { GAME_LOBBY, GAME_UNITTURN, GAME_UPDATE, GAME_HELP, GAME_INTRO }) {
        if (!MainWindowExists()) {
            ASSERT_FALSE(CreateMainWindow("Gorvanel", GameWndProc));
        }
        gs = s;
        appactive = 1;
        SetKeys({ KEY_ESCAPE, KEY_F7 });
        EscapeKeys();
        EXPECT_EQ(appactive, 0) << s;
        EXPECT_FALSE(MainWindowExists()) << s;
        SysMsg msg{};
        bool quit = false;
        while (PeekSysMessage(&msg))
            quit = quit || msg.message == SYS_QUIT;
        EXPECT_TRUE(quit) << s;
    }
}

TEST_F(StateMachine, EscWithoutF7NeverEndsTheProgram)
{
    gs = GAME_LOBBY;
    SetKeys({ KEY_F7 });
    EscapeKeys();
    EXPECT_TRUE(MainWindowExists());
    EXPECT_EQ(appactive, 1);
}

TEST_F(StateMachine, TheExitStateDestroysTheWindowAndSkipsTheRestOfTheFrame)
{
    gs = GAME_EXIT;
    Tap(KEY_ESCAPE);
    RunScreen();
    EXPECT_FALSE(MainWindowExists());
    EXPECT_EQ(appactive, 0);
    EXPECT_EQ(escheld, 0) << "the Esc step did not run";
}

} // namespace
