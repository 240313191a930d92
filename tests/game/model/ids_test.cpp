// Unit ids: two bytes on the wire, neither ever 0.
#include <gtest/gtest.h>

#include "game/model/ids.h"
#include "game/model/state.h"

namespace {

class IdsTest : public testing::Test {
protected:
    void SetUp() override { ResetGameState(); }
    void TearDown() override { ResetGameState(); }
};

TEST_F(IdsTest, FirstIdIs258AndTheLowByteRollsToOne)
{
    EXPECT_EQ(NewUnitId(), 258);
    unitidlow = 254;
    EXPECT_EQ(NewUnitId(), 511);
    EXPECT_EQ(NewUnitId(), 513);
    EXPECT_EQ(unitidhigh, 2);
    EXPECT_EQ(unitidlow, 1);
}

TEST_F(IdsTest, NoIdEverHoldsAZeroByte)
{
    // Well past the last two-byte id, so the run crosses the roll-over.
    int32_t previous = 0;
    for (int i = 0; i < 70000; i++) {
        const int32_t id = NewUnitId();
        ASSERT_GT(id, 0);
        ASSERT_LE(id, 0xFFFF);
        ASSERT_NE(id & 0xFF, 0) << "after " << previous;
        ASSERT_NE(id >> 8, 0) << "after " << previous;
        previous = id;
    }
}

TEST_F(IdsTest, AfterTheLastIdCountingStartsAgainPastLivingUnits)
{
    AddPlayer();
    for (const int32_t id : { 257, 258, 260 }) {
        Unit unit = BlankUnit();
        unit.id = id;
        p[0].units.push_back(unit);
    }
    unitidhigh = 255;
    unitidlow = 254;
    EXPECT_EQ(NewUnitId(), 65535);
    EXPECT_EQ(NewUnitId(), 259);
    EXPECT_EQ(NewUnitId(), 261);
}

} // namespace
