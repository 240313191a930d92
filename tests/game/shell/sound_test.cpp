// The sound cache over a sound module built in memory and the headless output, which records what
// it is told to play.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>

#include "common/module.h"
#include "game/shell/debuglog.h"
#include "game/shell/music.h"
#include "game/shell/sound.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "tests/game/shell/soundmodule.h"

namespace {

using Cache = std::vector<std::pair<std::string, int>>;

Cache CacheNow()
{
    Cache out;
    for (const SoundEntry* e = soundcache; e; e = e->next)
        out.push_back({e->name, e->hits});
    return out;
}

std::vector<std::string> Recorded()
{
    std::vector<std::string> out;
    for (const AudioEvent& e : RecordedSounds())
        out.push_back(e.name);
    return out;
}

Bytes Tone()
{
    return MakeWav(1, 22050, 16, 2205);
}

// A file with this format chunk and a little silence.
Bytes WithFormat(const Bytes& format)
{
    Bytes chunks = format;
    const Bytes data = Chunk("data", Bytes(64, 0x80));
    chunks.insert(chunks.end(), data.begin(), data.end());
    return Riff(chunks);
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseVirtualClock(1000);
        ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
        DeleteSoundEntries();       // what other tests of this program left in the cache
        CaptureDebugLog(&log);
        std::vector<TestResource> resources;
        for (const char* name : {"A", "B", "C", ".\\Sound\\GSOK.wav"})
            resources.push_back({"WAVE", name, Tone()});
        resources.push_back({"WAV", "Old", Tone()});
        resources.push_back({"WAVE", "NotRiff", Bytes(40, 'x')});
        resources.push_back({"WAVE", "ZeroChannels", WithFormat(PcmFormatChunk(0, 8000, 8))});
        resources.push_back({"WAVE", "ZeroRate", WithFormat(PcmFormatChunk(1, 0, 8))});
        resources.push_back({"WAVE", "Adpcm", WithFormat(Chunk("fmt ", {2, 0, 1, 0, 0x40, 0x1F, 0, 0, 0, 0, 0, 0, 1, 0, 4, 0, 0, 0}))});
        Bytes truncated = Tone();
        truncated.resize(truncated.size() - 100);
        resources.push_back({"WAVE", "Truncated", truncated});
        soundmodule = OpenModuleFromBytes(SoundModuleBytes(resources));
        ASSERT_NE(soundmodule, nullptr);
        ASSERT_FALSE(CreateSoundDevice());
        ClearAudioRecord();
        soundsplayed.clear();   // another suite's tests may have played sounds before this one
        soundon = 1;
        volume = 100;
    }
    void TearDown() override
    {
        DeleteSoundEntries();
        CaptureDebugLog(nullptr);
        StopPlatform();
        ClearAudioRecord();
        soundsplayed.clear();
        volume = 100;
        soundon = 1;
        UseRealClock();
    }

    static void Play(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            soundcache = PlaySoundFile(soundcache, name);
    }

    const SoundEntry* Entry(const char* name) const
    {
        for (const SoundEntry* e = soundcache; e; e = e->next)
            if (e->name == name)
                return e;
        return nullptr;
    }

    std::string log;
};

TEST_F(SoundTest, TheCacheKeepsTheSoundsPlayedMostNearTheFront)
{
    const struct {
        std::initializer_list<const char*> plays;
        Cache after;
    } steps[] = {
        {{"A", "B", "B"}, {{"B", 2}, {"A", 1}}},
        {{"A", "A"}, {{"A", 3}, {"B", 2}}},
        // A sound passes every entry it now outnumbers on the way back from the search.
        {{"C", "C", "C"}, {{"A", 3}, {"C", 3}, {"B", 2}}},
        {{"C"}, {{"C", 4}, {"A", 3}, {"B", 2}}},
    };
    for (const auto& step : steps) {
        Play(step.plays);
        EXPECT_EQ(CacheNow(), step.after);
    }
}

TEST_F(SoundTest, PlayingAgainRestartsTheSound)
{
    Play({"A"});
    AdvanceClock(10);
    Play({"A"});
    ASSERT_EQ(RecordedSounds().size(), 2u);
    EXPECT_EQ(RecordedSounds()[1].tick, 1010u);
    EXPECT_EQ(CacheNow().size(), 1u) << "one entry, one channel";
}

TEST_F(SoundTest, TheVolumeIsFixedWhenASoundIsFirstCached)
{
    const struct {
        int32_t volume;
        const char* name;
        int32_t level;
    } cases[] = {{100, "A", 0}, {40, "B", -1800}, {0, "C", -3000}, {250, "Old", 0}};
    for (const auto& c : cases) {
        volume = c.volume;
        Play({c.name});
    }
    for (const auto& c : cases)
        EXPECT_EQ(SoundVolume(Entry(c.name)->sound->buffer), c.level) << c.name;
    volume = 0;
    Play({"A"});
    EXPECT_EQ(SoundVolume(Entry("A")->sound->buffer), 0) << "a later change applies to sounds cached later";
}

