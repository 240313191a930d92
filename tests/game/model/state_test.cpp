// The player table, the neutral record, leaving a game and the board queries.
#include <gtest/gtest.h>

#include <string>

#include "game/model/ids.h"
#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/shell/debuglog.h"

namespace {

class StateTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGameState();
        CaptureDebugLog(&log);
    }
    void TearDown() override
    {
        CaptureDebugLog(nullptr);
        ResetGameState();
    }
    std::string log;
};

Unit UnitAt(int32_t id, int32_t x, int32_t y)
{
    Unit unit = BlankUnit();
    unit.id = id;
    unit.x = x;
    unit.y = y;
    return unit;
}

TEST_F(StateTest, AddPlayerBuildsAZeroFilledHumanRecord)
{
    // Garbage in a reused slot must not leak into the fields AddPlayer leaves to others.
    ASSERT_EQ(AddPlayer(), 1);
    ASSERT_EQ(AddPlayer(), 2);
    const Player& second = p[1];
    EXPECT_EQ(second.gold, 750);
    EXPECT_EQ(second.code, 0xF1);
    EXPECT_EQ(second.sizeattime, 1);
    EXPECT_EQ(second.firstshop, 1);
    EXPECT_EQ(second.hostplayer, 0);
    EXPECT_EQ(second.neutral, 0);
    EXPECT_EQ(second.warlordtype, 0);
    for (int i = 0; i < NUMSTATS; i++) {
        EXPECT_EQ(second.bonus[i], 0);
        EXPECT_EQ(second.filtermin[i], 0);
        EXPECT_EQ(second.filtermax[i], 0);
    }
    for (const int32_t key : second.unithotkeys)
        EXPECT_EQ(key, -1);
    EXPECT_EQ(std::string(second.name, sizeof second.name), std::string(sizeof second.name, '\0'));
    EXPECT_EQ(playersleft, 2);
    EXPECT_EQ(nextsizeattime, 2);
    EXPECT_NE(log.find("There are now 2 players.\n"), std::string::npos);
}

TEST_F(StateTest, SixthPlayerIsRefusedAndTheNeutralRecordComesOnTop)
{
    for (int i = 0; i < 5; i++)
        AddPlayer();
    EXPECT_EQ(AddPlayer(), 0);
    EXPECT_EQ(p.size(), 5u);
    EXPECT_NE(log.find("ERROR: Too many players!  Can't add another.\n"), std::string::npos);

    AddNeutralRecord();
    ASSERT_EQ(p.size(), 6u);
    const Player& neutral = p.back();
    EXPECT_EQ(neutral.code, 0xF5);
    EXPECT_EQ(neutral.neutral, 1);
    EXPECT_EQ(neutral.gold, 0);
    EXPECT_STREQ(neutral.name, "Unaligned");
    EXPECT_EQ(neutral.sizeattime, NOSTAMP);  // matches no human
    EXPECT_EQ(playersleft, 5);
    EXPECT_EQ(nextsizeattime, 5);
    EXPECT_EQ(AddPlayer(), 0);
}

TEST_F(StateTest, SetPlayerNameCutsToItsField)
{
    AddPlayer();
    SetPlayerName(p[0], "AVeryLongPlayerName");
    EXPECT_STREQ(p[0].name, "AVeryLongP");
}

TEST_F(StateTest, LeavingAGameKeepsTheCountersRunning)
{
    AddPlayer();
    AddPlayer();
    you = p[1].sizeattime;
    map.assign(30, std::vector<MapSquare>(30));
    mapsize = 30;
    turncount = 2;
    daycount = 4;
    const int32_t id = NewUnitId();

    ClearGame();
    EXPECT_TRUE(p.empty());
    EXPECT_TRUE(map.empty());
    EXPECT_EQ(mapsize, 0);
    EXPECT_EQ(turncount, 0);
    EXPECT_EQ(daycount, 0);
    EXPECT_EQ(playersleft, 0);
    EXPECT_EQ(you, NOSTAMP);
    EXPECT_EQ(YouToInt(), 0);

    AddPlayer();
    EXPECT_EQ(p[0].sizeattime, 2);
    EXPECT_EQ(NewUnitId(), id + 1);
}

TEST_F(StateTest, BoardQueriesTakeTheFirstUnitInTableOrder)
{
    mapsize = 10;
    AddPlayer();
    AddPlayer();
    p[1].units.push_back(UnitAt(300, 4, 4));
    p[1].units.push_back(UnitAt(301, 4, 4));
    p[0].units.push_back(UnitAt(302, 2, 3));
    p[0].units.push_back(UnitAt(303, 4, 4));

    EXPECT_EQ(UnitIdAt(4, 4), 303);
    EXPECT_EQ(UnitIdAt(3, 2), -1);
    EXPECT_EQ(FindUnit(301).player, 1);
    EXPECT_EQ(FindUnit(301).unit, 1);
    EXPECT_EQ(FindUnit(999).player, -1);
    EXPECT_EQ(FindUnit(999).unit, -1);

    EXPECT_TRUE(InBounds(0, 0));
    EXPECT_TRUE(InBounds(9, 9));
    EXPECT_FALSE(InBounds(10, 0));
    EXPECT_FALSE(InBounds(0, -1));
}

} // namespace
