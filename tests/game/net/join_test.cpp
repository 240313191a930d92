// The join sequence as the host and a newcomer see it, without sockets.
#include <gtest/gtest.h>

#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/net/dispatch.h"
#include "game/net/link.h"
#include "game/net/sendqueue.h"
#include "game/model/states.h"
#include "nettest.h"
#include "platform/socket.h"

namespace {

enum { ANN = 9011, NEWCOMER = 9013, HOSTLINK = 9021 };

class JoinTest : public NetTest {
protected:
    void TearDown() override
    {
        mainsocket = NO_SOCKET;
        pendingsockets.clear();
        NetTest::TearDown();
    }
};

} // namespace

TEST_F(JoinTest, HostTellsTheNewcomerEveryRecordThenEveryoneTheNewOne)
{
    ishost = 1;
    AddTestPlayer("Host", NO_SOCKET, true);
    you = p[0].sizeattime;
    AddTestPlayer("Ann", ANN);
    pendingsockets = {NEWCOMER};
    ProcessMessage(Bytes({'{', 1, 2, 3, 4}) + "Cy\x01verylongname", NEWCOMER, 0);

    ASSERT_EQ(p.size(), 3u);
    EXPECT_STREQ(p[2].name, "Cy?verylon");       // cut to its field, the unprintable replaced
    EXPECT_EQ(p[2].socket, NEWCOMER);
    EXPECT_TRUE(pendingsockets.empty());
    std::vector<std::pair<int32_t, std::string>> sent;
    for (const OutgoingMessage& m : QueuedMessages())
        sent.emplace_back(m.socket, m.frame);
    const std::vector<std::pair<int32_t, std::string>> expected = {
        {NEWCOMER, Frame(Bytes({'*', 52, 50}) + "Host")},
        {NEWCOMER, Frame(Bytes({'*', 52, 51}) + "Ann")},
        {ANN, Frame(Bytes({'*', 52, 52}) + "Cy?verylon")},
        {NEWCOMER, Frame(Bytes({'*', 52, 52}) + "Cy?verylon")},
        {ANN, Frame(Bytes({'1', 55}))},
        {NEWCOMER, Frame(Bytes({'1', 55}))},
    };
    EXPECT_EQ(sent, expected);
}

TEST_F(JoinTest, HostAnswersAnotherVersionAndTurnsAwayAFullTable)
{
    ishost = 1;
    AddTestPlayer("Host", NO_SOCKET, true);
    pendingsockets = {NEWCOMER};
    ProcessMessage(Bytes({'{', 1, 2, 3, 9}) + "Cy", NEWCOMER, 0);
    EXPECT_EQ(p.size(), 1u);
    EXPECT_TRUE(Logged("ERROR: The version numbers do not match! (ver = 16909065, internal version is 16909060)"));
    const std::vector<OutgoingMessage> answer = QueuedMessages();
    ASSERT_EQ(answer.size(), 1u);
    EXPECT_EQ(answer[0].frame, Frame(Bytes({'$', 1, 2, 3, 4})));
    EXPECT_TRUE(answer[0].closeafter);      // answered, then closed

    ClearSendQueue();
    for (int i = 1; i < 5; i++)
        AddTestPlayer("P", 9000 + i);
    pendingsockets = {NEWCOMER};
    ProcessMessage(Bytes({'{', 1, 2, 3, 4}) + "Cy", NEWCOMER, 0);
    EXPECT_EQ(p.size(), 5u);
    EXPECT_TRUE(pendingsockets.empty());
    EXPECT_TRUE(SendQueueEmpty());
    EXPECT_TRUE(Logged("ERROR: The game is full"));
}

TEST_F(JoinTest, NewcomerRebuildsTheTableAndFindsHimself)
{
    ishost = 0;
    mainsocket = HOSTLINK;
    ProcessMessage(Bytes({'*', 52, 50}) + "Host", HOSTLINK, 0);
    ProcessMessage(Bytes({'*', 52, 51}) + "Ann", HOSTLINK, 0);
    EXPECT_EQ(you, NOSTAMP);
    ProcessMessage(Bytes({'*', 52, 52}) + "Cy", HOSTLINK, 0);
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(YouToInt(), 2);
    EXPECT_STREQ(p[1].name, "Ann");

    // The computer player only from the exact one-byte name, and only once.
    ProcessMessage(Bytes({'*', 53, 53, 0xFF}), HOSTLINK, 0);
    ASSERT_EQ(p.size(), 4u);
    EXPECT_TRUE(p[3].neutral);
    const std::vector<OutgoingMessage> sent = QueuedMessages();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].frame, Frame("z"));
    ProcessMessage(Bytes({'*', 54, 54, 0xFF}), HOSTLINK, 0);
    EXPECT_EQ(p.size(), 4u);
}

TEST_F(JoinTest, VersionMismatchShowsBothVersionsAndLeaves)
{
    ishost = 0;
    mainsocket = HOSTLINK;
    ProcessMessage(Bytes({'$', 1, 2, 3, 9}), HOSTLINK, 0);
    EXPECT_EQ(LastHeardError().next, GAME_LEAVEGAME);
    EXPECT_EQ(LastHeardError().title, "Version Mismatch");
    EXPECT_NE(LastHeardError().text.find("Your version number is 1.2.3.4.\nThe server's version number is 1.2.3.9.\n"),
              std::string::npos);
}
