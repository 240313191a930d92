// The lobby stays open to newcomers, over real loopback TCP: players who join and leave, connections
// that never say anything, and a join to something that is no game host, or to a busy port.
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

// The game as a client joining a listener of the test's; the listener has taken the connection.
void JoinListener(Peer& listener)
{
    const int port = listener.Listen();
    ASSERT_NE(port, 0);
    netport = port;
    ASSERT_FALSE(JoinHost("127.0.0.1"));
    ASSERT_TRUE(RunUntil([&] { return listener.Accept() && connected; }));
}

} // namespace

// A join nobody answers, or answers with something no game says, returns to the join screen saying
// which; an answer in time is a join like any other.
TEST_F(LoopbackTest, AJoinWithoutAGameAnswerReturnsToTheJoinScreen)
{
    struct Case {
        const char* what;
        std::string answer;     // what the listener sends ("" nothing)
        const char* text;       // the error screen's text; null: no error
    } cases[] = {
        {"silence", "", "No answer from 127.0.0.1"},
        {"a web server", "HTTP/1.0 400 Bad Request\r\n\r\n", "127.0.0.1 is not a Gorvanel game"},
        {"another game's frame", Frame("a12hello"), "127.0.0.1 is not a Gorvanel game"},
        {"a game host", Frame(Bytes({'*', 50, 50}) + "Host"), nullptr},
    };
    for (const Case& c : cases) {
        UseVirtualClock(1000);
        ClearHeard();
        Peer listener;
        JoinListener(listener);
        if (!c.answer.empty())
            listener.Send(c.answer);
        for (int i = 0; i < 50; i++)
            PumpOnce();
        AdvanceClock(JOINWAITMS);
        for (int i = 0; i < 20; i++)
            PumpOnce();
        if (c.text) {
            EXPECT_EQ(LastHeardError().text, c.text) << c.what;
            EXPECT_EQ(LastHeardError().next, GAME_JOIN) << c.what;
            EXPECT_FALSE(netstarted) << c.what;
            EXPECT_TRUE(listener.WaitEnd()) << c.what;
        } else {
            EXPECT_EQ(LastHeardError().text, "") << c.what;
            EXPECT_TRUE(netstarted) << c.what;
            EXPECT_EQ(p.size(), 1u) << c.what;
        }
        NetCleanup();
        ResetGameState();
        UseRealClock();
    }
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
