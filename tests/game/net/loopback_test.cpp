// The network over real loopback TCP: the game under test as host or client, against scripted peers
// driven from the same thread. Every wait is a bounded number of main-loop passes.
#include <gtest/gtest.h>

#include <cerrno>
#include <random>

#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/net/builders.h"
#include "game/net/frame.h"
#include "game/net/link.h"
#include "game/net/lobby.h"
#include "game/net/routing.h"
#include "game/net/sendqueue.h"
#include "game/net/socketevents.h"
#include "game/screens/states.h"
#include "game/shell/errorscreen.h"
#include "game/shell/sound.h"
#include "nettest.h"
#include "platform/clock.h"
#include "platform/socket.h"
#include "platform/window.h"

namespace {

enum { MAXPASSES = 2000 };  // with a 2 ms poll per pass: a few seconds at worst

// One main-loop pass of the network: socket events into the handler, then one send attempt.
void PumpOnce(bool send = true)
{
    PumpSockets(2);
    SysMsg m;
    while (PeekSysMessage(&m))
        if (m.message == SYS_SOCKET)
            HandleSocketEvent(m.wparam, m.lparam);
    if (send)
        SendQueuedMessage();
}

template <class Pred>
bool RunUntil(Pred done, bool send = true)
{
    for (int i = 0; i < MAXPASSES; i++) {
        if (done())
            return true;
        PumpOnce(send);
    }
    return done();
}

int RandomPort()
{
    static std::mt19937 rng{std::random_device{}()};
    return 30000 + (int)(rng() % 25000);
}

// A scripted peer on the far end of a connection, written against the socket calls directly.
struct Peer {
    int s = NO_SOCKET;
    int listener = NO_SOCKET;
    std::string in;         // received, not yet taken as frames
    bool ended = false;     // the game closed the connection
    int error = 0;

    ~Peer() { Close(); }

    void Connect(int port)
    {
        s = SocketCreate(nullptr);
        ASSERT_NE(s, NO_SOCKET);
        ASSERT_FALSE(SocketConnect(s, "127.0.0.1", (uint16_t)port));
    }

    // Listens on a free port for the game to join; returns it.
    int Listen()
    {
        for (int tries = 0; tries < 50; tries++) {
            const int port = RandomPort();
            listener = SocketCreate(nullptr);
            if (!SocketBind(listener, (uint16_t)port, nullptr) && !SocketListen(listener, 1, nullptr))
                return port;
            SocketClose(listener);
        }
        listener = NO_SOCKET;
        return 0;
    }

    bool Accept()
    {
        if (s == NO_SOCKET)
            s = SocketAccept(listener, nullptr);
        return s != NO_SOCKET;
    }

    void Send(const std::string& bytes)
    {
        size_t done = 0;
        for (int i = 0; i < MAXPASSES && done < bytes.size(); i++) {
            int e = 0;
            const int n = SocketSend(s, bytes.data() + done, (int)(bytes.size() - done), &e);
            if (n > 0)
                done += (size_t)n;
            else
                PumpOnce();
        }
        ASSERT_EQ(done, bytes.size());
    }

    void Read()
    {
        char buffer[4096];
        for (;;) {
            int e = 0;
            const int n = SocketReceive(s, buffer, sizeof buffer, &e);
            if (n > 0) {
                in.append(buffer, (size_t)n);
                continue;
            }
            if (n == 0 || e != NETERR_WOULDBLOCK) {
                ended = true;
                error = n == 0 ? 0 : e;
            }
            return;
        }
    }

    // The next whole frame received, or "" when none has arrived yet.
    std::string TakeFrame()
    {
        Read();
        if (in.empty() || in.size() < (uint8_t)in[0])
            return "";
        const std::string frame = in.substr(0, (uint8_t)in[0]);
        in.erase(0, frame.size());
        return frame;
    }

    std::string WaitFrame()
    {
        std::string frame;
        RunUntil([&] { return !(frame = TakeFrame()).empty(); });
        return frame;
    }

    bool WaitEnd()
    {
        return RunUntil([&] {
            Read();
            return ended;
        });
    }

    void Close()
    {
        SocketClose(s);
        SocketClose(listener);
        s = listener = NO_SOCKET;
    }
};

class LoopbackTest : public NetTest {
protected:
    void SetUp() override
    {
        NetTest::SetUp();
        ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
    }

    void TearDown() override
    {
        NetCleanup();
        StopPlatform();
        NetTest::TearDown();
    }

    // Hosts on a free port and opens the lobby; returns the port.
    int Host()
    {
        for (int tries = 0; tries < 50; tries++) {
            netport = RandomPort();
            if (!HostGame()) {
                gs = GAME_LOBBY;
                return netport;
            }
        }
        ADD_FAILURE() << "no free port to host on";
        return 0;
    }

    // A peer that has joined the hosted game as "Cy" and taken the frames the join sends it.
    void Join(Peer& peer, int port, const char* name = "Cy")
    {
        const size_t before = p.size();
        peer.Connect(port);
        ASSERT_TRUE(RunUntil([] { return !pendingsockets.empty(); }));
        peer.Send(Frame(Bytes({'{', 1, 2, 3, 4}) + name));
        ASSERT_TRUE(RunUntil([&] { return p.size() == before + 1; }));
        for (size_t i = 0; i <= before + 1; i++)    // one '*' per record before him, his own, then '1'
            ASSERT_FALSE(peer.WaitFrame().empty());
    }
};

} // namespace

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
    EXPECT_EQ(errortitle, "Cy has left the game.");
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
    const size_t errors = soundsplayed.size();
    ASSERT_TRUE(RunUntil([] { return p.size() == 1; }));
    EXPECT_EQ(errortitle, "Cy has left the game.");
    EXPECT_EQ(soundsplayed.size(), errors + 2);     // "Network Error" first, then the leave
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
    EXPECT_EQ(errortitle, "Server Disconnected");
    EXPECT_EQ(aftererror, GAME_LEAVEGAME);
    EXPECT_TRUE(Logged("LOST SERVER CONNECTION"));
}

