#include "tests/game/screens/screentest.h"

#include <algorithm>

#include "game/main/winmain.h"
#include "game/model/announce.h"
#include "game/model/catalogue.h"
#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/model/strings.h"
#include "game/net/link.h"
#include "game/net/lobby.h"
#include "game/net/sendqueue.h"
#include "game/screens/buttons.h"
#include "game/screens/help.h"
#include "game/screens/listener.h"
#include "game/screens/lobby.h"
#include "game/screens/menu.h"
#include "game/view/board.h"
#include "game/view/chat.h"
#include "game/screens/runscreen.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/gdiobjects.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/shell/music.h"
#include "game/shell/shell.h"
#include "game/shell/sound.h"
#include "game/view/feed.h"
#include "game/view/frames.h"
#include "game/view/geometry.h"
#include "game/view/graph.h"
#include "game/view/names.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/gdi.h"
#include "platform/headless.h"
#include "platform/inputscript.h"
#include "platform/window.h"
#include "tests/game/support/golden.h"

void ScreenTest::SetUp()
{
    olddir = GetCurrentDir();
    ASSERT_FALSE(SetCurrentDir(GORV_DIST_DIR));
    ShowRulesOnScreen();
    UseVirtualClock(100000);
    ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
    ASSERT_FALSE(CreateMainWindow("Gorvanel", GameWndProc));
    ASSERT_FALSE(DDrawGo());
    ASSERT_FALSE(CreateGdiObjects());
    ASSERT_FALSE(LoadFonts());
    ASSERT_FALSE(LoadGameText());
    ASSERT_FALSE(LumethGo());
    ASSERT_FALSE(LoadImages());
    ASSERT_FALSE(OpenInput());
    ClearInputScript();
    CreateButtons();
    gs = GAME_INTRO;
    returngs = -1;
    framecount = 0;
    screencounter = 0;
    escheld = 0;
    appactive = 1;
    candraw = 1;
    editmode = EDIT_NONE;
    editstring = nullptr;
    mousex = cursorx;
    mousey = cursory;
    soundon = 1;
    musicon = 0;
    soundsplayed.clear();
    playername.clear();
    paneltext.clear();
    messages.clear();
    hostaddress.clear();
    daysummary.clear();
    localaddress.clear();
    iplabel.clear();
    netport = 0;
    connected = 0;
    shownames = 1;
}

void ScreenTest::TearDown()
{
    RecordDrawnText(nullptr);   // its fonts go now
    // The options back at their start values: the next test's screens show them.
    gridon = 0;
    minimapon = 1;
    musicon = 1;
    soundon = 1;
    autofocus = 1;
    // And the texts the screens show that a test may have set.
    versiontext.clear();
    localaddress.clear();
    hostaddress.clear();
    LeaveGame();
    ListenToRules(nullptr);
    ClearSendQueue();
    ClearInputScript();
    CloseInput();
    DeleteSoundEntries();
    UnloadHelpModule();
    UnloadStringModule();
    ResetCatalogue();
    UnloadFonts();
    DDrawStop();
    StopPlatform();
    UseRealClock();
    SetCurrentDir(olddir.c_str());
}

void ScreenTest::MoveTo(int32_t x, int32_t y)
{
    ScriptMouse(x - cursorx, y - cursory, 0, 1);
    cursorx = x;
    cursory = y;
}

void ScreenTest::Press(int32_t x, int32_t y, int reads)
{
    ScriptMouse(x - cursorx, y - cursory, 1, reads);
    cursorx = x;
    cursory = y;
}

void ScreenTest::Click(int32_t x, int32_t y)
{
    Press(x, y, 1);
}

void ScreenTest::Tap(uint8_t key, int reads)
{
    ScriptKeys({ key }, reads);
}

void ScreenTest::Frames(int n)
{
    for (int i = 0; i < n; i++) {
        SysMsg msg;
        while (PeekSysMessage(&msg))
            DispatchSysMessage(&msg);
        if (!recordingtexts)
            StartGoldenTexts(); // the texts of the last frame, for a golden screen
        RunScreen();
    }
}

int ScreenTest::FramesUntil(int32_t state, int limit)
{
    for (int n = 0; n < limit; n++) {
        if (gs == state)
            return n;
        Frames(1);
    }
    return gs == state ? limit : -1;
}

void ScreenTest::ExpectGoldenScreen(const std::string& name)
{
    ExpectGoldenFrame(name, GORV_TEST_DIR);
}

bool ScreenTest::Played(const char* sound)
{
    return std::find(soundsplayed.begin(), soundsplayed.end(), sound) != soundsplayed.end();
}
