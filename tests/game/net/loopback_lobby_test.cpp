// The lobby stays open to newcomers, over real loopback TCP: players who join and leave, connections
// that never say anything, each way a join fails, and hosting on a busy port.
#include <gtest/gtest.h>

#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/net/link.h"
#include "game/net/socketevents.h"
#include "game/model/states.h"
#include "loopback.h"
#include "platform/clock.h"
#include "platform/socket.h"

// One peer joining and leaving over and over is a chat line each time; the next joiner gets in.
TEST_F(LoopbackTest, AJoinAndLeaveLoopNeverShutsTheLobby)
{
    const int port = Host();
    Peer ann;
    Join(ann, port, "Ann");
    for (int i = 0; i < 6; i++) {
        Peer bo;
        Join(bo, port, "Bo");
        bo.Close();
        ASSERT_TRUE(RunUntil([] { return p.size() == 2; })) << "leave " << i;
        EXPECT_EQ(gs, GAME_LOBBY) << "leave " << i;
        EXPECT_EQ(LastHeardError().title, "") << "leave " << i;
        ASSERT_FALSE(HeardFeed(YouToInt()).empty());
        EXPECT_EQ(HeardFeed(YouToInt()).back(), "Bo has left the game.");
    }
    Peer cy;
    Join(cy, port, "Cy");
    ASSERT_EQ(p.size(), 3u);
    EXPECT_STREQ(p[2].name, "Cy");
    cy.Read();
    EXPECT_FALSE(cy.ended);
}

// Eight connections that say nothing hold every place; a real newcomer still gets in, and the oldest
// silent one is the one that goes.
TEST_F(LoopbackTest, EightSilentConnectionsDoNotKeepARealPlayerOut)
{
    const int port = Host();
    Peer silent[8];
    for (size_t i = 0; i < 8; i++) {
        silent[i].Connect(port);
        ASSERT_TRUE(RunUntil([&] { return pendingsockets.size() == i + 1; }));
        SleepMs(2);     // each one accepted a little later than the one before
    }
    Peer cy;
    Join(cy, port, "Cy");
    ASSERT_EQ(p.size(), 2u);
    EXPECT_STREQ(p[1].name, "Cy");
    EXPECT_TRUE(silent[0].WaitEnd());
    for (size_t i = 1; i < 8; i++) {
        silent[i].Read();
        EXPECT_FALSE(silent[i].ended) << i;
    }
    EXPECT_EQ(pendingsockets.size(), 7u);
    EXPECT_TRUE(Logged("the oldest silent one"));
}

namespace {

const char* const JOINSENTENCE = "Gorvanel couldn't connect to the destination computer.\n";

// What is at the address a join goes to.
enum Far {
    CLOSEDPORT,     // a port of this machine that nobody listens on
    NOWHERE,        // the broadcast address, which no connection can go to
    LISTENER,       // a listener of the test's: it takes the connection, reads the join, then answers
};

} // namespace

