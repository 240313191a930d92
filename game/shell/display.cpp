// Display. Every surface lives in memory: the mode cannot be lost and a flip cannot fail, so a flip
// is a copy of the back buffer to the front buffer, which is then shown; the back buffer keeps its
// contents.
#include "game/shell/display.h"

#include <algorithm>

#include "game/shell/surface.h"
#include "platform/display.h"

Display display;
SysSurface*& backbuffer = display.backbuffer;

Display::~Display()
{
    ReleaseDirectDraw();
}

bool CreateDirectDraw()
{
    if (OpenDisplay())
        return true;
    display.ddraw = true;
    return false;
}

bool CreatePrimarySurface()
{
    if (!display.ddraw)
        return true;
    if (!display.primary) {
        display.primary = CreateSysSurface(SCREENWIDTH, SCREENHEIGHT, 0);
        display.primaryshown = false;
    }
    if (!display.backbuffer) {
        display.backbuffer = CreateSysSurface(SCREENWIDTH, SCREENHEIGHT, 0);
        display.flips++;        // a new back buffer holds nobody's last frame
    }
    return !display.primary || !display.backbuffer;
}

bool SetScreenMode(const int width, const int height, const int bpp)
{
    return SetDisplayMode(width, height, bpp);
}

bool ClearBackBuffer()
{
    if (!backbuffer)
        return true;
    FillSurface(backbuffer, nullptr, 0);
    return false;
}

bool BltFastKeyed(const int32_t x, const int32_t y, const SysSurface* const src, const PixelRect& srcrect)
{
    if (!backbuffer || !src)
        return true;
    CopySurface(backbuffer, x, y, src, srcrect, true);
    return false;
}

bool DrawSurface(const int32_t x, const int32_t y, const Surface& surface)
{
    return BltFastKeyed(x, y, surface.GetSurface(), *surface.GetRectPtr());
}

bool ClearAndDrawBackdrop(const Surface& picture)
{
    // A picture that covers the screen, keyed on the clear's own colour, leaves nothing of the clear
    // showing: where it is transparent the black stays black. Copied whole, it draws the same frame
    // without a pass over the buffer (an idle screen's cost is mostly such passes).
    const SysSurface* const src = picture.GetSurface();
    if (backbuffer && src && src->width == SCREENWIDTH && src->height == SCREENHEIGHT && src->colourkey == 0) {
        CopySurface(backbuffer, 0, 0, src, SurfaceRect(src), false);
        return false;
    }
    return ClearBackBuffer() || DrawSurface(0, 0, picture);
}

void FlipScreen()
{
    FlipScreenRows(0, SCREENHEIGHT);
}

void FlipScreenRows(const int32_t from, const int32_t to)
{
    if (!display.primary || !backbuffer)
        return;
    display.flips++;
    // The window is shown the back buffer itself and answers which rows changed: only those are copied
    // to the front buffer (a frame with nothing new copies nothing).
    int top = 0;
    int bottom = SCREENHEIGHT - 1;
    const bool shown = PresentSurfaceRows(backbuffer, from, to, &top, &bottom);
    if (!display.primaryshown) {
        top = 0;
        bottom = SCREENHEIGHT - 1;
    } else if (!shown) {
        return;
    }
    std::copy_n(backbuffer->pixels + (size_t)top * SCREENWIDTH, (size_t)(bottom - top + 1) * SCREENWIDTH,
                display.primary->pixels + (size_t)top * SCREENWIDTH);
    display.primaryshown = true;
}

bool RestoreSurfaces()
{
    return RestoreAllSurfaces();
}

void ReleaseDirectDraw()
{
    DestroySysSurface(display.backbuffer);
    DestroySysSurface(display.primary);
    display.backbuffer = nullptr;
    display.primary = nullptr;
    display.primaryshown = false;
    display.flips++;
    if (display.ddraw)
        CloseDisplay();
    display.ddraw = false;
}
