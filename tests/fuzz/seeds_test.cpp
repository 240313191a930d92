// Every fuzz target's seeds through the target itself in the ordinary build: each seed, and each seed
// cut short, runs to its end, so a seed that crashes a parser fails here as well as under libFuzzer.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fuzzentries.h"
#include "seedfile.h"

namespace {

class FuzzSeeds : public testing::TestWithParam<FuzzEntry> {};

TEST_P(FuzzSeeds, EverySeedAndItsPrefixesRun)
{
    const FuzzEntry& target = GetParam();
    size_t seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(target.seeds)) {
        SCOPED_TRACE(entry.path().filename().string());
        const std::vector<uint8_t> bytes = ReadSeed(entry.path());
        for (size_t n = 0; n <= bytes.size(); n++) {
            const std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + (long)n);
            target.run(prefix.data(), prefix.size());
        }
        seeds++;
    }
    EXPECT_GT(seeds, 0u) << "no seeds in " << target.seeds;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzSeeds, testing::ValuesIn(fuzzentries),
                         [](const testing::TestParamInfo<FuzzEntry>& info) { return std::string(info.param.name); });

} // namespace
