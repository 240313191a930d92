// The error screen's entry point.
#include <gtest/gtest.h>

#include "game/screens/errorscreen.h"
#include "game/screens/states.h"
#include "game/shell/sound.h"

namespace {

class ErrorScreenTest : public testing::Test {
protected:
    void SetUp() override
    {
        soundon = 1;
        soundsplayed.clear();
        gs = GAME_LOBBY;
    }
    void TearDown() override
    {
        soundon = 1;
        soundsplayed.clear();
        DeleteSoundEntries();           // the error sound's cache entry, which start-up tests expect gone
        gs = GAME_INTRO;
    }
};

TEST_F(ErrorScreenTest, LaterErrorReplacesTheEarlierOne)
{
    ShowErrorScreen("Couldn't Connect", "first", GAME_JOIN);
    ShowErrorScreen("Hosting Error", "Unable to create necessary host connection.", GAME_TOMAINMENU);
    EXPECT_EQ(gs, GAME_ERRORSCREEN);
    EXPECT_EQ(errortitle, "Hosting Error");
    EXPECT_EQ(errortext, "Unable to create necessary host connection.");
    EXPECT_EQ(aftererror, GAME_TOMAINMENU);
    EXPECT_EQ(soundsplayed, (std::vector<std::string>{ ".\\Sound\\GSError.wav", ".\\Sound\\GSError.wav" }));
}

TEST_F(ErrorScreenTest, SilentWithSoundOffAndNeverItsOwnNextState)
{
    soundon = 0;
    ShowErrorScreen("Lost", "Connection lost.", GAME_LEAVEGAME);
    ShowErrorScreen("Again", "text", GAME_ERRORSCREEN);
    EXPECT_EQ(aftererror, GAME_LEAVEGAME);
    EXPECT_EQ(errortitle, "Again");
    EXPECT_TRUE(soundsplayed.empty());
}

} // namespace
