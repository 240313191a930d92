// Effect animations: eight frames of 75 ms on the virtual clock, each a whole play screen with one
// cell of the effect sheet over the target; and the damage figure, one such screen held 500 ms.
#include <gtest/gtest.h>

#include <vector>

#include "game/model/state.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/shell.h"
#include "game/view/animate.h"
#include "game/view/board.h"
#include "game/view/cells.h"
#include "game/view/damagefigure.h"
#include "game/view/geometry.h"
#include "platform/clock.h"
#include "platform/headless.h"
#include "tests/game/support/world.h"
#include "tests/game/view/viewtest.h"

namespace {

struct Shown {
    Probe effect;               // at the target square's effect patch
    Probe stretched;            // where the same patch lands stretched to three squares
    Probe figure;               // at the target square's damage patch
    uint32_t tick;
};

std::vector<Shown> shown;
ScreenPoint target;

void Watch(const uint32_t* pixels, int width, int height)
{
    const SysSurface frame = { width, height, 0, const_cast<uint32_t*>(pixels) };
    shown.push_back({ LayerAt(&frame, target.x, target.y, PATCH_EFFECT), CellAt(&frame, target.x + 70, target.y),
                      LayerAt(&frame, target.x, target.y, PATCH_DAMAGE), GetTicks() });
}

class AnimateTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        MakeBoard(2, 10);
        shown.clear();
        WatchPresentedFrames(Watch);
        RebuildBoardImage();
    }
    void TearDown() override
    {
        WatchPresentedFrames(nullptr);
        ViewTest::TearDown();
    }
    void Aim(int32_t x, int32_t y) { target = SquareToScreen(x, y); }
    // The effect cells of the frames shown, the closing frame last.
    static std::vector<int32_t> Cells(bool stretched = false)
    {
        std::vector<int32_t> cells;
        for (const Shown& s : shown) {
            const Probe probe = stretched ? s.stretched : s.effect;
            cells.push_back(probe.sheet == SHEET_SPELLANIM ? probe.cell : -1);
        }
        return cells;
    }
};

TEST_F(AnimateTest, EightFramesDownTheColumnOnAUnit)
{
    const int32_t u = AddTestUnit(1, 3, 3);
    Aim(3, 3);
    EXPECT_FALSE(AnimateOnUnit(1, u, 0, 5, 0));
    EXPECT_EQ(Cells(), (std::vector<int32_t>{ 5, 21, 37, 53, 69, 85, 101, 117, -1 }));
    EXPECT_EQ(GetTicks(), 100000u + 8 * 75);
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(shown[i].tick, 100000u + 75 * i) << "each frame shown, then held 75 ms";
}

TEST_F(AnimateTest, AReversedAnimationRunsUpTheColumn)
{
    const int32_t u = AddTestUnit(0, 4, 5);
    Aim(4, 5);
    AnimateOnUnit(0, u, 3, 263, 1);
    EXPECT_EQ(Cells(), (std::vector<int32_t>{ 375, 359, 343, 327, 311, 295, 279, 263, -1 }));
}

TEST_F(AnimateTest, TheClippedFormStretchesEachFrameOverThreeSquares)
{
    Aim(5, 5);
    AnimateOnUnitClipped(5, 5, 99, 2, 0);
    EXPECT_EQ(Cells(true), (std::vector<int32_t>{ 2, 18, 34, 50, 66, 82, 98, 114, -1 }));
    EXPECT_EQ(GetTicks(), 100600u);
}

TEST_F(AnimateTest, WhatCannotBeSeenCostsNoTime)
{
    const int32_t hidden = AddTestUnit(1, 6, 6);
    map[6][6].explored = 0;
    const int32_t left = AddTestUnit(1, 0, 4);      // in the board's first column, under the frame
    const int32_t out = AddTestUnit(1, 3, 3);
    view = { 4, 4, 24, 17 };                        // scrolled away from (3, 3)
    struct Case {
        int32_t a, b, kind;
    };
    for (const Case c : { Case{ 1, hidden, 0 }, Case{ 1, left, 0 }, Case{ 1, out, 2 }, Case{ 1, 9, 0 },
                          Case{ 7, 0, 0 }, Case{ 6, 6, 4 }, Case{ 10, 2, 99 }, Case{ -1, 2, 99 } }) {
        AnimateOnUnit(c.a, c.b, c.kind, 5, 0);
        AnimateOnUnitClipped(c.a, c.b, c.kind, 5, 0);
    }
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(GetTicks(), 100000u);
}

TEST_F(AnimateTest, ASquareOutOfViewStillTakesItsEightFrames)
{
    view = { 4, 4, 24, 17 };
    Aim(1, 1);
    AnimateOnUnit(1, 1, 99, 5, 0);
    EXPECT_EQ(shown.size(), 9u);
    EXPECT_EQ(GetTicks(), 100600u);
}

TEST_F(AnimateTest, NothingWhileDrawingIsOffOrTheGameInactive)
{
    const int32_t u = AddTestUnit(1, 3, 3);
    candraw = 0;
    AnimateOnUnit(1, u, 0, 5, 0);
    candraw = 1;
    appactive = 0;
    AnimateOnUnit(1, u, 0, 5, 0);
    AnimateOnUnit(3, 3, 99, 5, 0);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(GetTicks(), 100000u);
}

TEST_F(AnimateTest, CellsPastTheSheetAreSkippedButTheFramesPlay)
{
    Aim(3, 3);
    AnimateOnUnit(3, 3, 99, 300, 0);
    EXPECT_EQ(Cells(), (std::vector<int32_t>{ 300, 316, 332, 348, 364, 380, -1, -1, -1 }));
    EXPECT_EQ(GetTicks(), 100600u);
    EXPECT_NE(log.find("ERROR: Cell 396 lies outside its 657 x 985 sheet."), std::string::npos) << log;
}

TEST_F(AnimateTest, TheDamageNumberIsShownOverTheUnitAndHeld)
{
    const int32_t u = AddTestUnit(1, 5, 5);
    Aim(5, 5);
    ShowDamage(1, u, 3);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].figure, (Probe{ SHEET_UNITS, DAMAGEICON }));
    EXPECT_EQ(shown[0].tick, 100000u);
    EXPECT_EQ(GetTicks(), 100000u + DAMAGESHOWMS);
}

TEST_F(AnimateTest, ADamageNumberThatCannotBeSeenCostsNoTime)
{
    const int32_t u = AddTestUnit(1, 5, 5);
    candraw = 0;
    ShowDamage(1, u, 3);
    candraw = 1;
    map[5][5].explored = 0;
    ShowDamage(1, u, 3);
    map[0][4].explored = 1;
    p[1].units[u].x = 0;                // in the board's first column, under the frame
    p[1].units[u].y = 4;
    ShowDamage(1, u, 3);
    ShowDamage(1, 9, 3);
    ShowDamage(-1, 0, 3);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(GetTicks(), 100000u);
}

} // namespace
