#include "tests/game/support/pixels.h"

#include <algorithm>

PixelRect Ink(const SysSurface* s, const PixelRect& rect, uint32_t background)
{
    PixelRect box = { rect.right, rect.bottom, rect.left, rect.top };
    for (int32_t y = rect.top; y < rect.bottom; y++)
        for (int32_t x = rect.left; x < rect.right; x++)
            if (s->pixels[(size_t)y * s->width + x] != background) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return box;
}
