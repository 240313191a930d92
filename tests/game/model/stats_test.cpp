// Effective stats: ward modifiers and the player's filtered bonus.
#include <gtest/gtest.h>

#include "game/model/state.h"
#include "game/model/stats.h"

namespace {

class StatsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGameState();
        AddPlayer();
        Player& player = p[0];
        for (int i = 0; i < NUMSTATS; i++) {
            player.filtermin[i] = 2;
            player.filtermax[i] = 6;
            player.bonus[i] = 10 * (i + 1);
        }
        Unit unit = BlankUnit();
        for (int i = 0; i < NUMSTATS; i++)
            unit.stat[i] = 4;
        player.units.push_back(unit);
    }
    void TearDown() override { ResetGameState(); }

    Unit& unit() { return p[0].units[0]; }
};

TEST_F(StatsTest, BonusOnlyWhileEveryBaseStatIsInsideTheFilter)
{
    struct Case {
        const char* what;
        int stat;           // base stat changed
        int32_t value;
        bool bonus;
    };
    const Case cases[] = {
        { "all inside", 0, 4, true },
        { "at the lower edge", 3, 2, true },
        { "at the upper edge", 5, 6, true },
        { "one below the minimum", 3, 1, false },
        { "one above the maximum", 7, 7, false },
        { "far below, negative", 6, -50, false },
    };
    for (const Case& c : cases) {
        SetUp();
        unit().stat[c.stat] = c.value;
        // Stat 1 reads its own base plus the bonus of stat 1, whichever stat broke the filter.
        const int32_t base = unit().stat[STAT_LIFE];
        EXPECT_EQ(GetStat(0, 0, STAT_LIFE), base + (c.bonus ? 20 : 0)) << c.what;
        EXPECT_EQ(GetStat(0, 0, c.stat), c.value + (c.bonus ? 10 * (c.stat + 1) : 0)) << c.what;
    }
}

TEST_F(StatsTest, WardsCountOnlyWhileInUse)
{
    unit().wards[0] = Ward{ 1, 0, 0, 3, 7, { 0, 5, 0, 0, 0, 0, 0, 0 } };
    unit().wards[2] = Ward{ 0, 0, 0, 3, 7, { 0, 100, 0, 0, 0, 0, 0, 0 } };  // free slot, stale modifiers
    unit().wards[4] = Ward{ 1, 0, 0, 3, 7, { 0, -2, 0, 0, 0, 0, 0, 0 } };
    EXPECT_EQ(GetStat(0, 0, STAT_LIFE), 4 + 5 - 2 + 20);
    // A ward's modifier does not decide the filter: a huge modifier keeps the bonus.
    unit().wards[0].mods[STAT_ATTACK] = 100;
    EXPECT_EQ(GetStat(0, 0, STAT_ATTACK), 4 + 100 + 10);
    unit().wards[0].inuse = 0;
    EXPECT_EQ(GetStat(0, 0, STAT_LIFE), 4 - 2 + 20);
}

TEST_F(StatsTest, NeutralUnitsGetNoBonus)
{
    AddNeutralRecord();
    Unit guard = BlankUnit();
    guard.stat[STAT_LIFE] = 9;
    p[1].units.push_back(guard);
    EXPECT_EQ(GetStat(1, 0, STAT_LIFE), 9);
}

TEST_F(StatsTest, LifeStatOfNobodyIs15)
{
    EXPECT_EQ(GetLifeStat(0, 0), 4 + 20);
    EXPECT_EQ(GetLifeStat(-1, 0), 15);
    EXPECT_EQ(GetLifeStat(1, 0), 15);     // player index = table size
    EXPECT_EQ(GetLifeStat(0, 1), 15);     // unit index = list size
    EXPECT_EQ(GetLifeStat(0, -1), 15);
}

} // namespace
