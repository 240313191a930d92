// The one test that really renders: SDL2_mixer with SDL's dummy audio driver, songs through the
// FluidSynth synthesiser and Debian's soundfont, an effect through its channel. It runs in real time
// (a second of music, paced by the audio thread), since that is how the synthesiser keeps time.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/audio.h"
#include "platform/window.h"
#include "tests/platform/fixtures/media.h"

namespace {

using namespace std::chrono_literals;

// Far longer than the song, so that a slow machine never fails the test; it ends as soon as the song does.
constexpr auto patience = 30s;

// Louder than any rounding noise: the test tones and notes are near full scale.
constexpr int32_t audible = 1000;

class AudioRenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (access(SoundFontPaths(), R_OK) != 0)
            GTEST_SKIP() << "no soundfont at " << SoundFontPaths() << " (Debian's timgm6mb-soundfont)";
        if (StartPlatform(BACKEND_SDL))
            GTEST_SKIP() << "no SDL dummy video driver";
        ASSERT_FALSE(OpenAudio()) << AudioFault();
        ClearAudioRecord();
    }
    void TearDown() override
    {
        CloseAudio();
        StopPlatform();
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_VIDEODRIVER");
    }

    template <typename Until>
    static bool WaitFor(Until until)
    {
        const auto end = std::chrono::steady_clock::now() + patience;
        while (!until()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            std::this_thread::sleep_for(10ms);
        }
        return true;
    }
};

TEST_F(AudioRenderTest, ASongPlaysThroughTheSynthesiserAndEnds)
{
    ASSERT_FALSE(SongsSilent()) << "the mixer's MIDI back end did not start";
    SongData* const song = LoadSongData("Test", MakeSong(2));    // two beats: one second
    ASSERT_NE(song, nullptr);
    StartOutputMeter(UINT64_MAX);
    ASSERT_FALSE(StartSong(song));
    EXPECT_TRUE(SongPlaying(song));
    EXPECT_TRUE(WaitFor([&] { return !SongPlaying(song); })) << "the song never ended";
    EXPECT_GT(OutputMeter().peak, audible) << "the rendered samples are silent";
    EXPECT_TRUE(RecordedSongs().empty()) << "a real output records nothing";
    FreeSongData(song);
}

TEST_F(AudioRenderTest, SongsChangeOnTheOneSynthesiser)
{
    ASSERT_FALSE(SongsSilent());
    SongData* const first = LoadSongData("First", MakeSong(2));
    SongData* const second = LoadSongData("Second", MakeSong(2));
    ASSERT_TRUE(first && second);
    for (SongData* const song : {first, second, first}) {
        StartOutputMeter(UINT64_MAX);
        ASSERT_FALSE(StartSong(song));
        EXPECT_TRUE(WaitFor([] { return OutputMeter().peak > audible; })) << "a song after a change was not heard";
    }
    StopSong(first);
    EXPECT_EQ(SynthesisersMade(), 1u) << "a song change made a synthesiser of its own";
    FreeSongData(first);
    FreeSongData(second);
}

TEST_F(AudioRenderTest, AnEffectIsMixedAndMutedInTheBackground)
{
    const Bytes samples = SineSamples(11025, 1, 16, 22050, 440);   // half a second
    SoundChunk* const chunk = CreateSoundChunk("Tone", PcmFormat{1, 22050, 16}, samples.data(),
                                               (uint32_t)samples.size());
    ASSERT_NE(chunk, nullptr);
    MuteSounds(true);
    StartOutputMeter(UINT64_MAX);
    PlaySoundChunk(chunk);
    std::this_thread::sleep_for(200ms);
    EXPECT_LT(OutputMeter().peak, audible) << "a muted effect was heard";
    MuteSounds(false);
    StartOutputMeter(UINT64_MAX);
    PlaySoundChunk(chunk);
    EXPECT_TRUE(WaitFor([] { return OutputMeter().peak > audible; })) << "the effect was never mixed";
    FreeSoundChunk(chunk);
}

} // namespace
