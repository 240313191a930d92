// The minimap's pixels for a fixture map: squares, units, other players' first units, the view's frame.
#include <gtest/gtest.h>

#include "game/model/state.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/shell.h"
#include "game/view/geometry.h"
#include "game/view/minimap.h"
#include "tests/game/support/world.h"
#include "tests/game/view/viewtest.h"

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return r << 16 | g << 8 | b;
}

const uint32_t BLACK = 0, WHITE = Rgb(255, 255, 255), DARKGREY = Rgb(32, 32, 32), PALECYAN = Rgb(127, 255, 255);
const uint32_t GROUND = Rgb(32, 128, 32), GOLD = Rgb(250, 210, 0), WATER = Rgb(0, 0, 192), SITE = Rgb(128, 128, 255);
const uint32_t RED = Rgb(255, 32, 32), GREEN = Rgb(0, 255, 0), GREY = Rgb(128, 128, 128);

class MinimapTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        MakeBoard(2, 10);
    }
    // The centre of square (x, y)'s block, and a pixel of its edge.
    static uint32_t Centre(int32_t x, int32_t y) { return PixelAt(imgminimap.GetSurface(), 4 * x + 2, 4 * y + 2); }
    static uint32_t Edge(int32_t x, int32_t y) { return PixelAt(imgminimap.GetSurface(), 4 * x + 4, 4 * y + 2); }
};

TEST_F(MinimapTest, SquaresShowTheirTerrainOrWhatHidesIt)
{
    struct Case {
        uint8_t terrain, extra, explored;
        int8_t forcefield;
        uint32_t colour;
    };
    const Case cases[] = {
        { 0, 0, 1, 0, GROUND },
        { 7, 3, 1, 0, WATER },
        { 0, 0, 0, 0, DARKGREY },
        { 7, 0, 0, 2, DARKGREY },       // unexplored hides a forcefield too
        { 3, 5, 0, 0, GOLD },           // a gold mine shows where nobody has looked
        { 3, 1, 1, 0, GOLD },
        { 0, 0, 1, 1, PALECYAN },
        { 3, 0, 0, -1, PALECYAN },
        { 8, 4, 1, 0, SITE },           // an unused site
        { 8, 5, 1, 0, GROUND },         // a used one
    };
    for (size_t i = 0; i < std::size(cases); i++) {
        MapSquare& s = map[2 * (i % 5)][2 * (i / 5)];
        s.terrain = cases[i].terrain;
        s.extra = cases[i].extra;
        s.explored = cases[i].explored;
        s.counter2 = cases[i].forcefield;
    }
    ASSERT_FALSE(RebuildMinimap(0, 0));
    for (size_t i = 0; i < std::size(cases); i++)
        EXPECT_EQ(Centre(2 * (i % 5), 2 * (i / 5)), cases[i].colour) << "case " << i;
    // Blocks overlap by a pixel: the later square paints the shared column.
    EXPECT_EQ(Edge(0, 0), GROUND);
    EXPECT_EQ(PixelAt(imgminimap.GetSurface(), 40, 40), GROUND) << "the last block reaches a pixel past 4N";
    EXPECT_EQ(PixelAt(imgminimap.GetSurface(), 41, 41), BLACK);
}

