// What the game's rule tests share: the debug log captured, what the rules announce recorded (nothing is
// drawn, so no rule waits on the clock for a damage number or an animation), the generator seeded, and
// every global back to its start value afterwards.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/model/announce.h"
#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/net/sendqueue.h"
#include "game/shell/debuglog.h"
#include "game/shell/shell.h"
#include "platform/random.h"
#include "tests/game/support/heard.h"
#include "tests/game/support/world.h"

class GameTest : public testing::Test {
protected:
    void SetUp() override
    {
        candraw = 0;
        // Rolls (resistance, chance abilities, map search) must not depend on the tests run before.
        SeedRandom(1);
        CaptureLog();
        HearRules();
    }
    void TearDown() override
    {
        CaptureDebugLog(nullptr);
        ListenToRules(nullptr);
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
    // The lines announced to the local player's feed, in order.
    static std::vector<std::string> Feed() { return HeardFeed(YouToInt()); }
    // Whether the local player's feed was told the line.
    static bool Fed(const std::string& text)
    {
        for (const std::string& line : Feed())
            if (line == text)
                return true;
        return false;
    }

    std::string log;
};
