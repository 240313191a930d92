// The maps a whole search makes, pinned per seed and table, and the gold mines: how many, where the
// boxes round camps and mines keep them, the trial nearest the camps, never on water.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "game/model/mapgen.h"
#include "game/net/lobby.h"
#include "platform/clock.h"
#include "tests/game/model/map_fixture.h"

TEST_F(MapTest, MineCountsAndPlacement)
{
    EXPECT_EQ(MineCount(30), 4);
    EXPECT_EQ(MineCount(37), 9);
    EXPECT_EQ(MineCount(45), 16);
    UseVirtualClock(77);
    const std::pair<int32_t, int32_t> games[] = { { 2, 30 }, { 3, 37 }, { 4, 45 } };
    for (const auto& [humans, size] : games) {
        Players(humans);
        Search(size);
        const int32_t mines = Count(TERRAIN_MINE);
        EXPECT_EQ(mines, MineCount(size)) << size;
        for (int32_t x = 0; x < size; x++)
            for (int32_t y = 0; y < size; y++)
                if (map[x][y].terrain == TERRAIN_MINE) {
                    EXPECT_EQ(map[x][y].extra, MINENOBODY);
                    EXPECT_EQ(map[x][y].cost, 1);
                    for (const Player& player : p)
                        EXPECT_TRUE(std::abs(x - player.startx) > 5 || std::abs(y - player.starty) > 5)
                            << "a mine inside a camp at " << x << "," << y;
                }
    }
}

// The whole search pinned: a change of any draw, score or placement rule shows as another digest.
TEST_F(MapTest, TheSearchMakesThePinnedMapForEachSeedAndTable)
{
    struct Case {
        uint32_t seed;      // the clock the search starts at
        int32_t humans;
        uint64_t digest;
    };
    const Case cases[] = {
        { 77, 2, 243524026449258516ull },      { 77, 3, 15442887367941164401ull },
        { 77, 4, 6372363969059236640ull },     { 77, 5, 13651960831256394964ull },
        { 40213, 2, 14032355196935870736ull }, { 40213, 3, 8270068171185748342ull },
        { 40213, 4, 6589945437807915970ull },  { 40213, 5, 3305032667871188851ull },
    };
    for (const Case& c : cases) {
        UseVirtualClock(c.seed);
        Players(c.humans);
        Search(MapSizeFor(c.humans));
        EXPECT_EQ(MapDigest(), c.digest) << "seed " << c.seed << ", " << c.humans << " players";
        EXPECT_EQ(Count(TERRAIN_MINE), MineCount(mapsize));
        EXPECT_GT(Count(TERRAIN_RIVER), 0);
        EXPECT_GT(Count(TERRAIN_TREES), 0);
    }
}

// Each trial draws its points out of every camp's box (6 squares each way) and every earlier point's (5);
// of fifty trials the one whose points lie nearest the camps in all wins (on open ground each mine
// stands on its point). The trials' totals are read from the log the placement writes.
TEST_F(MapTest, TheMinesAreTheTrialNearestTheCampsOutsideTheBoxes)
{
    for (const int32_t humans : { 2, 3, 4 }) {
        SCOPED_TRACE(humans);
        UseVirtualClock(1234 + humans);
        Players(humans);
        const int32_t size = MapSizeFor(humans);
        ASSERT_FALSE(CreateBlankMap(size));
        log.clear();
        PlaceMines();
        std::vector<std::pair<int32_t, int32_t>> mines;
        for (int32_t x = 0; x < size; x++)
            for (int32_t y = 0; y < size; y++)
                if (map[x][y].terrain == TERRAIN_MINE)
                    mines.push_back({ x, y });
        ASSERT_EQ((int32_t)mines.size(), MineCount(size));
        uint32_t total = 0;
        for (const Player& player : p)
            for (const auto& [x, y] : mines) {
                EXPECT_GE(std::max(std::abs(x - player.startx), std::abs(y - player.starty)), 7) << x << "," << y;
                const double dx = x - player.startx, dy = y - player.starty;
                total += static_cast<uint32_t>(std::sqrt(dx * dx + dy * dy));
            }
        for (size_t i = 0; i < mines.size(); i++)
            for (size_t k = i + 1; k < mines.size(); k++)
                EXPECT_GE(std::max(std::abs(mines[i].first - mines[k].first), std::abs(mines[i].second - mines[k].second)), 6);
        // Every trial's total: the last "mmax=" line before its "pts.size()=" line.
        std::vector<uint32_t> trials;
        uint32_t last = 0;
        std::istringstream lines(log);
        for (std::string line; std::getline(lines, line);) {
            const size_t at = line.find("mmax=");
            if (at != std::string::npos)
                last = static_cast<uint32_t>(std::stoul(line.substr(at + 5)));
            if (line.rfind("pts.size()=", 0) == 0)
                trials.push_back(last);
        }
        ASSERT_EQ(trials.size(), 50u);
        EXPECT_EQ(total, *std::min_element(trials.begin(), trials.end()));
        EXPECT_LT(total, *std::max_element(trials.begin(), trials.end()));
    }
}

TEST_F(MapTest, AMineNeverGoesOnWater)
{
    Players(2);
    ASSERT_FALSE(CreateBlankMap(30));
    // Nothing but river except one square: every mine ends up there or on the square next to it.
    for (auto& column : map)
        for (MapSquare& s : column)
            s.terrain = TERRAIN_RIVER;
    map[0][0].terrain = TERRAIN_OPEN;
    map[29][29].terrain = TERRAIN_CROSSING;
    PlaceMines();
    EXPECT_EQ(map[0][0].terrain, TERRAIN_MINE);
    EXPECT_EQ(map[29][29].terrain, TERRAIN_CROSSING);
    EXPECT_EQ(Count(TERRAIN_MINE), 1);
}
