// Tests of the network's lobby, set-up and play kinds between a host and a client in one process:
// the standard test catalogue, the log captured, and the shared machines (tests/game/support).
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/model/catalogue.h"
#include "game/model/state.h"
#include "game/net/lobby.h"
#include "game/net/sendqueue.h"
#include "game/shell/debuglog.h"
#include "tests/game/support/gametest.h"
#include "tests/game/support/machines.h"
#include "tests/game/support/world.h"

class NetPlayTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        ASSERT_FALSE(LoadTestStrings(StandardTestStrings()));
        wincheck = 1;
    }
    void TearDown() override
    {
        GameTest::TearDown();
        wincheck = 1;
    }
    static bool Sent(const std::vector<SentFrame>& frames, const std::string& body)
    {
        for (const SentFrame& f : frames)
            if (f.Body() == body)
                return true;
        return false;
    }
};
