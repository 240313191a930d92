// The rows the blits and the text are made of, every version the program may pick, against a plain
// per-pixel reference: widths that end inside and past a vector, starts off every alignment, grounds
// and colours in every channel. platform/rows.cpp is built optimised here as in the game, so the vector
// code that ships is what runs.
#include "platform/rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr uint32_t GUARD = 0xA5C3E1F0;     // around every row: what a row must never write

// A fixed pseudo-random sequence, so a failure repeats.
struct Sequence {
    uint32_t state = 12345;
    uint32_t Next()
    {
        state = state * 1103515245 + 12345;
        return state >> 8 ^ state << 13;
    }
};

uint32_t ReferenceKeyed(const uint32_t ground, const uint32_t pixel, const uint32_t key)
{
    return pixel == key ? ground : pixel;
}

// (colour * alpha + ground * (255 - alpha) + 127) / 255 in each channel, channel by channel.
uint32_t ReferenceBlend(const uint32_t ground, const uint32_t colour, const uint32_t alpha)
{
    if (alpha == 0)
        return ground;
    if (alpha == 255)
        return colour;
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8)
        out |= ((colour >> shift & 0xFF) * alpha + (ground >> shift & 0xFF) * (255 - alpha) + 127) / 255 << shift;
    return out;
}

TEST(KeyedRow, EveryVersionRunsOnThisProcessor)
{
#if defined(__x86_64__)
    // Every x86-64 machine the game is built and tested on has AVX2: a version that cannot run here
    // would go untested, so that fails rather than passes unseen.
    ASSERT_GE(keyedrowversioncount, 2);
    EXPECT_STREQ(keyedrowversions[0].isa, "avx2");
#endif
    for (int v = 0; v < keyedrowversioncount; v++)
        EXPECT_TRUE(keyedrowversions[v].runs()) << keyedrowversions[v].isa << " cannot run on this processor";
    EXPECT_STREQ(keyedrowversions[keyedrowversioncount - 1].isa, "default");
    EXPECT_EQ(PickedKeyedRow(), keyedrowversions[0].row) << "the widest version this processor runs";
}

TEST(KeyedRow, EveryVersionCopiesAsThePlainLoop)
{
    Sequence random;
    for (int v = 0; v < keyedrowversioncount; v++)
        for (const uint32_t key : {0u, 0x00FF00FFu})
            for (int32_t width = 1; width <= 33; width++)
                for (int32_t start = 0; start < 8; start++) {
                    // A row of source pixels, about one in three the key, over a ground of random pixels.
                    std::vector<uint32_t> from(start + width), to(start + width + 8, GUARD);
                    for (int32_t j = 0; j < width; j++) {
                        const uint32_t r = random.Next();
                        from[start + j] = r % 3 == 0 ? key : random.Next();
                        to[start + j] = random.Next();
                    }
                    std::vector<uint32_t> expected = to;
                    for (int32_t j = 0; j < width; j++)
                        expected[start + j] = ReferenceKeyed(to[start + j], from[start + j], key);
                    keyedrowversions[v].row(to.data() + start, from.data() + start, width, key);
                    ASSERT_EQ(to, expected) << keyedrowversions[v].isa << ", width " << width << ", start " << start
                                            << ", key " << std::hex << key;
                }
}

TEST(TextBlend, OnePixelIsThePlainFormulaForEveryAlphaColourAndGround)
{
    // Every alpha over every pair of channel values, each channel of the pixel a different pair, so a
    // carry from one channel into the next shows.
    for (uint32_t alpha = 0; alpha < 256; alpha++)
        for (uint32_t c = 0; c < 256; c++)
            for (uint32_t g = 0; g < 256; g++) {
                const uint32_t colour = c << 16 | (255 - c) << 8 | (c ^ 0x5A);
                const uint32_t ground = 0xFF000000 | (255 - g) << 16 | g << 8 | (g ^ 0xA5);
                const uint32_t got = BlendTextPixel(ground, colour, alpha);
                if (got != ReferenceBlend(ground, colour, alpha))
                    FAIL() << std::hex << "colour " << colour << " over " << ground << " at alpha " << std::dec << alpha
                           << ": " << std::hex << got << ", not " << ReferenceBlend(ground, colour, alpha);
            }
}

TEST(TextBlend, TheVectorRowIsThePixelOneForEveryAlphaWidthAndStart)
{
    Sequence random;
    for (const uint32_t colour : {0xFF0000u, 0xFFFFFFu, 0x7FFFFFu, 0x2A9D3Cu, 0x000000u})
        for (int32_t width = 1; width <= 9; width++)
            for (int32_t start = 0; start < 4; start++)
                for (uint32_t first = 0; first < 258; first++) {
                    // Each alpha at each place in the row over the runs of `first`, then a row of none and
                    // a row of full coverage; on grounds of any colour.
                    std::vector<uint8_t> coverage(start + width);
                    std::vector<uint32_t> to(start + width + 4, GUARD);
                    for (int32_t i = 0; i < width; i++) {
                        coverage[start + i] = first < 256 ? (uint8_t)(first + 97 * i) : first == 256 ? 0 : 255;
                        to[start + i] = random.Next();
                    }
                    std::vector<uint32_t> expected = to;
                    for (int32_t i = start; i < start + width; i++) {
                        expected[i] = BlendTextPixel(to[i], colour, coverage[i]);
                        ASSERT_EQ(expected[i], ReferenceBlend(to[i], colour, coverage[i]));
                    }
                    BlendTextRow(to.data() + start, coverage.data() + start, width, colour);
                    ASSERT_EQ(to, expected) << std::hex << "colour " << colour << std::dec << ", width " << width
                                            << ", start " << start << ", first alpha " << first;
                }
}

} // namespace
