// Entry and main loop: one thread; each pass serves every pending window message, then runs one frame
// of the screens and the per-pass work of the network and the rules.
#include "game/main/winmain.h"

#include "game/main/startup.h"
#include "game/model/death.h"
#include "game/model/upgrade.h"
#include "game/net/sendqueue.h"
#include "game/screens/runscreen.h"
#include "game/shell/shell.h"

static const char* const windowcaption = "Gorvanel";

enum { INACTIVEWAITMS = 20 };           // the longest sleep of a pass while the window is in the background

int GameMain(SysBackend backend)
{
    if (StartPlatform(backend))
        return 0;
    if (CreateMainWindow(windowcaption, GameWndProc)) {
        StopPlatform();
        return 0;
    }
    // A failed start-up has shown its own message box; no shutdown runs, so the debug log stays.
    if (StartGame()) {
        StopPlatform();
        return 0;
    }

    for (;;) {
        int code = 0;
        if (MainLoopPass(RunScreen, &code)) {
            ShutdownGame();
            StopPlatform();
            return code;
        }
    }
}

bool MainLoopPass(void (*frame)(), int* exitcode)
{
    // While inactive the loop sleeps until something happens, but never longer than a short
    // while: the host keeps playing the neutral side in the background.
    if (!appactive)
        WaitSysMessageFor(INACTIVEWAITMS);

    // Only what waited when the pass began: a peer that keeps data coming gets one read a pass,
    // and the frame and the sending still run for everybody.
    PumpSysEvents();
    SysMsg msg;
    for (size_t budget = QueuedSysMessages(); budget > 0 && PeekSysMessage(&msg); budget--) {
        if (msg.message == SYS_QUIT) {
            *exitcode = (int)msg.wparam;
            return true;
        }
        DispatchSysMessage(&msg);
    }

    frame();
    SendQueuedMessage();
    ProcessUpgrades();
    ProcessDeaths();
    return false;
}
