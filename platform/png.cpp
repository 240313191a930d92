// PNG with zlib "stored" blocks: valid for every reader, large but trivial to produce.
#include "platform/png.h"

#include <cstddef>
#include <cstdio>

namespace {

constexpr size_t maxstored = 65535;     // the longest stored deflate block

uint32_t Crc32(const uint8_t* data, size_t size)
{
    static uint32_t table[256];
    static const bool filled = [] {
        for (uint32_t n = 0; n < 256; n++) {
            uint32_t c = n;
            for (int k = 0; k < 8; k++)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        return true;
    }();
    (void)filled;
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; i++)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

uint32_t Adler32(const std::vector<uint8_t>& data)
{
    uint32_t a = 1;
    uint32_t b = 0;
    for (const uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

void PutBigEndian(std::vector<uint8_t>* out, uint32_t v)
{
    out->push_back((uint8_t)(v >> 24));
    out->push_back((uint8_t)(v >> 16));
    out->push_back((uint8_t)(v >> 8));
    out->push_back((uint8_t)v);
}

void PutChunk(std::vector<uint8_t>* out, const char type[4], const std::vector<uint8_t>& body)
{
    PutBigEndian(out, (uint32_t)body.size());
    const size_t start = out->size();
    out->insert(out->end(), type, type + 4);
    out->insert(out->end(), body.begin(), body.end());
    PutBigEndian(out, Crc32(out->data() + start, out->size() - start));
}

} // namespace

std::vector<uint8_t> EncodePng(const uint32_t* pixels, int width, int height)
{
    // Each row: filter byte 0 (none), then R, G, B.
    std::vector<uint8_t> raw;
    raw.reserve((size_t)height * ((size_t)width * 3 + 1));
    for (int y = 0; y < height; y++) {
        raw.push_back(0);
        for (int x = 0; x < width; x++) {
            const uint32_t p = pixels[(size_t)y * width + x];
            raw.push_back((uint8_t)(p >> 16));
            raw.push_back((uint8_t)(p >> 8));
            raw.push_back((uint8_t)p);
        }
    }

    std::vector<uint8_t> zdata = {0x78, 0x01};     // deflate, 32K window, no dictionary
    size_t done = 0;
    do {
        const size_t len = raw.size() - done < maxstored ? raw.size() - done : maxstored;
        const bool last = done + len == raw.size();
        zdata.push_back(last ? 1 : 0);              // BFINAL, BTYPE 00 (stored)
        zdata.push_back((uint8_t)len);
        zdata.push_back((uint8_t)(len >> 8));
        zdata.push_back((uint8_t)~len);
        zdata.push_back((uint8_t)(~len >> 8));
        zdata.insert(zdata.end(), raw.begin() + (ptrdiff_t)done, raw.begin() + (ptrdiff_t)(done + len));
        done += len;
    } while (done < raw.size());
    PutBigEndian(&zdata, Adler32(raw));

    std::vector<uint8_t> header;
    PutBigEndian(&header, (uint32_t)width);
    PutBigEndian(&header, (uint32_t)height);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, truecolour, deflate, adaptive filters, no interlace

    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(&file, "IHDR", header);
    PutChunk(&file, "IDAT", zdata);
    PutChunk(&file, "IEND", {});
    return file;
}

bool WritePng(const char* path, const uint32_t* pixels, int width, int height)
{
    const std::vector<uint8_t> file = EncodePng(pixels, width, height);
    FILE* const out = fopen(path, "wb");
    if (!out)
        return true;
    const bool failed = fwrite(file.data(), 1, file.size(), out) != file.size();
    return fclose(out) != 0 || failed;
}
