// Reading what was drawn: the pixels of a surface (the back buffer) as the drawing tests check them.
#pragma once
#include <cstdint>

#include "platform/surface.h"

// The bounding box of the pixels in rect that differ from background (XRGB); empty (left >= right)
// when there are none.
PixelRect Ink(const SysSurface* surface, const PixelRect& rect, uint32_t background = 0);
