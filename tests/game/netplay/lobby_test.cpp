// The host's lobby and set-up actions, and how a client follows them.
#include <gtest/gtest.h>

#include "game/model/digest.h"
#include "game/model/localplayer.h"
#include "game/model/mapgen.h"
#include "game/model/state.h"
#include "game/net/builders.h"
#include "game/net/dispatch.h"
#include "game/net/link.h"
#include "game/net/lobby.h"
#include "game/screens/states.h"
#include "game/model/names.h"
#include "netplay.h"

TEST_F(NetPlayTest, BeginningNeedsAnotherPlayerUnlessAloneWhichEndsTheWinTestForGood)
{
    MakeWorld(1, 20, false);
    gs = GAME_LOBBY;
    BeginGame(false);
    EXPECT_EQ(gs, GAME_LOBBY);
    EXPECT_TRUE(Fed("Cannot begin game without other players!"));
    EXPECT_EQ(wincheck, 1);
    BeginGame(true);
    EXPECT_EQ(gs, GAME_SELECTMONEY);
    EXPECT_EQ(wincheck, 0);
    EXPECT_GE(worldtype, 1);
    EXPECT_LE(worldtype, 5);
    // A game alone gets the largest map.
    SetStartMoney(150);
    EXPECT_EQ(mapsize, 45);
    EXPECT_EQ(p[0].gold, 750);
    EXPECT_EQ(startgold, 750);
    EXPECT_EQ(gs, GAME_CREATEMAP);
}

TEST_F(NetPlayTest, MapSizeFollowsThePlayersAtTheChoiceOfMoney)
{
    const int32_t sizes[][2] = {{1, 45}, {2, 30}, {3, 37}, {4, 45}, {5, 45}};
    for (const auto& s : sizes)
        EXPECT_EQ(MapSizeFor(s[0]), s[1]) << s[0];
}

TEST_F(NetPlayTest, StartMoneyReachesEveryoneAndTheClientMakesTheSameCampsAtTheDownloadScreen)
{
    MakeWorld(3, 20, false);
    map.clear();
    mapsize = 0;
    HostAndClient machines(1);
    machines.UseHost();
    gs = GAME_SELECTMONEY;
    SetStartMoney(150);
    const std::vector<SentFrame> sent = machines.HostToClient();
    EXPECT_TRUE(Sent(sent, BuildSetMoney(150)));
    EXPECT_TRUE(Sent(sent, BuildSetGs(GAME_SENDMAP)));
    EXPECT_EQ(gs, GAME_SENDMAP);
    EXPECT_EQ(startgold, 750);
    ASSERT_EQ(mapsize, 37);
    for (const Player& player : p)
        EXPECT_EQ(player.gold, 750);
    // The camps were placed from the same table as the host's.
    const int32_t x = p[2].startx, y = p[2].starty;
    machines.UseHost();
    EXPECT_EQ(p[2].startx, x);
    EXPECT_EQ(p[2].starty, y);
}

TEST_F(NetPlayTest, TheMapGoesOneRowAtATimeAndEndsWithTheNeutralsScreen)
{
    MakeWorld(3, 12, false);
    for (int32_t x = 0; x < 12; x++)
        for (int32_t y = 0; y < 12; y++) {
            map[x][y].terrain = (uint8_t)((x + y) % 3);
            map[x][y].extra = (uint8_t)(x % 4);
        }
    HostAndClient machines(2);
    machines.UseClient();
    map.clear();
    mapsize = 0;
    machines.UseHost();
    gs = GAME_SENDMAP;
    mapattempts = 0;
    ResetReadyFlags();
    for (int32_t row = 0; row < 12; row++) {
        EXPECT_TRUE(SendNextMapRow()) << row;
        EXPECT_FALSE(SendNextMapRow()) << "row " << row << " is still unanswered";
        // Player 1 answers at once; the next row waits for player 2 too.
        DeliverToHost({SentFrame{std::string("\x03z;"), 0}}, 1);
        EXPECT_FALSE(SendNextMapRow());
        machines.HostToClient();        // player 2 takes the row and answers
        machines.ClientToHost();
    }
    EXPECT_EQ(gs, GAME_SENDMAP);
    EXPECT_TRUE(SendNextMapRow());
    EXPECT_EQ(gs, GAME_CREATENEUTRALS);
    const std::vector<SentFrame> sent = machines.HostToClient();
    EXPECT_TRUE(Sent(sent, BuildSetGs(GAME_CREATENEUTRALS)));
    EXPECT_EQ(gs, GAME_CREATENEUTRALS);
    ASSERT_EQ(mapsize, 12);
    EXPECT_EQ(mapattempts, 12);
    for (int32_t x = 0; x < 12; x++)
        for (int32_t y = 0; y < 12; y++) {
            EXPECT_EQ(map[x][y].terrain, (x + y) % 3);
            EXPECT_EQ(map[x][y].extra, x % 4);
            EXPECT_EQ(map[x][y].cost, (x + y) % 3 == 2 ? 2 : 1);
        }
}

