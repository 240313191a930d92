// Surface: one picture of the game in memory, with its source colour key.
#include "game/shell/surface.h"

#include <utility>

#include "common/bitmap.h"
#include "platform/gdi.h"

namespace {

PixelRect sharedrect;

} // namespace

Surface::Surface() : surface(nullptr), caps(SURFACECAPS_VIDEO), height(0), width(0), created(0)
{
}

Surface::~Surface()
{
    Release();
}

Surface::Surface(Surface&& other) noexcept
    : surface(std::exchange(other.surface, nullptr)), caps(other.caps), height(other.height), width(other.width),
      created(std::exchange(other.created, 0))
{
}

Surface& Surface::operator=(Surface&& other) noexcept
{
    if (this != &other) {
        Release();
        surface = std::exchange(other.surface, nullptr);
        caps = other.caps;
        height = other.height;
        width = other.width;
        created = std::exchange(other.created, 0);
    }
    return *this;
}

bool Surface::CreateSurface(const int32_t w, const int32_t h, const uint32_t key)
{
    surface = CreateSysSurface(w, h, key, SURFACEMEMORY_VIDEO);
    if (!surface)
        surface = CreateSysSurface(w, h, key, SURFACEMEMORY_SYSTEM);
    return surface != nullptr;
}

bool Surface::CreateBlank(const int32_t w, const int32_t h, const uint32_t key)
{
    if (created)
        return false;
    if (!CreateSurface(w, h, key))
        return false;
    width = w;
    height = h;
    GdiDC* const dc = OpenSurfaceDC(surface);
    FillDCRect(dc, Rect(), StockBrush(STOCK_BLACKBRUSH));
    CloseDC(dc);
    created = 1;
    return true;
}

bool Surface::LoadBitmap(const std::string name, const Module* const module, const uint32_t key)
{
    if (created)
        return false;
    Bitmap bitmap;
    if (!bitmap.Load(module, name))
        return false;
    height = bitmap.GetHeight();
    width = bitmap.GetWidth();
    if (!CreateSurface(width, height, key))
        return false;
    if (CopyBitmap(bitmap))
        created = 1;
    return created != 0;
}

bool Surface::CopyBitmap(const Bitmap& bitmap)
{
    GdiDC* const dc = OpenSurfaceDC(surface);
    CopyDCBits(dc, 0, 0, width, height, bitmap.GetMemDC(), 0, 0);
    CloseDC(dc);
    return true;
}

bool Surface::IsCreated() const
{
    return created != 0;
}

SysSurface* Surface::GetSurface() const
{
    return surface;
}

PixelRect Surface::Rect() const
{
    return PixelRect{0, 0, width, height};
}

void Surface::GetRect(PixelRect* const rect) const
{
    *rect = Rect();
}

PixelRect* Surface::GetRectPtr() const
{
    sharedrect = Rect();
    return &sharedrect;
}

bool Surface::ForEachPixel(const PixelCallback callback, void* const context)
{
    if (!created || !surface)
        return true;
    GdiDC* const dc = OpenSurfaceDC(surface);
    for (int32_t x = 0; x < width; x++) {
        for (int32_t y = 0; y < height; y++) {
            const uint32_t colour = ReadDCPixel(dc, x, y);
            callback(x, y, colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF, dc, context);
        }
    }
    CloseDC(dc);
    return false;
}

bool Surface::MakeGrey()
{
    return ForEachPixel(GreyPixel, nullptr);
}

bool Surface::Tint(uint32_t colour)
{
    return ForEachPixel(TintPixel, &colour);
}

void Surface::Release()
{
    DestroySysSurface(surface);
    surface = nullptr;
    created = 0;
}

// A filtered pixel that was not black must not become black: black is the colour key, so it would
// turn transparent. The darkest colour that is not the key stands in.
static void WriteFiltered(GdiDC* const dc, const int32_t x, const int32_t y, const uint32_t colour)
{
    WriteDCPixel(dc, x, y, colour == 0 ? MakeColour(1, 1, 1) : colour);
}

void GreyPixel(const int32_t x, const int32_t y, const uint8_t red, const uint8_t green, const uint8_t blue,
               GdiDC* const dc, void*)
{
    if (red == green && green == blue)
        return;
    const uint8_t luma = (uint8_t)((30 * red + 59 * green + 11 * blue) / 100);
    WriteFiltered(dc, x, y, MakeColour(luma, luma, luma));
}

void TintPixel(const int32_t x, const int32_t y, const uint8_t red, const uint8_t green, const uint8_t blue,
               GdiDC* const dc, void* const context)
{
    if (red == 0 && green == 0 && blue == 0)
        return;
    const uint32_t tint = *static_cast<const uint32_t*>(context);
    WriteFiltered(dc, x, y,
                  MakeColour((uint8_t)(red * (tint & 0xFF) >> 8), (uint8_t)(green * (tint >> 8 & 0xFF) >> 8),
                             (uint8_t)(blue * (tint >> 16 & 0xFF) >> 8)));
}
