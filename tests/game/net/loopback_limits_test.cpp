// One peer never costs the others, over real loopback TCP: a peer that stops reading is cut off while
// the others get all that is sent them at once, and connections that never join are closed.
#include <gtest/gtest.h>

#include "game/model/state.h"
#include "game/net/builders.h"
#include "game/net/frame.h"
#include "game/net/link.h"
#include "game/net/lobby.h"
#include "game/net/routing.h"
#include "game/net/sendqueue.h"
#include "loopback.h"
#include "platform/clock.h"
#include "platform/socket.h"

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
    gs = GAME_WATCH;        // in a game, a player who leaves is a notice
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
    EXPECT_EQ(LastHeardError().title, "Bo has left the game.");
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
