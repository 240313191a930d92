// The board, layer by layer: which cell of which sheet each layer draws on each square.
#include <gtest/gtest.h>

#include "game/model/state.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/shell.h"
#include "game/view/board.h"
#include "game/view/frames.h"
#include "game/view/geometry.h"
#include "game/view/unitpicture.h"
#include "tests/game/support/world.h"
#include "tests/game/view/viewtest.h"

namespace {

class BoardTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        MakeBoard(2, 10);
    }
    // What layer place shows on square (x, y) of the board image, or of the back buffer after DrawBoard.
    static Probe Image(int32_t x, int32_t y, PatchPlace place)
    {
        const ScreenPoint at = SquareToScreen(x, y);
        return LayerAt(imgboard.GetSurface(), at.x, at.y, place);
    }
    static Probe Screen(int32_t x, int32_t y, PatchPlace place)
    {
        const ScreenPoint at = SquareToScreen(x, y);
        return LayerAt(backbuffer, at.x, at.y, place);
    }
    static void Redraw()
    {
        ASSERT_FALSE(RebuildBoardImage());
        ClearBackBuffer();
        ASSERT_FALSE(DrawBoard(0, 0));
    }
};

TEST_F(BoardTest, TerrainComesFromThePlainDimmedOrGreySheet)
{
    struct Case {
        uint8_t terrain, extra;
        int8_t dark;
        uint32_t claim;
        Probe terrainlayer;
    };
    const Case cases[] = {
        { 2, 1, 0, NOCLAIM, { SHEET_TERRAIN, 18 } },
        { 3, 4, 0, NOCLAIM, { SHEET_TERRAIN, 67 } },        // a gold mine of player 4
        { 5, 0, 1, NOCLAIM, { SHEET_TERRAINTINT, 5 } },     // dark
        { 5, 0, 3, NOCLAIM, { SHEET_TERRAINTINT, 5 } },
        { 5, 0, -1, NOCLAIM, { SHEET_TERRAIN, 5 } },        // lit above the usual
        { 7, 15, 0, 2, { SHEET_TERRAINGREY, 247 } },        // voided by player 2
        { 6, 1, 1, 0, { SHEET_TERRAINGREY, 22 } },          // voided wins over dark
    };
    for (size_t i = 0; i < std::size(cases); i++) {
        MapSquare& s = map[2 * i % 10][2 * i / 10 * 2];
        s.terrain = cases[i].terrain;
        s.extra = cases[i].extra;
        s.dark = cases[i].dark;
        s.bits = cases[i].claim;
    }
    Redraw();
    for (size_t i = 0; i < std::size(cases); i++) {
        const int32_t x = static_cast<int32_t>(2 * i % 10), y = static_cast<int32_t>(2 * i / 10 * 2);
        EXPECT_EQ(Image(x, y, PATCH_FULL), cases[i].terrainlayer) << "case " << i;
        // The board shows the image as it is.
        EXPECT_EQ(Screen(x, y, PATCH_FULL), cases[i].terrainlayer) << "case " << i;
        EXPECT_EQ(Image(x, y, PATCH_EDGE), (Probe{ SHEET_TERRAIN, 9 })) << "edge cell 9 also for no unexplored side";
        EXPECT_EQ(Image(x, y, PATCH_TIMED), cases[i].terrainlayer) << "nothing over it";
        EXPECT_EQ(Image(x, y, PATCH_FORCEFIELD), cases[i].terrainlayer);
    }
}

TEST_F(BoardTest, TimedEffectsAndForcefieldsLieOverTheTerrain)
{
    struct Case {
        uint8_t timed;
        int8_t counter;
        Probe timedlayer, forcefield;
    };
    const Probe none = { SHEET_TERRAIN, 0 };    // the ground shows: nothing lies over it
    const Case cases[] = {
        { 1, 0, { SHEET_UNITS, 255 }, none },
        { 0, 1, none, { SHEET_TERRAIN, 36 } },
        { 1, 2, { SHEET_UNITS, 255 }, { SHEET_TERRAIN, 20 } },
        { 0, 3, none, { SHEET_TERRAIN, 4 } },
        { 0, 5, none, { SHEET_TERRAIN, 4 } },
        { 0, -3, none, { SHEET_TERRAIN, 36 } },     // still closed: the faintest, never a cell off the column
    };
    for (size_t i = 0; i < std::size(cases); i++) {
        map[i][5].timed = cases[i].timed;
        map[i][5].counter2 = cases[i].counter;
    }
    Redraw();
    for (size_t i = 0; i < std::size(cases); i++) {
        const int32_t x = static_cast<int32_t>(i);
        EXPECT_EQ(Image(x, 5, PATCH_TIMED), cases[i].timedlayer) << "case " << i;
        EXPECT_EQ(Image(x, 5, PATCH_FORCEFIELD), cases[i].forcefield) << "case " << i;
        EXPECT_EQ(Image(x, 5, PATCH_FULL), (Probe{ SHEET_TERRAIN, 0 })) << "case " << i;
    }
}

