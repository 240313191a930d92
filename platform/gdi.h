// The mini-GDI: a device context drawing on a surface, with pens, brushes, a font, shapes, pixels,
// copies and text.
//
// Colours here are colour references, 0x00BBGGRR (red in the low byte), as the game writes them;
// surfaces hold 0x00RRGGBB. Rectangles exclude their right and bottom edges, lines their last pixel.
// Every call takes a null DC, pen or brush as "draw nothing". Text is CP1252.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/surface.h"

struct GdiDC;
struct GdiPen;
struct GdiBrush;
struct GdiFont;

struct GdiPoint {
    int32_t x, y;
};

struct GdiSize {
    int32_t width, height;
};

constexpr uint32_t MakeColour(uint8_t red, uint8_t green, uint8_t blue)
{
    return red | (uint32_t)green << 8 | (uint32_t)blue << 16;
}
constexpr uint32_t ColourToPixel(uint32_t colour)    // colour reference to XRGB
{
    return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}
constexpr uint32_t PixelToColour(uint32_t pixel)     // XRGB to colour reference
{
    return (pixel >> 16 & 0xFF) | (pixel & 0xFF00) | (pixel & 0xFF) << 16;
}
enum : uint32_t { COLOUR_INVALID = 0xFFFFFFFF };     // ReadDCPixel outside the surface

enum PenStyle { PEN_SOLID, PEN_DOT, PEN_NULL };      // a dotted line: 3 pixels drawn, 3 left (or painted in OPAQUE mode)
enum StockObject { STOCK_WHITEBRUSH, STOCK_BLACKBRUSH, STOCK_NULLBRUSH, STOCK_WHITEPEN, STOCK_BLACKPEN, STOCK_NULLPEN };
enum BackMode { BACK_TRANSPARENT = 1, BACK_OPAQUE = 2 };    // text and dot gaps leave or paint the background

// Text placement flags (the values the game writes as numbers: 37 is single line, vertically centred,
// centred). TEXT_VCENTRE and TEXT_BOTTOM work with TEXT_SINGLELINE only.
enum : uint32_t {
    TEXT_LEFT = 0x0,
    TEXT_TOP = 0x0,
    TEXT_CENTRE = 0x1,
    TEXT_RIGHT = 0x2,
    TEXT_VCENTRE = 0x4,
    TEXT_BOTTOM = 0x8,
    TEXT_WORDBREAK = 0x10,      // break lines at blanks to fit the width; a longer word is clipped, not split
    TEXT_SINGLELINE = 0x20,     // one line: line ends are not breaks
    TEXT_NOCLIP = 0x100,        // text may run outside the rectangle
};

// Device contexts. A DC's font, pen and brush start as the stock black pen, white brush and a
// default font; text colour black, background white and opaque, position (0, 0).
GdiDC* OpenSurfaceDC(SysSurface* surface);                  // a DC on the surface; null for a null surface
GdiDC* CreateMemoryDC();                                    // a DC with no bitmap until one is selected; null on failure
void CloseDC(GdiDC* dc);                                    // frees the DC, not its surface or selected objects
SysSurface* DCSurface(const GdiDC* dc);                     // the surface it draws on (null for none)
SysSurface* SelectDCBitmap(GdiDC* dc, SysSurface* bitmap);  // a memory DC draws on bitmap; returns the previous one
GdiPen* SelectDCPen(GdiDC* dc, GdiPen* pen);                // returns the previous pen
GdiBrush* SelectDCBrush(GdiDC* dc, GdiBrush* brush);        // returns the previous brush
GdiFont* SelectDCFont(GdiDC* dc, GdiFont* font);            // returns the previous font
uint32_t SetDCTextColour(GdiDC* dc, uint32_t colour);       // returns the previous colour
BackMode SetDCBackMode(GdiDC* dc, BackMode mode);           // returns the previous mode
uint32_t SetDCBackColour(GdiDC* dc, uint32_t colour);       // returns the previous colour

// Pens and brushes. Stock objects are never freed; freeing one, or null, does nothing.
GdiPen* MakePen(PenStyle style, int32_t width, uint32_t colour);    // width 0 or 1 is one pixel; null on failure
GdiBrush* MakeBrush(uint32_t colour);                       // a solid brush; null on failure
GdiPen* StockPen(StockObject which);
GdiBrush* StockBrush(StockObject which);
void FreePen(GdiPen* pen);
void FreeBrush(GdiBrush* brush);

// Shapes and pixels.
void MoveDCTo(GdiDC* dc, int32_t x, int32_t y);             // sets the current position
void DrawLineTo(GdiDC* dc, int32_t x, int32_t y);           // a line with the pen from the current position; moves there
void DrawRectangle(GdiDC* dc, int32_t left, int32_t top, int32_t right, int32_t bottom); // brush inside, pen outline
void FillDCRect(GdiDC* dc, const PixelRect& rect, const GdiBrush* brush);   // the brush over rect, no outline
void DrawPolygon(GdiDC* dc, const GdiPoint* points, int32_t count); // alternate fill with the brush, closed outline with the pen
uint32_t ReadDCPixel(const GdiDC* dc, int32_t x, int32_t y);        // colour reference; COLOUR_INVALID outside
void WriteDCPixel(GdiDC* dc, int32_t x, int32_t y, uint32_t colour);
// Copies width x height from (sx, sy) of src's surface to (x, y) of dst's (plain copy); true on failure.
bool CopyDCBits(GdiDC* dst, int32_t x, int32_t y, int32_t width, int32_t height, const GdiDC* src, int32_t sx, int32_t sy);

// Text with the selected font and text colour, placed in rect by the TEXT_ flags; returns the height of
// the text drawn (0 for none). Lines break at '\n' (and "\r\n") unless TEXT_SINGLELINE.
int32_t DrawDCText(GdiDC* dc, std::string_view text, const PixelRect& rect, uint32_t flags);
GdiSize MeasureDCText(const GdiDC* dc, std::string_view text);     // width and cell height of one line

// Test hook: the nth creation from now (1 = the next) of that kind returns null; 0 fails none.
enum GdiObjectKind { GDIOBJECT_PEN, GDIOBJECT_BRUSH, GDIOBJECT_FONT, GDIOBJECT_DC };
void FailGdiCreation(GdiObjectKind kind, int nth);

// Test hook: every text DrawDCText draws is also told to the sink (null: none), so tests read what a
// screen wrote, where, in which font and colour, and what lay under it.
struct DrawnText {
    std::string text;
    PixelRect rect;             // the rectangle asked for
    uint32_t colour;            // colour reference
    uint32_t flags;
    const GdiFont* font;
    const SysSurface* surface;  // drawn on
    int32_t size;               // the font's em in pixels
    PixelRect ink;              // the box the glyphs cover on the surface (empty: none drawn)
    std::vector<uint32_t> under;    // XRGB under ink before the text was drawn, row after row
};
void RecordDrawnText(std::vector<DrawnText>* sink);

// Test hook: faults the text layer makes on purpose while set (null: none), so the golden frames' own
// test can show that their comparison catches each. The recorder hears every text as drawn right.
struct TextFaults {
    bool aliased;               // every glyph pixel all colour (coverage 128 and up) or untouched
    int32_t rounding;           // added to the blend's rounding term (127 of 255)
    int32_t lower;              // lines drawn this many pixels lower
    uint32_t tint;              // XORed into the drawn colour (0x000800 moves green by 8)
    bool shadowless;            // texts in black (the captions' shadows) left undrawn
};
void SetTextFaults(const TextFaults* faults);
