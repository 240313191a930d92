// The network over real loopback TCP: the game under test as host or client, against scripted peers
// (loopback.h): joining, frames both ways, connections closing, failed connects.
#include <gtest/gtest.h>

#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/net/builders.h"
#include "game/net/frame.h"
#include "game/net/link.h"
#include "game/net/routing.h"
#include "game/net/sendqueue.h"
#include "game/net/socketevents.h"
#include "game/model/states.h"
#include "loopback.h"
#include "platform/socket.h"

TEST_F(LoopbackTest, HostTakesAJoinAndFramesFlowBothWays)
{
    const int port = Host();
    Peer peer;
    peer.Connect(port);
    ASSERT_TRUE(RunUntil([] { return pendingsockets.size() == 1; }));
    EXPECT_TRUE(Logged("Player connected to computer.  Awaiting userdata."));

    peer.Send(Frame(Bytes({'{', 1, 2, 3, 4}) + "Cy"));
    EXPECT_EQ(peer.WaitFrame(), Frame(Bytes({'*', 51, 50}) + "Tester"));
    EXPECT_EQ(peer.WaitFrame(), Frame(Bytes({'*', 51, 51}) + "Cy"));
    EXPECT_EQ(peer.WaitFrame(), Frame(Bytes({'1', 55})));
    ASSERT_EQ(p.size(), 2u);
    EXPECT_STREQ(p[1].name, "Cy");
    EXPECT_TRUE(pendingsockets.empty());

    // Two frames in one send; then one frame a byte at a time, the game running between the bytes.
    MakeTestMap(10);        // the game has begun: shopping counts
    peer.Send(Frame("&") + Frame("&"));
    ASSERT_TRUE(RunUntil([] { return shoppers == 2; }));
    const std::string chat = Frame(Bytes({'a', 51, 150}) + "hello");
    for (const char c : chat) {
        peer.Send(std::string(1, c));
        for (int i = 0; i < 3; i++)
            PumpOnce();
    }
    EXPECT_EQ(peer.WaitFrame(), chat);      // relayed back to its sender
    EXPECT_EQ(peer.TakeFrame(), "");

    // The host's own messages reach the client in order.
    for (int i = 0; i < 100; i++)
        SendToPlayer(BuildForceSetMoney(1, i), -1);
    for (int i = 0; i < 100; i++)
        ASSERT_EQ(peer.WaitFrame(), BuildFrame(BuildForceSetMoney(1, i)));
}

TEST_F(LoopbackTest, HostAnswersAnotherVersionAndCloses)
{
    const int port = Host();
    Peer peer;
    peer.Connect(port);
    ASSERT_TRUE(RunUntil([] { return pendingsockets.size() == 1; }));
    peer.Send(Frame(Bytes({'{', 1, 2, 3, 9}) + "Cy"));
    EXPECT_EQ(peer.WaitFrame(), Frame(Bytes({'$', 1, 2, 3, 4})));
    EXPECT_TRUE(peer.WaitEnd());
    EXPECT_EQ(p.size(), 1u);
    EXPECT_TRUE(pendingsockets.empty());
}

TEST_F(LoopbackTest, ConnectionOutsideTheLobbyIsClosedAtOnce)
{
    const int port = Host();
    gs = GAME_SHOP;
    Peer peer;
    peer.Connect(port);
    EXPECT_TRUE(peer.WaitEnd());
    EXPECT_TRUE(pendingsockets.empty());
    EXPECT_TRUE(Logged("=========Player connected, but game is already in progress!==========="));
}

TEST_F(LoopbackTest, PlayerWhoClosesIsSeenLeaving)
{
    const int port = Host();
    Peer peer;
    Join(peer, port);
    const int32_t link = p[1].socket;
    peer.Close();
    // A read event that finds nothing, or finds the end, dispatches nothing.
    const std::string before = log;
    HandleSocketEvent((uintptr_t)link, NETEV_READ);
    ASSERT_TRUE(RunUntil([&] {
        HandleSocketEvent((uintptr_t)link, NETEV_READ);
        return p.size() == 1;
    }));
    EXPECT_EQ(log.find("DoMessage", before.size()), std::string::npos);
    // In the lobby, his leaving is a line of the chat; the lobby stays up.
    EXPECT_EQ(LastHeardError().title, "");
    EXPECT_EQ(gs, GAME_LOBBY);
    ASSERT_FALSE(HeardFeed(YouToInt()).empty());
    EXPECT_EQ(HeardFeed(YouToInt()).back(), "Cy has left the game.");
    EXPECT_TRUE(Logged("=========PLAYER LEAVES GAME========="));
    EXPECT_FALSE(Logged("Error in socket handler"));
}

