// Audio over the headless output: nothing opens, every start is recorded; songs keep their time on the
// clock; effects fall silent while the program is in the background.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/headless.h"
#include "platform/window.h"
#include "tests/platform/fixtures/media.h"

namespace {

class AudioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseVirtualClock(5000);
        ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
        ASSERT_FALSE(OpenAudio()) << "the headless output is never silent for want of a device";
        ClearAudioRecord();
    }
    void TearDown() override
    {
        CloseAudio();
        StopPlatform();
        MuteSounds(false);
        ClearAudioRecord();
        UseRealClock();
    }

    static SoundChunk* Tone(const char* name)
    {
        const Bytes samples = SineSamples(100, 1, 16, 8000, 440);
        return CreateSoundChunk(name, PcmFormat{1, 8000, 16}, samples.data(), (uint32_t)samples.size());
    }
};

TEST_F(AudioTest, EffectsAreRecordedWithTheirTick)
{
    SoundChunk* const a = Tone("A");
    SoundChunk* const b = Tone("B");
    ASSERT_TRUE(a && b);
    PlaySoundChunk(a);
    AdvanceClock(40);
    PlaySoundChunk(b);
    PlaySoundChunk(a);
    ASSERT_EQ(RecordedSounds().size(), 3u);
    EXPECT_EQ(RecordedSounds()[0].name, "A");
    EXPECT_EQ(RecordedSounds()[0].tick, 5000u);
    EXPECT_EQ(RecordedSounds()[1].name, "B");
    EXPECT_EQ(RecordedSounds()[2].tick, 5040u);
    EXPECT_FALSE(RecordedSounds()[2].muted);
    FreeSoundChunk(a);
    FreeSoundChunk(b);
}

struct FormatCase {
    const char* what;
    PcmFormat format;
    uint32_t bytes;
    bool playable;
};

TEST_F(AudioTest, OnlyEightOrSixteenBitPcmOfOneOrTwoChannelsIsPlayable)
{
    const uint8_t samples[64] = {};
    const FormatCase cases[] = {
        {"8-bit mono at 11025 Hz", {1, 11025, 8}, 64, true},
        {"16-bit stereo at 44100 Hz", {2, 44100, 16}, 64, true},
        {"one whole frame", {2, 22050, 16}, 4, true},
        {"less than a frame", {2, 22050, 16}, 3, false},
        {"0 channels", {0, 22050, 16}, 64, false},
        {"3 channels", {3, 22050, 16}, 64, false},
        {"24-bit samples", {1, 22050, 24}, 64, false},
        {"a rate of 0", {1, 0, 8}, 64, false},
        {"a rate of 99", {1, 99, 8}, 64, false},
        {"a rate of 200001", {1, 200001, 8}, 64, false},
    };
    for (const FormatCase& c : cases) {
        SoundChunk* const chunk = CreateSoundChunk(c.what, c.format, samples, c.bytes);
        EXPECT_EQ(chunk != nullptr, c.playable) << c.what;
        FreeSoundChunk(chunk);
    }
}

