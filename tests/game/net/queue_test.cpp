// The outgoing queue and the routing of messages, with a scripted send call in place of the socket's.
#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <map>

#include "game/model/state.h"
#include "game/net/builders.h"
#include "game/net/frame.h"
#include "game/net/link.h"
#include "game/net/routing.h"
#include "game/net/sendqueue.h"
#include "game/model/states.h"
#include "nettest.h"
#include "platform/socket.h"

namespace {

struct SendResult {
    int result;     // bytes sent (-2: all of them), or -1
    int error;
};

struct SendCall {
    int socket;
    std::string bytes;
};

std::map<int, std::deque<SendResult>> script;   // each socket's next results; none left: it takes everything
std::vector<SendCall> calls;
std::map<int, std::string> wire;        // what reached each socket

int ScriptedSend(int socket, const void* data, int size, int* error)
{
    const std::string bytes((const char*)data, (size_t)size);
    calls.push_back({socket, bytes});
    SendResult r{-2, 0};
    std::deque<SendResult>& mine = script[socket];
    if (!mine.empty()) {
        r = mine.front();
        mine.pop_front();
    }
    if (r.result == -1) {
        *error = r.error;
        return -1;
    }
    const int n = r.result == -2 ? size : std::min(r.result, size);
    wire[socket] += bytes.substr(0, (size_t)n);
    return n;
}

// Descriptor numbers no test opens: closing them does nothing.
enum { ANN = 9011, BO = 9012 };

class QueueTest : public NetTest {
protected:
    void SetUp() override
    {
        NetTest::SetUp();
        script.clear();
        calls.clear();
        wire.clear();
        SetSendFunction(ScriptedSend);
    }

    void Passes(int n)
    {
        for (int i = 0; i < n; i++)
            SendQueuedMessage();
    }

    static size_t CallsTo(int socket)
    {
        size_t n = 0;
        for (const SendCall& c : calls)
            n += c.socket == socket ? 1 : 0;
        return n;
    }

    // Host 0 (own record), humans on sockets ANN and BO, the neutral side last.
    void MakeHostTable()
    {
        ishost = 1;
        AddTestPlayer("Host", NO_SOCKET, true);
        AddTestPlayer("Ann", ANN);
        AddTestPlayer("Bo", BO);
        AddNeutralRecord();
        gs = GAME_WATCH;    // a game under way: a player who leaves is a notice
    }
};

} // namespace

TEST_F(QueueTest, EveryConnectionSendsAllItsSocketTakesInOnePass)
{
    QueueFrame(Bytes({3, 'z', ';'}), ANN);
    QueueFrame(Bytes({3, 'b', ';'}), BO);
    QueueFrame(Bytes({3, '&', ';'}), ANN);
    Passes(1);
    EXPECT_TRUE(SendQueueEmpty());
    EXPECT_EQ(wire[ANN], Bytes({3, 'z', ';', 3, '&', ';'}));
    EXPECT_EQ(wire[BO], Bytes({3, 'b', ';'}));
    EXPECT_EQ(calls.size(), 2u);    // one send call per connection
    Passes(3);
    EXPECT_EQ(calls.size(), 2u);    // an empty queue sends nothing

    // More than one call's worth: still all of it in one pass, in order.
    std::string expected;
    for (int i = 0; expected.size() < 3 * SENDBATCH; i++) {
        const std::string frame = BuildFrame(BuildForceSetMoney(1, i));
        QueueFrame(frame, ANN);
        expected += frame;
    }
    wire.clear();
    Passes(1);
    EXPECT_TRUE(SendQueueEmpty());
    EXPECT_EQ(wire[ANN], expected);
}

TEST_F(QueueTest, FailedTriesAreRetriedAndTheEleventhDrops)
{
    QueueFrame(Bytes({3, 'z', ';'}), ANN);
    QueueFrame(Bytes({3, 'b', ';'}), ANN);
    for (int i = 0; i < MAXSENDTRIES; i++)
        script[ANN].push_back({-1, NETERR_NORESOURCES});
    Passes(MAXSENDTRIES - 1);
    ASSERT_EQ(QueuedFrameCount(), 2u);
    EXPECT_EQ(QueuedMessages().front().tries, MAXSENDTRIES - 1);
    EXPECT_TRUE(Logged("ERROR attempting to send the data string "));
    EXPECT_EQ(CallsTo(ANN), (size_t)MAXSENDTRIES - 1);     // one try a pass
    Passes(1);
    EXPECT_TRUE(Logged("Complete failure to send data packet!  Possible extreme data loss."));
    ASSERT_EQ(QueuedFrameCount(), 1u);
    Passes(1);
    EXPECT_EQ(wire[ANN], Bytes({3, 'b', ';'}));
}

