// Surface: creating, loading, releasing, and the grey and tint filters pixel by pixel.
#include "game/shell/surface.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "common/module.h"
#include "platform/gdi.h"
#include "tests/common/bmpfixture.h"

namespace {

struct ModuleCloser {
    void operator()(Module* m) const { CloseModule(m); }
};
using ModulePtr = std::unique_ptr<Module, ModuleCloser>;

ModulePtr Pictures()
{
    using bmpfixture::MakeBmp;
    return ModulePtr(OpenModuleFromBytes(bmpfixture::MakeBitmapModule({
        {"tile.bmp", MakeBmp(3, 2, 24, false, {0x102030, 0, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0})},
    })));
}

uint32_t Pixel(const Surface& s, int x, int y)
{
    return s.GetSurface()->pixels[y * s.width + x];
}

// One pixel through a filter: a 1 x 1 blank surface set to colour, then filtered.
uint32_t Filtered(uint32_t xrgb, bool grey)
{
    Surface s;
    EXPECT_TRUE(s.CreateBlank(1, 1, 0));
    s.GetSurface()->pixels[0] = xrgb;
    EXPECT_FALSE(grey ? s.MakeGrey() : s.Tint(0x808080));
    return Pixel(s, 0, 0);
}

TEST(SurfaceFilters, GreyTable)
{
    const struct {
        uint32_t in, out;
    } cases[] = {
        {0xC86432, 0x7C7C7C},   // (200, 100, 50) to its luma 124
        {0x5A5A5A, 0x5A5A5A},   // grey stays
        {0x000000, 0x000000},   // black (the key) stays
        {0xFFFFFF, 0xFFFFFF},
        {0xFF0000, 0x4C4C4C},   // 30% of 255
        {0x0000FF, 0x1C1C1C},   // 11% of 255
        {0x030000, 0x010101},   // luma 0: would turn into the key; the darkest other colour instead
        {0x000002, 0x010101},
        {0x040000, 0x010101},   // luma 1
        {0x0A0000, 0x030303},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Filtered(c.in, true), c.out) << std::hex << c.in;
}

TEST(SurfaceFilters, TintTable)
{
    const struct {
        uint32_t in, out;
    } cases[] = {
        {0xC86433, 0x643219},   // (200, 100, 51) to (100, 50, 25)
        {0x000000, 0x000000},   // the key stays
        {0xFFFFFF, 0x7F7F7F},
        {0x010101, 0x010101},   // would halve to the key; the darkest other colour instead
        {0x000100, 0x010101},
        {0x020000, 0x010000},   // halves without reaching black
        {0x030303, 0x010101},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Filtered(c.in, false), c.out) << std::hex << c.in;
}

TEST(SurfaceFilters, TintUsesEachChannelOfTheColour)
{
    Surface s;
    ASSERT_TRUE(s.CreateBlank(1, 1, 0));
    s.GetSurface()->pixels[0] = 0xFFFFFF;
    EXPECT_FALSE(s.Tint(MakeColour(0x40, 0x80, 0xFF)));     // a colour reference: red in the low byte
    EXPECT_EQ(Pixel(s, 0, 0), 0x3F7FFEu);
}

TEST(SurfaceFilters, VisitEveryPixelColumnByColumn)
{
    Surface s;
    ASSERT_TRUE(s.CreateBlank(3, 2, 0));
    s.GetSurface()->pixels[1] = 0x0A0B0C;
    std::vector<std::pair<int, int>> order;
    struct Context {
        std::vector<std::pair<int, int>>* order;
        uint32_t seen;
    } context = {&order, 0};
    EXPECT_FALSE(s.ForEachPixel(
        [](int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b, GdiDC*, void* c) {
            auto* const ctx = static_cast<Context*>(c);
            ctx->order->emplace_back(x, y);
            if (x == 1 && y == 0)
                ctx->seen = (uint32_t)r << 16 | g << 8 | b;
        },
        &context));
    EXPECT_EQ(order, (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}));
    EXPECT_EQ(context.seen, 0x0A0B0Cu);
    Surface empty;
    EXPECT_TRUE(empty.ForEachPixel(GreyPixel, nullptr));
    EXPECT_TRUE(empty.MakeGrey());
    EXPECT_TRUE(empty.Tint(0x808080));
}

