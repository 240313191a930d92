// The song rules over the headless output: songs keep their time on the virtual clock and every start
// is recorded.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "game/shell/debuglog.h"
#include "game/shell/music.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "tests/platform/fixtures/media.h"

namespace {

namespace fs = std::filesystem;

const char* const names[SONGCOUNT] = {"Lull1", "Lull2", "Lull3", "Menu", "Night", "Load", "Idle"};

// Every song lasts this long: four beats at 120 a minute.
constexpr uint32_t songms = 2000;

std::vector<std::string> Started()
{
    std::vector<std::string> out;
    for (const AudioEvent& e : RecordedSongs()) {
        // ".\Music\Lull2.mid" -> "Lull2"
        const size_t slash = e.name.rfind('\\');
        out.push_back(e.name.substr(slash + 1, e.name.size() - slash - 5));
    }
    return out;
}

class MusicTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // ctest runs the cases side by side, each in its own process: each gets its own folder.
        const std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
        dir = fs::path(GORV_TEST_DIR) / ("music-" + test);
        fs::remove_all(dir);
        fs::create_directories(dir / "Music");
        for (const char* name : names)
            Write(name, MakeSong(4));
        before = fs::current_path();
        fs::current_path(dir);
        UseVirtualClock(100000);
        ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
        CaptureDebugLog(&log);
        musicon = 1;
        currentlull = 0;
        lastsongtick = 0xFFFFFFFF;
    }
    void TearDown() override
    {
        FreeMusic();
        CaptureDebugLog(nullptr);
        StopPlatform();
        ClearAudioRecord();
        UseRealClock();
        fs::current_path(before);
        musicon = 1;
    }

    void Write(const char* name, const Bytes& bytes)
    {
        std::ofstream out(dir / "Music" / (std::string(name) + ".mid"), std::ios::binary);
        out.write((const char*)bytes.data(), (std::streamsize)bytes.size());
    }

    void Load()
    {
        ASSERT_FALSE(LoadMusic());
        ClearAudioRecord();
    }

    fs::path dir;
    fs::path before;
    std::string log;
};

TEST_F(MusicTest, LoadsTheSevenSongs)
{
    ASSERT_FALSE(LoadMusic());
    EXPECT_EQ(songcount, 7);
    for (int i = 0; i < SONGCOUNT; i++)
        EXPECT_TRUE(songs[i] && songs[i]->loaded) << names[i];
    EXPECT_EQ(log, "LoadMusic: Loading Music.\nAllocating music\nFinished allocating music.\n");
    EXPECT_EQ(musicready, 1);
}

TEST_F(MusicTest, AMissingOrBrokenSongIsLoggedAndLeftOut)
{
    fs::remove(dir / "Music" / "Night.mid");
    Write("Idle", MakeWav(1, 8000, 8, 100));
    Load();
    EXPECT_NE(log.find("Caught .\\Music\\Night.mid in LoadMusic.\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Caught .\\Music\\Idle.mid in LoadMusic.\n"), std::string::npos) << log;
    EXPECT_FALSE(songs[SONG_NIGHT]->loaded);
    EXPECT_TRUE(songs[SONG_LOAD]->loaded) << "the songs after a bad one still load";
    EXPECT_FALSE(PlaySong(SONG_NIGHT));
    EXPECT_FALSE(PlaySong(SONG_NIGHT));
    EXPECT_TRUE(Started().empty());
    EXPECT_EQ(log.find("Failed to play song"), std::string::npos) << "left out once, not failed every frame";
}

TEST_F(MusicTest, WithMusicOffNothingStarts)
{
    Load();
    musicon = 0;
    for (const int32_t n : {(int32_t)SONG_LULLS, (int32_t)SONG_LULL1, (int32_t)SONG_MENU, (int32_t)SONG_IDLE, -2, 7}) {
        AdvanceClock(5000);
        EXPECT_FALSE(PlaySong(n)) << n;
    }
    EXPECT_TRUE(Started().empty());
}

TEST_F(MusicTest, ASongIsLeftAloneWhilePlayingAndStartedAgainAfterItEnds)
{
    Load();
    EXPECT_TRUE(PlaySong(SONG_MENU));
    AdvanceClock(songms - 1);
    EXPECT_FALSE(PlaySong(SONG_MENU)) << "still playing";
    AdvanceClock(1);
    EXPECT_TRUE(PlaySong(SONG_MENU)) << "ended: from the beginning again";
    EXPECT_EQ(Started(), (std::vector<std::string>{"Menu", "Menu"}));
}

TEST_F(MusicTest, ANewSongReplacesTheOldOne)
{
    Load();
    EXPECT_TRUE(PlaySong(SONG_MENU));
    EXPECT_TRUE(PlaySong(SONG_IDLE));
    EXPECT_TRUE(IsSongPlaying(songs[SONG_MENU], false));
    EXPECT_TRUE(IsSongPlaying(songs[SONG_IDLE], true));
    EXPECT_TRUE(PlaySong(SONG_MENU));
    EXPECT_TRUE(IsSongPlaying(songs[SONG_IDLE], false));
    StopAllSongs();
    EXPECT_TRUE(IsSongPlaying(songs[SONG_MENU], false));
    EXPECT_EQ(Started(), (std::vector<std::string>{"Menu", "Idle", "Menu"}));
}

