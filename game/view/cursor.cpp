#include "game/view/cursor.h"

#include <string>

#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/shell/shell.h"
#include "game/view/drawing.h"

namespace {

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
