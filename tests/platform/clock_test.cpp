// The tick and the virtual clock that replaces it in tests.
#include <gtest/gtest.h>

#include "platform/clock.h"

namespace {

class ClockTest : public ::testing::Test {
protected:
    void TearDown() override { UseRealClock(); }
};

TEST_F(ClockTest, VirtualTimeMovesOnlyWhenTold)
{
    UseVirtualClock(11854);
    EXPECT_EQ(GetTicks(), 11854u);
    EXPECT_EQ(GetTicks(), 11854u);
    SleepMs(500);
    EXPECT_EQ(GetTicks(), 12354u);
    AdvanceClock(75);
    EXPECT_EQ(GetTicks(), 12429u);
    UseVirtualClock(0xFFFFFF00u);
    SleepMs(0x200);
    EXPECT_EQ(GetTicks(), 0x100u) << "the tick wraps like a u32";
}

TEST_F(ClockTest, RealSleepLetsRealTimePass)
{
    UseVirtualClock(5);
    UseRealClock();
    const uint32_t start = GetTicks();
    SleepMs(5);
    EXPECT_GE(GetTicks() - start, 5u);
}

} // namespace
