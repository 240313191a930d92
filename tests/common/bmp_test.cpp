// BMP decoding: the depths and row orders we read, and every kind of bad picture refused with a log
// line, never read past its bytes.
#include "common/bmp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bmpfixture.h"
#include "platform/log.h"
#include "platform/surface.h"

using bmpfixture::MakeBmp;

namespace {

std::vector<std::string> lines;

void Capture(const char* line)
{
    lines.push_back(line);
}

class BmpTest : public testing::Test {
protected:
    void SetUp() override
    {
        lines.clear();
        SetLogSink(Capture);
    }
    void TearDown() override { SetLogSink(nullptr); }
};

// A 3 x 2 picture: its rows need padding at 24 bits (9 bytes to 12).
const std::vector<uint32_t> picture = {0x112233, 0x445566, 0x778899, 0xAABBCC, 0x000000, 0xFFFFFF};

std::vector<uint32_t> Pixels(const SysSurface* s)
{
    return std::vector<uint32_t>(s->pixels, s->pixels + s->width * s->height);
}

TEST_F(BmpTest, ReadsEachDepthAndRowOrder)
{
    struct Case {
        int bits;
        bool topdown;
    };
    for (const Case c : {Case{24, false}, Case{24, true}, Case{32, false}, Case{32, true}, Case{8, false}, Case{8, true}}) {
        const std::vector<uint8_t> bytes = MakeBmp(3, 2, c.bits, c.topdown, picture);
        SysSurface* const s = DecodeBmp(bytes.data(), bytes.size(), "test.bmp");
        ASSERT_NE(s, nullptr) << c.bits << (c.topdown ? " top-down" : " bottom-up");
        EXPECT_EQ(s->width, 3);
        EXPECT_EQ(s->height, 2);
        EXPECT_EQ(s->colourkey, 0u);
        EXPECT_EQ(Pixels(s), picture) << c.bits << (c.topdown ? " top-down" : " bottom-up");
        DestroySysSurface(s);
    }
    EXPECT_TRUE(lines.empty());
}

TEST_F(BmpTest, TruncatedAtEveryLengthIsRefused)
{
    const std::vector<uint8_t> whole = MakeBmp(3, 2, 24, false, picture);
    for (size_t length = 0; length < whole.size(); length++) {
        // A copy of exactly that length, so that a read past it is caught by the sanitizer.
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + length);
        lines.clear();
        EXPECT_EQ(DecodeBmp(cut.data(), cut.size(), "cut.bmp"), nullptr) << length;
        ASSERT_EQ(lines.size(), 1u) << length;
        EXPECT_EQ(lines[0].rfind("ERROR: bitmap cut.bmp refused: ", 0), 0u) << lines[0];
    }
}

TEST_F(BmpTest, BadHeadersAreRefused)
{
    const std::vector<uint8_t> good = MakeBmp(3, 2, 24, false, picture);
    const auto set16 = [](std::vector<uint8_t>& b, size_t at, uint32_t v) {
        b[at] = (uint8_t)v;
        b[at + 1] = (uint8_t)(v >> 8);
    };
    const auto set32 = [](std::vector<uint8_t>& b, size_t at, uint32_t v) {
        for (int i = 0; i < 4; i++)
            b[at + i] = (uint8_t)(v >> (8 * i));
    };
    struct Case {
        const char* what;
        size_t at;
        int width;          // 2 or 4 bytes
        uint32_t value;
    };
    const Case cases[] = {
        {"not BM", 0, 2, 0x4142},
        {"file size past the data", 2, 4, (uint32_t)good.size() + 1},
        {"pixels offset past the data", 10, 4, (uint32_t)good.size() - 1},
        {"pixels offset inside the headers", 10, 4, 20},
        {"info header too small", 14, 4, 12},
        {"info header past the data", 14, 4, 4000},
        {"zero width", 18, 4, 0},
        {"negative width", 18, 4, (uint32_t)-3},
        {"zero height", 22, 4, 0},
        {"height larger than the data", 22, 4, 3},
        {"huge width", 18, 4, 100000},
        {"two planes", 26, 2, 2},
        {"16 bits", 28, 2, 16},
        {"4 bits", 28, 2, 4},
        {"run-length compressed", 30, 4, 1},
        {"image size smaller than the rows", 34, 4, 12},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = good;
        if (c.width == 2)
            set16(bytes, c.at, c.value);
        else
            set32(bytes, c.at, c.value);
        lines.clear();
        SysSurface* const s = DecodeBmp(bytes.data(), bytes.size(), "bad.bmp");
        EXPECT_EQ(s, nullptr) << c.what;
        DestroySysSurface(s);
        EXPECT_EQ(lines.size(), 1u) << c.what;
    }
}

TEST_F(BmpTest, PaletteMustFitBeforeThePixels)
{
    std::vector<uint8_t> bytes = MakeBmp(3, 2, 8, false, picture);
    bytes[46] = 7;      // claims 7 colours where the file holds 6 before its pixels
    EXPECT_EQ(DecodeBmp(bytes.data(), bytes.size(), "palette.bmp"), nullptr);
    bytes[46] = 0;
    bytes[47] = 1;      // 256: the full palette, also more than the file holds
    EXPECT_EQ(DecodeBmp(bytes.data(), bytes.size(), "palette.bmp"), nullptr);
    EXPECT_EQ(lines.size(), 2u);
}

TEST_F(BmpTest, NullDataIsRefused)
{
    EXPECT_EQ(DecodeBmp(nullptr, 100, "none.bmp"), nullptr);
    EXPECT_EQ(LoadBitmapResource(nullptr, "none.bmp"), nullptr);
}

} // namespace
