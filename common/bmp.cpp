// Windows BMP decoding for the bitmaps of the data modules. Every size and offset in the headers is
// checked against the bytes present before a pixel is read.
#include "common/bmp.h"

#include <cstring>
#include <string>

#include "common/module.h"
#include "platform/log.h"
#include "platform/surface.h"

namespace {

constexpr size_t FILEHEADER = 14;
constexpr size_t INFOHEADER = 40;
constexpr int64_t MAXSIDE = 16384;

uint32_t U16(const uint8_t* p)
{
    return p[0] | p[1] << 8;
}

uint32_t U32(const uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24;
}

SysSurface* Refuse(const char* name, const char* why)
{
    SysLog(("ERROR: bitmap " + std::string(name ? name : "") + " refused: " + why).c_str());
    return nullptr;
}

} // namespace

SysSurface* DecodeBmp(const uint8_t* const data, const size_t size, const char* const name)
{
    if (!data || size < FILEHEADER + INFOHEADER)
        return Refuse(name, "shorter than its headers");
    if (data[0] != 'B' || data[1] != 'M')
        return Refuse(name, "not a BMP file");
    const uint32_t filesize = U32(data + 2);
    if (filesize > size)
        return Refuse(name, "truncated");
    const uint32_t pixeloffset = U32(data + 10);
    const uint8_t* const info = data + FILEHEADER;
    const uint32_t infosize = U32(info);
    if (infosize < INFOHEADER || infosize > size - FILEHEADER)
        return Refuse(name, "bad info header size");
    const int32_t width = (int32_t)U32(info + 4);
    const int32_t rawheight = (int32_t)U32(info + 8);
    const uint32_t planes = U16(info + 12);
    const uint32_t bits = U16(info + 14);
    const uint32_t compression = U32(info + 16);
    const uint32_t imagesize = U32(info + 20);
    const uint32_t coloursused = U32(info + 32);
    if (planes != 1 || compression != 0)
        return Refuse(name, "compressed or not one plane");
    if (bits != 8 && bits != 24 && bits != 32)
        return Refuse(name, ("depth " + std::to_string(bits) + " not read").c_str());
    const bool topdown = rawheight < 0;
    const int64_t height = topdown ? -(int64_t)rawheight : rawheight;
    if (width <= 0 || height <= 0 || width > MAXSIDE || height > MAXSIDE)
        return Refuse(name, "bad size");

    // The palette of an 8-bit picture follows the info header: 4 bytes an entry.
    uint32_t palette[256] = {};
    if (bits == 8) {
        const uint32_t entries = coloursused == 0 ? 256 : coloursused;
        if (entries > 256)
            return Refuse(name, "palette too large");
        const size_t start = FILEHEADER + infosize;
        if (start + (size_t)entries * 4 > size || start + (size_t)entries * 4 > pixeloffset)
            return Refuse(name, "palette past the data");
        for (uint32_t i = 0; i < entries; i++) {
            const uint8_t* const e = data + start + i * 4;
            palette[i] = (uint32_t)e[2] << 16 | e[1] << 8 | e[0];
        }
    }
    const size_t stride = (((size_t)width * bits + 31) / 32) * 4;
    if (pixeloffset < FILEHEADER + infosize || pixeloffset > size || (size - pixeloffset) / stride < (size_t)height)
        return Refuse(name, "pixel data shorter than its size");
    if (imagesize != 0 && imagesize < stride * height)
        return Refuse(name, "image size does not match the picture's size");

    SysSurface* const surface = CreateSysSurface(width, (int32_t)height, 0);
    if (!surface)
        return Refuse(name, "no memory");
    const size_t bytes = bits / 8;
    for (int64_t y = 0; y < height; y++) {
        const uint8_t* row = data + pixeloffset + (size_t)(topdown ? y : height - 1 - y) * stride;
        uint32_t* const to = surface->pixels + (size_t)y * width;
        for (int32_t x = 0; x < width; x++, row += bytes)
            to[x] = bits == 8 ? palette[row[0]] : (uint32_t)row[2] << 16 | row[1] << 8 | row[0];
    }
    return surface;
}

SysSurface* LoadBitmapResource(const Module* const module, const char* const name)
{
    ModuleData data;
    if (!module || !name || FindModuleResource(module, "BITMAP", name, &data))
        return nullptr;
    return DecodeBmp(data.data, data.size, name);
}
