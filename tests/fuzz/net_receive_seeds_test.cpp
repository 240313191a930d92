// The receive path's seeds through its fuzz target: each "host-valid-" seed is a request the
// target's world allows, so the host takes it (its action line, no "ERROR:") and the fuzzer's
// mutations start from inside the rules.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fuzzentries.h"
#include "game/shell/debuglog.h"
#include "seedfile.h"

namespace {

std::string RunSeed(const std::vector<uint8_t>& bytes)
{
    std::string log;
    CaptureDebugLog(&log);
    FuzzInput_net_receive(bytes.data(), bytes.size());
    CaptureDebugLog(nullptr);
    return log;
}

} // namespace

TEST(NetReceiveSeeds, ValidRequestsAreTakenByTheHost)
{
    struct Case {
        const char* seed;
        std::vector<const char*> actions;   // lines the host must have logged
    };
    const Case cases[] = {
        {"host-valid-move", {"ACTION: Move request", "Routed message"}},
        {"host-valid-attack", {"ACTION: Request to attack.", "Finished combat."}},
        {"host-valid-cast-at-unit", {"ACTION: Request Spell"}},
        {"host-valid-cast-at-square", {"ACTION: Request Spell", "Just created a Fireball"}},
        {"host-valid-deploy", {"ACTION: Deploy Unit", "Just created a Soldier"}},
        {"host-valid-endturn", {"ACTION: Begin the next player's turn.", "Found next player"}},
        {"host-valid-exploration", {"ACTION: Add experience."}},
        {"host-valid-warlord", {"ACTION: Warlord Selected", "Just created a Warlord"}},
        {"host-valid-turn", {"ACTION: Move request", "ACTION: Request to attack.", "ACTION: Request Spell",
                             "ACTION: Next Unit", "Found next player"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seed);
        const std::vector<uint8_t> bytes = ReadSeed(std::filesystem::path(GORV_FUZZ_SEEDS) / "net_receive" / c.seed);
        ASSERT_GT(bytes.size(), 2u);
        const std::string log = RunSeed(bytes);
        for (const char* action : c.actions)
            EXPECT_NE(log.find(action), std::string::npos) << action << "\n" << log;
        EXPECT_EQ(log.find("ERROR"), std::string::npos) << log;
    }
}
