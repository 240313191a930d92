#include "game/view/cursor.h"

#include <string>
#include <vector>

#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/shell/shell.h"
#include "game/view/drawing.h"

namespace {

// What the last cursor drawn covered on the back buffer, and the flip that showed it.
struct UnderCursor {
    PixelRect rect = { 0, 0, 0, 0 };
    std::vector<uint32_t> pixels;
    uint64_t flip = 0;
};
UnderCursor under;

void SaveUnderCursor(const PixelRect& rect)
{
    under.rect = rect;
    under.flip = display.flips;
    under.pixels.clear();
    for (int32_t y = rect.top; y < rect.bottom; y++)
        for (int32_t x = rect.left; x < rect.right; x++)
            under.pixels.push_back(backbuffer->pixels[(size_t)y * backbuffer->width + x]);
}

// The cell's top-left corner on its sheet, drawn at the cursor as far as the screen reaches.
void DrawAtCursor(const Surface& sheet, const int32_t n, const int32_t left, const int32_t top)
{
    if (!candraw)
        return;
    const PixelRect cell = { left, top, left + CELLSIZE, top + CELLSIZE };
    if (n < 0 || cell.right > sheet.width || cell.bottom > sheet.height) {
        if (sheet.IsCreated())
            LogBadInput("ERROR: Cursor " + std::to_string(n) + " lies outside its sheet.");
        return;
    }
    const int32_t right = SCREENWIDTH, bottom = SCREENHEIGHT;
    const int32_t w = mousex >= right - CELLSIZE ? right - mousex : CELLSIZE;
    const int32_t h = mousey >= bottom - CELLSIZE ? bottom - mousey : CELLSIZE;
    if (backbuffer && mousex >= 0 && mousey >= 0 && w > 0 && h > 0)
        SaveUnderCursor({ mousex, mousey, mousex + w, mousey + h });
    BltFastKeyed(mousex, mousey, sheet.GetSurface(), { left, top, left + w, top + h });
}

} // namespace

bool DrawCursor(const int32_t n)
{
    DrawAtCursor(imgicons, n, (CELLSIZE + 1) * n + 1, 1);
    return false;
}

bool DrawCursorCell(const int32_t n)
{
    const PixelRect cell = SheetCellRect(n, CELLSIZE, CELLSIZE, SHEETCOLUMNS);
    DrawAtCursor(imgunits, n, cell.left, cell.top);
    return false;
}

void EraseCursorFrom(SysSurface* const shown)
{
    // Only the frame the cursor was last drawn into, and only when the copy is as large as the screen.
    if (!shown || !backbuffer || under.flip + 1 != display.flips || shown->width != backbuffer->width ||
        shown->height != backbuffer->height)
        return;
    size_t k = 0;
    for (int32_t y = under.rect.top; y < under.rect.bottom; y++)
        for (int32_t x = under.rect.left; x < under.rect.right; x++)
            shown->pixels[(size_t)y * shown->width + x] = under.pixels[k++];
}
