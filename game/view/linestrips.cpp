#include "game/view/linestrips.h"

#include "game/shell/display.h"
#include "game/shell/images.h"

namespace {

bool DrawStrip(int32_t x, int32_t y, int32_t w, const Surface& strip)
{
    if (!strip.IsCreated() || w <= 0)
        return true;
    StretchSurfaceKeyed(backbuffer, { x, y, x + w, y + 1 }, strip.GetSurface(), strip.Rect());
    return false;
}

} // namespace

bool DrawStripA(int32_t x, int32_t y, int32_t w)
{
    return DrawStrip(x, y, w, imgline);
}

bool DrawStripB(int32_t x, int32_t y, int32_t w)
{
    return DrawStrip(x, y, w, imgblueline);
}
