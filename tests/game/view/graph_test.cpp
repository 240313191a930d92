// The day summary's graph pages: their order and titles, and where the figures lie on the graph.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "game/model/state.h"
#include "game/net/lobby.h"
#include "game/shell/display.h"
#include "game/shell/shell.h"
#include "game/view/graph.h"
#include "tests/game/view/viewtest.h"

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

// The graph drawn: its frame, one line per player through a point a day, each in the player's colours.
class GraphDrawTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        MakeBoard(2, 12);
        summarypage = PAGE_ASSETS;
        daysummary.clear();
        startgold = 100;
        ClearBackBuffer();
    }
    void TearDown() override
    {
        summarypage = PAGE_ASSETS;
        daysummary.clear();
        startgold = 0;
        ViewTest::TearDown();
    }
    static void AddDay(int32_t a, int32_t b)
    {
        DaySummaryRow row;
        for (int32_t slot = 0; slot < SUMMARYSLOTS; slot++)
            row.assets[slot] = row.kills[slot] = row.mines[slot] = SLOT_EMPTY;
        row.assets[0] = row.kills[0] = row.mines[0] = a;
        row.assets[1] = row.kills[1] = row.mines[1] = b;
        daysummary.push_back(row);
    }
    static uint32_t At(int32_t x, int32_t y) { return PixelAt(backbuffer, x, y); }
    // Pixels of colour in the 5 x 5 square of a point at (x, y): lines and later points cross some.
    static int32_t Point(int32_t x, int32_t y, uint32_t colour)
    {
        int32_t count = 0;
        for (int32_t dy = -2; dy <= 2; dy++)
            for (int32_t dx = -2; dx <= 2; dx++)
                count += At(x + dx, y + dy) == colour ? 1 : 0;
        return count;
    }
};

enum : uint32_t { FRAMEBLUE = 0x004080, REDPEN = 0xFF0000, GREENPEN = 0x00FF00, REDPOINT = 0xFF2020, GREENPOINT = 0x00FF00 };

TEST_F(GraphDrawTest, TheFrameAlone)
{
    ASSERT_FALSE(DrawSummaryGraph());
    EXPECT_EQ(At(395, 300), FRAMEBLUE);
    EXPECT_EQ(At(794, 300), FRAMEBLUE);
    EXPECT_EQ(At(600, 95), FRAMEBLUE);
    EXPECT_EQ(At(600, 594), FRAMEBLUE);
    EXPECT_EQ(Ink(backbuffer, { 396, 96, 794, 594 }).left, 794) << "black inside";
    EXPECT_EQ(Ink(backbuffer, { 0, 0, 395, 600 }).left, 395) << "nothing beside it";
    candraw = 0;
    ClearBackBuffer();
    EXPECT_TRUE(DrawSummaryGraph());
    EXPECT_EQ(Ink(backbuffer, { 0, 0, 800, 600 }).left, 800);
    candraw = 1;
}

TEST_F(GraphDrawTest, ALineAPlayerAPointADay)
{
    // Scale 400. Slot 0: from the start gold (y 470) to 100 (470), 300 (230), then no units (592) and the
    // line ends; slot 1, a pixel lower: 200 (351), 0 (591), 400 (111), 50 (531).
    AddDay(100, 200);
    AddDay(300, 0);
    AddDay(-1, 400);
    AddDay(50, 50);
    ASSERT_FALSE(DrawSummaryGraph());
    // Four days: 96 pixels apart.
    EXPECT_GE(Point(496, 470, REDPOINT), 5);
    EXPECT_GE(Point(592, 230, REDPOINT), 5);
    EXPECT_GE(Point(688, 592, REDPOINT), 5);
    EXPECT_EQ(Point(784, 530, REDPOINT), 0) << "no point after the day without units";
    EXPECT_EQ(At(448, 470), REDPEN) << "the line from the start gold";
    EXPECT_GE(Point(496, 352, GREENPOINT), 5);
    EXPECT_GE(Point(592, 591, GREENPOINT), 5);
    EXPECT_GE(Point(688, 111, GREENPOINT), 5);
    EXPECT_GE(Point(784, 531, GREENPOINT), 5);
    EXPECT_EQ(At(400, 471), GREENPEN) << "the start, a pixel below the first line's";
    // The points' squares are 5 x 5.
    EXPECT_EQ(At(494, 468), REDPOINT);
    EXPECT_EQ(At(498, 472), REDPOINT);
    EXPECT_NE(At(499, 472), REDPOINT);
    EXPECT_NE(At(494, 473), REDPOINT);
}

TEST_F(GraphDrawTest, FewDaysLieFarApart)
{
    AddDay(200, 100);
    AddDay(400, 100);
    ASSERT_FALSE(DrawSummaryGraph());
    EXPECT_GE(Point(495, 350, REDPOINT), 5);
    EXPECT_GE(Point(590, 110, REDPOINT), 5);
}

TEST_F(GraphDrawTest, NoKillsAtAllLieFlatOnTheZeroLine)
{
    summarypage = PAGE_KILLS;
    AddDay(0, 0);
    AddDay(0, 0);
    ASSERT_FALSE(DrawSummaryGraph());
    EXPECT_GE(Point(495, 590, REDPOINT), 5);
    EXPECT_GE(Point(590, 590, REDPOINT), 5);
    EXPECT_GE(Point(590, 591, GREENPOINT), 5);
    EXPECT_EQ(Ink(backbuffer, { 396, 96, 794, 580 }).left, 794) << "nothing above the zero line";
}

TEST_F(GraphDrawTest, ExtremeFiguresStayInsideTheFrame)
{
    summarypage = PAGE_MINES;
    AddDay(2147483647, 0);
    AddDay(-1, 2147483647);
    for (int day = 0; day < 500; day++)        // more days than pixels: every point on the first column
        AddDay(day, 2147483647 - day);
    ASSERT_FALSE(DrawSummaryGraph());
    EXPECT_EQ(Ink(backbuffer, { 0, 0, 800, 95 }).left, 800);
    EXPECT_EQ(Ink(backbuffer, { 0, 0, 395, 600 }).left, 395);
    EXPECT_GE(Point(400, 110, GREENPOINT), 5);
}

} // namespace