TEST_F(LoopbackTest, PlayerWhoseConnectionIsResetIsSeenLeaving)
{
    const int port = Host();
    Peer peer;
    Join(peer, port);
    // Closing with received data unread resets the connection.
    SendToPlayer(BuildDoneShopping(), 1);
    ASSERT_TRUE(RunUntil([] { return SendQueueEmpty(); }));
    ASSERT_TRUE(RunUntil([&] {
        char c;
        return SocketReceive(peer.s, &c, 0, nullptr) == 0;
    }));
    peer.Close();
    gs = GAME_WATCH;        // in a game, a player who leaves is a notice
    ClearHeard();
    ASSERT_TRUE(RunUntil([] { return p.size() == 1; }));
    const std::vector<std::string> errors = HeardOf("error");
    ASSERT_EQ(errors.size(), 2u);                   // "Network Error" first, then the leave
    EXPECT_EQ(errors[0].substr(0, 13), "Network Error");
    EXPECT_EQ(LastHeardError().title, "Cy has left the game.");
}

TEST_F(LoopbackTest, BrokenStreamClosesTheConnection)
{
    const int port = Host();
    Peer peer;
    Join(peer, port);
    peer.Send(Bytes({1, '&', ';'}));
    EXPECT_TRUE(peer.WaitEnd());
    EXPECT_EQ(p.size(), 1u);        // handled as a player who left
    EXPECT_EQ(shoppers, 0);
}

TEST_F(LoopbackTest, ClosedConnectionsFramesNeverReachItsSuccessor)
{
    const int port = Host();
    Peer first;
    Join(first, port);
    // Frames for the first connection wait in the queue while it closes.
    for (int i = 0; i < 5; i++)
        SendToPlayer(BuildChat(0, 100, "for the first only"), 1);
    first.Close();
    ASSERT_TRUE(RunUntil([] { return p.size() == 1; }, false)) << log.substr(log.size() > 3000 ? log.size() - 3000 : 0);
    EXPECT_TRUE(SendQueueEmpty());
    gs = GAME_LOBBY;    // back from the error screen that told of the leave

    Peer second;
    second.Connect(port);
    ASSERT_TRUE(RunUntil([] { return pendingsockets.size() == 1; }, false));
    for (int i = 0; i < 50; i++)
        PumpOnce();
    EXPECT_EQ(second.TakeFrame(), "");
    EXPECT_TRUE(second.in.empty());
}

TEST_F(LoopbackTest, ClientJoinsAndHearsTheServerLeave)
{
    Peer host;
    netport = host.Listen();
    ASSERT_NE(netport, 0);
    ASSERT_FALSE(JoinHost("127.0.0.1"));
    ASSERT_TRUE(RunUntil([&] { return host.Accept() && connected; }));
    EXPECT_TRUE(Logged("==========CONNECTED TO HOST SERVER============"));
    EXPECT_EQ(host.WaitFrame(), Frame(Bytes({'{', 1, 2, 3, 4}) + "Tester"));

    // The host's '*' frames, split and joined at odd places.
    const std::string frames = Frame(Bytes({'*', 51, 50}) + "Host") + Frame(Bytes({'*', 51, 51}) + "Tester")
        + Frame(Bytes({'1', 55}));
    host.Send(frames.substr(0, 4));
    for (int i = 0; i < 3; i++)
        PumpOnce();
    host.Send(frames.substr(4, 9));
    for (int i = 0; i < 3; i++)
        PumpOnce();
    host.Send(frames.substr(13));
    ASSERT_TRUE(RunUntil([] { return p.size() == 2 && you != NOSTAMP; }));
    EXPECT_EQ(YouToInt(), 1);
    EXPECT_STREQ(p[0].name, "Host");

    // Requests go to the host.
    SendToPlayer(BuildMoveRequest(258, 3, 4), -1);
    EXPECT_EQ(host.WaitFrame(), BuildFrame(BuildMoveRequest(258, 3, 4)));

    host.Close();
    ASSERT_TRUE(RunUntil([] { return mainsocket == NO_SOCKET; }));
    EXPECT_EQ(LastHeardError().title, "Server Disconnected");
    EXPECT_EQ(LastHeardError().next, GAME_LEAVEGAME);
    EXPECT_TRUE(Logged("LOST SERVER CONNECTION"));
}

