// The front-end screens as the game draws them headless: each test brings one screen to a typical frame
// and compares it with its golden fixture (tests/game/support/golden.h), so every picture, text and
// colour must stay where it is; the frame is written as <test binary dir>/screen-<name>.png to look at.
#include <gtest/gtest.h>

#include <string>

#include "game/model/localplayer.h"
#include "game/model/mapgen.h"
#include "game/model/players.h"
#include "game/model/state.h"
#include "game/net/link.h"
#include "game/net/lobby.h"
#include "game/screens/help.h"
#include "game/screens/lobby.h"
#include "game/view/chat.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/view/feed.h"
#include "game/view/frames.h"
#include "game/view/names.h"
#include "tests/game/screens/screentest.h"
#include "tests/game/support/golden.h"
#include "tests/game/support/world.h"

namespace {

class GoldenScreens : public ScreenTest {
};

TEST_F(GoldenScreens, Intro)
{
    Frames(60);
    ASSERT_EQ(gs, GAME_INTRO);
    ExpectGoldenScreen("screen-intro");
}

TEST_F(GoldenScreens, NameEntry)
{
    gs = GAME_ENTERNAME;
    playername = "Morwen";
    MoveTo(660, 560);
    Frames(17);
    ExpectGoldenScreen("screen-name");
}

TEST_F(GoldenScreens, MainMenu)
{
    gs = GAME_MAINMENU;
    MoveTo(420, 110);
    Frames(2);
    ExpectGoldenScreen("screen-menu");
}

TEST_F(GoldenScreens, LobbyWithChat)
{
    MakeWorld(3, 0, false);
    SetPlayerName(p[0], "Hal");
    SetPlayerName(p[1], "Ann");
    SetPlayerName(p[2], "Bo");
    hostaddress = "192.168.1.20";
    const char* const lines[][2] = { { "Hal", "Welcome! Ready when you are." }, { "Ann", "Hello from Ann" },
                                     { "Bo", "Bo here, one moment." }, { "Ann", "Shall we play for 750?" },
                                     { "Hal", "Fine by me." } };
    const int32_t from[] = { 0, 1, 2, 1, 0 };
    for (int i = 0; i < 5; i++)
        messages.push_back(FeedMessage{ std::string(lines[i][0]) + ": " + lines[i][1], playercolours[from[i]], 0 });
    gs = GAME_ENTERLOBBY;
    Frames(1);
    paneltext = "See you on the field";
    MoveTo(690, 565);
    Frames(1);
    ASSERT_EQ(gs, GAME_LOBBY);
    ExpectGoldenScreen("screen-lobby");
}

TEST_F(GoldenScreens, StartMoney)
{
    MakeWorld(2, 0, false);
    gs = GAME_SELECTMONEY;
    MoveTo(420, 330);
    Frames(1);
    ExpectGoldenScreen("screen-money");
}

TEST_F(GoldenScreens, MapTransfer)
{
    MakeWorld(2, 30, false);
    BecomeClient(1);
    startgold = 750;
    gs = GAME_SENDMAP;
    mapattempts = 18;
    Frames(1);
    ExpectGoldenScreen("screen-maptransfer");
}

TEST_F(GoldenScreens, Credits)
{
    gs = GAME_CREDITS;
    framecount = 40;
    MoveTo(380, 530);
    Frames(1);
    ExpectGoldenScreen("screen-credits");
}

TEST_F(GoldenScreens, HelpPages)
{
    gs = GAME_HELPOPEN;
    Frames(2);
    ExpectGoldenScreen("screen-help-basics");
    // A unit's page: the second tab, its fourth page.
    Click(90, 60 + helptabheight + helptabheight / 2);
    Frames(1);
    for (int i = 0; i < 3; i++) {
        Click(720, 520);
        Frames(1);
    }
    MoveTo(600, 560);
    Frames(1);
    ExpectGoldenScreen("screen-help-unit");
    // A spell's page.
    Click(90, 60 + 5 * helptabheight + helptabheight / 2);
    Frames(1);
    ExpectGoldenScreen("screen-help-spell");
}

// The comparison itself: the help book's first page (a page of text on parchment) drawn with each fault
// of the text layer must differ from its golden frame, and drawn with none, match it.
class FrameBreaks : public ScreenTest, public testing::WithParamInterface<TextBreak> {
protected:
    void TearDown() override
    {
        SetTextFaults(nullptr);
        ScreenTest::TearDown();
    }
};

TEST_P(FrameBreaks, TheHelpBook)
{
    SetTextFaults(&GetParam().faults);
    gs = GAME_HELPOPEN;
    Frames(2);
    ExpectBreakSeen("screen-help-basics", GetParam(), GORV_TEST_DIR);
}

INSTANTIATE_TEST_SUITE_P(Text, FrameBreaks, testing::ValuesIn(TextBreaks(false)),
                         [](const testing::TestParamInfo<TextBreak>& row) { return std::string(row.param.name); });

TEST_F(GoldenScreens, Dialogs)
{
    gs = GAME_QUIT;
    MoveTo(420, 270);
    Frames(1);
    ExpectGoldenScreen("screen-quit");
    gs = GAME_UPDATE;
    Frames(1);
    ExpectGoldenScreen("screen-update");
}

} // namespace