TEST_F(LoopbackTest, ClientHearsAVersionMismatch)
{
    Peer host;
    netport = host.Listen();
    ASSERT_FALSE(JoinHost("127.0.0.1"));
    ASSERT_TRUE(RunUntil([&] { return host.Accept() && connected; }));
    host.Send(Frame(Bytes({'$', 1, 2, 3, 9})));
    ASSERT_TRUE(RunUntil([] { return errortitle == "Version Mismatch"; }));
    EXPECT_EQ(aftererror, GAME_LEAVEGAME);
    // The host closes after its answer: the notice naming both versions stays up.
    const std::string text = errortext;
    EXPECT_NE(text.find("1.2.3.4."), std::string::npos);
    EXPECT_NE(text.find("1.2.3.9."), std::string::npos);
    host.Close();
    ASSERT_TRUE(RunUntil([] { return mainsocket == NO_SOCKET; }));
    EXPECT_EQ(errortitle, "Version Mismatch");
    EXPECT_EQ(errortext, text);
    EXPECT_EQ(aftererror, GAME_LEAVEGAME);
    EXPECT_FALSE(Logged("LOST SERVER CONNECTION"));
}

// Bo stops reading: his frames pile up on the host, which cuts him off once they pass the limit and
// handles him as a player who left; Ann meanwhile gets all that is sent her in the pass it is sent.
TEST_F(LoopbackTest, APeerThatStopsReadingIsCutOffAndTheOthersWaitForNothing)
{
    const int port = Host();
    Peer ann, bo;
    Join(ann, port, "Ann");
    Join(bo, port, "Bo");
    for (int i = 0; i < 2; i++)     // Bo's record and the names setting
        ASSERT_FALSE(ann.WaitFrame().empty());
    ASSERT_TRUE(ann.in.empty());
    const int32_t annsocket = p[1].socket;
    const std::string body = BuildChat(0, PUBLICCHAT, std::string(240, 'x'));
    const size_t framesize = BuildFrame(body).size();
    size_t sent = 0;
    for (int pass = 0; pass < 3000 && p.size() == 3; pass++) {
        for (int i = 0; i < 50; i++)
            SendToPlayer(body, -1);
        sent += 50;
        PumpOnce();
        ASSERT_EQ(sendqueues.count(annsocket), 0u) << "Ann waited at pass " << pass;
        ann.Read();
    }
    ASSERT_EQ(p.size(), 2u);
    EXPECT_STREQ(p[1].name, "Ann");
    EXPECT_TRUE(Logged("stopped reading"));
    EXPECT_EQ(errortitle, "Bo has left the game.");
    EXPECT_TRUE(bo.WaitEnd());
    // Everything reached Ann, then the news that Bo left.
    ASSERT_TRUE(RunUntil([&] {
        ann.Read();
        return ann.in.size() >= sent * framesize + BuildFrame(BuildDropPlayer(2)).size();
    }));
    EXPECT_EQ(ann.in.substr(sent * framesize), BuildFrame(BuildDropPlayer(2)));
}

TEST_F(LoopbackTest, ConnectionsThatDoNotJoinAreClosedAfterTenSeconds)
{
    UseVirtualClock(5000);
    const int port = Host();
    Peer silent, talker;
    silent.Connect(port);
    ASSERT_TRUE(RunUntil([] { return pendingsockets.size() == 1; }));
    AdvanceClock(JOINWAITMS / 2);
    talker.Connect(port);
    ASSERT_TRUE(RunUntil([] { return pendingsockets.size() == 2; }));
    talker.Send(Frame("&"));        // talking is not joining
    AdvanceClock(JOINWAITMS / 2 - 1);
    for (int i = 0; i < 20; i++)
        PumpOnce();
    EXPECT_EQ(pendingsockets.size(), 2u);
    AdvanceClock(1);
    EXPECT_TRUE(silent.WaitEnd());
    EXPECT_EQ(pendingsockets.size(), 1u);
    EXPECT_TRUE(Logged("did not join within 10 seconds"));
    // The other joins in time and stays.
    talker.Send(Frame(Bytes({'{', 1, 2, 3, 4}) + "Cy"));
    ASSERT_TRUE(RunUntil([] { return p.size() == 2; }));
    AdvanceClock(JOINWAITMS * 3);
    for (int i = 0; i < 20; i++)
        PumpOnce();
    EXPECT_EQ(p.size(), 2u);
    talker.Read();
    EXPECT_FALSE(talker.ended);
    UseRealClock();
}

TEST_F(LoopbackTest, RefusedConnectLeavesTheNetworkReadyForAnotherTry)
{
    // A port that was just free: nothing listens there.
    Peer gone;
    const int port = gone.Listen();
    gone.Close();
    netport = port;
    ASSERT_FALSE(JoinHost("127.0.0.1"));
    ASSERT_TRUE(RunUntil([] { return errortitle == "Couldn't Connect"; }));
    EXPECT_EQ(aftererror, GAME_JOIN);
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
    ASSERT_TRUE(RunUntil([] { return errortitle == "Couldn't Connect"; }));
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
