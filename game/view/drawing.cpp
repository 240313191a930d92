#include "game/view/drawing.h"

#include <algorithm>
#include <vector>

#include "game/shell/debuglog.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/shell.h"
#include "game/shell/surface.h"

GdiDC* textdc = nullptr;
PixelRect hotrect = { 0, 0, 0, 0 };

namespace {

enum { MAXLOGGEDINPUTS = 256 };

void LogBadCell(const Surface& sheet, const int32_t n)
{
    LogBadInput("ERROR: Cell " + std::to_string(n) + " lies outside its " + std::to_string(sheet.width) + " x " +
                std::to_string(sheet.height) + " sheet.");
}

// The cell's rectangle on its sheet; false when the sheet is not loaded or the cell is not wholly on it.
bool SourceCell(const Surface& sheet, const int32_t n, const int32_t w, const int32_t h, const int32_t columns,
                PixelRect* cell)
{
    if (!sheet.IsCreated() || !sheet.GetSurface())
        return false;
    *cell = SheetCellRect(n, w, h, columns);
    if (n < 0 || columns <= 0 || w <= 0 || h <= 0 || cell->right > sheet.width || cell->bottom > sheet.height) {
        LogBadCell(sheet, n);
        return false;
    }
    return true;
}

} // namespace

PixelRect SheetCellRect(const int32_t n, const int32_t w, const int32_t h, const int32_t columns)
{
    if (columns <= 0)
        return { 0, 0, 0, 0 };
    const int32_t left = 1 + (w + 1) * (n % columns);
    const int32_t top = 1 + (h + 1) * (n / columns);
    return { left, top, left + w, top + h };
}

void LogBadInput(const std::string& line)
{
    static std::vector<std::string> logged;
    if (std::find(logged.begin(), logged.end(), line) != logged.end())
        return;
    if (logged.size() < MAXLOGGEDINPUTS)
        logged.push_back(line);
    debuglog << line << '\n';
}

bool InRect(const PixelRect& r, const int32_t x, const int32_t y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

bool BeginText(const int32_t font)
{
    if (textdc)
        CloseDC(textdc);
    textdc = OpenSurfaceDC(backbuffer);
    if (font >= 0 && font < FONTCOUNT)
        SelectDCFont(textdc, fonts[font]);
    else
        debuglog << "ERROR: There is no font " << font << ".\n";
    SetDCBackMode(textdc, BACK_TRANSPARENT);
    SetDCTextColour(textdc, 0);
    return false;
}

bool EndText()
{
    CloseDC(textdc);
    textdc = nullptr;
    return false;
}

bool DrawSheetIcon(const int32_t x, const int32_t y, const int32_t n, const Surface& sheet)
{
    return DrawSheetCell(x, y, n, sheet, CELLSIZE, CELLSIZE, SHEETCOLUMNS);
}

bool DrawTileTo(const int32_t x, const int32_t y, const int32_t n, const Surface& sheet, Surface& target)
{
    PixelRect cell;
    if (target.GetSurface() && SourceCell(sheet, n, CELLSIZE, CELLSIZE, SHEETCOLUMNS, &cell))
        CopySurface(target.GetSurface(), x, y, sheet.GetSurface(), cell, true);
    hotrect = { x, y, x + CELLSIZE, y + CELLSIZE };
    return true;
}

bool DrawTileClipped(const int32_t x, const int32_t y, const int32_t n, const Surface& sheet, const int32_t size)
{
    PixelRect cell;
    if (!backbuffer || !SourceCell(sheet, n, CELLSIZE, CELLSIZE, SHEETCOLUMNS, &cell))
        return true;
    StretchSurfaceKeyed(backbuffer, { x, y, x + size, y + size }, sheet.GetSurface(), cell);
    hotrect = cell;
    return false;
}

bool DrawSheetCell(const int32_t x, const int32_t y, const int32_t n, const Surface& sheet, const int32_t w,
                   const int32_t h, const int32_t columns)
{
    PixelRect cell;
    if (SourceCell(sheet, n, w, h, columns, &cell))
        BltFastKeyed(x, y, sheet.GetSurface(), cell);
    hotrect = { x, y, x + w, y + h };
    return true;
}

bool ClearPicture(Surface& picture)
{
    if (!candraw)
        return true;
    if (picture.GetSurface())
        FillSurface(picture.GetSurface(), nullptr, 0);
    return false;
}
