// The message feed keeps the local player's lines while the game is active.
#include <gtest/gtest.h>

#include <string>

#include "game/model/state.h"
#include "game/shell/debuglog.h"
#include "game/shell/shell.h"
#include "game/view/feed.h"
#include "platform/clock.h"

namespace {

class FeedTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGameState();
        messages.clear();
        appactive = 1;
        UseVirtualClock(5000);
        CaptureDebugLog(&log);
    }
    void TearDown() override
    {
        CaptureDebugLog(nullptr);
        UseRealClock();
        messages.clear();
        appactive = 1;
        ResetGameState();
    }
    std::string log;
};

TEST_F(FeedTest, OnlyTheLocalPlayersLinesAreKept)
{
    AddPlayer();
    AddPlayer();
    you = p[1].sizeattime;
    AddMessage(0, "Not for you.");
    AddMessage(1, "Your unit claimed this gold mine.", 0x0000FF, 250);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Your unit claimed this gold mine.");
    EXPECT_EQ(messages[0].colour, 0x0000FFu);
    EXPECT_EQ(messages[0].stamp, 5250u);
    EXPECT_NE(log.find("Added message Your unit claimed this gold mine.\n"), std::string::npos);
    EXPECT_EQ(log.find("Not for you."), std::string::npos);
}

TEST_F(FeedTest, WithoutALocalPlayerLinesForPlayerZeroAreKept)
{
    AddMessage(0, "Cannot begin game without other players!");
    AddMessage(1, "Lost.");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].colour, FEEDWHITE);
}

TEST_F(FeedTest, InTheBackgroundALineGoesToTheLogOnly)
{
    appactive = 0;
    AddMessage(0, "A ward vanished from your Archer.");
    EXPECT_TRUE(messages.empty());
    EXPECT_NE(log.find("Added message A ward vanished from your Archer.\n"), std::string::npos);
}

} // namespace
