// Gorvanel: the game program.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/main/winmain.h"
#include "game/screens/control.h"
#include "game/screens/listener.h"
#include "platform/clock.h"

int main()
{
    // What the rules announce is shown on the game's screens.
    ShowRulesOnScreen();
    // The headless back end serves the multi-process tests: no window, the same game, and time that
    // passes only as the game waits, so the splash and the screens' pauses take no real time.
    const char* const headless = getenv("GORVANEL_HEADLESS");
    if (headless && strcmp(headless, "1") == 0) {
        // A test may drive it through its screens (game/screens/control.h).
        const char* const control = getenv("GORVANEL_CONTROL");
        if (control && OpenControl(control)) {
            fprintf(stderr, "Gorvanel: the control folder %s cannot be used\n", control);
            return 1;
        }
        UseVirtualClock(0);
        return GameMain(BACKEND_HEADLESS);
    }
    return GameMain(BACKEND_SDL);
}
