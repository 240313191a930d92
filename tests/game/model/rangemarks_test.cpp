// Range marks: the squares a command reaches, against the step-by-step rule they stand for.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "game/model/rangemarks.h"
#include "game/model/state.h"
#include "tests/game/support/literalflood.h"

namespace {

typedef std::vector<std::vector<uint8_t>> Marks;

Marks MapMarks()
{
    Marks marks(mapsize, std::vector<uint8_t>(mapsize));
    for (int32_t x = 0; x < mapsize; x++)
        for (int32_t y = 0; y < mapsize; y++)
            marks[x][y] = map[x][y].mark;
    return marks;
}

class RangeMarksTest : public testing::Test {
protected:
    void SetUp() override { MakeMap(9); }
    void TearDown() override { ResetGameState(); }
    static void MakeMap(int32_t size)
    {
        ResetGameState();
        map.assign(size, std::vector<MapSquare>(size));
        mapsize = size;
    }
    static int32_t CountMarks()
    {
        int32_t count = 0;
        for (const auto& column : map)
            for (const MapSquare& square : column)
                count += square.mark;
        return count;
    }
};

TEST_F(RangeMarksTest, TheFirstStepsOfTheRule)
{
    struct Case {
        int32_t budget;
        int32_t count;      // squares marked around (4, 4)
    };
    const Case cases[] = {
        { -6, 0 },
        { -5, 1 },
        { 0, 1 },
        { 4, 1 },
        { 5, 5 },           // 5 - 10 = -5: the four along the rows and columns
        { 8, 5 },
        { 9, 9 },           // 9 - 14 = -5: the four diagonals too
        { 14, 9 },
        { 15, 13 },         // two steps along a row
        { 19, 21 },         // a step along and one across
        { 23, 25 },         // two diagonal steps
    };
    for (const Case& c : cases) {
        ClearRange();
        MarkRange(4, 4, c.budget);
        EXPECT_EQ(CountMarks(), c.count) << "budget " << c.budget;
    }
    ClearRange();
    MarkRange(4, 4, 9);
    EXPECT_EQ(map[5][5].mark, 1);
    EXPECT_EQ(map[6][4].mark, 0);
    EXPECT_EQ(map[4][2].mark, 0);
}

TEST_F(RangeMarksTest, MarksStayOnTheMapAtEveryEdgeAndCorner)
{
    struct Case {
        int32_t x, y, budget;
        int32_t count;
    };
    const Case cases[] = {
        { 0, 0, 9, 4 },             // a corner: itself, two neighbours, one diagonal
        { 8, 8, 9, 4 },
        { 0, 8, 9, 4 },
        { 8, 0, 9, 4 },
        { 0, 4, 9, 6 },             // an edge
        { 4, 8, 9, 6 },
        { 0, 0, 1000, 81 },         // the whole map, nothing beyond it
        { 4, 4, 2147483647, 81 },   // no overflow at the largest budget
        { -1, 4, 100, 0 },          // a start off the map marks nothing
        { 4, 9, 100, 0 },
    };
    for (const Case& c : cases) {
        ClearRange();
        MarkRange(c.x, c.y, c.budget);
        EXPECT_EQ(CountMarks(), c.count) << "(" << c.x << ", " << c.y << ") budget " << c.budget;
    }
}

TEST_F(RangeMarksTest, EarlierMarksStayAndClearingClearsThemAll)
{
    map[8][8].mark = 1;
    MarkRange(0, 0, 0);
    EXPECT_EQ(map[8][8].mark, 1);
    EXPECT_EQ(map[0][0].mark, 1);
    ClearRange();
    EXPECT_EQ(CountMarks(), 0);
}

// The marks equal the literal rule's on random maps, starts and budgets, over marks already set.
TEST_F(RangeMarksTest, EqualToTheLiteralRuleOnRandomMaps)
{
    std::mt19937 random(20);
    for (int trial = 0; trial < 300; trial++) {
        MakeMap(std::uniform_int_distribution<int32_t>(1, 12)(random));
        for (auto& column : map)
            for (MapSquare& square : column)
                square.mark = std::uniform_int_distribution<int>(0, 9)(random) == 0;
        const int32_t x = std::uniform_int_distribution<int32_t>(-2, mapsize + 1)(random);
        const int32_t y = std::uniform_int_distribution<int32_t>(-2, mapsize + 1)(random);
        const int32_t budget = std::uniform_int_distribution<int32_t>(-12, 64)(random);
        Marks expected = MapMarks();
        Squares reached;
        LiteralFlood(x, y, budget, reached);
        for (const auto& [sx, sy] : reached)
            expected[sx][sy] = 1;
        MarkRange(x, y, budget);
        ASSERT_EQ(MapMarks(), expected) << "size " << mapsize << " (" << x << ", " << y << ") budget " << budget;
    }
}

TEST_F(RangeMarksTest, WalkCostTakesDiagonalsFirst)
{
    EXPECT_EQ(WalkCost(0, 0, 0, 0), 0);
    EXPECT_EQ(WalkCost(0, 0, 3, 0), 30);
    EXPECT_EQ(WalkCost(0, 0, 3, 3), 42);
    EXPECT_EQ(WalkCost(5, 5, 2, 1), 3 * 14 + 1 * 10);
    EXPECT_EQ(WalkCost(-2147483647, 0, 2147483647, 0), 42949672940LL);
}

} // namespace
