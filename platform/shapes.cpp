// The mini-GDI's lines, rectangles, polygons, pixels and copies.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/gdi.h"
#include "platform/gdistate.h"

namespace {

constexpr int32_t DOTLENGTH = 3;    // pixels drawn, then pixels skipped, along a dotted line

void Plot(SysSurface* const s, const int32_t x, const int32_t y, const uint32_t pixel)
{
    if (x >= 0 && y >= 0 && x < s->width && y < s->height)
        s->pixels[(size_t)y * s->width + x] = pixel;
}

// One point of a line with dc's pen: a dot pattern by step, a square of the pen's width.
void PenPoint(const GdiDC* const dc, const int32_t x, const int32_t y, const int64_t step)
{
    const GdiPen* const pen = dc->pen;
    uint32_t pixel = pen->pixel;
    if (pen->style == PEN_DOT && step / DOTLENGTH % 2 == 1) {
        if (dc->backmode != BACK_OPAQUE)
            return;
        pixel = ColourToPixel(dc->backcolour);
    }
    const int32_t lo = -(pen->width - 1) / 2;
    for (int32_t dy = lo; dy < lo + pen->width; dy++)
        for (int32_t dx = lo; dx < lo + pen->width; dx++)
            Plot(dc->surface, x + dx, y + dy, pixel);
}

// A line from a to b with the pen, b itself not drawn.
void PenLine(const GdiDC* const dc, const GdiPoint a, const GdiPoint b)
{
    if (!dc->surface || !dc->pen || dc->pen->style == PEN_NULL)
        return;
    const int64_t dx = std::llabs((int64_t)b.x - a.x);
    const int64_t dy = -std::llabs((int64_t)b.y - a.y);
    const int32_t sx = a.x < b.x ? 1 : -1;
    const int32_t sy = a.y < b.y ? 1 : -1;
    int64_t error = dx + dy;
    int64_t x = a.x;
    int64_t y = a.y;
    for (int64_t step = 0; x != b.x || y != b.y; step++) {
        // Far outside the surface nothing shows: stop rather than walk a huge line.
        if (step > (1 << 20))
            return;
        PenPoint(dc, (int32_t)x, (int32_t)y, step);
        const int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void FillSpan(SysSurface* const s, const int32_t y, int32_t left, int32_t right, const uint32_t pixel)
{
    if (y < 0 || y >= s->height)
        return;
    left = std::max(left, 0);
    right = std::min(right, s->width);
    if (left < right)
        std::fill(s->pixels + (size_t)y * s->width + left, s->pixels + (size_t)y * s->width + right, pixel);
}

} // namespace

void MoveDCTo(GdiDC* const dc, const int32_t x, const int32_t y)
{
    if (dc)
        dc->position = {x, y};
}

void DrawLineTo(GdiDC* const dc, const int32_t x, const int32_t y)
{
    if (!dc)
        return;
    PenLine(dc, dc->position, {x, y});
    dc->position = {x, y};
}

void DrawRectangle(GdiDC* const dc, const int32_t left, const int32_t top, const int32_t right, const int32_t bottom)
{
    if (!dc || !dc->surface || right <= left || bottom <= top)
        return;
    FillDCRect(dc, PixelRect{left, top, right, bottom}, dc->brush);
    const GdiPoint corners[4] = {{left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}};
    for (int i = 0; i < 4; i++)
        PenLine(dc, corners[i], corners[(i + 1) % 4]);
    // A one-pixel-wide or -high rectangle has no second edge to end on: draw its last corner.
    if (dc->pen && dc->pen->style != PEN_NULL && (right - left == 1 || bottom - top == 1))
        PenPoint(dc, right - 1, bottom - 1, 0);
}

void FillDCRect(GdiDC* const dc, const PixelRect& rect, const GdiBrush* const brush)
{
    if (!dc || !brush || brush->hollow)
        return;
    FillSurface(dc->surface, &rect, brush->pixel);
}

void DrawPolygon(GdiDC* const dc, const GdiPoint* const points, const int32_t count)
{
    if (!dc || !dc->surface || !points || count < 2)
        return;
    if (dc->brush && !dc->brush->hollow) {
        // Alternate (even-odd) fill: a pixel is inside when its centre is, as counted along its row.
        int32_t top = points[0].y;
        int32_t bottom = points[0].y;
        for (int32_t i = 1; i < count; i++) {
            top = std::min(top, points[i].y);
            bottom = std::max(bottom, points[i].y);
        }
        top = std::max(top, 0);
        bottom = std::min(bottom, dc->surface->height);
        std::vector<double> crossings;
        for (int32_t y = top; y < bottom; y++) {
            const double cy = y + 0.5;
            crossings.clear();
            for (int32_t i = 0; i < count; i++) {
                const GdiPoint a = points[i];
                const GdiPoint b = points[(i + 1) % count];
                if ((a.y <= cy) == (b.y <= cy))
                    continue;
                crossings.push_back(a.x + (cy - a.y) * (b.x - a.x) / (double)(b.y - a.y));
            }
            std::sort(crossings.begin(), crossings.end());
            for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
                // Pixels whose centre x + 0.5 lies within [from, to).
                const int32_t from = (int32_t)std::ceil(crossings[i] - 0.5);
                const int32_t to = (int32_t)std::ceil(crossings[i + 1] - 0.5);
                FillSpan(dc->surface, y, from, to, dc->brush->pixel);
            }
        }
    }
    for (int32_t i = 0; i < count; i++)
        PenLine(dc, points[i], points[(i + 1) % count]);
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
    if (s)
        Plot(s, x, y, ColourToPixel(colour));
}

bool CopyDCBits(GdiDC* const dst, const int32_t x, const int32_t y, const int32_t width, const int32_t height,
                const GdiDC* const src, const int32_t sx, const int32_t sy)
{
    if (!DCSurface(dst) || !DCSurface(src) || width < 0 || height < 0)
        return true;
    CopySurface(DCSurface(dst), x, y, DCSurface(src), PixelRect{sx, sy, sx + width, sy + height}, false);
    return false;
}
