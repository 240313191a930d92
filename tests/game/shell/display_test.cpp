// Display: the buffers, the mode and its refusals, the back buffer's operations and the flip.
#include "game/shell/display.h"

#include <gtest/gtest.h>

#include <vector>

#include "game/shell/surface.h"
#include "platform/display.h"
#include "platform/headless.h"
#include "platform/window.h"

namespace {

class DisplayTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS)); }
    void TearDown() override
    {
        ReleaseDirectDraw();
        ResetDisplayHooks();
        StopPlatform();
    }
};

TEST_F(DisplayTest, BuffersExistOnlyAfterTheDisplayOpens)
{
    EXPECT_TRUE(CreatePrimarySurface());
    EXPECT_TRUE(ClearBackBuffer());
    FlipScreen();
    EXPECT_EQ(PresentedFrameCount(), 0);
    ASSERT_FALSE(CreateDirectDraw());
    ASSERT_FALSE(CreatePrimarySurface());
    ASSERT_NE(backbuffer, nullptr);
    EXPECT_EQ(backbuffer, display.backbuffer);
    EXPECT_EQ(backbuffer->width, SCREENWIDTH);
    EXPECT_EQ(backbuffer->height, SCREENHEIGHT);
    ReleaseDirectDraw();
    EXPECT_EQ(backbuffer, nullptr);
    EXPECT_FALSE(DisplayIsOpen());
    ReleaseDirectDraw();
}

TEST_F(DisplayTest, OpenFailureAndDepthFallback)
{
    RefuseDisplayOpen(true);
    EXPECT_TRUE(CreateDirectDraw());
    RefuseDisplayOpen(false);
    ASSERT_FALSE(CreateDirectDraw());
    RefuseDisplayDepth(32, true);
    RefuseDisplayDepth(24, true);
    int chosen = 0;
    for (const int bpp : {32, 24, 16, 8})
        if (!SetScreenMode(800, 600, bpp)) {
            chosen = bpp;
            break;
        }
    EXPECT_EQ(chosen, 16);
    EXPECT_EQ(DisplayDepth(), 16);
    EXPECT_TRUE(SetScreenMode(800, 600, 12));
    EXPECT_FALSE(RestoreSurfaces());
}

TEST_F(DisplayTest, FlipShowsTheBackBufferAndKeepsIt)
{
    ASSERT_FALSE(CreateDirectDraw());
    ASSERT_FALSE(CreatePrimarySurface());
    backbuffer->pixels[0] = 0x123456;
    backbuffer->pixels[SCREENWIDTH * SCREENHEIGHT - 1] = 0x654321;
    FlipScreen();
    int width = 0;
    int height = 0;
    const uint32_t* const shown = LastPresentedFrame(&width, &height);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(width, SCREENWIDTH);
    EXPECT_EQ(height, SCREENHEIGHT);
    EXPECT_EQ(shown[0], 0x123456u);
    EXPECT_EQ(display.primary->pixels[SCREENWIDTH * SCREENHEIGHT - 1], 0x654321u) << "the front buffer holds the frame";
    EXPECT_EQ(backbuffer->pixels[0], 0x123456u) << "the back buffer keeps its contents";
    EXPECT_FALSE(ClearBackBuffer());
    EXPECT_EQ(backbuffer->pixels[0], 0u);
    EXPECT_EQ(display.primary->pixels[0], 0x123456u);

    // Flips that change some rows, and one that changes nothing: the front buffer is the frame each time.
    for (const int changed : {0, 100, 400, -1}) {
        if (changed >= 0) {
            backbuffer->pixels[changed * SCREENWIDTH + 7] = 0xABCDEF;
            backbuffer->pixels[(changed + 150) * SCREENWIDTH + 9] = 0x13579B;
        }
        FlipScreen();
        const size_t count = (size_t)SCREENWIDTH * SCREENHEIGHT;
        const std::vector<uint32_t> front(display.primary->pixels, display.primary->pixels + count);
        const std::vector<uint32_t> back(backbuffer->pixels, backbuffer->pixels + count);
        EXPECT_TRUE(front == back) << "after a change at row " << changed;
    }
}

TEST_F(DisplayTest, DrawSurfaceIsKeyedAndClipped)
{
    ASSERT_FALSE(CreateDirectDraw());
    ASSERT_FALSE(CreatePrimarySurface());
    FillSurface(backbuffer, nullptr, 0x777777);
    Surface picture;
    ASSERT_TRUE(picture.CreateBlank(2, 2, 0));
    picture.GetSurface()->pixels[0] = 0xAA0000;
    picture.GetSurface()->pixels[3] = 0x00BB00;
    EXPECT_FALSE(DrawSurface(SCREENWIDTH - 1, 10, picture));
    EXPECT_EQ(backbuffer->pixels[10 * SCREENWIDTH + SCREENWIDTH - 1], 0xAA0000u);
    EXPECT_EQ(backbuffer->pixels[11 * SCREENWIDTH + SCREENWIDTH - 1], 0x777777u) << "black is the key";
    EXPECT_FALSE(BltFastKeyed(0, 0, picture.GetSurface(), {1, 1, 2, 2}));
    EXPECT_EQ(backbuffer->pixels[0], 0x00BB00u);
    Surface never;
    EXPECT_TRUE(DrawSurface(0, 0, never)) << "a surface that was never created draws nothing";
}

// The backdrop of a screen draws exactly what the clear and the keyed picture over it would, whether the
// picture covers the screen or not and whatever its key, over whatever the buffer held.
TEST_F(DisplayTest, ABackdropDrawsWhatTheClearAndTheKeyedPictureWould)
{
    ASSERT_FALSE(CreateDirectDraw());
    ASSERT_FALSE(CreatePrimarySurface());
    const struct {
        int32_t width, height;
        uint32_t key;
    } cases[] = {{SCREENWIDTH, SCREENHEIGHT, 0}, {SCREENWIDTH, SCREENHEIGHT, 0x010101},
                 {SCREENWIDTH / 2, SCREENHEIGHT, 0}, {SCREENWIDTH, SCREENHEIGHT - 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << ", key " << c.key);
        Surface picture;
        ASSERT_TRUE(picture.CreateBlank(c.width, c.height, c.key));
        uint32_t* const pixels = picture.GetSurface()->pixels;
        for (int32_t i = 0; i < c.width * c.height; i++)
            pixels[i] = i % 3 == 0 ? c.key : i % 3 == 1 ? 0 : 0x400000 + (uint32_t)i;
        FillSurface(backbuffer, nullptr, 0x777777);
        ASSERT_FALSE(ClearBackBuffer());
        ASSERT_FALSE(DrawSurface(0, 0, picture));
        const std::vector<uint32_t> expected(backbuffer->pixels, backbuffer->pixels + SCREENWIDTH * SCREENHEIGHT);
        FillSurface(backbuffer, nullptr, 0x777777);
        EXPECT_FALSE(ClearAndDrawBackdrop(picture));
        const std::vector<uint32_t> drawn(backbuffer->pixels, backbuffer->pixels + SCREENWIDTH * SCREENHEIGHT);
        EXPECT_EQ(drawn, expected);
    }
}

} // namespace
