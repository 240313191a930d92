// Surfaces and blits: every copy against a per-pixel reference, at every edge and outside.
#include "platform/surface.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr uint32_t BACKGROUND = 0xEEEEEE;

struct SurfaceDeleter {
    void operator()(SysSurface* s) const { DestroySysSurface(s); }
};
using SurfacePtr = std::unique_ptr<SysSurface, SurfaceDeleter>;

// A 4 x 3 source: pixel (x, y) is 0x10 * (y + 1) + x + 1 in each channel's low byte, but (1, 1) is the key.
SurfacePtr Source()
{
    SurfacePtr s(CreateSysSurface(4, 3, 0));
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 4; x++)
            s->pixels[y * 4 + x] = 0x100000 * (y + 1) + x + 1;
    s->pixels[1 * 4 + 1] = 0;
    return s;
}

SurfacePtr Target(const int width = 6, const int height = 5)
{
    SurfacePtr s(CreateSysSurface(width, height, 0));
    FillSurface(s.get(), nullptr, BACKGROUND);
    return s;
}

uint32_t At(const SysSurface* s, int x, int y)
{
    return s->pixels[y * s->width + x];
}

// What a copy must leave, pixel by pixel: a destination pixel takes the source pixel it lies over when
// that one is inside both the source rectangle and the source, and is not the key in a keyed copy.
std::vector<uint32_t> Expected(const SysSurface* src, const PixelRect& r, int x0, int y0, bool keyed, int w, int h)
{
    std::vector<uint32_t> out(w * h, BACKGROUND);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const int sx = r.left + x - x0;
            const int sy = r.top + y - y0;
            if (sx < r.left || sx >= r.right || sy < r.top || sy >= r.bottom)
                continue;
            if (sx < 0 || sy < 0 || sx >= src->width || sy >= src->height)
                continue;
            const uint32_t p = At(src, sx, sy);
            if (!keyed || p != src->colourkey)
                out[y * w + x] = p;
        }
    return out;
}

TEST(Blit, CopiesClipToBothSurfaces)
{
    struct Case {
        const char* what;
        int x, y;
        PixelRect r;
    };
    const Case cases[] = {
        {"inside", 1, 1, {0, 0, 4, 3}},
        {"part of the source", 2, 2, {1, 1, 3, 3}},
        {"past the left edge", -2, 1, {0, 0, 4, 3}},
        {"past the top edge", 1, -2, {0, 0, 4, 3}},
        {"past the right edge", 4, 1, {0, 0, 4, 3}},
        {"past the bottom edge", 1, 4, {0, 0, 4, 3}},
        {"past every edge", -1, -1, {0, 0, 4, 3}},
        {"source rectangle past the source", 1, 1, {-2, -1, 6, 5}},
        {"fully left", -4, 1, {0, 0, 4, 3}},
        {"fully above", 1, -3, {0, 0, 4, 3}},
        {"fully right", 6, 1, {0, 0, 4, 3}},
        {"fully below", 1, 5, {0, 0, 4, 3}},
        {"source rectangle outside the source", 1, 1, {4, 0, 8, 3}},
        {"empty rectangle", 1, 1, {2, 2, 2, 3}},
        {"inverted rectangle", 1, 1, {3, 2, 1, 3}},
    };
    const SurfacePtr src = Source();
    for (const bool keyed : {false, true})
        for (const Case& c : cases) {
            const SurfacePtr dst = Target();
            CopySurface(dst.get(), c.x, c.y, src.get(), c.r, keyed);
            const std::vector<uint32_t> want = Expected(src.get(), c.r, c.x, c.y, keyed, 6, 5);
            EXPECT_EQ(std::vector<uint32_t>(dst->pixels, dst->pixels + 30), want)
                << c.what << (keyed ? " (keyed)" : " (plain)");
        }
}

TEST(Blit, KeyedSkipsOnlyTheKey)
{
    const SurfacePtr src = Source();
    const SurfacePtr dst = Target();
    CopySurface(dst.get(), 0, 0, src.get(), SurfaceRect(src.get()), true);
    EXPECT_EQ(At(dst.get(), 1, 1), BACKGROUND);
    EXPECT_EQ(At(dst.get(), 0, 0), 0x100001u);
    CopySurface(dst.get(), 0, 0, src.get(), SurfaceRect(src.get()), false);
    EXPECT_EQ(At(dst.get(), 1, 1), 0u);
}

TEST(Blit, OverlappingCopyWithinOneSurface)
{
    SurfacePtr s(CreateSysSurface(1, 4, 0));
    for (int y = 0; y < 4; y++)
        s->pixels[y] = y + 1;
    CopySurface(s.get(), 0, 1, s.get(), {0, 0, 1, 3}, false);
    EXPECT_EQ(std::vector<uint32_t>(s->pixels, s->pixels + 4), (std::vector<uint32_t>{1, 1, 2, 3}));
}

TEST(Blit, FillClipsAndKeepsTheRest)
{
    const SurfacePtr dst = Target(4, 3);
    const PixelRect r = {-1, 1, 2, 9};
    FillSurface(dst.get(), &r, 0x123456);
    const std::vector<uint32_t> want = {BACKGROUND, BACKGROUND, BACKGROUND, BACKGROUND, 0x123456, 0x123456,
                                        BACKGROUND, BACKGROUND, 0x123456, 0x123456, BACKGROUND, BACKGROUND};
    EXPECT_EQ(std::vector<uint32_t>(dst->pixels, dst->pixels + 12), want);
    FillSurface(dst.get(), nullptr, 0);
    EXPECT_EQ(std::vector<uint32_t>(dst->pixels, dst->pixels + 12), std::vector<uint32_t>(12, 0));
}

