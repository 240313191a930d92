// The play screen's frame and header, the shop heading and the waiting screen.
#include <gtest/gtest.h>

#include "game/model/state.h"
#include "game/shell/display.h"
#include "game/shell/input.h"
#include "game/shell/shell.h"
#include "game/view/header.h"
#include "game/view/names.h"
#include "platform/headless.h"
#include "tests/game/support/world.h"
#include "tests/game/view/viewtest.h"

namespace {

class HeaderTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        MakeBoard(2, 10);
        ClearBackBuffer();
    }
};

TEST_F(HeaderTest, TheHeaderNamesTheDayThePhaseAndWhoseTurnItIs)
{
    struct Case {
        int32_t day, phase, holder;
        uint8_t names;
        const char* text;
    };
    const Case cases[] = {
        { 3, 1, 1, 0, "Day 3, Afternoon.  (Player Two's turn)." },
        { 2, 2, 2, 0, "Day 2, Night.  (Unaligned turn)." },
        { 1, 0, 0, 1, "Day 1, Morning.  (P0's turn)." },
        { 4, 7, 1, 1, "Day 4,   (P1's turn)." },
        { 4, 0, 9, 1, "Day 4, Morning.  (!BADPLAYER's turn)." },
    };
    for (const Case& c : cases) {
        daycount = c.day;
        turncount = c.phase;
        currplayer = c.holder;
        shownames = c.names;
        EXPECT_EQ(TurnHeaderText(), c.text);
    }
    shownames = 1;
}

TEST_F(HeaderTest, TheHeaderLineAndTheGoldAcrossTheTop)
{
    daycount = 1;
    currplayer = 0;
    p[0].gold = 1234;
    ASSERT_FALSE(DrawTurnHeader());
    const PixelRect left = Ink(backbuffer, { 0, 0, 400, 30 });
    ASSERT_LT(left.left, left.right);
    EXPECT_NEAR(left.left, 15, 3);
    EXPECT_TRUE(HasColour(backbuffer, { 0, 0, 400, 30 }, 0xFFFFFF));
    const PixelRect gold = Ink(backbuffer, { 600, 0, 800, 30 });
    EXPECT_NEAR(gold.right, 796, 3) << "right-aligned at 795, shadow a pixel further";
    EXPECT_TRUE(HasColour(backbuffer, { 600, 0, 800, 30 }, 0xFFDC00)) << "gold";
    EXPECT_GE(Ink(backbuffer, { 0, 30, 800, 600 }).left, 800) << "nothing below the header";

    // Without players the line is drawn and no gold; while drawing is off nothing at all.
    ClearBackBuffer();
    p.clear();
    EXPECT_FALSE(DrawTurnHeader());
    EXPECT_GE(Ink(backbuffer, { 600, 0, 800, 30 }).left, 800);
    ClearBackBuffer();
    candraw = 0;
    EXPECT_TRUE(DrawTurnHeader());
    EXPECT_GE(Ink(backbuffer, { 0, 0, 800, 600 }).left, 800);
}

TEST_F(HeaderTest, TheFrameLiesAroundTheBoard)
{
    ASSERT_FALSE(DrawScreenBorder());
    EXPECT_EQ(CellAt(backbuffer, 400, 10), (Probe{ SHEET_BORDER + 0, 0 }));
    EXPECT_EQ(CellAt(backbuffer, 400, 560), (Probe{ SHEET_BORDER + 1, 0 }));
    EXPECT_EQ(CellAt(backbuffer, 2, 10), (Probe{ SHEET_BORDER + 2, 0 })) << "the sides lie over the top";
    EXPECT_EQ(CellAt(backbuffer, 2, 590), (Probe{ SHEET_BORDER + 2, 0 }));
    EXPECT_EQ(CellAt(backbuffer, 797, 300), (Probe{ SHEET_BORDER + 3, 0 }));
    EXPECT_EQ(CellAt(backbuffer, 400, 300), (Probe{ SHEET_NONE, -1 }));
    ClearBackBuffer();
    appactive = 0;
    EXPECT_TRUE(DrawScreenBorder());
    EXPECT_EQ(CellAt(backbuffer, 400, 10), (Probe{ SHEET_NONE, -1 }));
}

TEST_F(HeaderTest, TheShopHeadingNamesThePlayerAndHisGold)
{
    currplayer = 1;
    p[1].gold = 75;
    ASSERT_FALSE(DrawPlayerGold());
    const PixelRect name = Ink(backbuffer, { 0, 30, 800, 90 });
    const PixelRect gold = Ink(backbuffer, { 0, 90, 800, 190 });
    ASSERT_LT(name.left, name.right);
    ASSERT_LT(gold.left, gold.right);
    EXPECT_NEAR(name.right, 795, 3);
    EXPECT_NEAR(gold.right, 795, 3);
    EXPECT_TRUE(HasColour(backbuffer, { 0, 30, 800, 190 }, 0xFFFF00));
    currplayer = 5;
    EXPECT_TRUE(DrawPlayerGold());
    p.clear();
    EXPECT_TRUE(DrawPlayerGold());
}

TEST_F(HeaderTest, WaitingForTheServerShowsOneFrame)
{
    mousex = 300;
    mousey = 400;
    const int frames = PresentedFrameCount();
    EXPECT_FALSE(WaitForServer());
    EXPECT_EQ(PresentedFrameCount(), frames + 1);
    EXPECT_EQ(CellAt(backbuffer, 400, 300), (Probe{ SHEET_BACK, 0 }));
    EXPECT_EQ(CellAt(backbuffer, 339, 439), (Probe{ SHEET_ICONS, 0 })) << "the cursor";
    EXPECT_TRUE(HasColour(backbuffer, { 0, 0, 800, 51 }, 0xFFFFFF));
}

} // namespace