TEST_F(NetPlayTest, ChatLinesCarryTheSendersNameAndPrivateLinesSaySo)
{
    MakeWorld(3, 12);
    std::string text = "hi";
    SendChat(text, 2);
    EXPECT_TRUE(text.empty());
    std::vector<SentFrame> sent = TakeSentFrames();
    EXPECT_TRUE(Sent(sent, BuildChat(0, 2, "P0 (private): hi")));
    EXPECT_TRUE(Fed("P0: hi"));         // the host's own line, without the mark
    text = "all";
    SendChat(text, PUBLICCHAT);
    sent = TakeSentFrames();
    EXPECT_TRUE(Sent(sent, BuildChat(0, PUBLICCHAT, "P0: all")));
    // Masked names: the line carries the name this machine shows.
    shownames = 0;
    text = "x";
    SendChat(text, PUBLICCHAT);
    EXPECT_TRUE(Sent(TakeSentFrames(), BuildChat(0, PUBLICCHAT, "Player One: x")));
}

TEST_F(NetPlayTest, ShowNamesIsToldToTheClients)
{
    MakeWorld(2, 12);
    HostAndClient machines(1);
    machines.UseHost();
    SetShowNames(false);
    EXPECT_EQ(shownames, 0);
    EXPECT_TRUE(Sent(machines.HostToClient(), BuildGameSetting(false)));
    EXPECT_EQ(shownames, 0);
}

TEST_F(NetPlayTest, LeavingForgetsTheGameFromAnyState)
{
    MakeWorld(2, 12);
    AddTestUnit(0, 1, 1);
    deathlist.push_back({p[0].units[0].id, 1});
    gs = GAME_UNITTURN;
    LeaveGame();
    EXPECT_EQ(gs, GAME_TOMAINMENU);
    EXPECT_TRUE(p.empty());
    EXPECT_TRUE(map.empty());
    EXPECT_EQ(mapsize, 0);
    EXPECT_EQ(you, NOSTAMP);
    EXPECT_TRUE(deathlist.empty());
    EXPECT_EQ(HeardOf("gameleft").size(), 1u);  // and what was shown of it
    EXPECT_EQ(ishost, 0);
    LeaveGame();                        // and again, with nothing left
    EXPECT_TRUE(p.empty());
}

TEST_F(NetPlayTest, TheDaysFirstTurnWaitsForEveryPlayerStillInTheGameOnce)
{
    MakeWorld(4, 12);
    for (int32_t player = 0; player < 4; player++)
        p[player].warlordtype = 24;
    AddTestUnit(0, 1, 1);
    AddTestUnit(1, 2, 2);
    AddTestUnit(2, 3, 3);               // player 3's warlord fell: he has nothing to wait for
    EXPECT_FALSE(AllShoppersDone());
    // A late answer to a set-up step is no word on shopping.
    const std::string stop = "\x03z;";
    DeliverToHost({SentFrame{stop, 0}}, 1);
    DeliverToHost({SentFrame{stop, 0}}, 2);
    EXPECT_FALSE(AllShoppersDone());
    const std::string done = "\x03&;";
    DeliverToHost({SentFrame{done, 0}, SentFrame{done, 0}}, 1);     // twice from one player
    EXPECT_FALSE(AllShoppersDone());
    DeliverToHost({SentFrame{done, 0}}, 2);
    EXPECT_TRUE(AllShoppersDone());
    // One still choosing his warlord holds the day.
    p[3].warlordtype = 0;
    EXPECT_FALSE(AllShoppersDone());
}
