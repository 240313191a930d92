// Surface: one picture of the game with a source colour key, loaded from a module or made blank, which
// the board, panels and screens copy to the back buffer; and the grey and tint filters with which the
// image loader makes the fogged and dimmed copies of the sheets.
//
// Note the results: creation and loading return true on success, the filters true on failure.
#pragma once
#include <cstdint>
#include <string>

#include "platform/surface.h"

class Bitmap;
struct GdiDC;
struct Module;

enum : uint32_t {
    SURFACECAPS_VIDEO = 0x4040,         // off-screen, video memory: asked for first
    SURFACECAPS_SYSTEM = 0x840,         // off-screen, system memory: the fallback
};

// Called for each pixel by ForEachPixel: x, y, red, green, blue, the surface's DC, the context.
typedef void (*PixelCallback)(int32_t x, int32_t y, uint8_t red, uint8_t green, uint8_t blue, GdiDC* dc,
                              void* context);

struct Surface {
    SysSurface* surface;                // null until created
    uint32_t caps;                      // SURFACECAPS_VIDEO, never changed
    int32_t height;
    int32_t width;
    uint8_t created;                    // holds its picture (or its blank fill)

    Surface();
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    Surface(Surface&& other) noexcept;              // takes the picture; other is left empty
    Surface& operator=(Surface&& other) noexcept;

    bool CreateSurface(int32_t w, int32_t h, uint32_t key);     // true on success; sets no size or flag
    bool CreateBlank(int32_t w, int32_t h, uint32_t key);       // black w x h; false when already created
    bool LoadBitmap(std::string name, const Module* module, uint32_t key); // false when already created or missing
    bool CopyBitmap(const Bitmap& bitmap);                      // copies the bitmap's picture in; true
    bool IsCreated() const;
    SysSurface* GetSurface() const;
    PixelRect Rect() const;                                     // 0, 0, width, height
    void GetRect(PixelRect* rect) const;
    PixelRect* GetRectPtr() const;                              // a shared rectangle, overwritten by every call
    bool ForEachPixel(PixelCallback callback, void* context);   // x outer, y inner; true when not created
    bool MakeGrey();                                            // true on failure
    bool Tint(uint32_t colour);                                 // colour reference; true on failure
    void Release();                                             // frees the picture; the size stays
};

void GreyPixel(int32_t x, int32_t y, uint8_t red, uint8_t green, uint8_t blue, GdiDC* dc, void* context);
void TintPixel(int32_t x, int32_t y, uint8_t red, uint8_t green, uint8_t blue, GdiDC* dc, void* context);
