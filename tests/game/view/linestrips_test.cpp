// The one-pixel strips: the 290 x 1 pictures stretched to any width under headings and in panels.
#include <gtest/gtest.h>

#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/view/linestrips.h"
#include "tests/game/view/viewtest.h"

namespace {

class LineStripsTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        ClearBackBuffer();
    }
};

TEST_F(LineStripsTest, StretchedToTheWidthOnOneRow)
{
    EXPECT_FALSE(DrawStripA(0, 75, 800));
    EXPECT_EQ(CellAt(backbuffer, 0, 75).sheet, SHEET_LINE);
    EXPECT_EQ(CellAt(backbuffer, 799, 75).sheet, SHEET_LINE);
    EXPECT_EQ(Ink(backbuffer, { 0, 0, 800, 75 }).left, 800);
    EXPECT_EQ(Ink(backbuffer, { 0, 76, 800, 600 }).left, 800);
    EXPECT_FALSE(DrawStripB(100, 300, 30));
    EXPECT_EQ(CellAt(backbuffer, 100, 300).sheet, SHEET_BLUELINE);
    EXPECT_EQ(CellAt(backbuffer, 129, 300).sheet, SHEET_BLUELINE);
    EXPECT_EQ(CellAt(backbuffer, 130, 300).sheet, SHEET_NONE);
    EXPECT_EQ(CellAt(backbuffer, 99, 300).sheet, SHEET_NONE);
}

TEST_F(LineStripsTest, WithoutItsPictureAStripFails)
{
    imgblueline.Release();
    EXPECT_TRUE(DrawStripB(0, 10, 100));
    EXPECT_EQ(Ink(backbuffer, { 0, 0, 800, 600 }).left, 800);
}

} // namespace