TEST_F(BoardTest, ShadingFollowsTheUnexploredNeighbours)
{
    // . = explored, # = unexplored, on the 10 x 10 map (x across, y down).
    const char* const rows[10] = {
        "..........",
        ".#........",
        "..........",
        "....#.....",
        "...#.#....",
        "....#.....",
        "..........",
        "........##",
        ".........#",
        "..........",
    };
    for (int32_t y = 0; y < 10; y++)
        for (int32_t x = 0; x < 10; x++)
            map[x][y].explored = rows[y][x] == '.';
    Redraw();
    struct Case {
        int32_t x, y;
        Probe edge, corner;
    };
    const Probe none = { SHEET_TERRAIN, 0 };
    const Case cases[] = {
        { 4, 4, { SHEET_TERRAIN, 9 + 16 * 15 }, none },                // all four sides: cell 249, no corner
        { 1, 0, { SHEET_TERRAIN, 9 + 16 * 8 }, none },                 // below
        { 0, 1, { SHEET_TERRAIN, 9 + 16 * 4 }, none },                 // right
        { 2, 1, { SHEET_TERRAIN, 9 + 16 * 2 }, none },                 // left
        { 1, 2, { SHEET_TERRAIN, 9 + 16 * 1 }, none },                 // above
        { 0, 0, { SHEET_TERRAIN, 9 }, { SHEET_TERRAIN, 112 } },        // down-right only
        { 2, 2, { SHEET_TERRAIN, 9 }, { SHEET_TERRAIN, 64 } },         // up-left only
        { 2, 0, { SHEET_TERRAIN, 9 }, { SHEET_TERRAIN, 96 } },         // down-left only
        { 0, 2, { SHEET_TERRAIN, 9 }, { SHEET_TERRAIN, 80 } },         // up-right only
        { 8, 8, { SHEET_TERRAIN, 9 + 16 * (1 + 4) }, none },           // above and right: no corner, not even up-right
        { 9, 9, { SHEET_TERRAIN, 9 + 16 * 1 }, none },                 // the map's edge counts for nothing
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Image(c.x, c.y, PATCH_EDGE), c.edge) << c.x << ", " << c.y;
        EXPECT_EQ(Image(c.x, c.y, PATCH_CORNER), c.corner) << c.x << ", " << c.y;
    }
    // An unexplored square shows the unexplored cell and nothing over it.
    EXPECT_EQ(Image(4, 3, PATCH_FULL), (Probe{ SHEET_TERRAIN, 192 }));
    EXPECT_EQ(Image(4, 3, PATCH_EDGE), (Probe{ SHEET_TERRAIN, 192 }));
}

TEST_F(BoardTest, AViewOffTheMapShowsBlackThereAndNoShadingTowardIt)
{
    view = { -2, -1, 18, 12 };
    Redraw();
    EXPECT_EQ(Image(-1, 0, PATCH_FULL), (Probe{ SHEET_NONE, -1 }));
    EXPECT_EQ(Image(0, -1, PATCH_FULL), (Probe{ SHEET_NONE, -1 }));
    EXPECT_EQ(Image(10, 3, PATCH_FULL), (Probe{ SHEET_NONE, -1 }));
    EXPECT_EQ(Image(0, 0, PATCH_FULL), (Probe{ SHEET_TERRAIN, 0 }));
    EXPECT_EQ(Image(0, 0, PATCH_EDGE), (Probe{ SHEET_TERRAIN, 9 }));
    EXPECT_EQ(Image(0, 0, PATCH_CORNER), (Probe{ SHEET_TERRAIN, 0 }));
    // Square (0, 0) is the third column and the second row of the board.
    EXPECT_EQ(CellAt(imgboard.GetSurface(), 80 + 39, 40 + 39), (Probe{ SHEET_TERRAIN, 0 }));
}

