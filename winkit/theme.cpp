// The controls' shapes, drawn with the mini-GDI.
#include "winkit/theme.h"

namespace {

uint32_t Blend(uint32_t a, uint32_t b, int t, int of)
{
    auto channel = [&](int shift) {
        const int ca = (int)(a >> shift & 0xFF);
        const int cb = (int)(b >> shift & 0xFF);
        return (uint32_t)(ca + (cb - ca) * t / of) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

void FillColour(GdiDC* dc, const PixelRect& r, uint32_t colour)
{
    GdiBrush* const brush = MakeBrush(colour);
    FillDCRect(dc, r, brush);
    FreeBrush(brush);
}

// A one-pixel frame of the colour just inside r.
void FrameColour(GdiDC* dc, const PixelRect& r, uint32_t colour)
{
    FillColour(dc, {r.left, r.top, r.right, r.top + 1}, colour);
    FillColour(dc, {r.left, r.bottom - 1, r.right, r.bottom}, colour);
    FillColour(dc, {r.left, r.top, r.left + 1, r.bottom}, colour);
    FillColour(dc, {r.right - 1, r.top, r.right, r.bottom}, colour);
}

} // namespace

void DrawRaisedBox(GdiDC* dc, const PixelRect& r, KitLook look)
{
    // Slate lit from above; lighter under the mouse, darker and lit from below while pressed.
    uint32_t top = MakeColour(0x5A, 0x64, 0x82);
    uint32_t bottom = MakeColour(0x24, 0x2A, 0x3C);
    if (look == KITLOOK_HOT) {
        top = MakeColour(0x86, 0x92, 0xBA);
        bottom = MakeColour(0x3A, 0x44, 0x62);
    } else if (look == KITLOOK_PRESSED) {
        top = MakeColour(0x1E, 0x22, 0x32);
        bottom = MakeColour(0x3C, 0x44, 0x5E);
    }
    const int height = r.bottom - r.top;
    for (int y = 0; y < height; y++)
        FillColour(dc, {r.left, r.top + y, r.right, r.top + y + 1}, Blend(top, bottom, y, height > 1 ? height - 1 : 1));
    FrameColour(dc, r, MakeColour(0x1A, 0x12, 0x08));
    const PixelRect rim = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    FrameColour(dc, rim, look == KITLOOK_PRESSED ? MakeColour(0x8C, 0x64, 0x20) : MakeColour(0xD4, 0xA8, 0x48));
    if (look != KITLOOK_PRESSED)
        FillColour(dc, {rim.left + 1, rim.top + 1, rim.right - 1, rim.top + 2}, MakeColour(0xFA, 0xE6, 0xA8));
}

void DrawSunkenBox(GdiDC* dc, const PixelRect& r, bool focused)
{
    FillColour(dc, r, KITCOLOUR_FIELD);
    FrameColour(dc, r, MakeColour(0x1A, 0x12, 0x08));
    const PixelRect rim = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    FillColour(dc, {rim.left, rim.top, rim.right, rim.top + 1}, MakeColour(0x9C, 0x8C, 0x6C));
    FillColour(dc, {rim.left, rim.top, rim.left + 1, rim.bottom}, MakeColour(0x9C, 0x8C, 0x6C));
    if (focused)
        FrameColour(dc, {r.left - 1, r.top - 1, r.right + 1, r.bottom + 1}, MakeColour(0xD4, 0xA8, 0x48));
}