TEST_F(LoopbackTest, ClientHearsAVersionMismatch)
{
    Peer host;
    netport = host.Listen();
    ASSERT_FALSE(JoinHost("127.0.0.1"));
    ASSERT_TRUE(RunUntil([&] { return host.Accept() && connected; }));
    host.Send(Frame(Bytes({'$', 1, 2, 3, 9})));
    ASSERT_TRUE(RunUntil([] { return LastHeardError().title == "Version Mismatch"; }));
    EXPECT_EQ(LastHeardError().next, GAME_LEAVEGAME);
    // The host closes after its answer: the notice naming both versions stays up.
    const std::string text = LastHeardError().text;
    EXPECT_NE(text.find("1.2.3.4."), std::string::npos);
    EXPECT_NE(text.find("1.2.3.9."), std::string::npos);
    host.Close();
    ASSERT_TRUE(RunUntil([] { return mainsocket == NO_SOCKET; }));
    EXPECT_EQ(LastHeardError().title, "Version Mismatch");
    EXPECT_EQ(LastHeardError().text, text);
    EXPECT_EQ(LastHeardError().next, GAME_LEAVEGAME);
    EXPECT_FALSE(Logged("LOST SERVER CONNECTION"));
}

TEST_F(LoopbackTest, RefusedConnectLeavesTheNetworkReadyForAnotherTry)
{
    // A port that was just free: nothing listens there.
    Peer gone;
    const int port = gone.Listen();
    gone.Close();
    netport = port;
    ASSERT_FALSE(JoinHost("127.0.0.1"));
    ASSERT_TRUE(RunUntil([] { return LastHeardError().title == "Couldn't Connect"; }));
    EXPECT_EQ(LastHeardError().next, GAME_JOIN);
    EXPECT_FALSE(netstarted);
    EXPECT_EQ(mainsocket, NO_SOCKET);

    Peer host;
    netport = host.Listen();
    ASSERT_FALSE(JoinHost("127.0.0.1"));
    EXPECT_TRUE(RunUntil([&] { return host.Accept() && connected; }));
}

TEST_F(LoopbackTest, AddressThatIsNotDottedFailsThroughTheConnectEvent)
{
    netport = 4417;
    ASSERT_FALSE(JoinHost("not.an.address"));
    ASSERT_TRUE(RunUntil([] { return LastHeardError().title == "Couldn't Connect"; }));
    EXPECT_FALSE(netstarted);
}

TEST_F(LoopbackTest, HostingTwiceFailsAndLeavingFreesThePort)
{
    const int port = Host();
    EXPECT_TRUE(HostListen());      // the network is already started
    NetCleanup();
    ResetGameState();
    netport = port;
    EXPECT_FALSE(HostGame());       // the same port at once
    EXPECT_EQ(p.size(), 1u);
    EXPECT_TRUE(p[0].hostplayer);
    EXPECT_EQ(YouToInt(), 0);
}

TEST_F(LoopbackTest, CloseAllSocketsEndsEveryConnection)
{
    const int port = Host();
    Peer a, b, c;
    Join(a, port, "Ann");
    Join(b, port, "Bo");
    c.Connect(port);
    ASSERT_TRUE(RunUntil([] { return pendingsockets.size() == 1; }));
    CloseAllSockets();
    CloseAllSockets();              // harmless twice
    EXPECT_TRUE(a.WaitEnd());
    EXPECT_TRUE(b.WaitEnd());
    EXPECT_TRUE(c.WaitEnd());
    EXPECT_EQ(mainsocket, NO_SOCKET);
}