TEST_F(SoundTest, ASoundTheModuleDoesNotHoldIsCachedButNeverPlays)
{
    Play({".\\Sound\\Nope.wav", ".\\Sound\\Nope.wav", ".\\Sound\\GSOK.wav"});
    EXPECT_EQ(CacheNow(), (Cache{{".\\Sound\\Nope.wav", 2}, {".\\Sound\\GSOK.wav", 1}}));
    EXPECT_FALSE(Entry(".\\Sound\\Nope.wav")->sound->loaded);
    EXPECT_EQ(Recorded(), std::vector<std::string>{".\\Sound\\GSOK.wav"});
    EXPECT_NE(log.find("ERROR: Sound .\\Sound\\Nope.wav not loaded: no such sound.\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("ERROR: Sound .\\Sound\\Nope.wav", log.find("ERROR") + 1), std::string::npos)
        << "a sound that failed is never tried again";
    DeleteSoundEntries();
    EXPECT_NE(log.find("Deleting Sound Entry: hits=2\tname=.\\Sound\\Nope.wav\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Deleting Sound Entry: hits=1\tname=.\\Sound\\GSOK.wav\n"), std::string::npos) << log;
    EXPECT_EQ(soundcache, nullptr);
    EXPECT_EQ(soundmodule, nullptr);
}

TEST_F(SoundTest, ABrokenOrUnplayableWaveIsRefusedWithALogLine)
{
    const struct {
        const char* name;
        const char* why;
    } cases[] = {
        {"NotRiff", "not a RIFF WAVE file"},
        {"Truncated", "the RIFF chunk runs past its data"},
        {"ZeroChannels", "it has 0 channels"},
        {"ZeroRate", "its rate is 0"},
        {"Adpcm", "the format is not PCM"},
    };
    for (const auto& c : cases) {
        Play({c.name});
        EXPECT_FALSE(Entry(c.name)->sound->loaded) << c.name;
        EXPECT_NE(log.find(std::string("ERROR: Sound ") + c.name + " not loaded: " + c.why + ".\n"), std::string::npos)
            << c.name << "\n" << log;
    }
    EXPECT_TRUE(RecordedSounds().empty());
}

TEST_F(SoundTest, AResourceOfTheOlderTypeNamePlays)
{
    Play({"Old"});
    EXPECT_EQ(Recorded(), std::vector<std::string>{"Old"});
}

TEST_F(SoundTest, WithSoundOffPlaySfxDoesNothingAtAll)
{
    soundon = 0;
    EXPECT_FALSE(PlaySfx("A"));
    EXPECT_EQ(soundcache, nullptr);
    EXPECT_TRUE(RecordedSounds().empty());
    EXPECT_TRUE(soundsplayed.empty());
    soundon = 1;
    EXPECT_FALSE(PlaySfx("A"));
    EXPECT_EQ(Recorded(), std::vector<std::string>{"A"});
}

TEST(SoundStartup, TheModuleIsRequired)
{
    std::string log;
    CaptureDebugLog(&log);
    const std::filesystem::path dir = std::filesystem::path(GORV_TEST_DIR) / "soundstartup";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir);

    EXPECT_TRUE(DSoundGO());
    EXPECT_EQ(log, "DSoundGO: Init sound.\n");
    {
        const Bytes module = SoundModuleBytes({{"WAVE", "A", Tone()}});
        std::ofstream(dir / "Tavel.dll", std::ios::binary).write((const char*)module.data(), (std::streamsize)module.size());
    }
    EXPECT_FALSE(DSoundGO()) << "found whatever the case of its name";
    EXPECT_NE(soundmodule, nullptr);
    EXPECT_EQ(soundready, 1);
    DeleteSoundEntries();
    EXPECT_EQ(soundready, 0);

    std::filesystem::current_path(before);
    CaptureDebugLog(nullptr);
}

TEST(SoundStartup, WithoutAnAudioDeviceTheGameRunsSilentAndSaysSoOnce)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
    if (!StartPlatform(BACKEND_SDL)) {
        std::string log;
        CaptureDebugLog(&log);
        EXPECT_FALSE(CreateSoundDevice()) << "a silent device is no failure";
        EXPECT_FALSE(LoadMusic());
        const size_t first = log.find("No audio device (");
        EXPECT_NE(first, std::string::npos) << log;
        EXPECT_EQ(log.find("No audio device", first + 1), std::string::npos) << log;
        EXPECT_EQ(log.find("soundfont"), std::string::npos) << "the device says it all";
        FreeMusic();
        ReleaseSoundDevice();
        CaptureDebugLog(nullptr);
        StopPlatform();
    }
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_VIDEODRIVER");
}

} // namespace
