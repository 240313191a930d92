// Pictures of the front-end screens as the game draws them headless, for eyes: each test brings one
// screen to a typical frame and saves it as <test binary dir>/screen-<name>.png.
#include <gtest/gtest.h>

#include <string>

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
#include "game/shell/prefs.h"
#include "game/view/feed.h"
#include "game/view/names.h"
#include "tests/game/screens/screentest.h"
#include "tests/game/support/world.h"

namespace {

class Screenshots : public ScreenTest {
protected:
    // Something was drawn over the whole screen's middle band.
    void ExpectDrawn()
    {
        const PixelRect ink = Ink(backbuffer, { 0, 100, SCREENWIDTH, 500 });
        EXPECT_LT(ink.left, ink.right);
    }
};

TEST_F(Screenshots, Intro)
{
    Frames(60);
    ASSERT_EQ(gs, GAME_INTRO);
    SaveScreen("screen-intro");
    EXPECT_LT(Ink(backbuffer, { 0, 0, SCREENWIDTH, 100 }).left, SCREENWIDTH);
}

TEST_F(Screenshots, NameEntry)
{
    gs = GAME_ENTERNAME;
    playername = "Morwen";
    MoveTo(660, 560);
    Frames(17);
    SaveScreen("screen-name");
    ExpectDrawn();
}

TEST_F(Screenshots, MainMenu)
{
    gs = GAME_MAINMENU;
    MoveTo(420, 110);
    Frames(2);
    SaveScreen("screen-menu");
    ExpectDrawn();
}

TEST_F(Screenshots, LobbyWithChat)
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
    SaveScreen("screen-lobby");
    ExpectDrawn();
}

TEST_F(Screenshots, StartMoney)
{
    MakeWorld(2, 0, false);
    gs = GAME_SELECTMONEY;
    MoveTo(420, 330);
    Frames(1);
    SaveScreen("screen-money");
    ExpectDrawn();
}

TEST_F(Screenshots, MapTransfer)
{
    MakeWorld(2, 30, false);
    BecomeClient(1);
    startgold = 750;
    gs = GAME_SENDMAP;
    mapattempts = 18;
    Frames(1);
    SaveScreen("screen-maptransfer");
    ExpectDrawn();
}

TEST_F(Screenshots, Credits)
{
    gs = GAME_CREDITS;
    framecount = 40;
    MoveTo(380, 530);
    Frames(1);
    SaveScreen("screen-credits");
    ExpectDrawn();
}

TEST_F(Screenshots, HelpPages)
{
    gs = GAME_HELPOPEN;
    Frames(2);
    SaveScreen("screen-help-basics");
    ExpectDrawn();
    // A unit's page: the second tab, its fourth page.
    Click(90, 60 + helptabheight + helptabheight / 2);
    Frames(1);
    for (int i = 0; i < 3; i++) {
        Click(720, 520);
        Frames(1);
    }
    MoveTo(600, 560);
    Frames(1);
    SaveScreen("screen-help-unit");
    // A spell's page.
    Click(90, 60 + 5 * helptabheight + helptabheight / 2);
    Frames(1);
    SaveScreen("screen-help-spell");
}

TEST_F(Screenshots, Dialogs)
{
    gs = GAME_QUIT;
    MoveTo(420, 270);
    Frames(1);
    SaveScreen("screen-quit");
    gs = GAME_UPDATE;
    Frames(1);
    SaveScreen("screen-update");
}

} // namespace
