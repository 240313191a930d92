// The outgoing queue and the routing of messages, with a scripted send call in place of the socket's.
#include <gtest/gtest.h>

#include <cerrno>
#include <array>
#include <deque>
#include <map>

#include "game/model/state.h"
#include "game/net/builders.h"
#include "game/net/frame.h"
#include "game/net/link.h"
#include "game/net/routing.h"
#include "game/net/sendqueue.h"
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

std::deque<SendResult> script;          // results of the next calls; when empty every call sends it all
std::vector<SendCall> calls;
std::map<int, std::string> wire;        // what reached each socket

int ScriptedSend(int socket, const void* data, int size, int* error)
{
    const std::string bytes((const char*)data, (size_t)size);
    calls.push_back({socket, bytes});
    SendResult r{-2, 0};
    if (!script.empty()) {
        r = script.front();
        script.pop_front();
    }
    if (r.result == -1) {
        *error = r.error;
        return -1;
    }
    const int n = r.result == -2 ? size : std::min(r.result, size);
    wire[socket] += bytes.substr(0, (size_t)n);
    return n;
}

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

    // Host 0 (own record), humans on sockets 11 and 12, the neutral side last.
    void MakeHostTable()
    {
        ishost = 1;
        AddTestPlayer("Host", NO_SOCKET, true);
        AddTestPlayer("Ann", 11);
        AddTestPlayer("Bo", 12);
        AddNeutralRecord();
    }
};

} // namespace

TEST_F(QueueTest, OneAttemptPerPassInOrder)
{
    QueueFrame(Bytes({3, 'z', ';'}), 11);
    QueueFrame(Bytes({3, 'b', ';'}), 12);
    Passes(1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].socket, 11);
    EXPECT_EQ(sendqueue.size(), 1u);
    Passes(1);
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_TRUE(sendqueue.empty());
    Passes(3);
    EXPECT_EQ(calls.size(), 2u);    // an empty queue sends nothing
}

TEST_F(QueueTest, FailedTriesAreRetriedAndTheEleventhDrops)
{
    QueueFrame(Bytes({3, 'z', ';'}), 11);
    QueueFrame(Bytes({3, 'b', ';'}), 11);
    for (int i = 0; i < MAXSENDTRIES; i++)
        script.push_back({-1, ENOBUFS});
    Passes(MAXSENDTRIES - 1);
    EXPECT_EQ(sendqueue.size(), 2u);
    EXPECT_EQ(sendqueue.front().tries, MAXSENDTRIES - 1);
    EXPECT_TRUE(Logged("ERROR attempting to send the data string "));
    Passes(1);
    EXPECT_TRUE(Logged("Complete failure to send data packet!  Possible extreme data loss."));
    ASSERT_EQ(sendqueue.size(), 1u);
    Passes(1);
    EXPECT_EQ(wire[11], Bytes({3, 'b', ';'}));
}

TEST_F(QueueTest, WouldBlockNeverDropsAndLetsOtherSocketsGo)
{
    QueueFrame(Bytes({3, 'z', ';'}), 11);
    QueueFrame(Bytes({3, 'b', ';'}), 11);
    QueueFrame(Bytes({3, '&', ';'}), 12);
    for (int i = 0; i < 40; i++)
        script.push_back({-1, NETERR_WOULDBLOCK});
    Passes(40);
    // Far more passes than the retry limit: the frames wait, none is given up.
    EXPECT_FALSE(Logged("Complete failure"));
    EXPECT_EQ(sendqueue.size(), 3u);
    Passes(3);
    EXPECT_TRUE(sendqueue.empty());
    EXPECT_EQ(wire[11], Bytes({3, 'z', ';', 3, 'b', ';'}));    // each socket's frames keep their order
    EXPECT_EQ(wire[12], Bytes({3, '&', ';'}));
}

TEST_F(QueueTest, BlockedSocketDoesNotHoldBackTheOthers)
{
    QueueFrame(Bytes({3, 'z', ';'}), 11);
    QueueFrame(Bytes({3, 'b', ';'}), 11);
    QueueFrame(Bytes({3, '&', ';'}), 12);
    script.push_back({-1, NETERR_WOULDBLOCK});
    Passes(2);
    EXPECT_EQ(wire[12], Bytes({3, '&', ';'}));     // went while 11 waited
    EXPECT_EQ(wire[11], "");
    Passes(2);
    EXPECT_EQ(wire[11], Bytes({3, 'z', ';', 3, 'b', ';'}));
}

