#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "fakes.h"
#include "game/main/winmain.h"
#include "game/shell/shell.h"
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

// A host in the background plays the neutral side by itself: with nothing at all arriving, passes go
// on (here the screen pass stands for the neutral turn's steps) until the turn is done.
TEST_F(MainLoop, InactiveLoopRunsTheNeutralTurnWithNothingArriving)
{
    std::atomic<bool> stop{false};
    onscreen = [&](const int pass) {
        appactive = 0;
        if (pass == 20)
            PostQuit(20);
    };
    // Should the loop sleep for good, this ends the wait so the test fails instead of hanging.
    std::thread watchdog([&] {
        for (int i = 0; i < 500 && !stop; i++)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!stop)
            PostQuit(-1);
    });
    const int code = GameMain(BACKEND_HEADLESS);
    stop = true;
    watchdog.join();
    EXPECT_EQ(code, 20);
}

// A socket whose events keep coming (a peer that floods) gets its one event a pass: the frame, the
// sending and the rest of the pass still run.
TEST_F(MainLoop, ASocketThatKeepsPostingNeverHoldsUpThePass)
{
    int events = 0;
    onsocket = [&] {
        if (++events == 50)
            PostQuit(-1);   // the pass never ended: stop rather than spin for ever
        PostSysMessage(SYS_SOCKET, 5, 1);
    };
    onscreen = [&](const int pass) {
        if (pass == 1)
            PostSysMessage(SYS_SOCKET, 5, 1);
        if (pass == 4)
            PostQuit(4);
    };
    EXPECT_EQ(GameMain(BACKEND_HEADLESS), 4);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "SendQueuedMessage"), 4);
    EXPECT_EQ(events, 4);   // one in each pass after the first
}
