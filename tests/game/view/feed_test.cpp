// The message feed keeps the local player's lines while the game is active, and shows them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/model/state.h"
#include "game/shell/display.h"
#include "game/shell/debuglog.h"
#include "game/shell/shell.h"
#include "game/view/feed.h"
#include "platform/clock.h"
#include "tests/game/support/world.h"
#include "tests/game/view/viewtest.h"

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

// The feed drawn: lines stacked up from the board's bottom edge, right-aligned, expiring on the clock.

class FeedDrawTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        MakeBoard(2, 10);
        ClearBackBuffer();
    }
    static void Add(const std::string& text, uint32_t colour = FEEDWHITE, int32_t delay = 0)
    {
        AddMessage(0, text, colour, delay);
    }
    static std::vector<std::string> Texts()
    {
        std::vector<std::string> texts;
        for (const FeedMessage& m : messages)
            texts.push_back(m.text);
        return texts;
    }
};

TEST_F(FeedDrawTest, LinesStackUpFromTheBoardsBottomRightAligned)
{
    const uint32_t colours[5] = { FEEDWHITE, 0x0000FF, FEEDWHITE, 0x00FF00, FEEDWHITE };
    for (int i = 0; i < 5; i++) {
        Add("Line number " + std::to_string(i) + " of the feed.", colours[i]);
        AdvanceClock(1000);
    }
    ASSERT_FALSE(DrawMessageFeed(0));
    const PixelRect all = Ink(backbuffer, { 0, 0, SCREENWIDTH, SCREENHEIGHT });
    EXPECT_GE(all.top, 370);
    EXPECT_LE(all.bottom, 521);
    for (int i = 0; i < 5; i++) {
        const int32_t top = 370 + 30 * i;
        const PixelRect line = Ink(backbuffer, { 0, top, SCREENWIDTH, top + 30 });
        ASSERT_LT(line.left, line.right) << "line " << i;
        EXPECT_NEAR(line.right, 791, 3) << "right-aligned at 790, with its shadow a pixel further";
        EXPECT_GT(line.left, 245);
    }
    EXPECT_TRUE(HasColour(backbuffer, { 245, 400, 800, 430 }, 0xFF0000)) << "the second line is red";
    EXPECT_FALSE(HasColour(backbuffer, { 245, 370, 800, 400 }, 0xFF0000));
    EXPECT_TRUE(HasColour(backbuffer, { 245, 460, 800, 490 }, 0x00FF00));
}

TEST_F(FeedDrawTest, ALineGoesWhenItIsMoreThan15SecondsOld)
{
    Add("first");
    AdvanceClock(5000);
    Add("second");
    AdvanceClock(10000);
    DrawMessageFeed(0);
    EXPECT_EQ(Texts(), (std::vector<std::string>{ "first", "second" })) << "15000 ms old still shows";
    AdvanceClock(1);
    ClearBackBuffer();
    DrawMessageFeed(0);
    EXPECT_EQ(Texts(), (std::vector<std::string>{ "second" }));
    const PixelRect ink = Ink(backbuffer, { 0, 0, SCREENWIDTH, SCREENHEIGHT });
    EXPECT_GE(ink.top, 490) << "the one line left ends at the board's bottom";
    AdvanceClock(5000);
    DrawMessageFeed(0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(FeedDrawTest, AgesSurviveTheTicksWrapAndADelayHoldsALineLonger)
{
    UseVirtualClock(0xFFFFF000u);
    Add("before the wrap");
    Add("held back", FEEDWHITE, 250);
    AdvanceClock(15000);            // the tick wraps meanwhile
    DrawMessageFeed(0);
    EXPECT_EQ(Texts(), (std::vector<std::string>{ "before the wrap", "held back" }));
    AdvanceClock(200);
    DrawMessageFeed(0);
    EXPECT_EQ(Texts(), (std::vector<std::string>{ "held back" }));
    AdvanceClock(51);
    DrawMessageFeed(0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(FeedDrawTest, NoPlayerNoFeed)
{
    Add("kept");
    AdvanceClock(20000);
    EXPECT_TRUE(DrawMessageFeed(3));
    EXPECT_TRUE(DrawMessageFeed(-1));
    EXPECT_EQ(messages.size(), 1u) << "nothing expired either";
    candraw = 0;
    EXPECT_FALSE(DrawMessageFeed(0));
    EXPECT_EQ(messages.size(), 1u);
    const PixelRect ink = Ink(backbuffer, { 0, 0, SCREENWIDTH, SCREENHEIGHT });
    EXPECT_GE(ink.left, ink.right);
}

TEST_F(FeedDrawTest, TheFeedHoldsWhatCanShowAndCutsOverlongLines)
{
    for (int i = 0; i < 20; i++)
        Add("line " + std::to_string(i));
    ASSERT_EQ(messages.size(), size_t(FEEDMAXLINES));
    EXPECT_EQ(messages.front().text, "line 2") << "the oldest go first";
    EXPECT_EQ(messages.back().text, "line 19");
    Add(std::string(300, 'w'));
    EXPECT_EQ(messages.back().text.size(), size_t(FEEDMAXTEXT));
    EXPECT_NE(log.find("ERROR: A feed line of 300 characters was cut to 200."), std::string::npos);
}

} // namespace
