// The mini-GDI's device contexts, pens and brushes.
#include "platform/gdi.h"

#include <atomic>

#include "platform/gdistate.h"

namespace {

GdiPen stockpens[] = {
    {PEN_SOLID, 1, 0xFFFFFF, true},     // STOCK_WHITEPEN
    {PEN_SOLID, 1, 0x000000, true},     // STOCK_BLACKPEN
    {PEN_NULL, 1, 0x000000, true},      // STOCK_NULLPEN
};
GdiBrush stockbrushes[] = {
    {false, 0xFFFFFF, true},            // STOCK_WHITEBRUSH
    {false, 0x000000, true},            // STOCK_BLACKBRUSH
    {true, 0x000000, true},             // STOCK_NULLBRUSH
};

std::atomic<int> failafter[4];

} // namespace

bool GdiCreationFails(const GdiObjectKind kind)
{
    int left = failafter[kind].load();
    while (left > 0) {
        if (failafter[kind].compare_exchange_weak(left, left - 1))
            return left == 1;
    }
    return false;
}

void FailGdiCreation(const GdiObjectKind kind, const int nth)
{
    failafter[kind] = nth > 0 ? nth : 0;
}

GdiDC* OpenSurfaceDC(SysSurface* const surface)
{
    if (!surface)
        return nullptr;
    return new GdiDC{surface, false, StockPen(STOCK_BLACKPEN), StockBrush(STOCK_WHITEBRUSH), DefaultFont(),
                     0x000000, 0xFFFFFF, BACK_OPAQUE, {0, 0}};
}

GdiDC* CreateMemoryDC()
{
    if (GdiCreationFails(GDIOBJECT_DC))
        return nullptr;
    return new GdiDC{nullptr, true, StockPen(STOCK_BLACKPEN), StockBrush(STOCK_WHITEBRUSH), DefaultFont(),
                     0x000000, 0xFFFFFF, BACK_OPAQUE, {0, 0}};
}

void CloseDC(GdiDC* const dc)
{
    delete dc;
}

SysSurface* DCSurface(const GdiDC* const dc)
{
    return dc ? dc->surface : nullptr;
}

SysSurface* SelectDCBitmap(GdiDC* const dc, SysSurface* const bitmap)
{
    if (!dc)
        return nullptr;
    SysSurface* const old = dc->surface;
    dc->surface = bitmap;
    return old;
}

GdiPen* SelectDCPen(GdiDC* const dc, GdiPen* const pen)
{
    if (!dc || !pen)
        return nullptr;
    GdiPen* const old = dc->pen;
    dc->pen = pen;
    return old;
}

GdiBrush* SelectDCBrush(GdiDC* const dc, GdiBrush* const brush)
{
    if (!dc || !brush)
        return nullptr;
    GdiBrush* const old = dc->brush;
    dc->brush = brush;
    return old;
}

GdiFont* SelectDCFont(GdiDC* const dc, GdiFont* const font)
{
    if (!dc || !font)
        return nullptr;
    GdiFont* const old = dc->font;
    dc->font = font;
    return old;
}

uint32_t SetDCTextColour(GdiDC* const dc, const uint32_t colour)
{
    if (!dc)
        return COLOUR_INVALID;
    const uint32_t old = dc->textcolour;
    dc->textcolour = colour & 0xFFFFFF;
    return old;
}

BackMode SetDCBackMode(GdiDC* const dc, const BackMode mode)
{
    if (!dc)
        return BACK_OPAQUE;
    const BackMode old = dc->backmode;
    dc->backmode = mode;
    return old;
}

uint32_t SetDCBackColour(GdiDC* const dc, const uint32_t colour)
{
    if (!dc)
        return COLOUR_INVALID;
    const uint32_t old = dc->backcolour;
    dc->backcolour = colour & 0xFFFFFF;
    return old;
}

GdiPen* MakePen(const PenStyle style, const int32_t width, const uint32_t colour)
{
    if (GdiCreationFails(GDIOBJECT_PEN))
        return nullptr;
    return new GdiPen{style, width < 1 ? 1 : width, ColourToPixel(colour), false};
}

GdiBrush* MakeBrush(const uint32_t colour)
{
    if (GdiCreationFails(GDIOBJECT_BRUSH))
        return nullptr;
    return new GdiBrush{false, ColourToPixel(colour), false};
}

GdiPen* StockPen(const StockObject which)
{
    switch (which) {
    case STOCK_WHITEPEN: return &stockpens[0];
    case STOCK_BLACKPEN: return &stockpens[1];
    case STOCK_NULLPEN: return &stockpens[2];
    default: return nullptr;
    }
}

GdiBrush* StockBrush(const StockObject which)
{
    switch (which) {
    case STOCK_WHITEBRUSH: return &stockbrushes[0];
    case STOCK_BLACKBRUSH: return &stockbrushes[1];
    case STOCK_NULLBRUSH: return &stockbrushes[2];
    default: return nullptr;
    }
}

void FreePen(GdiPen* const pen)
{
    if (pen && !pen->stock)
        delete pen;
}

void FreeBrush(GdiBrush* const brush)
{
    if (brush && !brush->stock)
        delete brush;
}