TEST_F(QueueTest, WouldBlockNeverDropsAndLetsOtherSocketsGo)
{
    QueueFrame(Bytes({3, 'z', ';'}), ANN);
    QueueFrame(Bytes({3, 'b', ';'}), ANN);
    for (int i = 0; i < 40; i++)
        script[ANN].push_back({-1, NETERR_WOULDBLOCK});
    for (int i = 0; i < 40; i++) {
        QueueFrame(Bytes({3, '&', ';'}), BO);
        Passes(1);
        // Far more passes than the retry limit: the frames wait, none is given up; the other
        // connection's frame of each pass leaves in that pass.
        EXPECT_EQ(wire[BO].size(), 3u * (i + 1));
    }
    EXPECT_FALSE(Logged("Complete failure"));
    EXPECT_EQ(QueuedFrameCount(), 2u);
    EXPECT_EQ(CallsTo(ANN), 40u);   // one attempt a pass for the waiting connection, however much waits
    Passes(1);
    EXPECT_TRUE(SendQueueEmpty());
    EXPECT_EQ(wire[ANN], Bytes({3, 'z', ';', 3, 'b', ';'}));    // each socket's frames keep their order
}

TEST_F(QueueTest, ShortSendsAreContinued)
{
    const std::string frame = BuildFrame(BuildChat(0, 100, "hello there"));
    QueueFrame(frame, ANN);
    QueueFrame(Bytes({3, 'z', ';'}), ANN);
    script[ANN] = {{4, 0}, {3, 0}};
    Passes(2);
    ASSERT_EQ(QueuedFrameCount(), 2u);
    EXPECT_EQ(QueuedMessages().front().sent, 7);
    Passes(1);
    EXPECT_EQ(wire[ANN], frame + Bytes({3, 'z', ';'}));
    EXPECT_TRUE(SendQueueEmpty());
}

TEST_F(QueueTest, LostConnectionDropsEveryFrameForIt)
{
    QueueFrame(Bytes({3, 'z', ';'}), ANN);
    QueueFrame(Bytes({3, '&', ';'}), BO);
    QueueFrame(Bytes({3, 'b', ';'}), ANN);
    script[ANN].push_back({-1, NETERR_CLOSED});
    script[BO].push_back({-1, NETERR_WOULDBLOCK});
    Passes(1);
    const std::vector<OutgoingMessage> left = QueuedMessages();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].socket, BO);
}

TEST_F(QueueTest, AFrameThatClosesItsConnectionEndsItsBatch)
{
    QueueFrame(Bytes({3, 'z', ';'}), ANN);
    QueueFrame(Bytes({3, '$', ';'}), ANN, true);
    QueueFrame(Bytes({3, 'b', ';'}), ANN);
    Passes(1);
    EXPECT_EQ(wire[ANN], Bytes({3, 'z', ';', 3, '$', ';'}));
    EXPECT_TRUE(SendQueueEmpty());  // closed after it: what followed is forgotten with the connection
}

TEST_F(QueueTest, APeerThatStopsReadingIsCutOffAndLeaves)
{
    MakeHostTable();
    script[ANN].assign(1000, SendResult{-1, NETERR_WOULDBLOCK});
    const std::string frame = BuildFrame(BuildChat(0, 100, std::string(200, 'x')));
    size_t queued = 0;
    while (queued + frame.size() <= MAXQUEUEDBYTES) {
        SendToPlayer(frame.substr(1), -1);
        queued += frame.size();
        if (queued % (50 * frame.size()) == 0)
            Passes(1);      // Bo reads everything meanwhile
    }
    EXPECT_TRUE(CutOffSockets().empty());
    EXPECT_FALSE(Logged("stopped reading"));
    SendToPlayer(frame.substr(1), -1);      // one frame too many for Ann
    EXPECT_TRUE(Logged("stopped reading"));
    EXPECT_EQ(CutOffSockets(), std::vector<int32_t>{ANN});
    SendToPlayer(frame.substr(1), -1);      // nothing more is kept for her
    for (const OutgoingMessage& m : QueuedMessages())
        EXPECT_NE(m.socket, ANN);

    const size_t bobefore = wire[BO].size();
    Passes(1);
    // Handled as a player who left; Bo is told and got every frame meant for him.
    ASSERT_EQ(p.size(), 3u);
    EXPECT_STREQ(p[1].name, "Bo");
    EXPECT_EQ(LastHeardError().title, "Ann has left the game.");
    EXPECT_TRUE(CutOffSockets().empty());
    EXPECT_GT(wire[BO].size(), bobefore);
    EXPECT_EQ(wire[BO].size() % frame.size(), BuildFrame(BuildDropPlayer(1)).size());
    Passes(1);
    EXPECT_TRUE(SendQueueEmpty());
}