TEST_F(MinimapTest, UnitsShowInTheirOwnersColourWhereTheLocalPlayerMaySeeThem)
{
    AddTestUnit(0, 1, 1);                       // ours: our first unit, no white mark
    const int32_t hidden = AddTestUnit(0, 3, 1);    // ours, hidden: we still see it
    p[0].units[hidden].stat[STAT_STEALTH] = 2;
    AddTestUnit(1, 5, 5);                       // his first unit, unexplored: a white mark
    map[5][5].explored = 0;
    AddTestUnit(1, 5, 1);                       // seen
    const int32_t sneak = AddTestUnit(1, 7, 1); // hidden from us
    p[1].units[sneak].stat[STAT_STEALTH] = 1;
    map[7][1].dark = 1;
    AddTestUnit(1, 7, 3);                       // unexplored: nothing
    map[7][3].explored = 0;
    AddTestUnit(2, 1, 7);                       // the neutral side's first unit: grey, no white mark
    ASSERT_FALSE(RebuildMinimap(0, 0));
    EXPECT_EQ(Centre(1, 1), RED);
    EXPECT_EQ(Edge(1, 1), BLACK);
    EXPECT_EQ(Centre(3, 1), RED);
    EXPECT_EQ(Centre(5, 5), WHITE);
    EXPECT_EQ(Edge(5, 5), BLACK);
    EXPECT_EQ(Centre(5, 1), GREEN);
    EXPECT_EQ(Centre(7, 1), GROUND);
    EXPECT_EQ(Centre(7, 3), DARKGREY);
    EXPECT_EQ(Centre(1, 7), GREY);

    // Seen from player 1, his own first unit is not marked and ours is.
    ASSERT_FALSE(RebuildMinimap(1, 0));
    EXPECT_EQ(Centre(5, 5), DARKGREY);
    EXPECT_EQ(Centre(1, 1), WHITE);
}

TEST_F(MinimapTest, TheOptionKeepsTheOldPictureUnlessForced)
{
    ASSERT_FALSE(RebuildMinimap(0, 0));
    map[4][4].explored = 0;
    minimapon = 0;
    EXPECT_TRUE(RebuildMinimap(0, 0));
    EXPECT_EQ(Centre(4, 4), GROUND);
    EXPECT_FALSE(RebuildMinimap(0, 1));
    EXPECT_EQ(Centre(4, 4), DARKGREY);
    minimapon = 1;
    appactive = 0;
    map[4][4].explored = 1;
    EXPECT_TRUE(RebuildMinimap(0, 1));
    EXPECT_EQ(Centre(4, 4), DARKGREY);
}

TEST_F(MinimapTest, TheScreenShowsTheMinimapFramingTheView)
{
    MakeBoard(2, 30);
    ASSERT_FALSE(RebuildMinimap(0, 0));
    struct Case {
        ViewRect view;
        int32_t left, top, right, bottom;    // the frame, right and bottom exclusive
    };
    const Case cases[] = {
        { { 5, 3, 25, 16 }, 695, 42, 775, 94 },
        { { -1, 0, 19, 13 }, 675, 30, 751, 82 },     // a column left of the map: from the minimap's left edge
        { { 10, 19, 30, 32 }, 715, 106, 795, 150 },  // two rows below it: to the bottom edge
        { { 11, 19, 31, 32 }, 719, 106, 795, 150 },  // a column right of it: to the right edge
    };
    for (const Case& c : cases) {
        view = c.view;
        ClearBackBuffer();
        ASSERT_FALSE(DrawMinimap());
        const int32_t midx = (c.left + c.right) / 2, midy = (c.top + c.bottom) / 2;
        EXPECT_EQ(PixelAt(backbuffer, c.left, midy), WHITE) << c.left;
        EXPECT_EQ(PixelAt(backbuffer, c.right - 1, midy), WHITE) << c.right;
        EXPECT_EQ(PixelAt(backbuffer, midx, c.top), WHITE) << c.top;
        EXPECT_EQ(PixelAt(backbuffer, midx, c.bottom - 1), WHITE) << c.bottom;
        EXPECT_EQ(PixelAt(backbuffer, c.left + 1, midy), GROUND) << "only the outline";
    }
    // The minimap is copied as it is, black included, and nothing lies outside it.
    EXPECT_EQ(PixelAt(backbuffer, 675, 30), GROUND);
    EXPECT_EQ(PixelAt(backbuffer, 674, 60), BLACK);
    EXPECT_EQ(PixelAt(backbuffer, 700, 151), BLACK);
    candraw = 0;
    EXPECT_TRUE(DrawMinimap());
}

} // namespace
