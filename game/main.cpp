// Gorvanel: the game program.
#include <cstdlib>
#include <cstring>

#include "game/shell/winmain.h"

int main()
{
    // The headless back end serves the multi-process tests: no window, the same game.
    const char* const headless = getenv("GORVANEL_HEADLESS");
    return GameMain(headless && strcmp(headless, "1") == 0 ? BACKEND_HEADLESS : BACKEND_SDL);
}