TEST(SurfaceCreate, BlankIsBlackOnceAndKeepsItsContents)
{
    Surface s;
    EXPECT_EQ(s.caps, (uint32_t)SURFACECAPS_VIDEO);
    ASSERT_TRUE(s.CreateBlank(4, 3, 0));
    EXPECT_TRUE(s.IsCreated());
    EXPECT_EQ(s.width, 4);
    EXPECT_EQ(s.height, 3);
    EXPECT_EQ(std::vector<uint32_t>(s.GetSurface()->pixels, s.GetSurface()->pixels + 12), std::vector<uint32_t>(12, 0));
    s.GetSurface()->pixels[5] = 0x123456;
    EXPECT_FALSE(s.CreateBlank(8, 8, 0));
    EXPECT_EQ(s.width, 4);
    EXPECT_EQ(Pixel(s, 1, 1), 0x123456u);
    EXPECT_EQ(s.Rect().right, 4);
    EXPECT_EQ(s.GetRectPtr()->bottom, 3);
}

TEST(SurfaceCreate, MovingHandsThePictureOver)
{
    std::vector<Surface> pictures;
    pictures.emplace_back();
    ASSERT_TRUE(pictures[0].CreateBlank(2, 2, 0));
    const SysSurface* const made = pictures[0].GetSurface();
    pictures.emplace_back();        // the vector grows and moves its first surface
    EXPECT_EQ(pictures[0].GetSurface(), made);
    EXPECT_TRUE(pictures[0].IsCreated());
    Surface taken = std::move(pictures[0]);
    EXPECT_EQ(taken.GetSurface(), made);
    EXPECT_FALSE(pictures[0].IsCreated());
    EXPECT_EQ(pictures[0].GetSurface(), nullptr);
    pictures[1] = std::move(taken);
    EXPECT_EQ(pictures[1].width, 2);
    EXPECT_TRUE(pictures[1].IsCreated());
}

TEST(SurfaceCreate, FallsBackToSystemMemoryOnce)
{
    Surface s;
    RefuseSurfaceCreations(SURFACEMEMORY_VIDEO, 1);
    EXPECT_TRUE(s.CreateBlank(2, 2, 0)) << "video memory refused, system memory used";
    Surface t;
    RefuseSurfaceCreations(SURFACEMEMORY_VIDEO, 1);
    RefuseSurfaceCreations(SURFACEMEMORY_SYSTEM, 1);
    EXPECT_FALSE(t.CreateBlank(2, 2, 0));
    EXPECT_FALSE(t.IsCreated());
    EXPECT_EQ(t.GetSurface(), nullptr);
    RefuseSurfaceCreations(SURFACEMEMORY_VIDEO, 0);
    RefuseSurfaceCreations(SURFACEMEMORY_SYSTEM, 0);
}

TEST(SurfaceLoad, LoadsCopiesAndReloadsAfterRelease)
{
    const ModulePtr module = Pictures();
    Surface s;
    ASSERT_TRUE(s.LoadBitmap("tile.bmp", module.get(), 0));
    EXPECT_TRUE(s.IsCreated());
    EXPECT_EQ(s.width, 3);
    EXPECT_EQ(s.height, 2);
    EXPECT_EQ(Pixel(s, 0, 0), 0x102030u);
    EXPECT_EQ(Pixel(s, 2, 1), 0xD0E0F0u);
    EXPECT_EQ(s.GetSurface()->colourkey, 0u);
    EXPECT_FALSE(s.LoadBitmap("tile.bmp", module.get(), 0)) << "already created";
    s.Release();
    EXPECT_FALSE(s.IsCreated());
    EXPECT_EQ(s.GetSurface(), nullptr);
    EXPECT_EQ(s.width, 3) << "the size stays";
    EXPECT_TRUE(s.LoadBitmap("tile.bmp", module.get(), 0));
    s.Release();
    s.Release();
}

TEST(SurfaceLoad, MissingPictureOrNoMemoryFails)
{
    const ModulePtr module = Pictures();
    Surface s;
    EXPECT_FALSE(s.LoadBitmap("absent.bmp", module.get(), 0));
    EXPECT_FALSE(s.LoadBitmap("tile.bmp", nullptr, 0));
    RefuseSurfaceCreations(SURFACEMEMORY_VIDEO, 1);
    RefuseSurfaceCreations(SURFACEMEMORY_SYSTEM, 1);
    EXPECT_FALSE(s.LoadBitmap("tile.bmp", module.get(), 0));
    EXPECT_FALSE(s.IsCreated());
    RefuseSurfaceCreations(SURFACEMEMORY_VIDEO, 0);
    RefuseSurfaceCreations(SURFACEMEMORY_SYSTEM, 0);
}

} // namespace