TEST_F(BoardTest, MarksAnimateOnTheScreenNotInTheImage)
{
    map[1][1].terrain = 3;          // a gold mine never seen
    map[1][1].explored = 0;
    map[3][1].mark = 1;             // range marks, seen or not
    map[5][1].mark = 1;
    map[5][1].explored = 0;
    map[7][1].hazard = 2;           // a hazard shows only where seen
    map[8][1].hazard = 2;
    map[8][1].explored = 0;
    map[1][3].terrain = 3;          // an explored mine shows its own cell, no glint
    struct Case {
        int32_t framecount, frame;
    };
    for (const Case c : { Case{ 0, 0 }, Case{ 3, 1 }, Case{ 5, 1 }, Case{ 20, 6 }, Case{ 21, 0 } }) {
        framecount = c.framecount;
        Redraw();
        EXPECT_EQ(Screen(1, 1, PATCH_GLINT), (Probe{ SHEET_TERRAIN, 224 + c.frame })) << c.framecount;
        EXPECT_EQ(Image(1, 1, PATCH_GLINT), (Probe{ SHEET_TERRAIN, 192 }));
        EXPECT_EQ(Screen(7, 1, PATCH_HAZARD), (Probe{ SHEET_TERRAIN, 208 + c.frame })) << c.framecount;
    }
    EXPECT_EQ(Screen(3, 1, PATCH_RANGE), (Probe{ SHEET_TERRAIN, 195 }));
    EXPECT_EQ(Screen(5, 1, PATCH_RANGE), (Probe{ SHEET_TERRAIN, 195 }));
    EXPECT_EQ(Screen(8, 1, PATCH_HAZARD), (Probe{ SHEET_TERRAIN, 192 }));
    EXPECT_EQ(Screen(1, 3, PATCH_FULL), (Probe{ SHEET_TERRAIN, 3 }));
    EXPECT_EQ(Screen(1, 3, PATCH_GLINT), (Probe{ SHEET_TERRAIN, 3 }));
}

TEST_F(BoardTest, UnitsShowWhereTheViewerMaySeeThem)
{
    struct Case {
        int32_t owner;
        int32_t stealth;
        int8_t dark;
        bool explored;
        int32_t x, y;               // where the unit stands
        int32_t sheet;              // of the icon shown; SHEET_NONE when hidden
    };
    const Case cases[] = {
        { 0, 0, 0, true, 1, 1, SHEET_UNITS },
        { 1, 0, 0, true, 2, 1, SHEET_UNITS },       // an enemy nobody of ours sees now, on explored land
        { 1, 1, 0, true, 3, 1, SHEET_UNITS },
        { 1, 1, 1, true, 4, 1, SHEET_NONE },        // stealth 1 in the dark hides him
        { 0, 1, 1, true, 5, 1, SHEET_UNITSTINT },   // not from his owner, the viewer
        { 1, 2, 0, true, 6, 1, SHEET_NONE },
        { 1, 2, -1, true, 7, 1, SHEET_UNITS },      // a lit square shows him
        { 1, 0, 0, false, 8, 1, SHEET_NONE },       // unexplored
        { 0, 0, 0, false, 1, 3, SHEET_NONE },
    };
    for (const Case& c : cases) {
        const int32_t u = AddTestUnit(c.owner, c.x, c.y);
        p[c.owner].units[u].stat[STAT_STEALTH] = c.stealth;
        map[c.x][c.y].dark = c.dark;
        map[c.x][c.y].explored = c.explored;
    }
    // A unit out of the view is not drawn, not even at the view's edge.
    const int32_t out = AddTestUnit(1, 9, 9);
    view = { 0, 0, 9, 9 };
    RedrawUnitPictures();
    Redraw();
    for (const Case& c : cases) {
        const Probe icon = Screen(c.x, c.y, PATCH_ICON);
        if (c.sheet != SHEET_NONE)
            EXPECT_EQ(icon, (Probe{ c.sheet, 1 })) << c.x << ", " << c.y;
        else
            EXPECT_TRUE(icon.sheet != SHEET_UNITS && icon.sheet != SHEET_UNITSTINT) << c.x << ", " << c.y;
    }
    EXPECT_EQ(CellAt(backbuffer, 9 * 40 + 4, 9 * 40 + 20), (Probe{ SHEET_NONE, -1 }));
    EXPECT_NE(UnitPicture(p[1].units[out].id), nullptr);
}

TEST_F(BoardTest, TheSelectedUnitBlinksOnlyWhenAsked)
{
    AddTestUnit(0, 2, 2);
    AddTestUnit(0, 3, 2);
    currplayer = 0;
    currunit = 1;
    RedrawUnitPictures();
    struct Case {
        uint8_t hide;
        int32_t framecount;
        bool shown;
    };
    for (const Case c : { Case{ 1, 0, false }, Case{ 1, 9, false }, Case{ 1, 10, true }, Case{ 1, 19, true },
                          Case{ 1, 20, false }, Case{ 0, 0, true } }) {
        framecount = c.framecount;
        ClearBackBuffer();
        DrawBoard(c.hide, 0);
        EXPECT_EQ(Screen(3, 2, PATCH_ICON).sheet == SHEET_UNITS, c.shown) << int(c.hide) << " " << c.framecount;
        EXPECT_EQ(Screen(2, 2, PATCH_ICON), (Probe{ SHEET_UNITS, 1 }));
    }
}

