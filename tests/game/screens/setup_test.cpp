// The host's choice of starting money, the map's making and its transfer row by row, through the
// screens, with the clients' acknowledgements played by the test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/model/mapgen.h"
#include "game/model/state.h"
#include "game/net/lobby.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "tests/game/screens/screentest.h"
#include "tests/game/support/machines.h"
#include "tests/game/support/world.h"

namespace {

class Setup : public ScreenTest {
protected:
    static int Count(const std::vector<SentFrame>& frames, char kind)
    {
        int n = 0;
        for (const SentFrame& f : frames)
            n += f.Body().size() > 0 && f.Body()[0] == kind;
        return n;
    }
};

TEST_F(Setup, EachMoneyButtonSetsItsAmountAndTheMapBegins)
{
    const int32_t amounts[] = { 600, 675, 750, 825, 900 };
    for (int k = 0; k < 5; k++) {
        MakeWorld(2, 0, false);
        gs = GAME_SELECTMONEY;
        Frames(1);
        Click(400, 125 + 100 * k);
        Frames(2);
        EXPECT_EQ(startgold, amounts[k]);
        EXPECT_EQ(p[0].gold, amounts[k]);
        EXPECT_EQ(p[1].gold, amounts[k]);
        EXPECT_EQ(gs, GAME_CREATEMAP);
        EXPECT_EQ(mapsize, MapSizeFor(2));
    }
}

TEST_F(Setup, TheMapIsMadeAndSentARowAtATimeAsTheClientsTakeThem)
{
    MakeWorld(2, 0, false);
    SetStartMoney(120);
    ASSERT_EQ(gs, GAME_CREATEMAP);
    EXPECT_GT(FramesUntil(GAME_SENDMAP, 200), 0);
    TakeSentFrames();
    // The first row goes at once; each further one only after the client took the last.
    Frames(1);
    int rows = Count(TakeSentFrames(), '@');
    EXPECT_EQ(rows, 1);
    for (int frame = 0; frame < 2 * mapsize && gs == GAME_SENDMAP; frame++) {
        Frames(1);
        EXPECT_EQ(Count(TakeSentFrames(), '@'), 0) << "row " << rows << " is not yet taken";
        p[1].ready = 1;
        Frames(1);
        rows += Count(TakeSentFrames(), '@');
    }
    EXPECT_EQ(rows, mapsize);
    EXPECT_EQ(gs, GAME_CREATENEUTRALS);
}

TEST_F(Setup, AClientsDownloadFigureIsHeldToTheMapWhateverTheWireSaid)
{
    MakeWorld(2, 30, false);
    BecomeClient(1);
    gs = GAME_SENDMAP;
    // The picture right of the world's place, with the whole world shown...
    mapattempts = 30;
    Frames(1);
    const PixelRect right = { 625, 50, 800, 375 };
    std::vector<uint32_t> before;
    for (int32_t y = right.top; y < right.bottom; y++)
        for (int32_t x = right.left; x < right.right; x++)
            before.push_back(backbuffer->pixels[(size_t)y * SCREENWIDTH + x]);
    // ... is the same when the row count from the wire runs past the map.
    mapattempts = 255;
    Frames(1);
    EXPECT_EQ(gs, GAME_SENDMAP);
    size_t i = 0;
    for (int32_t y = right.top; y < right.bottom; y++)
        for (int32_t x = right.left; x < right.right; x++)
            ASSERT_EQ(backbuffer->pixels[(size_t)y * SCREENWIDTH + x], before[i++]) << x << ", " << y;
}

} // namespace
