// The damage figure: one play screen with the number over the unit, held 500 ms, and nothing (no
// frame, no time) where the local player cannot see it.
#include <gtest/gtest.h>

#include <vector>

#include "game/model/state.h"
#include "game/shell/shell.h"
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
    Probe figure;               // at the unit's square
    uint32_t tick;
};

std::vector<Shown> shown;
ScreenPoint target;

void Watch(const uint32_t* pixels, int width, int height)
{
    const SysSurface frame = { width, height, 0, const_cast<uint32_t*>(pixels) };
    shown.push_back({ LayerAt(&frame, target.x, target.y, PATCH_DAMAGE), GetTicks() });
}

class DamageFigureTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        MakeBoard(2, 10);
        shown.clear();
        WatchPresentedFrames(Watch);
        RebuildBoardImage();
        u = AddTestUnit(1, 5, 5);
        target = SquareToScreen(5, 5);
    }
    void TearDown() override
    {
        WatchPresentedFrames(nullptr);
        ViewTest::TearDown();
    }
    int32_t u = 0;
};

TEST_F(DamageFigureTest, TheNumberIsShownOverTheUnitAndHeld)
{
    const uint32_t start = GetTicks();
    ShowDamage(1, u, 3);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].figure, (Probe{ SHEET_UNITS, DAMAGEICON }));
    EXPECT_EQ(shown[0].tick, start);
    EXPECT_EQ(GetTicks(), start + DAMAGESHOWMS);
}

TEST_F(DamageFigureTest, WhatCannotBeSeenCostsNoTime)
{
    const uint32_t start = GetTicks();
    candraw = 0;
    ShowDamage(1, u, 3);
    candraw = 1;
    map[5][5].explored = 0;
    ShowDamage(1, u, 3);
    map[0][0].explored = 1;
    p[1].units[u].x = 0;                // its corner is outside the board's frame
    p[1].units[u].y = 0;
    ShowDamage(1, u, 3);
    ShowDamage(1, 9, 3);
    ShowDamage(-1, 0, 3);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(GetTicks(), start);
}

} // namespace
