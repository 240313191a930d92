// The project's generator replays the classic portable rand() for a seed.
#include <gtest/gtest.h>

#include <vector>

#include "platform/random.h"

namespace {

std::vector<int> Draw(int count)
{
    std::vector<int> out;
    for (int i = 0; i < count; i++)
        out.push_back(Random());
    return out;
}

TEST(Random, SeedsGiveTheClassicSequences)
{
    // next = next * 1103515245 + 12345; value = (next / 65536) % 32768
    SeedRandom(1);
    EXPECT_EQ(Draw(8), (std::vector<int>{16838, 5758, 10113, 17515, 31051, 5627, 23010, 7419}));
    SeedRandom(12345);
    EXPECT_EQ(Draw(5), (std::vector<int>{21468, 9988, 22117, 3498, 16927}));
    SeedRandom(1);
    EXPECT_EQ(Draw(2), (std::vector<int>{16838, 5758})) << "seeding again restarts the sequence";
}

TEST(Random, StaysWithinRangeAndReachesBothEnds)
{
    SeedRandom(4242);
    int lowest = RANDOM_MAX;
    int highest = 0;
    for (int i = 0; i < 1000000; i++) {
        const int r = Random();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, RANDOM_MAX);
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, RANDOM_MAX);
}

} // namespace
