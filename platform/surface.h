// Pixel surfaces and blits: every picture, the back buffer and the front buffer are 32-bit XRGB
// buffers in memory (0x00RRGGBB), drawn by our own copies.
//
// Every copy clips to both surfaces, so a rectangle that runs past an edge draws what lies inside and
// an empty or fully outside one draws nothing. A keyed copy skips the source pixels equal to the source
// surface's colour key (the game always uses 0: pure black is transparent).
#pragma once
#include <cstdint>

struct PixelRect {
    int32_t left, top, right, bottom;   // right and bottom exclusive
};

struct SysSurface {
    int32_t width;
    int32_t height;
    uint32_t colourkey;                 // source colour key, an XRGB value
    uint32_t* pixels;                   // width x height, row after row
};

// Where a surface is asked for: the first try, then the fallback (only test hooks make either fail).
enum SurfaceMemory { SURFACEMEMORY_VIDEO, SURFACEMEMORY_SYSTEM };

SysSurface* CreateSysSurface(int32_t width, int32_t height, uint32_t colourkey,
                             SurfaceMemory memory = SURFACEMEMORY_SYSTEM);   // zero-filled; null on failure
void DestroySysSurface(SysSurface* surface);                                 // null is allowed
PixelRect SurfaceRect(const SysSurface* surface);                            // 0, 0, width, height

// Fills rect (null: the whole surface) with an XRGB colour.
void FillSurface(SysSurface* dst, const PixelRect* rect, uint32_t colour);
// Copies src's rectangle to (x, y) of dst; keyed skips pixels equal to src's colour key.
void CopySurface(SysSurface* dst, int32_t x, int32_t y, const SysSurface* src, const PixelRect& srcrect, bool keyed);
// Copies src's rectangle stretched onto dst's rectangle (nearest pixel), keyed.
void StretchSurfaceKeyed(SysSurface* dst, const PixelRect& dstrect, const SysSurface* src, const PixelRect& srcrect);

// Test hook: refuse the next count creations in that memory (0 ends refusing).
void RefuseSurfaceCreations(SurfaceMemory memory, int count);