TEST_F(QueueTest, ShortSendsAreContinued)
{
    const std::string frame = BuildFrame(BuildChat(0, 100, "hello there"));
    QueueFrame(frame, 11);
    QueueFrame(Bytes({3, 'z', ';'}), 11);
    script.push_back({4, 0});
    script.push_back({3, 0});
    Passes(2);
    EXPECT_EQ(sendqueue.size(), 2u);
    EXPECT_EQ(sendqueue.front().sent, 7);
    Passes(2);
    EXPECT_EQ(wire[11], frame + Bytes({3, 'z', ';'}));
}

TEST_F(QueueTest, LostConnectionDropsEveryFrameForIt)
{
    QueueFrame(Bytes({3, 'z', ';'}), 11);
    QueueFrame(Bytes({3, '&', ';'}), 12);
    QueueFrame(Bytes({3, 'b', ';'}), 11);
    script.push_back({-1, EPIPE});
    Passes(1);
    ASSERT_EQ(sendqueue.size(), 1u);
    EXPECT_EQ(sendqueue.front().socket, 12);
}

TEST_F(QueueTest, ClosedSocketsFramesAreForgotten)
{
    QueueFrame(Bytes({3, 'z', ';'}), 11);
    QueueFrame(Bytes({3, '&', ';'}), 12);
    DropQueuedMessages(11);
    Passes(5);
    EXPECT_EQ(wire.count(11), 0u);
    EXPECT_EQ(wire[12], Bytes({3, '&', ';'}));
}

TEST_F(QueueTest, HostRoutesToEveryJoinedHumanOrToOne)
{
    MakeHostTable();
    EXPECT_EQ(SendToPlayer("b;", -1), 0);
    ASSERT_EQ(sendqueue.size(), 2u);
    EXPECT_EQ(sendqueue[0].socket, 11);
    EXPECT_EQ(sendqueue[1].socket, 12);
    EXPECT_EQ(sendqueue[0].frame, Bytes({3, 'b', ';'}));
    EXPECT_TRUE(Logged("Routed message to socket #1 of value 11"));

    ClearSendQueue();
    EXPECT_EQ(SendToPlayer("b;", 2), 0);
    ASSERT_EQ(sendqueue.size(), 1u);
    EXPECT_EQ(sendqueue[0].socket, 12);

    ClearSendQueue();
    EXPECT_EQ(SendToPlayer("b;", 0), 1);    // the host's own record: nothing sent
    EXPECT_EQ(SendToPlayer("b;", 3), 0);    // the neutral side has no connection
    EXPECT_EQ(SendToPlayer("b;", 4), 0);    // nobody
    EXPECT_EQ(SendToPlayer("b;", -7), 0);
    EXPECT_TRUE(sendqueue.empty());
    EXPECT_TRUE(Logged("ERROR: Message addressed to player 4"));
}

TEST_F(QueueTest, HostAloneWithTheNeutralSideQueuesNothing)
{
    ishost = 1;
    AddTestPlayer("Host", NO_SOCKET, true);
    AddNeutralRecord();
    EXPECT_EQ(SendToPlayer("b;", -1), 0);
    EXPECT_TRUE(sendqueue.empty());
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
        ASSERT_EQ(sendqueue.size(), 1u);
        EXPECT_EQ(sendqueue[0].socket, 21);
    }
    mainsocket = NO_SOCKET;
}

TEST_F(QueueTest, HostRelaysToEveryJoinedHumanTheSenderIncluded)
{
    MakeHostTable();
    RerouteMessage(Bytes({'.', 1, ';'}));   // a received body whose last payload byte is ';'
    ASSERT_EQ(sendqueue.size(), 2u);
    EXPECT_EQ(sendqueue[0].frame, Bytes({5, '.', 1, ';', ';'}));
    EXPECT_EQ(sendqueue[1].socket, 12);

    ClearSendQueue();
    ishost = 0;
    mainsocket = 21;
    RerouteMessage("b");                    // a client relays nothing
    EXPECT_TRUE(sendqueue.empty());
    mainsocket = NO_SOCKET;
}

TEST_F(QueueTest, SendCodeAndSendToSocket)
{
    MakeHostTable();
    SendCode('&', 1);
    SendToSocket(BuildVersion(std::array<int32_t, 4>{1, 2, 3, 4}.data()), 33);
    ASSERT_EQ(sendqueue.size(), 2u);
    EXPECT_EQ(sendqueue[0].frame, Bytes({3, '&', ';'}));
    EXPECT_EQ(sendqueue[1].frame, Bytes({7, '$', 1, 2, 3, 4, ';'}));
    EXPECT_EQ(sendqueue[1].socket, 33);
}
