// The error screen drawn headless with the shipped fonts, saved as a picture for eyes.
#include <gtest/gtest.h>

#include <string>

#include "game/screens/errorscreen.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/gdiobjects.h"
#include "game/shell/shell.h"
#include "platform/files.h"
#include "platform/font.h"
#include "platform/gdi.h"
#include "platform/headless.h"
#include "platform/window.h"
#include "tests/game/support/pixels.h"
#include "tests/game/support/testscreen.h"

namespace {

class ErrorScreenDrawTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(OpenTestScreen(GORV_DIST_DIR, &olddir));
        candraw = 1;
    }
    void TearDown() override { CloseTestScreen(olddir); }
    std::string olddir;
};

TEST_F(ErrorScreenDrawTest, TitleAndWrappedTextReadable)
{
    errortitle = "Version Mismatch";
    errortext = "Your version number is 1.2.3.4.\nThe server's version number is 1.2.3.9.\n"
                "Please update Gorvanel before joining this game: the updater starts from the main menu "
                "and fetches everything the server needs.";
    DrawErrorScreen();
    FlipScreen();
    const std::string path = std::string(GORV_TEST_DIR) + "/errorscreen.png";
    EXPECT_FALSE(SaveLastFramePng(path.c_str())) << path;

    // The title sits centred in its band, the text below it inside its box, nothing elsewhere.
    const PixelRect title = Ink(backbuffer, {0, 0, SCREENWIDTH, 52}, 0);
    ASSERT_LT(title.left, title.right);
    EXPECT_NEAR((title.left + title.right) / 2, SCREENWIDTH / 2, 3);
    const PixelRect text = Ink(backbuffer, {0, 100, SCREENWIDTH, 500}, 0);
    ASSERT_LT(text.left, text.right);
    EXPECT_NEAR((text.left + text.right) / 2, SCREENWIDTH / 2, 20);
    EXPECT_GT(text.bottom - text.top, 3 * FontCellHeight(fonts[1]));     // three lines and a wrapped one
    const PixelRect gap = Ink(backbuffer, {0, 52, SCREENWIDTH, 100}, 0);
    EXPECT_GE(gap.left, gap.right) << "nothing between the title and the text";
}

TEST_F(ErrorScreenDrawTest, NothingDrawnWhileDrawingIsOff)
{
    ClearBackBuffer();
    errortitle = "Hosting Error";
    errortext = "Unable to create necessary host connection.";
    candraw = 0;
    DrawErrorScreen();
    candraw = 1;
    const PixelRect ink = Ink(backbuffer, {0, 0, SCREENWIDTH, SCREENHEIGHT}, 0);
    EXPECT_GE(ink.left, ink.right);
}

} // namespace