TEST_F(BoardTest, FirstUnitsInUnexploredLandShowABeacon)
{
    AddTestUnit(1, 4, 4);       // player 1's first unit, unseen
    AddTestUnit(1, 6, 6);       // his second, unseen: no beacon
    AddTestUnit(2, 2, 2);       // the neutral side's first, unseen: no beacon
    map[4][4].explored = 0;
    map[6][6].explored = 0;
    map[2][2].explored = 0;
    framecount = 6;
    RedrawUnitPictures();
    Redraw();
    EXPECT_EQ(Screen(4, 4, PATCH_BEACON), (Probe{ SHEET_TERRAIN, 242 }));
    EXPECT_NE(Screen(4, 4, PATCH_ICON).sheet, SHEET_UNITS);
    EXPECT_EQ(Screen(6, 6, PATCH_BEACON), (Probe{ SHEET_TERRAIN, 192 }));
    EXPECT_EQ(Screen(2, 2, PATCH_BEACON), (Probe{ SHEET_TERRAIN, 192 }));
    // Once seen he shows himself instead.
    map[4][4].explored = 1;
    Redraw();
    EXPECT_EQ(Screen(4, 4, PATCH_ICON), (Probe{ SHEET_UNITS, 1 }));
    EXPECT_EQ(Screen(4, 4, PATCH_BEACON), (Probe{ SHEET_TERRAIN, 0 }));
}

TEST_F(BoardTest, TheGridDotsTheSquaresEdges)
{
    // Dark pixels on the 38 pixels from (x0, y0) on, across or down, clear of the crossing lines.
    auto dark = [](int32_t x0, int32_t y0, int32_t dx, int32_t dy) {
        int32_t n = 0;
        for (int32_t i = 1; i < 39; i++)
            n += PixelAt(backbuffer, x0 + i * dx, y0 + i * dy) == 0;
        return n;
    };
    // A dotted line darkens some of its pixels and leaves the rest.
    auto dotted = [](int32_t n) { return n >= 10 && n <= 28; };
    Redraw();
    EXPECT_EQ(dark(40, 80, 0, 1), 0);
    gridon = 1;
    Redraw();
    EXPECT_PRED1(dotted, dark(40, 80, 0, 1));
    EXPECT_PRED1(dotted, dark(360, 320, 0, 1)) << "the map's last column";
    EXPECT_PRED1(dotted, dark(200, 80, 1, 0));
    EXPECT_PRED1(dotted, dark(200, 360, 1, 0)) << "the map's last row";
    EXPECT_EQ(dark(60, 80, 0, 1), 0) << "no line inside a square";
    EXPECT_EQ(dark(200, 100, 1, 0), 0);
}

TEST_F(BoardTest, NothingIsDrawnWhileDrawingIsOffOrTheGameInactive)
{
    ClearBackBuffer();
    candraw = 0;
    EXPECT_TRUE(RebuildBoardImage());
    EXPECT_TRUE(DrawBoard(0, 0));
    candraw = 1;
    appactive = 0;
    EXPECT_TRUE(DrawBoard(0, 0));
    EXPECT_EQ(Screen(0, 0, PATCH_FULL), (Probe{ SHEET_NONE, -1 }));
}

TEST_F(BoardTest, TerrainNoCellShowsIsSkippedAndLogged)
{
    map[1][1].terrain = 17;
    map[2][1].extra = 16;
    Redraw();
    EXPECT_EQ(Image(1, 1, PATCH_FULL), (Probe{ SHEET_NONE, -1 }));
    EXPECT_EQ(Image(2, 1, PATCH_FULL), (Probe{ SHEET_NONE, -1 }));
    EXPECT_EQ(Image(1, 1, PATCH_EDGE), (Probe{ SHEET_TERRAIN, 9 })) << "its shading still shows";
    EXPECT_NE(log.find("ERROR: Square 1, 1 has terrain 17 variant 0, which no cell shows."), std::string::npos) << log;
    EXPECT_NE(log.find("ERROR: Square 2, 1 has terrain 0 variant 16, which no cell shows."), std::string::npos);
}

} // namespace
