// The play screen's ambient sounds: one at most per 240 frames, by the time of day, only with music on.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "game/model/state.h"
#include "game/shell/debuglog.h"
#include "game/shell/music.h"
#include "game/shell/sound.h"
#include "game/view/ambience.h"
#include "game/view/frames.h"
#include "platform/random.h"

namespace {

class AmbienceTest : public testing::Test {
protected:
    void SetUp() override
    {
        CaptureDebugLog(&log);      // the sound module is not loaded: its refusals go here
        ResetAmbience(7);
        soundsplayed.clear();
        musicon = 1;
        soundon = 1;
        framecount = 0;
        turncount = MORNING;
    }
    void TearDown() override
    {
        CaptureDebugLog(nullptr);
        soundsplayed.clear();
        framecount = 0;
        ResetGameState();
    }
    // Runs frames up to (not including) frame end; the sounds they played.
    static std::vector<std::string> RunTo(int32_t end)
    {
        soundsplayed.clear();
        for (; framecount < end; framecount++)
            PlayAmbientSound();
        return soundsplayed;
    }
    std::string log;
};

TEST_F(AmbienceTest, OneSoundABlockOfTheDayPhase)
{
    const char* const prefixes[] = { ".\\Sound\\AM0", ".\\Sound\\AM1", ".\\Sound\\AM2" };
    for (int32_t phase = MORNING; phase <= NIGHT; phase++) {
        turncount = phase;
        RunTo(framecount + 1);
        std::set<std::string> heard;
        for (int block = 0; block < 30; block++) {
            const std::vector<std::string> played = RunTo(framecount + 240);
            ASSERT_EQ(played.size(), 1u) << "block " << block;
            const std::string& name = played[0];
            ASSERT_EQ(name.size(), 16u) << name;
            EXPECT_EQ(name.substr(0, 11), prefixes[phase]);
            EXPECT_EQ(name.substr(12), ".wav");
            heard.insert(name);
        }
        EXPECT_EQ(heard.size(), 3u) << "each of the three variants in turn";
    }
}

TEST_F(AmbienceTest, TheFirstCallOnlyRemembersItsBlockAndTheSoundStartsAtTheNext)
{
    framecount = 1000;      // block 4
    EXPECT_TRUE(RunTo(1200).empty());
    EXPECT_EQ(RunTo(1201).size(), 1u);  // frame 1200 opens block 5
    EXPECT_TRUE(RunTo(1440).empty());
}

TEST_F(AmbienceTest, MusicOffPlaysNothingAndKeepsTheBlock)
{
    RunTo(1);
    musicon = 0;
    EXPECT_TRUE(RunTo(1000).empty());
    // Back on in block 4: the block differs from the one remembered (0), so a sound at once.
    musicon = 1;
    EXPECT_EQ(RunTo(1001).size(), 1u);
    EXPECT_TRUE(RunTo(1200).empty());
}

TEST_F(AmbienceTest, SoundOffPlaysNothingButTheBlocksGoOn)
{
    RunTo(1);
    soundon = 0;
    EXPECT_TRUE(RunTo(300).empty());
    soundon = 1;
    EXPECT_TRUE(RunTo(480).empty()) << "block 1 was looked at while the sound was off";
    EXPECT_EQ(RunTo(481).size(), 1u);
}

TEST_F(AmbienceTest, TheSameSeedTheSameVariants)
{
    RunTo(1);
    const std::vector<std::string> first = RunTo(240 * 12);
    ResetAmbience(7);
    framecount = 0;
    RunTo(1);
    EXPECT_EQ(RunTo(240 * 12), first);
}

TEST_F(AmbienceTest, TheNightHasItsSong)
{
    const struct {
        int32_t phase;
        int32_t song;
    } cases[] = {{0, -1}, {1, -1}, {2, SONG_NIGHT}};
    for (const auto& c : cases) {
        turncount = c.phase;
        EXPECT_EQ(TimeOfDaySong(), c.song) << c.phase;
    }
}

TEST_F(AmbienceTest, TheGamesOwnGeneratorIsNotDrawn)
{
    SeedRandom(5);
    const int next = Random();
    SeedRandom(5);
    RunTo(240 * 12);
    EXPECT_EQ(Random(), next);
}

} // namespace