// Each way a join can end says why on a line of its own under the join's sentence, with the address,
// and returns to the join screen; what something other than a game answers is judged from its bytes at
// once, not after the wait for an answer; the log has the system's words and number.
TEST_F(LoopbackTest, EachWayAJoinFailsSaysWhyOnALineOfItsOwn)
{
    const std::string webpage = "HTTP/1.1 400 Bad Request\r\nContent-Type: text/html\r\nContent-Length: 0\r\n"
                                "Connection: close\r\n\r\n";
    struct Case {
        const char* what;
        Far far;
        std::string answer;     // what the listener answers ("" nothing)
        bool bytewise;          // the answer comes a byte per pass
        bool closes;            // the listener closes after its answer, as a web server does
        const char* title;      // the error screen's title; null: the join goes on
        std::string text;       // its text ("" not checked)
        bool waits;             // the error comes only when the wait for an answer is over
        const char* logged;     // a line of the log ("" none)
    } cases[] = {
        {"a closed port", CLOSEDPORT, "", false, false, "Couldn't Connect",
         std::string(JOINSENTENCE) + "Nobody is hosting a game at 127.0.0.1.", false,
         "Connection refused (system error 111)"},
        {"an address no connection goes to", NOWHERE, "", false, false, "Couldn't Connect",
         std::string(JOINSENTENCE) + "255.255.255.255 cannot be reached: check the address and the network.", false,
         "Network is unreachable (system error 101)"},
        {"a listener that never answers", LISTENER, "", false, false, "Couldn't Connect",
         std::string(JOINSENTENCE) + "No answer from 127.0.0.1.", true, ""},
        {"a web server", LISTENER, webpage, false, true, "Couldn't Connect",
         std::string(JOINSENTENCE) + "127.0.0.1 answered, but it is not a Gorvanel game.", false, ""},
        {"a web server's answer a byte at a time", LISTENER, webpage, true, false, "Couldn't Connect",
         std::string(JOINSENTENCE) + "127.0.0.1 answered, but it is not a Gorvanel game.", false, ""},
        {"another program's framed message", LISTENER, Frame("a12hello"), false, false, "Couldn't Connect",
         std::string(JOINSENTENCE) + "127.0.0.1 answered, but it is not a Gorvanel game.", false, ""},
        {"a record with a zero byte in it", LISTENER, Frame(Bytes({'*', 50, 0, 'H'})), false, false,
         "Couldn't Connect", std::string(JOINSENTENCE) + "127.0.0.1 answered, but it is not a Gorvanel game.", false,
         ""},
        {"a game of another version", LISTENER, Frame(Bytes({'$', 1, 2, 3, 9})), false, false, "Version Mismatch", "",
         false, ""},
        {"a game", LISTENER, Frame(Bytes({'*', 50, 50}) + "Host"), true, false, nullptr, "", false, ""},
    };
    for (const Case& c : cases) {
        UseVirtualClock(1000);
        ClearHeard();
        Peer listener;
        std::string address = "127.0.0.1";
        if (c.far == NOWHERE) {
            address = "255.255.255.255";
            netport = RandomPort();
        } else {
            netport = listener.Listen();
            ASSERT_NE(netport, 0) << c.what;
            if (c.far == CLOSEDPORT)
                listener.Close();
        }
        ASSERT_FALSE(JoinHost(address)) << c.what;
        if (c.far == LISTENER) {
            ASSERT_TRUE(RunUntil([&] { return listener.Accept() && connected; })) << c.what;
            EXPECT_EQ(listener.WaitFrame().substr(1, 1), "{") << c.what << ": the join";
            if (c.bytewise)
                for (const char byte : c.answer) {
                    if (!LastHeardError().title.empty())
                        break;  // judged: the rest would go to a closed connection
                    listener.Send(std::string(1, byte));
                    PumpOnce();
                }
            else if (!c.answer.empty())
                listener.Send(c.answer);
            if (c.closes)
                listener.Close();
        }
        for (int i = 0; i < 50; i++)
            PumpOnce();
        if (c.title && !c.waits) {
            EXPECT_EQ(LastHeardError().title, c.title) << c.what << ": before the wait is over";
        } else {
            EXPECT_EQ(LastHeardError().title, "") << c.what << ": before the wait is over";
            AdvanceClock(JOINWAITMS);
            for (int i = 0; i < 20; i++)
                PumpOnce();
        }
        if (c.title) {
            EXPECT_EQ(LastHeardError().title, c.title) << c.what;
            if (!c.text.empty()) {
                EXPECT_EQ(LastHeardError().text, c.text) << c.what;
                EXPECT_EQ(LastHeardError().next, GAME_JOIN) << c.what;
                EXPECT_FALSE(netstarted) << c.what;
                if (c.far == LISTENER && !c.closes)
                    EXPECT_TRUE(listener.WaitEnd()) << c.what << ": the game hangs up";
            }
        } else {
            EXPECT_EQ(LastHeardError().title, "") << c.what;
            EXPECT_TRUE(netstarted) << c.what;
            EXPECT_EQ(p.size(), 1u) << c.what;
        }
        if (*c.logged)
            EXPECT_TRUE(Logged(c.logged)) << c.what << '\n' << log;
        NetCleanup();
        ResetGameState();
        UseRealClock();
    }
    EXPECT_FALSE(Logged("WSA")) << log;
    EXPECT_TRUE(Logged("This computer's IP address is ")) << log;
}

// Hosting on a port another program holds says why, on a line of its own, and the log has the
// system's words and number.
TEST_F(LoopbackTest, HostingOnABusyPortSaysThePortIsInUse)
{
    Peer holder;
    const int port = holder.Listen();
    ASSERT_NE(port, 0);
    netport = port;
    EXPECT_TRUE(HostGame());
    EXPECT_EQ(LastHeardError().title, "Hosting Error");
    EXPECT_EQ(LastHeardError().text,
              "Unable to create necessary host connection.\nPort " + std::to_string(port) + " is already in use.");
    EXPECT_TRUE(Logged("Address already in use (system error 98)")) << log;
}
