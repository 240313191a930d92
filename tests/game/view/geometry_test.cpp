// Squares and screen pixels, and which points are on the board.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "game/model/state.h"
#include "game/screens/states.h"
#include "game/shell/input.h"
#include "game/view/frames.h"
#include "game/view/geometry.h"

namespace {

class GeometryTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGameState();
        map.assign(30, std::vector<MapSquare>(30));
        mapsize = 30;
        AddPlayer();
        AddPlayer();
        you = p[0].sizeattime;
        minimapon = 1;
        view = { 0, 0, 0, 0 };
        oldview = view;
    }
    void TearDown() override
    {
        minimapon = 1;
        mousestate = MouseState{};
        mousex = 400;
        mousey = 300;
        framecount = 0;
        ResetGameState();
    }
    static void MakeMap(int32_t size)
    {
        map.assign(size, std::vector<MapSquare>(size));
        mapsize = size;
    }
    // Frames of ScrollView with the cursor at (x, y); the number of frames in which the view moved.
    static int32_t Scroll(int32_t x, int32_t y, int32_t frames)
    {
        mousex = x;
        mousey = y;
        int32_t moves = 0;
        for (int32_t f = 0; f < frames; f++, framecount++) {
            const ViewRect before = view;
            ScrollView();
            if (view.left != before.left || view.top != before.top)
                moves++;
            EXPECT_EQ(view.right - view.left, 20);
            EXPECT_EQ(view.bottom - view.top, 13);
        }
        return moves;
    }
};

TEST_F(GeometryTest, PointsOnTheBoard)
{
    struct Case {
        uint8_t minimap;
        int32_t turn;       // currplayer
        int32_t x, y;
        bool on;
    };
    // The minimap of a 30-square map covers (675, 30)-(795, 150); the unit panel (5, 30)-(45, 150).
    const Case cases[] = {
        { 1, 1, 400, 300, true },
        { 1, 1, 4, 300, false },
        { 1, 1, 5, 30, true },
        { 1, 1, 795, 300, false },
        { 1, 1, 794, 519, true },
        { 1, 1, 400, 520, false },
        { 1, 1, 700, 100, false },
        { 0, 1, 700, 100, true },
        { 1, 1, 674, 100, true },
        { 1, 1, 700, 150, true },
        { 1, 1, 20, 100, true },      // another's turn: the unit panel is not shown
        { 1, 0, 20, 100, false },     // his own turn
        { 1, 0, 45, 100, true },
        { 1, 0, 20, 150, true },
    };
    for (const Case& c : cases) {
        minimapon = c.minimap;
        currplayer = c.turn;
        EXPECT_EQ(IsOnBoard(c.x, c.y), c.on) << int(c.minimap) << " " << c.turn << " (" << c.x << ", " << c.y << ")";
    }
}

TEST_F(GeometryTest, CenteringAndFollowing)
{
    CenterView(15, 15);
    EXPECT_EQ(view.left, 5);
    EXPECT_EQ(view.top, 9);
    EXPECT_EQ(view.right, 25);
    EXPECT_EQ(view.bottom, 22);
    const ScreenPoint point = SquareToScreen(7, 10);
    EXPECT_EQ(point.x, 80);
    EXPECT_EQ(point.y, 40);

    // Following needs autofocus and an explored square on the map.
    FollowSquare(2, 2);
    EXPECT_EQ(view.left, 5);
    map[2][2].explored = 1;
    autofocus = 0;
    FollowSquare(2, 2);
    EXPECT_EQ(view.left, 5);
    autofocus = 1;
    FollowSquare(2, 2);
    EXPECT_EQ(view.left, -8);
    EXPECT_EQ(oldview.left, 5);
    FollowSquare(30, 2);
    EXPECT_EQ(view.left, -8);
}

TEST_F(GeometryTest, ExploredOnlyOnTheMap)
{
    map[0][29].explored = 1;
    EXPECT_TRUE(IsSquareExplored(3, 0, 29));
    EXPECT_FALSE(IsSquareExplored(0, 1, 29));
    EXPECT_FALSE(IsSquareExplored(0, -1, 0));
    EXPECT_FALSE(IsSquareExplored(0, 0, 30));
}