TEST_F(AudioTest, VolumeLevelsInHundredthsOfADecibel)
{
    const struct {
        int32_t level;
        int volume;
    } cases[] = {{0, 128}, {100, 128}, {-600, 64}, {-1800, 16}, {-3000, 4}, {-10000, 0}, {-20000, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(MixerVolume(c.level), c.volume) << c.level;

    SoundChunk* const chunk = Tone("A");
    SetSoundVolume(chunk, -1800);
    EXPECT_EQ(SoundVolume(chunk), -1800);
    SetSoundVolume(chunk, -12000);
    EXPECT_EQ(SoundVolume(chunk), -10000);
    FreeSoundChunk(chunk);
}

TEST_F(AudioTest, EffectsFallSilentWhileTheProgramIsInTheBackground)
{
    ASSERT_FALSE(CreateMainWindow("Gorvanel", DefaultWindowProc));
    SoundChunk* const chunk = Tone("A");
    InjectFocusLost();
    PumpSysEvents();
    EXPECT_TRUE(SoundsMuted());
    PlaySoundChunk(chunk);
    InjectFocusGained();
    PumpSysEvents();
    EXPECT_FALSE(SoundsMuted());
    PlaySoundChunk(chunk);
    ASSERT_EQ(RecordedSounds().size(), 2u);
    EXPECT_TRUE(RecordedSounds()[0].muted);
    EXPECT_FALSE(RecordedSounds()[1].muted);
    FreeSoundChunk(chunk);
}

TEST_F(AudioTest, ASongPlaysForItsLengthOnTheClock)
{
    SongData* const song = LoadSongData("Menu", MakeSong(4));
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(SongLength(song), 2000u);
    EXPECT_FALSE(SongPlaying(song));
    ASSERT_FALSE(StartSong(song));
    AdvanceClock(1999);
    EXPECT_TRUE(SongPlaying(song));
    AdvanceClock(1);
    EXPECT_FALSE(SongPlaying(song)) << "it ended";
    ASSERT_FALSE(StartSong(song));
    EXPECT_TRUE(SongPlaying(song)) << "started again from the beginning";
    StopSong(song);
    EXPECT_FALSE(SongPlaying(song));
    ASSERT_EQ(RecordedSongs().size(), 2u);
    EXPECT_EQ(RecordedSongs()[0].name, "Menu");
    EXPECT_EQ(RecordedSongs()[1].tick, 7000u);
    FreeSongData(song);
}

TEST_F(AudioTest, StartingASongEndsTheOneBefore)
{
    SongData* const menu = LoadSongData("Menu", MakeSong(8));
    SongData* const idle = LoadSongData("Idle", MakeSong(8));
    ASSERT_FALSE(StartSong(menu));
    ASSERT_FALSE(StartSong(idle));
    EXPECT_FALSE(SongPlaying(menu));
    EXPECT_TRUE(SongPlaying(idle));
    StopSong(menu);
    EXPECT_TRUE(SongPlaying(idle)) << "stopping a song that is not playing stops nothing";
    FreeSongData(idle);
    EXPECT_FALSE(SongPlaying(menu));
    FreeSongData(menu);
}

TEST_F(AudioTest, BytesThatAreNoSongAreRefused)
{
    EXPECT_EQ(LoadSongData("Wave", MakeWav(1, 8000, 8, 100)), nullptr);
    EXPECT_EQ(LoadSongData("Empty", {}), nullptr);
    EXPECT_TRUE(StartSong(nullptr));
    EXPECT_TRUE(RecordedSongs().empty());
}

TEST(AudioWithoutBackEnd, RecordsAndOpensNothing)
{
    // The rules' tests run with no back end at all: the output is the recorder.
    ClearAudioRecord();
    EXPECT_FALSE(OpenAudio());
    EXPECT_FALSE(SongsSilent()) << "the recorder hears everything";
    const Bytes samples = SineSamples(10, 1, 8, 8000, 440);
    SoundChunk* const chunk = CreateSoundChunk("X", PcmFormat{1, 8000, 8}, samples.data(), (uint32_t)samples.size());
    PlaySoundChunk(chunk);
    EXPECT_EQ(RecordedSounds().size(), 1u);
    FreeSoundChunk(chunk);
    CloseAudio();
    ClearAudioRecord();
}

// The SDL back end with no device to open: every call still works, songs keep their time, nothing
// is recorded.
class SilentAudioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
        if (StartPlatform(BACKEND_SDL))
            GTEST_SKIP() << "no SDL dummy video driver";
        UseVirtualClock(0);
        ClearAudioRecord();
    }
    void TearDown() override
    {
        CloseAudio();
        StopPlatform();
        UseRealClock();
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_VIDEODRIVER");
    }
};

TEST_F(SilentAudioTest, EverythingWorksAndNothingIsHeard)
{
    EXPECT_TRUE(OpenAudio());
    EXPECT_STRNE(AudioFault(), "");
    EXPECT_TRUE(SongsSilent());
    EXPECT_TRUE(OpenAudio()) << "the second open tells the same";
    CloseAudio();

    const Bytes samples = SineSamples(100, 1, 8, 8000, 440);
    SoundChunk* const chunk = CreateSoundChunk("A", PcmFormat{1, 8000, 8}, samples.data(), (uint32_t)samples.size());
    ASSERT_NE(chunk, nullptr);
    PlaySoundChunk(chunk);
    SongData* const song = LoadSongData("Menu", MakeSong(2));
    ASSERT_NE(song, nullptr);
    ASSERT_FALSE(StartSong(song));
    AdvanceClock(999);
    EXPECT_TRUE(SongPlaying(song));
    AdvanceClock(1);
    EXPECT_FALSE(SongPlaying(song));
    EXPECT_TRUE(RecordedSounds().empty());
    EXPECT_TRUE(RecordedSongs().empty());
    FreeSongData(song);
    FreeSoundChunk(chunk);
}

} // namespace
