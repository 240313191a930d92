// A player leaving, on the host and on a client that stays: the same table afterwards, and the game
// going on, whenever he leaves.
#include <gtest/gtest.h>

#include "game/model/digest.h"
#include "game/model/localplayer.h"
#include "game/model/mapgen.h"
#include "game/model/state.h"
#include "game/model/turns.h"
#include "game/net/builders.h"
#include "game/net/socketevents.h"
#include "game/screens/states.h"
#include "netplay.h"
#include "platform/socket.h"

namespace {

// Player 2's connection breaks on the host; client 1 hears of it. Both digests afterwards.
void Leave(HostAndClient& machines, std::vector<SentFrame>* sent = nullptr)
{
    machines.UseHost();
    ConnectionBroken(p[2].socket, NETERR_RESET);
    const std::vector<SentFrame> frames = machines.HostToClient();
    if (sent)
        *sent = frames;
}

uint64_t HostDigest(HostAndClient& machines)
{
    machines.UseHost();
    return GameStateDigest();
}

uint64_t ClientDigest(HostAndClient& machines)
{
    machines.UseClient();
    return GameStateDigest();
}

} // namespace

TEST_F(NetPlayTest, LeavingInTheLobbyClosesUpTheTableAndItsNumbers)
{
    MakeWorld(4, 12, false);
    map.clear();
    mapsize = 0;
    HostAndClient machines(3);
    Leave(machines);
    EXPECT_EQ(p.size(), 3u);
    EXPECT_EQ(YouToInt(), 2);
    EXPECT_EQ(p[2].code, FIRSTCODE + 2);
    EXPECT_EQ(playersleft, 3);
    EXPECT_EQ(ClientDigest(machines), HostDigest(machines));
    EXPECT_EQ(p[2].code, FIRSTCODE + 2);
}

TEST_F(NetPlayTest, LeavingDuringSetUpKeepsTheCampsTheHostPlaced)
{
    MakeWorld(3, 12, false);
    map.clear();
    mapsize = 0;
    HostAndClient machines(1);
    machines.UseHost();
    SetStartMoney(150);                 // the blank map and its camps, for three players
    std::vector<SentFrame> sent;
    Leave(machines, &sent);             // before the client's first row
    ASSERT_EQ(mapsize, 37);
    EXPECT_EQ(p.size(), 2u);
    const int32_t x = p[1].startx, y = p[1].starty;
    machines.UseHost();
    EXPECT_EQ(p[1].startx, x);
    EXPECT_EQ(p[1].starty, y);
    EXPECT_EQ(ClientDigest(machines), HostDigest(machines));
}

TEST_F(NetPlayTest, LeavingInHisTurnBeforeTheNeutralTurnHandsItToTheNeutralSide)
{
    MakeWorld(3, 12);
    for (int32_t player = 0; player < 4; player++) {
        AddTestUnit(player, 1 + 2 * player, 1);
        p[player].warlordtype = player < 3 ? 24 : 0;
    }
    currplayer = turnholder = 2;
    turncount = 1;
    HostAndClient machines(1);
    machines.UseHost();
    ConnectionBroken(p[2].socket, NETERR_RESET);
    EXPECT_EQ(LastHeardError().next, GAME_COMPTURN);           // the host plays the neutral turn after the notice
    EXPECT_EQ(turnholder, 2);
    const std::vector<SentFrame> sent = machines.HostToClient();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent.back().Body(), BuildDropPlayer(2));
    EXPECT_TRUE(Sent(sent, BuildNextTurn(3)));      // the neutral side, at its index before the erase
    EXPECT_EQ(p.size(), 3u);
    EXPECT_EQ(currplayer, 2);                        // the neutral side, at its new index
    EXPECT_TRUE(p[2].neutral);
    EXPECT_EQ(LastHeardError().next, GAME_WATCH);
    EXPECT_EQ(ClientDigest(machines), HostDigest(machines));
}

TEST_F(NetPlayTest, LeavingInAnotherPlayersTurnPassesNothing)
{
    MakeWorld(3, 12);
    for (int32_t player = 0; player < 3; player++) {
        AddTestUnit(player, 1 + 2 * player, 1);
        p[player].warlordtype = 24;
    }
    currplayer = turnholder = 1;
    HostAndClient machines(1);
    std::vector<SentFrame> sent;
    Leave(machines, &sent);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Body(), BuildDropPlayer(2));
    EXPECT_EQ(currplayer, 1);
    EXPECT_EQ(playersleft, 2);
    EXPECT_EQ(ClientDigest(machines), HostDigest(machines));
}

TEST_F(NetPlayTest, LeavingDuringTheDaySummaryPassesNoTurn)
{
    MakeWorld(3, 12);
    for (int32_t player = 0; player < 3; player++) {
        AddTestUnit(player, 1 + 2 * player, 1);
        p[player].warlordtype = 24;
    }
    // The night ended in player 2's turn: the summary is up, nobody holds a turn.
    currplayer = 2;
    turnholder = -1;
    HostAndClient machines(1);
    machines.UseHost();
    turncount = -1;
    gs = GAME_DAYSUMMARY;
    machines.UseClient();
    gs = GAME_DAYSUMMARY;
    machines.UseHost();
    ConnectionBroken(p[2].socket, NETERR_RESET);
    EXPECT_EQ(LastHeardError().next, GAME_DAYSUMMARY);
    const std::vector<SentFrame> sent = machines.HostToClient();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Body(), BuildDropPlayer(2));
    EXPECT_EQ(LastHeardError().next, GAME_DAYSUMMARY);
    EXPECT_EQ(ClientDigest(machines), HostDigest(machines));
}
