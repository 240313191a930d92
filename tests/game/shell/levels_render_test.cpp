// The levels a player hears: every shipped song and effect rendered through the game's own path (the
// sound cache and the song rule, SDL2_mixer, FluidSynth and Debian's soundfont) into SDL's disk audio
// driver, which mixes as fast as it can into nothing, with the meter on the mixed output.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "game/shell/debuglog.h"
#include "game/shell/music.h"
#include "game/shell/sound.h"
#include "game/shell/wavefile.h"
#include "platform/audio.h"
#include "platform/window.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const char* const songnames[SONGCOUNT] = {"Lull1", "Lull2", "Lull3", "Menu", "Night", "Load", "Idle"};

constexpr double songpeak = -1;         // dBFS: no song comes near clipping
constexpr double songspread = 3;        // dB between the loudest song and the quietest
constexpr double effectpeak = -6;       // dBFS: two effects at once still do not clip
constexpr double effectoffset = 0.005;  // of full scale
constexpr double clickbelow = 3;        // dB: a menu click is heard over the menu song

// A slow machine renders slowly: the audio thread is waited for this long per second of sound.
constexpr auto patience = 10s;

double Decibels(double ratio)
{
    return ratio > 0 ? 20 * std::log10(ratio) : -200;
}

// Loudness in dBFS: the power of the 20 ms blocks that sound, leaving out silence (below -60 dBFS)
// and then whatever lies 10 dB under the mean of the rest, so that the gaps between notes and an
// effect's dying tail do not count.
double Loudness(const OutputLevels& levels)
{
    const auto gated = [&](double floor) {
        double sum = 0;
        int count = 0;
        for (const double b : levels.blocks)
            if (b > floor)
                sum += b, count++;
        return count ? sum / count : 0.0;
    };
    const double full = 32768.0 * 32768.0;
    const double absolute = gated(full * 1e-6);
    return Decibels(std::sqrt(gated(absolute * 0.1) / full));
}

struct Measured {
    std::string name;
    double peak;        // dBFS
    double loudness;    // dBFS
    double offset;      // of full scale
    uint64_t clipped;
};

Measured Summary(const std::string& name, const OutputLevels& levels)
{
    const double samples = std::max<double>(1, (double)levels.frames * 2);
    return {name, Decibels(levels.peak / 32768.0), Loudness(levels), levels.sum / samples / 32768.0, levels.clipped};
}

void Print(const Measured& m)
{
    printf("%-16s peak %6.1f dBFS  loudness %6.1f dBFS  DC %+6.3f%%  clipped %llu\n", m.name.c_str(), m.peak,
           m.loudness, m.offset * 100, (unsigned long long)m.clipped);
}

// The effects the game ships, by the names the game plays them by.
std::vector<std::string> EffectNames()
{
    std::vector<std::string> names;
    std::ifstream manifest(GORV_SOUND_MANIFEST);
    std::string kind, type, name;
    while (manifest >> kind) {
        if (kind == "resource" && manifest >> type >> name && type == "WAVE")
            names.push_back(name);
        std::getline(manifest, kind);
    }
    return names;
}

class LevelsRenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (access(SoundFontPaths(), R_OK) != 0)
            GTEST_SKIP() << "no soundfont at " << SoundFontPaths() << " (Debian's timgm6mb-soundfont)";
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
        setenv("SDL_DISKAUDIODELAY", "0", 1);
        before = fs::current_path();
        fs::current_path(GORV_DIST_DIR);
        if (StartPlatform(BACKEND_SDL))
            GTEST_SKIP() << "no SDL dummy video driver";
        CaptureDebugLog(&log);
        ASSERT_FALSE(DSoundGO()) << log;
        ASSERT_FALSE(LoadMusic()) << log;
        ASSERT_STREQ(AudioFault(), "");
        ASSERT_FALSE(SongsSilent()) << log;
        musicon = 1;
        soundon = 1;
        volume = 100;
    }
    void TearDown() override
    {
        FreeMusic();
        DeleteSoundEntries();
        CaptureDebugLog(nullptr);
        StopPlatform();
        fs::current_path(before);
        for (const char* name : {"SDL_VIDEODRIVER", "SDL_AUDIODRIVER", "SDL_DISKAUDIOFILE", "SDL_DISKAUDIODELAY"})
            unsetenv(name);
    }

    // Starts the meter for that many frames, plays, and waits until the meter has them all.
    template <typename Play>
    static OutputLevels Render(uint64_t frames, Play play)
    {
        StartOutputMeter(frames);
        play();
        const auto end = std::chrono::steady_clock::now() + patience * (1 + frames / OutputRate());
        while (OutputMeter().frames < frames && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(1ms);
        OutputLevels levels = OutputMeter();
        EXPECT_EQ(levels.frames, frames) << "the output stopped being mixed";
        return levels;
    }

    static Measured RenderSong(int n)
    {
        const uint64_t frames = (uint64_t)SongLength(songs[n]->segment) * OutputRate() / 1000;
        const Measured m = Summary(songnames[n], Render(frames, [n] { EXPECT_TRUE(PlaySong(n)); }));
        StopAllSongs();
        return m;
    }

    static Measured RenderEffect(const std::string& name)
    {
        WaveFile wave;
        EXPECT_EQ(wave.Open(name.c_str(), soundmodule), WAVE_OK) << name;
        const WaveFormat& format = *wave.Format();
        const uint64_t frames = (uint64_t)wave.GetSize() / format.blockalign * OutputRate() / format.samplespersec;
        return Summary(name, Render(frames, [&] { PlaySfx(name.c_str()); }));
    }

    fs::path before;
    std::string log;
};

TEST_F(LevelsRenderTest, SongsStayClearOfFullScaleAtOneLoudnessAndAClickIsHeardOverTheMenuSong)
{
    std::vector<Measured> measured;
    for (int n = 0; n < SONGCOUNT; n++) {
        ASSERT_TRUE(songs[n] && songs[n]->loaded) << songnames[n];
        measured.push_back(RenderSong(n));
        Print(measured.back());
        EXPECT_LE(measured.back().peak, songpeak) << songnames[n];
        EXPECT_EQ(measured.back().clipped, 0u) << songnames[n];
    }
    const auto [quiet, loud] = std::minmax_element(measured.begin(), measured.end(), [](auto& a, auto& b) {
        return a.loudness < b.loudness;
    });
    EXPECT_LE(loud->loudness - quiet->loudness, songspread) << loud->name << " against " << quiet->name;

    const Measured click = RenderEffect(".\\Sound\\GSButton.wav");
    Print(click);
    EXPECT_GE(click.loudness, measured[SONG_MENU].loudness - clickbelow) << "a click under the menu song";
}

TEST_F(LevelsRenderTest, EffectsLeaveHeadroomAndCarryNoOffset)
{
    const std::vector<std::string> names = EffectNames();
    ASSERT_GT(names.size(), 100u) << GORV_SOUND_MANIFEST;
    int loud = 0, offset = 0;
    for (const std::string& name : names) {
        const Measured m = RenderEffect(name);
        Print(m);
        EXPECT_LE(m.peak, effectpeak) << name;
        EXPECT_LE(std::fabs(m.offset), effectoffset) << name;
        loud += m.peak > effectpeak;
        offset += std::fabs(m.offset) > effectoffset;
    }
    printf("%zu effects: %d peak above %.0f dBFS, %d carry an offset beyond %.1f%%\n", names.size(), loud,
           effectpeak, offset, effectoffset * 100);
}

} // namespace
