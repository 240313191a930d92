// What the mini-GDI's objects hold (internal to platform/: gdi.cpp, shapes.cpp, text.cpp, font.cpp).
#pragma once
#include <cstdint>

#include "platform/gdi.h"

struct GdiPen {
    PenStyle style;
    int32_t width;
    uint32_t pixel;         // XRGB
    bool stock;
};

struct GdiBrush {
    bool hollow;            // the null brush paints nothing
    uint32_t pixel;         // XRGB
    bool stock;
};

struct GdiDC {
    SysSurface* surface;    // drawn on; a memory DC's selected bitmap
    bool memory;
    GdiPen* pen;
    GdiBrush* brush;
    GdiFont* font;
    uint32_t textcolour;    // colour reference
    uint32_t backcolour;    // colour reference
    BackMode backmode;
    GdiPoint position;
};

// One glyph of a font, rendered: coverage 0-255, rows top to bottom.
struct GdiGlyph {
    int32_t width, rows;
    int32_t left, top;      // from the pen position on the baseline to the bitmap's top-left (top: up)
    int32_t advance;        // pixels to the next pen position
    const uint8_t* coverage;
};

const GdiGlyph* FontGlyph(GdiFont* font, uint8_t cp1252);  // null when it cannot be rendered
int32_t FontKerning(GdiFont* font, uint8_t left, uint8_t right);  // the face's own pair adjustment, pixels
bool GdiCreationFails(GdiObjectKind kind);  // the failure hook's verdict on one creation
GdiFont* DefaultFont();                     // the font of a new DC (null when no face can be found)
