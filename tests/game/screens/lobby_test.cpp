// Hosting, the lobby and its chat, and joining an address that leads nowhere, through the screens.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/net/link.h"
#include "game/net/lobby.h"
#include "game/screens/errorscreen.h"
#include "game/screens/lobby.h"
#include "game/view/chat.h"
#include "game/screens/states.h"
#include "game/shell/shell.h"
#include "game/view/feed.h"
#include "game/view/names.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "tests/game/screens/screentest.h"
#include "tests/game/support/machines.h"
#include "tests/game/support/world.h"

namespace {

class Lobby : public ScreenTest {
protected:
    // Hosts through the main menu's state on a free port; the lobby is open afterwards.
    void HostThroughTheScreens()
    {
        static std::mt19937 rng{ std::random_device{}() };
        playername = "Hal";
        for (int tries = 0; tries < 50 && gs != GAME_LOBBY; tries++) {
            netport = 30000 + (int)(rng() % 25000);
            gs = GAME_HOST;
            Frames(1);
            if (gs == GAME_ENTERLOBBY)
                Frames(1);
        }
        ASSERT_EQ(gs, GAME_LOBBY);
        ASSERT_TRUE(ishost);
    }
    static bool Fed(const std::string& text)
    {
        for (const FeedMessage& m : messages)
            if (m.text == text)
                return true;
        return false;
    }
};

TEST_F(Lobby, TheHostsLobbyOpensWithTheChatLineForTyping)
{
    HostThroughTheScreens();
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(editmode, EDIT_NAME);
    EXPECT_EQ(editstring, &paneltext);
    EXPECT_EQ(hostaddress, localaddress);
}

TEST_F(Lobby, EnterSendsTheTypedLineAndNothingWhenItIsEmpty)
{
    HostThroughTheScreens();
    Tap(KEY_RETURN);
    Frames(2);
    EXPECT_TRUE(messages.empty());
    InjectText("hello all");
    Frames(1);
    EXPECT_EQ(paneltext, "hello all");
    Tap(KEY_RETURN);
    Frames(1);
    EXPECT_TRUE(paneltext.empty());
    EXPECT_TRUE(Fed(PlayerName(0) + ": hello all"));
}

TEST_F(Lobby, TheHostAloneCannotStartTheGame)
{
    HostThroughTheScreens();
    Click(695, 570);
    Frames(2);
    EXPECT_EQ(gs, GAME_LOBBY);
    EXPECT_TRUE(Fed("Cannot begin game without other players!"));
}

TEST_F(Lobby, TheNamesButtonTurnsTheSettingOverAndBack)
{
    HostThroughTheScreens();
    shownames = 1;
    Click(490, 570);
    Frames(2);
    EXPECT_EQ(shownames, 0);
    Click(490, 570);
    Frames(2);
    EXPECT_EQ(shownames, 1);
}

TEST_F(Lobby, CancelLeavesForTheMainMenu)
{
    HostThroughTheScreens();
    Click(105, 570);
    Frames(2);
    EXPECT_EQ(gs, GAME_TOMAINMENU);
    EXPECT_FALSE(ishost);
    EXPECT_TRUE(p.empty());
}

TEST_F(Lobby, AClientHasNeitherStartGameNorTheNamesButton)
{
    MakeWorld(2, 30, false);
    BecomeClient(1);
    connected = 1;
    gs = GAME_LOBBY;
    Frames(1);
    TakeSentFrames();
    for (const auto& [x, y] : { std::pair{ 695, 570 }, std::pair{ 490, 570 } }) {
        Click(x, y);
        Frames(2);
        EXPECT_EQ(gs, GAME_LOBBY);
        EXPECT_TRUE(TakeSentFrames().empty());
    }
}

TEST_F(Lobby, TheChatAreaKeepsOnlyTheLinesThatFit)
{
    struct Case {
        int lines, kept;
    } cases[] = { { 0, 0 }, { 1, 1 }, { 18, 18 }, { 27, 27 }, { 28, 27 }, { 60, 27 } };
    for (const Case& c : cases) {
        messages.clear();
        for (int i = 0; i < c.lines; i++)
            messages.push_back(FeedMessage{ "line " + std::to_string(i), 0xFFFFFF, 0 });
        DrawLobbyChat();
        ASSERT_EQ((int)messages.size(), c.kept) << c.lines;
        if (c.kept) {
            EXPECT_EQ(messages.back().text, "line " + std::to_string(c.lines - 1)) << "the newest stays";
        }
    }
}

TEST_F(Lobby, AnEmptyAddressFailsThroughTheErrorScreenBackToTheEntry)
{
    gs = GAME_JOIN;
    Frames(1);
    EXPECT_EQ(gs, GAME_ENTERIP);
    EXPECT_EQ(editmode, EDIT_ADDRESS);
    Tap(KEY_RETURN);
    Frames(1);
    EXPECT_EQ(gs, GAME_CONNECT);
    EXPECT_GE(FramesUntil(GAME_ERRORSCREEN, 50), 0);
    EXPECT_EQ(errortitle, "Couldn't Connect");
    Frames(1);
    Click(400, 550);
    Frames(2);
    EXPECT_EQ(gs, GAME_JOIN);
    Frames(1);
    EXPECT_EQ(gs, GAME_ENTERIP);
}

TEST_F(Lobby, TheAddressTakesDigitsAndDotsUpToFifteen)
{
    gs = GAME_JOIN;
    Frames(1);
    InjectText("12a7.0;.0.1 /x9999999999");
    Frames(1);
    EXPECT_EQ(hostaddress, "127.0.0.1999999");
}

TEST_F(Lobby, AHostThatDoesNotAnswerLeadsToTheErrorScreen)
{
    // A port nobody listens on: the connection is refused.
    netport = 9;
    gs = GAME_JOIN;
    Frames(1);
    InjectText("127.0.0.1");
    Frames(1);
    Click(695, 515);                    // Connect
    Frames(2);
    EXPECT_GE(FramesUntil(GAME_ERRORSCREEN, 500), 0);
    EXPECT_EQ(errortitle, "Couldn't Connect");
    EXPECT_EQ(aftererror, GAME_JOIN);
}

} // namespace
