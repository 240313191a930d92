// Bitmap: a module's picture selected into its own memory device context.
#include "common/bitmap.h"

#include <utility>

#include "common/bmp.h"
#include "platform/gdi.h"

Bitmap::Bitmap()
{
    Clear();
}

Bitmap::~Bitmap()
{
    Release();
}

void Bitmap::Clear()
{
    memdc = nullptr;
    bitmap = nullptr;
    oldobject = nullptr;
    loaded = 0;
    height = 0;
    width = 0;
}

bool Bitmap::Load(const Module* const module, const std::string name)
{
    if (loaded)
        Release();
    memdc = CreateMemoryDC();
    if (!memdc)
        return false;
    bitmap = LoadBitmapResource(module, name.c_str());
    if (!bitmap) {
        // Nothing is selected yet: free the DC so that a failed load holds nothing.
        CloseDC(memdc);
        Clear();
        return false;
    }
    oldobject = SelectDCBitmap(memdc, bitmap);
    height = bitmap->height;
    width = bitmap->width;
    loaded = 1;
    return true;
}

bool Bitmap::IsLoaded() const
{
    return loaded != 0;
}

GdiDC* Bitmap::GetMemDC() const
{
    return memdc;
}

int32_t Bitmap::GetWidth() const
{
    return width;
}

int32_t Bitmap::GetHeight() const
{
    return height;
}

void Bitmap::Release()
{
    if (!loaded)
        return;
    if (memdc)
        SelectDCBitmap(memdc, oldobject);
    if (bitmap)
        DestroySysSurface(bitmap);
    if (memdc)
        CloseDC(memdc);
    Clear();
}
