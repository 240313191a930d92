// Test pictures: BMP files written the way the media tools write them, and data modules in memory
// holding them as "BITMAP" resources.
#pragma once
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace bmpfixture {

inline void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back((uint8_t)v);
    out.push_back((uint8_t)(v >> 8));
}

inline void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        out.push_back((uint8_t)(v >> (8 * i)));
}

// A BMP of XRGB pixels (row after row, top first) at 24 or 32 bits, or 8 with a palette of the
// colours used; bottom-up unless topdown.
inline std::vector<uint8_t> MakeBmp(int width, int height, int bits, bool topdown, const std::vector<uint32_t>& pixels)
{
    std::vector<uint32_t> palette;
    if (bits == 8)
        for (const uint32_t p : pixels)
            if (std::find(palette.begin(), palette.end(), p) == palette.end())
                palette.push_back(p);
    const uint32_t stride = ((width * bits + 31) / 32) * 4;
    const uint32_t offset = 14 + 40 + 4 * (uint32_t)palette.size();
    const uint32_t size = offset + stride * height;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, size);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, (uint32_t)width);
    Put32(out, (uint32_t)(topdown ? -height : height));
    Put16(out, 1);
    Put16(out, (uint32_t)bits);
    Put32(out, 0);                  // no compression
    Put32(out, stride * height);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, (uint32_t)palette.size());
    Put32(out, 0);
    for (const uint32_t p : palette)
        Put32(out, p);
    for (int row = 0; row < height; row++) {
        const int y = topdown ? row : height - 1 - row;
        const size_t start = out.size();
        for (int x = 0; x < width; x++) {
            const uint32_t p = pixels[y * width + x];
            if (bits == 8) {
                out.push_back((uint8_t)(std::find(palette.begin(), palette.end(), p) - palette.begin()));
                continue;
            }
            out.push_back((uint8_t)p);
            out.push_back((uint8_t)(p >> 8));
            out.push_back((uint8_t)(p >> 16));
            if (bits == 32)
                out.push_back(0xFF);
        }
        out.resize(start + stride, 0);
    }
    return out;
}

// A module (the format of common/module.cpp) holding each picture as a "BITMAP" resource.
inline std::vector<uint8_t> MakeBitmapModule(std::vector<std::pair<std::string, std::vector<uint8_t>>> bitmaps)
{
    const auto folded = [](std::string s) {
        for (char& c : s)
            c = (char)tolower((unsigned char)c);
        return s;
    };
    std::sort(bitmaps.begin(), bitmaps.end(),
              [&](const auto& a, const auto& b) { return folded(a.first) < folded(b.first); });
    std::vector<uint8_t> out;
    Put32(out, 0x444F4D47);
    Put32(out, 1);
    Put32(out, 0);
    Put32(out, (uint32_t)bitmaps.size());
    uint32_t data = 16 + 24 * (uint32_t)bitmaps.size();
    std::vector<uint8_t> blob;
    for (const auto& [name, bytes] : bitmaps) {
        const uint32_t type = data + (uint32_t)blob.size();
        blob.insert(blob.end(), {'B', 'I', 'T', 'M', 'A', 'P'});
        const uint32_t nameat = data + (uint32_t)blob.size();
        blob.insert(blob.end(), name.begin(), name.end());
        const uint32_t bytesat = data + (uint32_t)blob.size();
        blob.insert(blob.end(), bytes.begin(), bytes.end());
        Put32(out, type);
        Put32(out, 6);
        Put32(out, nameat);
        Put32(out, (uint32_t)name.size());
        Put32(out, bytesat);
        Put32(out, (uint32_t)bytes.size());
    }
    out.insert(out.end(), blob.begin(), blob.end());
    return out;
}

} // namespace bmpfixture
