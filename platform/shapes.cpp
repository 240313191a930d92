// The mini-GDI's lines, rectangles, polygons, pixels and copies.
#include "platform/gdi.h"

#include "platform/gdistate.h"

void MoveDCTo(GdiDC* const dc, const int32_t x, const int32_t y)
{
    if (dc)
        dc->position = {x, y};
}

void DrawLineTo(GdiDC* const dc, const int32_t x, const int32_t y)
{
    MoveDCTo(dc, x, y);
}

void DrawRectangle(GdiDC*, int32_t, int32_t, int32_t, int32_t)
{
}

void FillDCRect(GdiDC*, const PixelRect&, const GdiBrush*)
{
}

void DrawPolygon(GdiDC*, const GdiPoint*, int32_t)
{
}

uint32_t ReadDCPixel(const GdiDC* const dc, const int32_t x, const int32_t y)
{
    const SysSurface* const s = DCSurface(dc);
    if (!s || x < 0 || y < 0 || x >= s->width || y >= s->height)
        return COLOUR_INVALID;
    return PixelToColour(s->pixels[(size_t)y * s->width + x]);
}

void WriteDCPixel(GdiDC* const dc, const int32_t x, const int32_t y, const uint32_t colour)
{
    SysSurface* const s = DCSurface(dc);
    if (!s || x < 0 || y < 0 || x >= s->width || y >= s->height)
        return;
    s->pixels[(size_t)y * s->width + x] = ColourToPixel(colour);
}

bool CopyDCBits(GdiDC* const dst, const int32_t x, const int32_t y, const int32_t width, const int32_t height,
                const GdiDC* const src, const int32_t sx, const int32_t sy)
{
    if (!DCSurface(dst) || !DCSurface(src))
        return true;
    CopySurface(DCSurface(dst), x, y, DCSurface(src), PixelRect{sx, sy, sx + width, sy + height}, false);
    return false;
}
