#include <gtest/gtest.h>

#include <algorithm>

#include "fakes.h"
#include "game/shell/shell.h"
#include "game/shell/winmain.h"
#include "platform/window.h"

using Calls = std::vector<std::string>;

class MainLoop : public testing::Test {
protected:
    void SetUp() override
    {
        ResetFakes();
        appactive = 1;
        candraw = 1;
        startupdone = 0;
    }
};

TEST_F(MainLoop, EachPassServesMessagesThenRunsTheFourCallsInOrder)
{
    onscreen = [](const int pass) {
        if (pass == 2)
            PostQuit(7);
    };
    EXPECT_EQ(GameMain(BACKEND_HEADLESS), 7);
    const Calls pass = { "RunScreen", "SendQueuedMessage", "ProcessUpgrades", "ProcessDeaths" };
    Calls expected = { "StartGame" };
    expected.insert(expected.end(), pass.begin(), pass.end());
    expected.insert(expected.end(), pass.begin(), pass.end());
    expected.push_back("ShutdownGame");
    EXPECT_EQ(calls, expected);
}

TEST_F(MainLoop, FailedStartEndsWithZeroWithoutShutdown)
{
    startfails = true;
    EXPECT_EQ(GameMain(BACKEND_HEADLESS), 0);
    EXPECT_EQ(calls, Calls{ "StartGame" });
}

TEST_F(MainLoop, ClosingTheWindowEndsWithZero)
{
    onscreen = [](const int pass) {
        if (pass == 1)
            PostSysMessage(SYS_CLOSE, 0, 0);
        if (pass > 5)
            PostQuit(99);   // a safety net: the close must have ended the loop long before
    };
    EXPECT_EQ(GameMain(BACKEND_HEADLESS), 0);
    EXPECT_EQ(calls.back(), "ShutdownGame");
}

TEST_F(MainLoop, InactiveLoopStillRunsOnePassPerWake)
{
    onscreen = [](const int pass) {
        appactive = 0;
        if (pass < 3)
            PostSysMessage(SYS_PAINT, 0, 0);    // wakes the next wait
        else
            PostQuit(3);
    };
    EXPECT_EQ(GameMain(BACKEND_HEADLESS), 3);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "ProcessDeaths"), 3);
}
