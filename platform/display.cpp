// The display device. Everything lives in memory, so only the test hooks make anything fail.
#include "platform/display.h"

#include <cstring>

#include "platform/surface.h"
#include "platform/window.h"

namespace {

bool open = false;
bool refuseopen = false;
int32_t depth = 0;
uint32_t refuseddepths = 0;     // bit n: refuse depth 8n

uint32_t DepthBit(const int32_t bpp)
{
    return bpp > 0 && bpp <= 32 && bpp % 8 == 0 ? 1u << (bpp / 8) : 0;
}

} // namespace

bool OpenDisplay()
{
    if (refuseopen)
        return true;
    open = true;
    return false;
}

void CloseDisplay()
{
    open = false;
    depth = 0;
}

bool DisplayIsOpen()
{
    return open;
}

bool SetDisplayMode(const int32_t width, const int32_t height, const int32_t bpp)
{
    if (width <= 0 || height <= 0 || !DepthBit(bpp) || (refuseddepths & DepthBit(bpp)))
        return true;
    depth = bpp;
    return false;
}

int32_t DisplayDepth()
{
    return depth;
}

bool RestoreAllSurfaces()
{
    return false;
}

bool PresentSurface(const SysSurface* const frame, int* const top, int* const bottom)
{
    return frame && PresentFrame(frame->pixels, frame->width, frame->height, top, bottom);
}

bool PresentSurfaceRows(const SysSurface* const frame, const int from, const int to, int* const top, int* const bottom)
{
    return frame && PresentFrameRows(frame->pixels, frame->width, frame->height, from, to, top, bottom);
}

void CopyFrameToUpload(void* const upload, const int32_t pitch, const uint32_t* const pixels, const int32_t width,
                       const int32_t height)
{
    const size_t row = (size_t)width * sizeof(uint32_t);
    if (pitch == (int32_t)row) {
        memcpy(upload, pixels, row * height);
        return;
    }
    for (int32_t y = 0; y < height; y++)
        memcpy(static_cast<uint8_t*>(upload) + (size_t)y * pitch, pixels + (size_t)y * width, row);
}

void RefuseDisplayOpen(const bool refuse)
{
    refuseopen = refuse;
}

void RefuseDisplayDepth(const int32_t bpp, const bool refuse)
{
    if (refuse)
        refuseddepths |= DepthBit(bpp);
    else
        refuseddepths &= ~DepthBit(bpp);
}

void ResetDisplayHooks()
{
    refuseopen = false;
    refuseddepths = 0;
}
