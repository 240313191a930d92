// The drawing helpers: where a sheet's cells lie, what each cell helper draws and leaves in hotrect.
#include <gtest/gtest.h>

#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/shell.h"
#include "game/shell/surface.h"
#include "game/view/drawing.h"
#include "tests/game/view/viewtest.h"

namespace {

bool SameRect(const PixelRect& a, const PixelRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(SheetCellRect, CellsLieBehindAOnePixelGutter)
{
    struct Case {
        int32_t n, w, h, columns;
        PixelRect cell;
    };
    const Case cases[] = {
        { 0, 40, 40, 16, { 1, 1, 41, 41 } },
        { 17, 40, 40, 16, { 42, 42, 82, 82 } },
        { 255, 40, 40, 16, { 616, 616, 656, 656 } },
        { 5, 100, 50, 2, { 102, 103, 202, 153 } },
        { 3, 40, 40, 1, { 1, 124, 41, 164 } },
    };
    for (const Case& c : cases)
        EXPECT_TRUE(SameRect(SheetCellRect(c.n, c.w, c.h, c.columns), c.cell)) << c.n;
}

class DrawingTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        ClearBackBuffer();
    }
};

TEST_F(DrawingTest, EachCellHelperDrawsItsCellAndMarksWhere)
{
    DrawSheetIcon(100, 50, 17, imgterrain);
    EXPECT_EQ(CellAt(backbuffer, 139, 89), (Probe{ SHEET_TERRAIN, 17 }));
    EXPECT_EQ(CellAt(backbuffer, 140, 89), (Probe{ SHEET_NONE, -1 }));
    EXPECT_TRUE(SameRect(hotrect, { 100, 50, 140, 90 }));

    DrawSheetCell(300, 300, 5, imgmenuicons, 100, 50, 2);
    EXPECT_EQ(CellAt(backbuffer, 399, 349), (Probe{ SHEET_MENUICONS, 5 }));
    EXPECT_TRUE(SameRect(hotrect, { 300, 300, 400, 350 }));

    // Stretched, the cell fills the square asked for, and hotrect keeps the cell's place on its sheet.
    DrawTileClipped(500, 100, 17, imgterrain, 120);
    EXPECT_EQ(CellAt(backbuffer, 500, 100), (Probe{ SHEET_TERRAIN, 17 }));
    EXPECT_EQ(CellAt(backbuffer, 619, 219), (Probe{ SHEET_TERRAIN, 17 }));
    EXPECT_EQ(CellAt(backbuffer, 620, 219), (Probe{ SHEET_NONE, -1 }));
    EXPECT_TRUE(SameRect(hotrect, { 42, 42, 82, 82 }));

    Surface target;
    ASSERT_TRUE(target.CreateBlank(41, 41, 0));
    DrawTileTo(1, 0, 192, imgterrain, target);
    EXPECT_EQ(CellAt(target.GetSurface(), 40, 39), (Probe{ SHEET_TERRAIN, 192 }));
    EXPECT_EQ(CellAt(target.GetSurface(), 0, 39), (Probe{ SHEET_NONE, -1 }));
    EXPECT_TRUE(SameRect(hotrect, { 1, 0, 41, 40 }));
}

TEST_F(DrawingTest, ACellNotWhollyOnItsSheetIsNeverDrawn)
{
    // The menu icons are 203 pixels wide: a 40 x 40 cell 4 of 16 to a row would run past their edge.
    DrawSheetIcon(100, 100, 4, imgmenuicons);
    DrawSheetIcon(200, 100, -1, imgterrain);
    DrawSheetIcon(300, 100, 256, imgterrain);
    EXPECT_TRUE(DrawTileClipped(400, 100, 900, imgterrain, 80));
    const PixelRect ink = Ink(backbuffer, { 0, 0, 800, 600 });
    EXPECT_GE(ink.left, ink.right);
    EXPECT_NE(log.find("ERROR: Cell 4 lies outside its 203 x 409 sheet."), std::string::npos) << log;
    EXPECT_NE(log.find("ERROR: Cell 256 lies outside its 657 x 657 sheet."), std::string::npos);
    EXPECT_TRUE(SameRect(hotrect, { 300, 100, 340, 140 })) << "the place is still marked for the widgets";

    // A sheet that is not loaded draws nothing and says nothing.
    Surface missing;
    log.clear();
    DrawSheetIcon(100, 100, 1, missing);
    EXPECT_TRUE(log.empty());
}

TEST_F(DrawingTest, ClearingAPictureWaitsForDrawing)
{
    Surface picture;
    ASSERT_TRUE(picture.CreateBlank(41, 41, 0));
    DrawTileTo(0, 0, 0, imgterrain, picture);
    candraw = 0;
    EXPECT_TRUE(ClearPicture(picture));
    EXPECT_EQ(CellAt(picture.GetSurface(), 20, 20), (Probe{ SHEET_TERRAIN, 0 }));
    candraw = 1;
    EXPECT_FALSE(ClearPicture(picture));
    EXPECT_EQ(CellAt(picture.GetSurface(), 20, 20), (Probe{ SHEET_NONE, -1 }));
}

} // namespace
