// Every fuzz target's seeds through the target itself in the ordinary build: each seed, and the seed
// cut short, runs to its end, so a seed that crashes a parser fails here as well as under libFuzzer.
// And the parsers take their seeds, but for those named "refused-": the mutations start inside them.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "common/bmp.h"
#include "common/module.h"
#include "fuzzentries.h"
#include "game/shell/configfile.h"
#include "game/shell/debuglog.h"
#include "game/shell/sound.h"
#include "platform/audio.h"
#include "platform/log.h"
#include "platform/midifile.h"
#include "platform/surface.h"
#include "seedfile.h"
#include "tests/game/shell/soundmodule.h"
#include "update/manifest.h"

bool TakePackageInput(const uint8_t* data, size_t size);     // package_fuzz.cpp

// Parameters print as their names.
void PrintTo(const FuzzEntry& target, std::ostream* os)
{
    *os << target.name;
}

namespace {

// Whether the parser of a target takes the bytes whole.
bool Takes(const FuzzEntry& target, const std::vector<uint8_t>& bytes)
{
    const std::string name = target.name;
    if (name == "module") {
        Module* const module = OpenModuleFromBytes(bytes);
        CloseModule(module);
        return module != nullptr;
    }
    if (name == "bitmap") {
        SysSurface* const picture = DecodeBmp(bytes.data(), bytes.size(), "seed");
        DestroySysSurface(picture);
        return picture != nullptr;
    }
    if (name == "wave") {
        Module* const module = OpenModuleFromBytes(SoundModuleBytes({{"WAVE", "seed", bytes}}));
        SoundBuffer record{nullptr, 0};
        ResLoad(&record, "seed", module);
        FreeSoundChunk(record.buffer);
        CloseModule(module);
        return record.loaded;
    }
    if (name == "midi") {
        uint32_t length = 0;
        return !MeasureMidiFile(bytes.data(), bytes.size(), &length) && length > 0;
    }
    if (name == "configfile") {
        ConfigFile file;
        file.SetSectionMode(bytes.at(0) % 3);
        file.SetNameMode(bytes.at(0) / 3 % 4);
        std::istringstream in(std::string(bytes.begin() + 1, bytes.end()));
        return file.ParseStream(in);
    }
    if (name == "manifest") {
        const std::string text(bytes.begin(), bytes.end());
        return ParseManifest(text, (1u << 24) + (2u << 16) + 15).verdict != MANIFEST_MALFORMED;
    }
    if (name == "package")
        return TakePackageInput(bytes.data(), bytes.size());
    if (name == "help") {
        // A module the loader takes names its folders; one it cannot open logs that without "ERROR".
        std::string log;
        CaptureDebugLog(&log);
        target.run(bytes.data(), bytes.size());
        CaptureDebugLog(nullptr);
        return log.find("Created help folder") != std::string::npos && log.find("ERROR") == std::string::npos &&
               log.find("Failed to load") == std::string::npos;
    }
    // The others log what they refuse.
    std::string log;
    CaptureDebugLog(&log);
    target.run(bytes.data(), bytes.size());
    CaptureDebugLog(nullptr);
    return log.find("ERROR") == std::string::npos && log.find("WARNING") == std::string::npos;
}

class FuzzSeeds : public testing::TestWithParam<FuzzEntry> {};

TEST_P(FuzzSeeds, EverySeedAndItsPrefixesRun)
{
    const FuzzEntry& target = GetParam();
    size_t seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(target.seeds)) {
        SCOPED_TRACE(entry.path().filename().string());
        const std::vector<uint8_t> bytes = ReadSeed(entry.path());
        const auto runprefix = [&](size_t n) {
            const std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + (long)n);
            target.run(prefix.data(), prefix.size());
        };
        // Every length of a small seed; some 500 lengths spread over a large one, and the whole.
        for (size_t n = 0; n < bytes.size(); n += bytes.size() / 500 + 1)
            runprefix(n);
        runprefix(bytes.size());
        seeds++;
    }
    EXPECT_GT(seeds, 0u) << "no seeds in " << target.seeds;
}

// The parsers' targets: the receive path's seeds have a test of their own (net_receive_seeds_test.cpp).
std::vector<FuzzEntry> ParserTargets()
{
    std::vector<FuzzEntry> targets;
    for (const FuzzEntry& target : fuzzentries)
        if (std::string(target.name) != "net_receive")
            targets.push_back(target);
    return targets;
}

class ParserSeeds : public testing::TestWithParam<FuzzEntry> {};

TEST_P(ParserSeeds, TheParserTakesItsSeeds)
{
    const FuzzEntry& target = GetParam();
    SetLogSink([](const char*) {});
    for (const auto& entry : std::filesystem::directory_iterator(target.seeds)) {
        const std::string seed = entry.path().filename().string();
        EXPECT_EQ(Takes(target, ReadSeed(entry.path())), seed.rfind("refused-", 0) != 0) << seed;
    }
    SetLogSink(nullptr);
}

std::string TargetName(const testing::TestParamInfo<FuzzEntry>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzSeeds, testing::ValuesIn(fuzzentries), TargetName);
INSTANTIATE_TEST_SUITE_P(Targets, ParserSeeds, testing::ValuesIn(ParserTargets()), TargetName);

} // namespace
