// Deployment through the screen: the legal area, placing by a click on the host and from a client,
// and refused squares.
#include <gtest/gtest.h>

#include "game/model/catalogue.h"
#include "game/model/setup.h"
#include "game/model/state.h"
#include "game/screens/boardcommands.h"
#include "game/screens/states.h"
#include "game/view/geometry.h"
#include "tests/game/screens/playscreen.h"
#include "tests/game/support/world.h"

namespace {

class Deploy : public PlayScreenTest {
protected:
    // Player 0 on the host with his camp at (10, 10), two units bought; the deployment shaded.
    void BeginDeploy(bool withwarlord)
    {
        MakeGame(2, 24);
        p[0].startx = 10;
        p[0].starty = 10;
        if (withwarlord)
            Put(0, 14, 14, Buyable(0));
        p[0].bought.push_back(buyable[0]);
        p[0].bought.push_back(buyable[1]);
        gs = GAME_BEGINDEPLOY;
        Frames(3);
        ASSERT_EQ(gs, GAME_DEPLOY);
        CenterView(10, 10);
        Sent();
    }
};

// Walk cost 10 a step along a row or column, 14 diagonally: 55 is legal, 56 is not.
TEST_F(Deploy, TheLegalAreaIsTheWalkOf55FromTheCampAnd25FromTheFirstUnit)
{
    BeginDeploy(false);
    EXPECT_TRUE(map[15][10].mark);      // five steps: 50
    EXPECT_TRUE(map[13][13].mark && map[14][13].mark);   // 42; 52 (three diagonal, one straight): 55 is the limit
    EXPECT_FALSE(map[14][14].mark);     // four diagonal: 56
    EXPECT_FALSE(map[16][10].mark);     // 60
    BeginDeploy(true);
    EXPECT_TRUE(map[15][15].mark) << "within 25 of the first unit at (14, 14)";
    EXPECT_FALSE(map[16][16].mark);
}

TEST_F(Deploy, AClickOnALegalSquarePlacesTheSelectedUnit)
{
    BeginDeploy(false);
    const int32_t type = p[0].bought[0].type;
    Click(ScreenX(11), ScreenY(10));
    Frames(1);
    ASSERT_EQ(p[0].units.size(), 1u);
    EXPECT_EQ(p[0].units[0].type, type);
    EXPECT_EQ(p[0].units[0].x, 11);
    EXPECT_EQ(p[0].bought.size(), 1u);
    const int32_t id = p[0].units[0].id;
    // '_': player+50, type+50, id high, id low, x+1, y+1.
    EXPECT_EQ(Sent(), std::vector<std::string>{Bytes({'_', 50, type + 50, id / 256, id % 256, 12, 11, ';'})});
    EXPECT_EQ(gs, GAME_PREPAREDEPLOY);
    Frames(1);
    EXPECT_EQ(gs, GAME_DEPLOY);
    EXPECT_EQ(hoveritem, 0);
    // The area does not grow with the units placed.
    EXPECT_FALSE(map[16][10].mark);
}

TEST_F(Deploy, TheMarkerUnderTheCursorTellsWhetherTheUnitMayGoThere)
{
    BeginDeploy(false);
    Put(1, 11, 9, Buyable(0));
    const struct {
        int32_t x, y, marker;
    } cases[] = {{11, 10, MARKER_TARGET}, {11, 9, MARKER_REFUSED}, {16, 10, MARKER_REFUSED}};
    for (const auto& c : cases) {
        MoveTo(ScreenX(c.x), ScreenY(c.y));
        Frames(1);
        EXPECT_TRUE(MarkerShows(c.marker)) << c.x << ", " << c.y;
    }
}

TEST_F(Deploy, RefusedSquaresPlaceNothing)
{
    BeginDeploy(false);
    Put(1, 11, 11, Buyable(0));
    map[9][10].counter2 = 2;
    for (const auto& [x, y] : {std::pair{16, 10}, std::pair{11, 11}, std::pair{9, 10}}) {
        Click(ScreenX(x), ScreenY(y));
        Frames(1);
        EXPECT_TRUE(p[0].units.empty()) << x << ", " << y;
        EXPECT_EQ(gs, GAME_DEPLOY);
        EXPECT_TRUE(Sent().empty());
    }
}

TEST_F(Deploy, TheLastPlacementEndsTheDeploymentOnTheHost)
{
    BeginDeploy(false);
    const int32_t before = shoppers;
    Click(ScreenX(11), ScreenY(10));
    Frames(3);
    Click(ScreenX(12), ScreenY(10));
    Frames(3);
    EXPECT_EQ(p[0].units.size(), 2u);
    EXPECT_EQ(gs, GAME_WAITPLAYERS);
    EXPECT_EQ(shoppers, before + 1);
    EXPECT_FALSE(map[11][11].mark) << "the marks are cleared";
}

TEST_F(Deploy, AClientAsksTheHostAndWaitsForItsAnswer)
{
    MakeGame(2, 24);
    BecomeClient(1);
    p[1].startx = 10;
    p[1].starty = 10;
    p[1].bought.push_back(buyable[0]);
    gs = GAME_BEGINDEPLOY;
    Frames(3);
    ASSERT_EQ(gs, GAME_DEPLOY);
    CenterView(10, 10);
    Sent();
    Click(ScreenX(11), ScreenY(10));
    Frames(1);
    const std::vector<std::string> sent = Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][0], '_');
    EXPECT_TRUE(p[1].units.empty()) << "the host makes the unit";
    EXPECT_EQ(gs, GAME_DEPLOYWAIT);
    Frames(2);
    EXPECT_EQ(gs, GAME_DEPLOYWAIT) << "nothing times out";
}

TEST_F(Deploy, APlayerWithNothingBoughtLeavesTheDeploymentAtOnce)
{
    MakeGame(2, 24);
    p[0].startx = 10;
    p[0].starty = 10;
    const int32_t before = shoppers;
    gs = GAME_BEGINDEPLOY;
    Frames(3);
    EXPECT_EQ(gs, GAME_WAITPLAYERS);
    EXPECT_EQ(shoppers, before + 1);
}

} // namespace
