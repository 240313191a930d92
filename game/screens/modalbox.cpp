#include "game/screens/modalbox.h"

#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/shell.h"
#include "game/view/cells.h"
#include "game/view/cursor.h"
#include "game/view/drawing.h"

const PixelRect menubox = {285, 110, 515, 390};
const PixelRect optionsbox = {285, 70, 515, 530};
const PixelRect endturnbox = {285, 185, 515, 390};

namespace {

enum : int32_t { FRAMEHEIGHT = 80, LINEWIDTH = 290 };
const PixelRect dividerline = {285, 275, 515, 276};

} // namespace

void BuildModalBox(const PixelRect& box, bool divider)
{
    if (!imgscreen.IsCreated() && !imgscreen.CreateBlank(SCREENWIDTH, SCREENHEIGHT, 0))
        return;
    SysSurface* const image = imgscreen.GetSurface();
    if (!image || !display.primary)
        return;
    CopySurface(image, 0, 0, display.primary, SurfaceRect(display.primary), false);
    EraseCursorFrom(image);
    for (int32_t x = 0; x < SCREENWIDTH; x += CELLSIZE)
        for (int32_t y = 0; y < SCREENHEIGHT; y += CELLSIZE)
            DrawTileTo(x, y, TERRAIN_RANGEMARK, imgterrain, imgscreen);
    // The frame is the bottom border stretched over the box, its two ends only: the word mark in its
    // middle would be smeared into the box.
    const Surface& frame = imgborder[BORDER_BOTTOM];
    if (frame.IsCreated()) {
        const int32_t middle = (box.left + box.right) / 2, end = frame.width * 3 / 8;
        StretchSurfaceKeyed(image, {box.left, box.top, middle, box.bottom}, frame.GetSurface(), {0, 0, end, FRAMEHEIGHT});
        StretchSurfaceKeyed(image, {middle, box.top, box.right, box.bottom}, frame.GetSurface(),
                            {frame.width - end, 0, frame.width, FRAMEHEIGHT});
    }
    if (divider && imgline.IsCreated())
        StretchSurfaceKeyed(image, dividerline, imgline.GetSurface(), {0, 0, LINEWIDTH, 1});
}

void DrawModalBox()
{
    ClearBackBuffer();
    if (imgscreen.IsCreated())
        DrawSurface(0, 0, imgscreen);
}

void EndModalFrame()
{
    DrawCursor(0);
    FlipScreen();
    candraw = 0;
}
