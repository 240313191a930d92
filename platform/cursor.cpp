// The system's mouse pointer: hidden while the game draws its own.
#include <SDL.h>

#include "platform/backend.h"
#include "platform/window.h"

namespace {

bool cursorshown = true;

} // namespace

void ShowSystemCursor(const bool show)
{
    cursorshown = show;
    if (PlatformRunning() && PlatformBackend() == BACKEND_SDL && SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

bool SystemCursorShown()
{
    return cursorshown;
}
