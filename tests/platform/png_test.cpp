// The PNG writer, checked by taking its output apart again.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "platform/png.h"
#include "platform/window.h"

namespace {

uint32_t BitwiseCrc(const uint8_t* data, size_t size)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; i++) {
        crc ^= data[i];
        for (int k = 0; k < 8; k++)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

uint32_t BigEndian(const uint8_t* p)
{
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

struct Chunk {
    std::string type;
    std::vector<uint8_t> body;
};

// Splits a PNG into chunks, checking the signature and every CRC on the way.
std::vector<Chunk> Chunks(const std::vector<uint8_t>& file)
{
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<Chunk> chunks;
    EXPECT_GE(file.size(), 8u);
    if (file.size() < 8)
        return chunks;
    EXPECT_TRUE(std::equal(signature, signature + 8, file.begin()));
    size_t pos = 8;
    while (pos + 12 <= file.size()) {
        const uint32_t length = BigEndian(&file[pos]);
        if (pos + 12 + length > file.size()) {
            ADD_FAILURE() << "chunk runs past the end";
            break;
        }
        Chunk c;
        c.type.assign((const char*)&file[pos + 4], 4);
        c.body.assign(file.begin() + (ptrdiff_t)pos + 8, file.begin() + (ptrdiff_t)(pos + 8 + length));
        EXPECT_EQ(BigEndian(&file[pos + 8 + length]), BitwiseCrc(&file[pos + 4], length + 4)) << c.type;
        chunks.push_back(c);
        pos += 12 + length;
    }
    EXPECT_EQ(pos, file.size());
    return chunks;
}

// Undoes the stored-block zlib stream, checking its header, block lengths and Adler-32.
std::vector<uint8_t> Inflate(const std::vector<uint8_t>& z)
{
    std::vector<uint8_t> out;
    EXPECT_GE(z.size(), 6u);
    if (z.size() < 6)
        return out;
    EXPECT_EQ(z[0] & 0x0F, 8) << "deflate";
    EXPECT_EQ((z[0] * 256 + z[1]) % 31, 0);
    size_t pos = 2;
    bool last = false;
    while (!last && pos + 5 <= z.size()) {
        last = z[pos] & 1;
        EXPECT_EQ(z[pos] & 6, 0) << "stored block";
        const size_t len = z[pos + 1] | z[pos + 2] << 8;
        const size_t nlen = z[pos + 3] | z[pos + 4] << 8;
        EXPECT_EQ(len ^ 0xFFFF, nlen);
        pos += 5;
        if (pos + len > z.size())
            break;
        out.insert(out.end(), z.begin() + (ptrdiff_t)pos, z.begin() + (ptrdiff_t)(pos + len));
        pos += len;
    }
    EXPECT_TRUE(last);
    uint32_t a = 1;
    uint32_t b = 0;
    for (const uint8_t byte : out) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    EXPECT_EQ(pos + 4, z.size());
    if (pos + 4 <= z.size()) {
        EXPECT_EQ(BigEndian(&z[pos]), b << 16 | a);
    }
    return out;
}

TEST(Png, ThreeByTwoFrame)
{
    const uint32_t pixels[6] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF123456, 0x00FFFFFF, 0x00000000};
    const std::vector<Chunk> chunks = Chunks(EncodePng(pixels, 3, 2));
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[0].body, (std::vector<uint8_t>{0, 0, 0, 3, 0, 0, 0, 2, 8, 2, 0, 0, 0}));
    EXPECT_EQ(chunks[1].type, "IDAT");
    EXPECT_EQ(chunks[2].type, "IEND");
    EXPECT_TRUE(chunks[2].body.empty());
    // Filter byte 0, then R G B; the top byte of a pixel is not written.
    const std::vector<uint8_t> rows = {0, 255, 0, 0, 0, 255, 0, 0, 0, 255,
                                       0, 0x12, 0x34, 0x56, 255, 255, 255, 0, 0, 0};
    EXPECT_EQ(Inflate(chunks[1].body), rows);
}

TEST(Png, LargeFrameSpansSeveralBlocks)
{
    constexpr int width = 200;
    constexpr int height = 150;     // 90150 bytes of rows: two stored blocks
    std::vector<uint32_t> pixels(width * height);
    for (size_t i = 0; i < pixels.size(); i++)
        pixels[i] = (uint32_t)(i * 2654435761u) & 0xFFFFFF;
    const std::vector<Chunk> chunks = Chunks(EncodePng(pixels.data(), width, height));
    ASSERT_EQ(chunks.size(), 3u);
    const std::vector<uint8_t> rows = Inflate(chunks[1].body);
    ASSERT_EQ(rows.size(), (size_t)height * (width * 3 + 1));
    const size_t row = 77;
    const size_t col = 133;
    const uint32_t p = pixels[row * width + col];
    const uint8_t* at = &rows[row * (width * 3 + 1) + 1 + col * 3];
    EXPECT_EQ(rows[row * (width * 3 + 1)], 0);
    EXPECT_EQ(at[0], (uint8_t)(p >> 16));
    EXPECT_EQ(at[1], (uint8_t)(p >> 8));
    EXPECT_EQ(at[2], (uint8_t)p);
}

TEST(Png, HeadlessSavesTheLastFrame)
{
    ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
    const std::string path = testing::TempDir() + "gorv_frame_" + std::to_string(getpid()) + ".png";
    EXPECT_TRUE(SaveLastFramePng(path.c_str())) << "nothing presented yet";
    const uint32_t first[2] = {1, 2};
    const uint32_t second[4] = {0x808080, 0x404040, 0x202020, 0x101010};
    PresentFrame(first, 2, 1);
    PresentFrame(second, 2, 2);
    ASSERT_FALSE(SaveLastFramePng(path.c_str()));
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(saved, EncodePng(second, 2, 2));
    EXPECT_TRUE(SaveLastFramePng("/nonexistent-dir/frame.png"));
    std::remove(path.c_str());
    StopPlatform();
}

} // namespace
