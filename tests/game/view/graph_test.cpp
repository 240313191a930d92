// The day summary's graph pages: their order and titles, and where the figures lie on the graph.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "game/model/state.h"
#include "game/net/lobby.h"
#include "game/view/graph.h"

namespace {

class GraphTest : public testing::Test {
protected:
    void SetUp() override
    {
        summarypage = PAGE_ASSETS;
        daysummary.clear();
        startgold = 100;
    }
    void TearDown() override
    {
        summarypage = PAGE_ASSETS;
        daysummary.clear();
        startgold = 0;
    }
    // A row with the same figure on every page for the slots given, the rest empty.
    static DaySummaryRow Row(std::initializer_list<int32_t> figures)
    {
        DaySummaryRow row;
        for (int32_t slot = 0; slot < SUMMARYSLOTS; slot++)
            row.assets[slot] = row.kills[slot] = row.mines[slot] = SLOT_EMPTY;
        int32_t slot = 0;
        for (const int32_t figure : figures) {
            row.assets[slot] = row.kills[slot] = row.mines[slot] = figure;
            slot++;
        }
        return row;
    }
};

TEST_F(GraphTest, PagesGoRoundAndTheTitleNamesThePageShown)
{
    EXPECT_EQ(GraphTitle(), "Graph Assets");
    const char* const titles[] = { "Graph Kills", "Graph Mines", "Graph Assets", "Graph Kills" };
    for (const char* title : titles) {
        EXPECT_FALSE(NextGraphPage(0, 0));
        EXPECT_EQ(GraphTitle(), title);
    }
    for (const int32_t page : { -1, 3, INT_MIN }) {
        summarypage = page;
        EXPECT_EQ(GraphTitle(), "GRAPH FAILURE");
    }
}

TEST_F(GraphTest, TheScaleIsTheLargestFigureAndNeverZero)
{
    struct Case {
        const char* name;
        int32_t startgold;
        std::initializer_list<int32_t> day1, day2;
        int64_t assets, kills;      // the scale of the assets page, and of the kills and mines pages
    };
    const Case cases[] = {
        { "no rows", 100, {}, {}, 100, 1 },
        { "every figure 0", 100, { 0, 0 }, { 0, 0 }, 100, 1 },
        { "no start gold either", 0, { 0, 0 }, { 0, 0 }, 1, 1 },
        { "assets below the start gold", 100, { 60, 80 }, { 90, 20 }, 100, 90 },
        { "a figure above it", 100, { 60, 80 }, { 90, 250 }, 250, 250 },
        { "players without units", 100, { -1, -1 }, { -1, -1 }, 100, 1 },
        { "the largest figure there is", 100, { INT_MAX, 0 }, { 5, 0 }, INT_MAX, INT_MAX },
        { "a negative start gold", -50, { 0 }, { 0 }, 1, 1 },
    };
    for (const Case& c : cases) {
        startgold = c.startgold;
        daysummary.clear();
        if (c.day1.size())
            daysummary = { Row(c.day1), Row(c.day2) };
        EXPECT_EQ(GraphScale(PAGE_ASSETS), c.assets) << c.name;
        EXPECT_EQ(GraphScale(PAGE_KILLS), c.kills) << c.name;
        EXPECT_EQ(GraphScale(PAGE_MINES), c.kills) << c.name;
    }
}

TEST_F(GraphTest, FiguresFromTheZeroLineToTheTopAndNoUnitsJustBelowIt)
{
    struct Case {
        int64_t value, scale;
        int32_t y;
    };
    const Case cases[] = {
        { 0, 100, 590 },
        { 100, 100, 110 },
        { 50, 100, 350 },
        { 1, 3, 430 },              // 480 / 3
        { 2, 3, 270 },
        { 1, 7, 522 },              // 68.57 truncated
        { INT_MAX, INT_MAX, 110 },  // no overflow at the largest figures
        { INT_MAX - 1, INT_MAX, 111 },
        { 1, INT_MAX, 590 },
        { 0, 0, 590 },              // a scale of 0 counts as 1
        { 5, 0, 110 },
        { -1, 1, 592 },             // no units that day: just below the zero line, inside the frame
        { -1, 100, 592 },
        { -2, 1, 592 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(GraphY(c.value, c.scale), c.y) << c.value << " of " << c.scale;
}

TEST_F(GraphTest, FiguresByPageAndSlot)
{
    DaySummaryRow row = Row({ 1, 2, 3, 4 });
    row.kills[1] = 20;
    row.mines[2] = 30;
    EXPECT_EQ(GraphFigure(row, PAGE_ASSETS, 1), 2);
    EXPECT_EQ(GraphFigure(row, PAGE_KILLS, 1), 20);
    EXPECT_EQ(GraphFigure(row, PAGE_MINES, 2), 30);
    EXPECT_EQ(GraphFigure(row, PAGE_MINES, 4), SLOT_EMPTY);
    EXPECT_EQ(GraphFigure(row, PAGE_MINES, -1), SLOT_EMPTY);
    EXPECT_EQ(GraphFigure(row, 3, 0), SLOT_EMPTY);
}

} // namespace
