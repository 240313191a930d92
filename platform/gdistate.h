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

bool GdiCreationFails(GdiObjectKind kind);  // the failure hook's verdict on one creation
GdiFont* DefaultFont();                     // the font of a new DC (null when no face can be found)