TEST_F(MusicTest, TheLullsTakeTurnsOnceEach)
{
    Load();
    // Asked for on every frame of 16 ms: each lull plays to its end, the next follows at once.
    std::vector<uint32_t> starts;
    for (uint32_t t = 0; t < 4 * songms + 100; t += 16) {
        if (PlaySong(SONG_LULLS))
            starts.push_back(t);
        AdvanceClock(16);
    }
    EXPECT_EQ(Started(), (std::vector<std::string>{"Lull2", "Lull3", "Lull1", "Lull2", "Lull3"}));
    ASSERT_EQ(starts.size(), 5u);
    for (size_t i = 1; i < starts.size(); i++)
        EXPECT_EQ(starts[i] - starts[i - 1], 2000u) << "a lull starts on the first frame after the last one ended";
}

TEST_F(MusicTest, TheRotationWaitsASecondAfterALullStarts)
{
    // Lulls of a quarter second: the next may not start until more than 1000 ms after the last start.
    for (const char* lull : {"Lull1", "Lull2", "Lull3"})
        Write(lull, MakeSong(1, 250000));
    Load();
    EXPECT_TRUE(PlaySong(SONG_LULLS));
    AdvanceClock(1000);
    EXPECT_FALSE(PlaySong(SONG_LULLS));
    AdvanceClock(1);
    EXPECT_TRUE(PlaySong(SONG_LULLS));
    EXPECT_EQ(Started(), (std::vector<std::string>{"Lull2", "Lull3"}));
}

TEST_F(MusicTest, AMissingLullIsPassedOver)
{
    fs::remove(dir / "Music" / "Lull3.mid");
    Load();
    EXPECT_TRUE(PlaySong(SONG_LULLS));
    AdvanceClock(songms);
    EXPECT_TRUE(PlaySong(SONG_LULLS)) << "its turn comes and goes in silence";
    EXPECT_TRUE(IsSongPlaying(songs[SONG_LULL3], false));
    AdvanceClock(1001);
    EXPECT_TRUE(PlaySong(SONG_LULLS));
    EXPECT_EQ(Started(), (std::vector<std::string>{"Lull2", "Lull1"}));
}

TEST_F(MusicTest, OnlySongsThatExistCanBeAskedFor)
{
    Load();
    EXPECT_FALSE(PlaySong(-2));
    EXPECT_FALSE(PlaySong(SONGCOUNT));
    EXPECT_FALSE(PlaySong(1000));
    EXPECT_TRUE(Started().empty());
}

TEST_F(MusicTest, FreedMusicStopsAndForgetsEverything)
{
    Load();
    EXPECT_TRUE(PlaySong(SONG_MENU));
    FreeMusic();
    EXPECT_EQ(musicready, 0);
    EXPECT_EQ(songs[SONG_MENU], nullptr);
    StopAllSongs();
    EXPECT_FALSE(PlaySong(SONG_MENU));
}

// What is no soundfont is told once in the log when the output opens, and the songs keep their time in
// silence.
TEST_F(MusicTest, WithoutAReadableSoundfontTheSongsKeepTheirTimeInSilenceAndItIsToldOnce)
{
    StopPlatform();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string noise(4096, '\0');
    for (size_t i = 0; i < noise.size(); i++)
        noise[i] = (char)(i * 2654435761u >> 13);
    const struct {
        const char* name;
        std::string bytes;      // written as a file unless empty
        bool folder;
    } cases[] = {
        {"None.sf2", "", false},
        {"Noise.sf2", noise, false},
        {"Folder.sf2", "", true},
    };
    for (const auto& c : cases) {
        const fs::path path = dir / c.name;
        if (c.folder)
            fs::create_directory(path);
        else if (!c.bytes.empty())
            std::ofstream(path, std::ios::binary) << c.bytes;
        setenv("SDL_SOUNDFONTS", path.c_str(), 1);
        if (StartPlatform(BACKEND_SDL))
            break;
        log.clear();
        ASSERT_FALSE(LoadMusic());
        const std::string told = "No soundfont readable in " + path.string() + ": the songs are silent.\n";
        EXPECT_TRUE(PlaySong(SONG_MENU)) << c.name;
        EXPECT_FALSE(PlaySong(SONG_MENU)) << c.name << ": a silent song still plays for its length";
        AdvanceClock(songms);
        EXPECT_TRUE(PlaySong(SONG_MENU)) << c.name;
        const size_t first = log.find(told);
        EXPECT_NE(first, std::string::npos) << c.name << '\n' << log;
        EXPECT_EQ(log.find(told, first + 1), std::string::npos) << c.name << ": told twice\n" << log;
        EXPECT_EQ(log.find("Failed to play song"), std::string::npos) << c.name;
        FreeMusic();
        StopPlatform();
    }
    unsetenv("SDL_SOUNDFONTS");
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_VIDEODRIVER");
}

} // namespace
