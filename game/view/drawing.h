// Drawing helpers: text and shapes on the back buffer, cells of sprite sheets, clearing a picture.
//
// Sheets keep their cells behind a one-pixel gutter: cell n of w x h cells, c to a row, starts at
// (1 + (w + 1)(n mod c), 1 + (h + 1)(n div c)). The board's sheets hold 40 x 40 cells, 16 to a row.
// A cell that does not lie wholly inside its sheet is never drawn: it is skipped and logged once.
#pragma once
#include <cstdint>
#include <string>

#include "platform/gdi.h"       // the TEXT_ placement flags, GdiDC
#include "platform/surface.h"   // PixelRect

struct Surface;

enum : int32_t { CELLSIZE = 40, SHEETCOLUMNS = 16 };

// The game fonts, by index into the font table.
enum : int32_t { FONT_SMALL = 0, FONT_MEDIUM = 1, FONT_BOARDLARGE = 2 };

extern GdiDC* textdc;                   // the back buffer's DC between BeginText and EndText; null otherwise
extern PixelRect hotrect;               // the last cell or text drawn, for the widgets' mouse tests

// Where cell n of a sheet of w x h cells, columns to a row, lies on its sheet.
PixelRect SheetCellRect(int32_t n, int32_t w, int32_t h, int32_t columns);

// Opens the back buffer for text and shapes with a font: transparent background, black text; false.
bool BeginText(int32_t font);
bool EndText();                         // closes it again; false
// 40 x 40 cell n of a 16-column sheet to (x, y) of the back buffer, colour-keyed; hotrect is the
// square drawn. True.
bool DrawSheetIcon(int32_t x, int32_t y, int32_t n, const Surface& sheet);
// The same cell to (x, y) of another surface; true.
bool DrawTileTo(int32_t x, int32_t y, int32_t n, const Surface& sheet, Surface& target);
// The same cell stretched over (x, y, x + size, y + size) of the back buffer. hotrect is left holding
// the cell's place on its sheet, not on the screen. True when nothing was drawn.
bool DrawTileClipped(int32_t x, int32_t y, int32_t n, const Surface& sheet, int32_t size);
// Cell n of w x h cells, columns to a row, to (x, y) of the back buffer, colour-keyed; true.
bool DrawSheetCell(int32_t x, int32_t y, int32_t n, const Surface& sheet, int32_t w, int32_t h, int32_t columns);
// Fills the picture with black. True, doing nothing, while drawing is off.
bool ClearPicture(Surface& picture);
// Whether (x, y) lies in r, left and top inclusive.
bool InRect(const PixelRect& r, int32_t x, int32_t y);
// Logs a line about drawing input that was clipped or skipped, once: the same bad input drawn every
// frame does not flood the log.
void LogBadInput(const std::string& line);
