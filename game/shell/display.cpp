// Display. Every surface lives in memory, so there is no mode to lose: setting the mode and
// restoring surfaces always work.
#include "game/shell/display.h"

#include <algorithm>
#include <iterator>

#include "platform/window.h"

uint32_t backbuffer[SCREENWIDTH * SCREENHEIGHT];

bool SetScreenMode(int, int, int)
{
    return false;
}

bool RestoreSurfaces()
{
    return false;
}

void ClearBackBuffer()
{
    std::fill(std::begin(backbuffer), std::end(backbuffer), 0u);
}

void FlipScreen()
{
    PresentFrame(backbuffer, SCREENWIDTH, SCREENHEIGHT);
}
