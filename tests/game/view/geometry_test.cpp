// Squares and screen pixels, and which points are on the board.
#include <gtest/gtest.h>

#include "game/model/state.h"
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
        ResetGameState();
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

} // namespace