TEST(Blit, StretchDoublesKeyedAndClips)
{
    SurfacePtr src(CreateSysSurface(2, 2, 0));
    src->pixels[0] = 0xA;
    src->pixels[1] = 0xB;
    src->pixels[2] = 0;     // the key
    src->pixels[3] = 0xD;
    // 2 x 2 onto 4 x 4 at (1, 1) of a 4 x 4 target: the last row and column fall outside.
    const SurfacePtr dst = Target(4, 4);
    StretchSurfaceKeyed(dst.get(), {1, 1, 5, 5}, src.get(), {0, 0, 2, 2});
    const uint32_t E = BACKGROUND;
    const std::vector<uint32_t> want = {E, E,   E,   E,   E, 0xA, 0xA, 0xB, E, 0xA, 0xA, 0xB, E, E, E, 0xD};
    EXPECT_EQ(std::vector<uint32_t>(dst->pixels, dst->pixels + 16), want);
}

TEST(Blit, StretchStripAndShrink)
{
    // A 3 x 1 strip stretched to 6 x 2, then a 4 x 1 strip shrunk to 2 x 1 (nearest pixel centres).
    SurfacePtr strip(CreateSysSurface(4, 1, 0));
    for (int x = 0; x < 4; x++)
        strip->pixels[x] = x + 1;
    const SurfacePtr wide = Target(6, 2);
    StretchSurfaceKeyed(wide.get(), {0, 0, 6, 2}, strip.get(), {0, 0, 3, 1});
    EXPECT_EQ(std::vector<uint32_t>(wide->pixels, wide->pixels + 12),
              (std::vector<uint32_t>{1, 1, 2, 2, 3, 3, 1, 1, 2, 2, 3, 3}));
    const SurfacePtr narrow = Target(2, 1);
    StretchSurfaceKeyed(narrow.get(), {0, 0, 2, 1}, strip.get(), {0, 0, 4, 1});
    EXPECT_EQ(std::vector<uint32_t>(narrow->pixels, narrow->pixels + 2), (std::vector<uint32_t>{2, 4}));
    SurfacePtr column(CreateSysSurface(1, 4, 0));
    for (int y = 0; y < 4; y++)
        column->pixels[y] = y + 1;
    const SurfacePtr shorter = Target(1, 2);
    StretchSurfaceKeyed(shorter.get(), {0, 0, 1, 2}, column.get(), {0, 0, 1, 4});
    EXPECT_EQ(std::vector<uint32_t>(shorter->pixels, shorter->pixels + 2), (std::vector<uint32_t>{2, 4}));
}

TEST(Blit, StretchIgnoresEmptyAndOutside)
{
    const SurfacePtr src = Source();
    for (const auto& [dstrect, srcrect] : std::vector<std::pair<PixelRect, PixelRect>>{
             {{0, 0, 0, 4}, {0, 0, 4, 3}}, {{0, 0, 4, 4}, {2, 0, 2, 3}}, {{7, 0, 12, 4}, {0, 0, 4, 3}},
             {{0, 0, 4, 4}, {5, 5, 9, 8}}}) {
        const SurfacePtr dst = Target();
        StretchSurfaceKeyed(dst.get(), dstrect, src.get(), srcrect);
        EXPECT_EQ(std::vector<uint32_t>(dst->pixels, dst->pixels + 30), std::vector<uint32_t>(30, BACKGROUND));
    }
}

TEST(Blit, NullSurfacesDrawNothing)
{
    const SurfacePtr dst = Target();
    CopySurface(dst.get(), 0, 0, nullptr, {0, 0, 4, 4}, true);
    CopySurface(nullptr, 0, 0, dst.get(), {0, 0, 4, 4}, true);
    StretchSurfaceKeyed(nullptr, {0, 0, 4, 4}, dst.get(), {0, 0, 4, 4});
    FillSurface(nullptr, nullptr, 0);
    EXPECT_EQ(std::vector<uint32_t>(dst->pixels, dst->pixels + 30), std::vector<uint32_t>(30, BACKGROUND));
}

TEST(SurfaceCreation, RefusalHookCountsDown)
{
    RefuseSurfaceCreations(SURFACEMEMORY_VIDEO, 2);
    EXPECT_EQ(CreateSysSurface(2, 2, 0, SURFACEMEMORY_VIDEO), nullptr);
    SurfacePtr system(CreateSysSurface(2, 2, 0, SURFACEMEMORY_SYSTEM));
    EXPECT_NE(system, nullptr) << "only video memory refuses";
    EXPECT_EQ(CreateSysSurface(2, 2, 0, SURFACEMEMORY_VIDEO), nullptr);
    SurfacePtr video(CreateSysSurface(2, 2, 0, SURFACEMEMORY_VIDEO));
    EXPECT_NE(video, nullptr);
    EXPECT_EQ(CreateSysSurface(0, 2, 0), nullptr);
    EXPECT_EQ(CreateSysSurface(2, -1, 0), nullptr);
}

} // namespace
