// Windows BMP decoding for the bitmaps of the data modules.
#include "common/bmp.h"

#include "common/module.h"
#include "platform/surface.h"

SysSurface* DecodeBmp(const uint8_t*, size_t, const char*)
{
    return nullptr;
}

SysSurface* LoadBitmapResource(const Module* const module, const char* const name)
{
    ModuleData data;
    if (!module || FindModuleResource(module, "BITMAP", name, &data))
        return nullptr;
    return DecodeBmp(data.data, data.size, name);
}
