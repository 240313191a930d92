// Pixel surfaces and our own blits over them.
#include "platform/surface.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "platform/rows.h"

namespace {

std::atomic<int> refusals[2];

// Clips a copy of src's rectangle r to (x, y) of dst against both surfaces, moving (x, y) with r's
// corner; false when nothing is left to copy.
bool ClipCopy(const SysSurface* dst, int32_t& x, int32_t& y, const SysSurface* src, PixelRect& r)
{
    if (r.left < 0) {
        x -= r.left;
        r.left = 0;
    }
    if (r.top < 0) {
        y -= r.top;
        r.top = 0;
    }
    r.right = std::min(r.right, src->width);
    r.bottom = std::min(r.bottom, src->height);
    if (x < 0) {
        r.left -= x;
        x = 0;
    }
    if (y < 0) {
        r.top -= y;
        y = 0;
    }
    r.right = std::min<int64_t>(r.right, (int64_t)r.left + dst->width - x);
    r.bottom = std::min<int64_t>(r.bottom, (int64_t)r.top + dst->height - y);
    return r.left < r.right && r.top < r.bottom;
}

} // namespace

SysSurface* CreateSysSurface(const int32_t width, const int32_t height, const uint32_t colourkey,
                             const SurfaceMemory memory)
{
    int left = refusals[memory].load();
    while (left > 0) {
        if (refusals[memory].compare_exchange_weak(left, left - 1))
            return nullptr;
    }
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384)
        return nullptr;
    uint32_t* const pixels = static_cast<uint32_t*>(calloc((size_t)width * height, sizeof(uint32_t)));
    if (!pixels)
        return nullptr;
    return new SysSurface{width, height, colourkey, pixels};
}

void DestroySysSurface(SysSurface* const surface)
{
    if (!surface)
        return;
    free(surface->pixels);
    delete surface;
}

PixelRect SurfaceRect(const SysSurface* const surface)
{
    return surface ? PixelRect{0, 0, surface->width, surface->height} : PixelRect{0, 0, 0, 0};
}

void FillSurface(SysSurface* const dst, const PixelRect* const rect, const uint32_t colour)
{
    if (!dst)
        return;
    PixelRect r = rect ? *rect : SurfaceRect(dst);
    r.left = std::max(r.left, 0);
    r.top = std::max(r.top, 0);
    r.right = std::min(r.right, dst->width);
    r.bottom = std::min(r.bottom, dst->height);
    for (int32_t y = r.top; y < r.bottom; y++) {
        uint32_t* const row = dst->pixels + (size_t)y * dst->width;
        std::fill(row + r.left, row + r.right, colour);
    }
}

void CopySurface(SysSurface* const dst, int32_t x, int32_t y, const SysSurface* const src, const PixelRect& srcrect,
                 const bool keyed)
{
    if (!dst || !src)
        return;
    PixelRect r = srcrect;
    if (!ClipCopy(dst, x, y, src, r))
        return;
    const int32_t width = r.right - r.left;
    const uint32_t key = src->colourkey;
    // Overlapping copies within one surface happen (scrolling a picture): copy rows in a safe order.
    const bool upward = src == dst && y > r.top;
    for (int32_t i = 0; i < r.bottom - r.top; i++) {
        const int32_t row = upward ? r.bottom - r.top - 1 - i : i;
        const uint32_t* const from = src->pixels + (size_t)(r.top + row) * src->width + r.left;
        uint32_t* const to = dst->pixels + (size_t)(y + row) * dst->width + x;
        if (!keyed) {
            memmove(to, from, (size_t)width * sizeof(uint32_t));
            continue;
        }
        CopyKeyedRow(to, from, width, key);
    }
}

void StretchSurfaceKeyed(SysSurface* const dst, const PixelRect& dstrect, const SysSurface* const src,
                         const PixelRect& srcrect)
{
    if (!dst || !src)
        return;
    const int64_t dw = (int64_t)dstrect.right - dstrect.left;
    const int64_t dh = (int64_t)dstrect.bottom - dstrect.top;
    const int64_t sw = (int64_t)srcrect.right - srcrect.left;
    const int64_t sh = (int64_t)srcrect.bottom - srcrect.top;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
        return;
    const uint32_t key = src->colourkey;
    const int32_t top = std::max(dstrect.top, 0);
    const int32_t bottom = std::min(dstrect.bottom, dst->height);
    const int32_t left = std::max(dstrect.left, 0);
    const int32_t right = std::min(dstrect.right, dst->width);
    // Each destination pixel takes the source pixel under its centre; source pixels outside src are skipped.
    for (int32_t y = top; y < bottom; y++) {
        const int64_t sy = srcrect.top + ((2 * (y - dstrect.top) + 1) * sh) / (2 * dh);
        if (sy < 0 || sy >= src->height)
            continue;
        const uint32_t* const from = src->pixels + (size_t)sy * src->width;
        uint32_t* const to = dst->pixels + (size_t)y * dst->width;
        for (int32_t x = left; x < right; x++) {
            const int64_t sx = srcrect.left + ((2 * (x - dstrect.left) + 1) * sw) / (2 * dw);
            if (sx < 0 || sx >= src->width)
                continue;
            const uint32_t pixel = from[sx];
            if (pixel != key)
                to[x] = pixel;
        }
    }
}

void RefuseSurfaceCreations(const SurfaceMemory memory, const int count)
{
    refusals[memory] = std::max(count, 0);
}
