#include "game/view/linestrips.h"

#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/surface.h"

namespace {

bool DrawStrip(const Surface& strip, const int32_t x, const int32_t y, const int32_t w)
{
    if (!backbuffer || !strip.GetSurface())
        return true;
    StretchSurfaceKeyed(backbuffer, { x, y, x + w, y + 1 }, strip.GetSurface(), strip.Rect());
    return false;
}

} // namespace

bool DrawStripA(const int32_t x, const int32_t y, const int32_t w)
{
    return DrawStrip(imgline, x, y, w);
}

bool DrawStripB(const int32_t x, const int32_t y, const int32_t w)
{
    return DrawStrip(imgblueline, x, y, w);
}