// Held at an edge, the view scrolls a square every second frame until one column or row off the map
// shows (two at the bottom), whatever the map's size.
TEST_F(GeometryTest, EdgeScrollingStopsAtTheLimitsOfEveryMapSize)
{
    struct Edge {
        const char* name;
        int32_t x, y;
    };
    const Edge edges[] = {
        { "right", 799, 300 }, { "left", 0, 300 }, { "left at x 1", 1, 300 }, { "bottom", 400, 599 }, { "top", 400, 0 },
        { "top at y 1", 400, 1 },
    };
    for (const int32_t size : { 1, 5, 20, 30, 45 }) {
        MakeMap(size);
        for (const Edge& e : edges) {
            view = { size / 2 - 10, size / 2 - 6, size / 2 + 10, size / 2 + 7 };
            const ViewRect start = view;
            oldview = { 1, 2, 3, 4 };
            framecount = 0;
            const int32_t moves = Scroll(e.x, e.y, 4 * size + 200);
            const std::string where = std::string(e.name) + ", map " + std::to_string(size);
            // A centring on a small map may already show more than the limit: then nothing moves.
            if (e.x == 799) {
                EXPECT_EQ(view.right, std::max(start.right, size + 1)) << where;
                EXPECT_EQ(moves, std::max(0, size + 1 - start.right)) << where;
            } else if (e.x < 2) {
                EXPECT_EQ(view.left, std::min(start.left, -1)) << where;
                EXPECT_EQ(moves, std::max(0, start.left + 1)) << where;
            } else if (e.y == 599) {
                EXPECT_EQ(view.bottom, std::max(start.bottom, size + 2)) << where;
                EXPECT_EQ(moves, std::max(0, size + 2 - start.bottom)) << where;
            } else {
                EXPECT_EQ(view.top, std::min(start.top, -1)) << where;
                EXPECT_EQ(moves, std::max(0, start.top + 1)) << where;
            }
            EXPECT_EQ(oldview.left, 1) << where << ": edge scrolling leaves oldview alone";
        }
    }
}

TEST_F(GeometryTest, EdgeScrollingEverySecondFrameAndUpOrDownInACorner)
{
    struct Case {
        const char* name;
        int32_t x, y;
        int32_t frame;
        int32_t dx, dy;
    };
    const Case cases[] = {
        { "right, even frame", 799, 300, 0, 1, 0 },
        { "right, odd frame", 799, 300, 1, 0, 0 },
        { "x 798 is not the edge", 798, 300, 0, 0, 0 },
        { "x 2 is not the edge", 2, 300, 0, 0, 0 },
        { "y 598 is not the edge", 400, 598, 0, 0, 0 },
        { "y 2 is not the edge", 400, 2, 0, 0, 0 },
        { "bottom right corner", 799, 599, 0, 0, 1 },
        { "top left corner", 0, 0, 2, 0, -1 },
        { "top right corner", 799, 1, 4, 0, -1 },
        { "bottom left corner", 1, 599, 6, 0, 1 },
        { "the middle", 400, 300, 0, 0, 0 },
    };
    MakeMap(30);
    for (const Case& c : cases) {
        view = { 5, 5, 25, 18 };
        framecount = c.frame;
        mousex = c.x;
        mousey = c.y;
        ScrollView();
        EXPECT_EQ(view.left, 5 + c.dx) << c.name;
        EXPECT_EQ(view.top, 5 + c.dy) << c.name;
    }
    // A centring near an edge may show more than the limit; the view then does not scroll further.
    CenterView(29, 29);
    EXPECT_EQ(Scroll(799, 300, 10) + Scroll(400, 599, 10), 0);
    CenterView(0, 0);
    EXPECT_EQ(Scroll(0, 300, 10) + Scroll(400, 0, 10), 0);
}

TEST_F(GeometryTest, APressOnTheMinimapCentresTheViewThere)
{
    struct Case {
        uint8_t minimap;
        uint8_t button;
        int32_t x, y;
        int32_t left, top;      // the view afterwards
    };
    // A 30-square map's minimap covers (675, 30)-(795, 150), 4 pixels a square.
    const Case cases[] = {
        { 1, 1, 675, 30, -10, -6 },        // square (0, 0)
        { 1, 1, 794, 149, 19, 23 },        // square (29, 29)
        { 1, 1, 700, 70, -4, 4 },          // square (6, 10)
        { 1, 0, 700, 70, 3, 3 },           // no press
        { 0, 1, 700, 70, 3, 3 },           // the minimap hidden
        { 1, 1, 674, 70, 3, 3 },           // beside it
        { 1, 1, 700, 150, 3, 3 },          // below it
    };
    for (const Case& c : cases) {
        view = { 3, 3, 23, 16 };
        minimapon = c.minimap;
        mousestate.buttons[0] = c.button ? KEY_DOWNBIT : 0;
        mousex = c.x;
        mousey = c.y;
        framecount = 1;
        ScrollView();
        EXPECT_EQ(view.left, c.left) << c.x << ", " << c.y;
        EXPECT_EQ(view.top, c.top) << c.x << ", " << c.y;
        EXPECT_EQ(view.right, view.left + 20);
        EXPECT_EQ(view.bottom, view.top + 13);
        if (view.left != 3) {
            EXPECT_EQ(oldview.left, 3) << "a minimap press centres like CenterView";
        }
    }
}

} // namespace
