// What the game's rule tests share: the debug log captured, nothing drawn (so no rule waits on the
// clock for a damage number or an animation), the generator seeded, and every global back to its start
// value afterwards.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "game/model/state.h"
#include "game/net/sendqueue.h"
#include "game/shell/debuglog.h"
#include "game/shell/shell.h"
#include "game/view/feed.h"
#include "platform/random.h"
#include "tests/game/support/world.h"

class GameTest : public testing::Test {
protected:
    void SetUp() override
    {
        candraw = 0;
        // Rolls (resistance, chance abilities, map search) must not depend on the tests run before.
        SeedRandom(1);
        CaptureLog();
    }
    void TearDown() override
    {
        CaptureDebugLog(nullptr);
        UnloadTestStrings();
        ClearSendQueue();
        ResetGameState();
        candraw = 1;
    }
    // Starts the captured log afresh.
    void CaptureLog()
    {
        log.clear();
        CaptureDebugLog(&log);
    }
    bool Logged(const std::string& text) const { return log.find(text) != std::string::npos; }
    // Whether the local player's feed shows the line.
    static bool Fed(const std::string& text)
    {
        for (const FeedMessage& m : messages)
            if (m.text == text)
                return true;
        return false;
    }

    std::string log;
};
