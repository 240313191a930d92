// The local player's index, found by his stamp while records come and go around his.
#include <gtest/gtest.h>

#include <string>

#include "game/model/state.h"
#include "game/shell/debuglog.h"

namespace {

class LocalPlayerTest : public testing::Test {
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

TEST_F(LocalPlayerTest, NoLocalPlayerAnswersZeroWithoutSearching)
{
    AddPlayer();
    AddPlayer();
    EXPECT_EQ(YouToInt(), 0);
    EXPECT_EQ(YouToInt(true, false), 0);
    EXPECT_EQ(log.find("YouToInt()"), std::string::npos);
}

TEST_F(LocalPlayerTest, FollowsHisRecordAcrossAppendsAndErases)
{
    for (int i = 0; i < 4; i++)
        AddPlayer();
    you = p[2].sizeattime;
    EXPECT_EQ(YouToInt(), 2);

    AddPlayer();
    AddNeutralRecord();
    EXPECT_EQ(YouToInt(), 2);

    // A player ahead of him leaves: his record moves down by one.
    p.erase(p.begin());
    EXPECT_EQ(YouToInt(), 1);

    // One behind him leaves and another joins: same size, same answer.
    p.erase(p.begin() + 2);
    AddPlayer();
    EXPECT_EQ(YouToInt(), 1);

    // Erase and append at once ahead of him, leaving the size as it was.
    p.erase(p.begin());
    p.push_back(BlankPlayer());
    p.back().sizeattime = 99;
    EXPECT_EQ(YouToInt(), 0);
    EXPECT_EQ(p[YouToInt()].sizeattime, you);
}

TEST_F(LocalPlayerTest, AnswerIsCachedUntilTheTableChanges)
{
    AddPlayer();
    AddPlayer();
    you = p[1].sizeattime;
    EXPECT_EQ(YouToInt(), 1);
    EXPECT_NE(log.find("YouToInt(): prev==-1\np.size() = 2\n"), std::string::npos);
    EXPECT_NE(log.find("you->sizeattime = 1 | p[prev].sizeattime = 0\n"), std::string::npos);
    EXPECT_NE(log.find("Match!\n"), std::string::npos);

    log.clear();
    EXPECT_EQ(YouToInt(), 1);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(YouToInt(true, false), 1);
    EXPECT_FALSE(log.empty());
}

TEST_F(LocalPlayerTest, NoRecordWithHisStampAnswersZeroAndSaysSoOnce)
{
    AddPlayer();
    AddPlayer();
    you = 40;
    EXPECT_EQ(YouToInt(), 0);
    EXPECT_NE(log.find("Couldn't find a match.\n"), std::string::npos);
    log.clear();
    EXPECT_EQ(YouToInt(), 0);
    EXPECT_TRUE(log.empty());
}

} // namespace
