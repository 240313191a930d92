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
    if (!display.primary)
        display.primary = CreateSysSurface(SCREENWIDTH, SCREENHEIGHT, 0);
    if (!display.backbuffer)
        display.backbuffer = CreateSysSurface(SCREENWIDTH, SCREENHEIGHT, 0);
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

void FlipScreen()
{
    if (!display.primary || !backbuffer)
        return;
    std::copy_n(backbuffer->pixels, (size_t)SCREENWIDTH * SCREENHEIGHT, display.primary->pixels);
    PresentSurface(display.primary);
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
    if (display.ddraw)
        CloseDisplay();
    display.ddraw = false;
}
