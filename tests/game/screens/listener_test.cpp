// The game's listener to the rules: each announcement reaches what shows it, with the options and the
// drawing switch honoured on this side.
#include <gtest/gtest.h>

#include "game/model/announce.h"
#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/screens/errorscreen.h"
#include "game/screens/states.h"
#include "game/shell/shell.h"
#include "game/shell/sound.h"
#include "game/view/commandmode.h"
#include "game/view/feed.h"
#include "game/view/unitpicture.h"
#include "platform/clock.h"
#include "tests/game/screens/screentest.h"
#include "tests/game/support/world.h"

namespace {

using Listener = ScreenTest;

TEST_F(Listener, APauseHoldsOnlyWhatIsDrawn)
{
    const uint32_t start = GetTicks();
    AnnouncePause(250);
    EXPECT_EQ(GetTicks(), start + 250);
    candraw = 0;
    AnnouncePause(250);
    EXPECT_EQ(GetTicks(), start + 250);
}

TEST_F(Listener, SoundsFollowTheOption)
{
    soundon = 0;
    AnnounceSound(".\\Sound\\GSGold.wav");
    EXPECT_FALSE(Played(".\\Sound\\GSGold.wav"));
    soundon = 1;
    AnnounceSound(".\\Sound\\GSGold.wav");
    EXPECT_TRUE(Played(".\\Sound\\GSGold.wav"));
}

TEST_F(Listener, AnAttackOrSpellDoneReturnsTheBoardToMoving)
{
    commandmode = COMMAND_SPELL;
    commandflag = 1;
    AnnounceCommandDone();
    EXPECT_EQ(commandmode, COMMAND_MOVE);
    EXPECT_EQ(commandflag, 0);
}

TEST_F(Listener, AnErrorOpensItsScreenWithItsSound)
{
    gs = GAME_WATCH;
    AnnounceError("Network Error", "It broke.", GAME_JOIN);
    EXPECT_EQ(gs, GAME_ERRORSCREEN);
    EXPECT_EQ(aftererror, GAME_JOIN);
    EXPECT_EQ(errortitle, "Network Error");
    EXPECT_EQ(errortext, "It broke.");
    EXPECT_TRUE(Played(".\\Sound\\GSError.wav"));
}

TEST_F(Listener, TheLocalPlayersLinesReachHisFeedAndLeavingForgetsThem)
{
    MakeWorld(2, 10);
    AddTestUnit(0, 1, 1);
    you = p[0].sizeattime;
    DropLocalPlayerCache();
    AnnounceFeed(0, "Yours.");
    AnnounceFeed(1, "Another's.");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Yours.");
    AnnouncePictures();
    EXPECT_EQ(UnitPictureCount(), 1);
    AnnounceGameLeft();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(UnitPictureCount(), 0);
}

} // namespace
