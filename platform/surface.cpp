// Pixel surfaces and our own blits over them.
#include "platform/surface.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

std::atomic<int> refusals[2];

// Clips a copy of src's rectangle to (x, y) against both surfaces; false when nothing is left.
bool ClipCopy(const SysSurface* dst, int32_t& x, int32_t& y, const SysSurface* src, PixelRect& r)
{
    r.left = std::max(r.left, 0);
    r.top = std::max(r.top, 0);
    r.right = std::min(r.right, src->width);
    r.bottom = std::min(r.bottom, src->height);
    (void)dst;
    return r.left < r.right && r.top < r.bottom && x < dst->width && y < dst->height;
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
    (void)dst;
    (void)rect;
    (void)colour;
}

void CopySurface(SysSurface* const dst, int32_t x, int32_t y, const SysSurface* const src, const PixelRect& srcrect,
                 const bool keyed)
{
    (void)dst;
    (void)x;
    (void)y;
    (void)src;
    (void)srcrect;
    (void)keyed;
    (void)ClipCopy;
}

void StretchSurfaceKeyed(SysSurface* const dst, const PixelRect& dstrect, const SysSurface* const src,
                         const PixelRect& srcrect)
{
    (void)dst;
    (void)dstrect;
    (void)src;
    (void)srcrect;
}

void RefuseSurfaceCreations(const SurfaceMemory memory, const int count)
{
    refusals[memory] = std::max(count, 0);
}