TEST_F(QueueTest, ClosedSocketsFramesAreForgotten)
{
    QueueFrame(Bytes({3, 'z', ';'}), ANN);
    QueueFrame(Bytes({3, '&', ';'}), BO);
    DropQueuedMessages(ANN);
    Passes(5);
    EXPECT_EQ(wire.count(ANN), 0u);
    EXPECT_EQ(wire[BO], Bytes({3, '&', ';'}));
}

TEST_F(QueueTest, HostRoutesToEveryJoinedHumanOrToOne)
{
    MakeHostTable();
    EXPECT_EQ(SendToPlayer("b;", -1), 0);
    ASSERT_EQ(QueuedMessages().size(), 2u);
    EXPECT_EQ(QueuedMessages()[0].socket, ANN);
    EXPECT_EQ(QueuedMessages()[1].socket, BO);
    EXPECT_EQ(QueuedMessages()[0].frame, Bytes({3, 'b', ';'}));
    EXPECT_TRUE(Logged("Routed message to socket #1 of value 9011"));

    ClearSendQueue();
    EXPECT_EQ(SendToPlayer("b;", 2), 0);
    ASSERT_EQ(QueuedMessages().size(), 1u);
    EXPECT_EQ(QueuedMessages()[0].socket, BO);

    ClearSendQueue();
    EXPECT_EQ(SendToPlayer("b;", 0), 1);    // the host's own record: nothing sent
    EXPECT_EQ(SendToPlayer("b;", 3), 0);    // the neutral side has no connection
    EXPECT_EQ(SendToPlayer("b;", 4), 0);    // nobody
    EXPECT_EQ(SendToPlayer("b;", -7), 0);
    EXPECT_TRUE(SendQueueEmpty());
    EXPECT_TRUE(Logged("ERROR: Message addressed to player 4"));
}

TEST_F(QueueTest, HostAloneWithTheNeutralSideQueuesNothing)
{
    ishost = 1;
    AddTestPlayer("Host", NO_SOCKET, true);
    AddNeutralRecord();
    EXPECT_EQ(SendToPlayer("b;", -1), 0);
    EXPECT_TRUE(SendQueueEmpty());
}

TEST_F(QueueTest, ClientSendsEverythingToTheHost)
{
    ishost = 0;
    mainsocket = 21;
    AddTestPlayer("Host", NO_SOCKET);
    AddTestPlayer("Me", NO_SOCKET);
    for (const int32_t to : {-1, 0, 1, 9}) {
        ClearSendQueue();
        EXPECT_EQ(SendToPlayer("z;", to), 0);
        ASSERT_EQ(QueuedMessages().size(), 1u);
        EXPECT_EQ(QueuedMessages()[0].socket, 21);
    }
    mainsocket = NO_SOCKET;
}

TEST_F(QueueTest, HostRelaysToEveryJoinedHumanTheSenderIncluded)
{
    MakeHostTable();
    RerouteMessage(Bytes({'.', 1, ';'}));   // a received body whose last payload byte is ';'
    ASSERT_EQ(QueuedMessages().size(), 2u);
    EXPECT_EQ(QueuedMessages()[0].frame, Bytes({5, '.', 1, ';', ';'}));
    EXPECT_EQ(QueuedMessages()[1].socket, BO);

    ClearSendQueue();
    ishost = 0;
    mainsocket = 21;
    RerouteMessage("b");                    // a client relays nothing
    EXPECT_TRUE(SendQueueEmpty());
    mainsocket = NO_SOCKET;
}

TEST_F(QueueTest, SendCodeAndSendToSocket)
{
    MakeHostTable();
    SendCode('&', 1);
    SendToSocket(BuildVersion(std::array<int32_t, 4>{1, 2, 3, 4}.data()), 33);
    ASSERT_EQ(QueuedMessages().size(), 2u);
    EXPECT_EQ(QueuedMessages()[0].frame, Bytes({3, '&', ';'}));
    EXPECT_EQ(QueuedMessages()[1].frame, Bytes({7, '$', 1, 2, 3, 4, ';'}));
    EXPECT_EQ(QueuedMessages()[1].socket, 33);
}
