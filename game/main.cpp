// Gorvanel: the game program.
#include <cstdlib>
#include <cstring>

#include "game/shell/winmain.h"
#include "platform/clock.h"

int main()
{
    // The headless back end serves the multi-process tests: no window, the same game, and time that
    // passes only as the game waits, so the splash and the screens' pauses take no real time.
    const char* const headless = getenv("GORVANEL_HEADLESS");
    if (headless && strcmp(headless, "1") == 0) {
        UseVirtualClock(0);
        return GameMain(BACKEND_HEADLESS);
    }
    return GameMain(BACKEND_SDL);
}
