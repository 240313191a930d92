// Rule tests: the standard test catalogue, two human players and the neutral side on a 20 x 20 map,
// this machine the host playing player 0.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "game/model/catalogue.h"
#include "game/model/state.h"
#include "game/net/sendqueue.h"
#include "game/shell/debuglog.h"
#include "tests/game/support/gametest.h"
#include "tests/game/support/machines.h"
#include "tests/game/support/world.h"

class RulesTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        Load(StandardTestStrings());
    }
    // Starts again with other strings.
    void Load(const TestStrings& strings)
    {
        ASSERT_FALSE(LoadTestStrings(strings));
        MakeWorld(2, 20);
        CaptureLog();
    }
    Unit& U(int32_t player, int32_t unit) { return p[player].units[unit]; }
};
