// A host whose player holds a board key: the game's passes go on meanwhile, drawing and serving the
// network, and a chat line from one client reaches another within a pass. Real loopback connections,
// real time.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "game/main/winmain.h"
#include "game/model/death.h"
#include "game/model/state.h"
#include "game/model/upgrade.h"
#include "game/net/builders.h"
#include "game/net/lobby.h"
#include "game/net/sendqueue.h"
#include "game/screens/runscreen.h"
#include "game/screens/states.h"
#include "game/view/board.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/inputscript.h"
#include "platform/socket.h"
#include "platform/window.h"
#include "tests/game/screens/playscreen.h"

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

enum { HOLDMS = 3000, CHATATMS = 1500, SLACKMS = 50, LONGESTPASSMS = 1000, FEWESTPASSES = 10 };

class KeyHold : public PlayScreenTest {
protected:
    void TearDown() override
    {
        for (Player& player : p)
            if (std::find(sockets.begin(), sockets.end(), player.socket) != sockets.end())
                player.socket = NO_SOCKET;
        for (const int s : sockets)
            SocketClose(s);
        PlayScreenTest::TearDown();
    }

    // A loopback connection: the host's end, whose events are asked for as the game asks for a
    // player's, and the far end, which the test reads and writes itself.
    void Connect(int* hostend, int* farend)
    {
        int listener = NO_SOCKET;
        int port = 0;
        for (int tries = 0; tries < 50 && listener == NO_SOCKET; tries++) {
            port = 30000 + (int)(Clock::now().time_since_epoch().count() % 25000);
            listener = SocketCreate(nullptr);
            if (SocketBind(listener, (uint16_t)port, nullptr) || SocketListen(listener, 1, nullptr)) {
                SocketClose(listener);
                listener = NO_SOCKET;
            }
        }
        ASSERT_NE(listener, NO_SOCKET);
        sockets.push_back(listener);
        *farend = SocketCreate(nullptr);
        sockets.push_back(*farend);
        ASSERT_FALSE(SocketConnect(*farend, "127.0.0.1", (uint16_t)port));
        *hostend = NO_SOCKET;
        for (int tries = 0; tries < 2000 && *hostend == NO_SOCKET; tries++) {
            PumpSockets(1);
            *hostend = SocketAccept(listener, nullptr);
        }
        ASSERT_NE(*hostend, NO_SOCKET);
        sockets.push_back(*hostend);
        ASSERT_FALSE(SocketSelect(*hostend, NETEV_READ | NETEV_CLOSE));
    }

    // One pass of the game's main loop: the messages that waited when it began, the screen's frame,
    // the sending and the rules' queues.
    static void Pass()
    {
        PumpSysEvents();
        SysMsg msg;
        for (size_t budget = QueuedSysMessages(); budget > 0 && PeekSysMessage(&msg); budget--)
            DispatchSysMessage(&msg);
        RunScreen();
        SendQueuedMessage();
        ProcessUpgrades();
        ProcessDeaths();
    }

    static std::string Received(int s)
    {
        std::string in;
        char buffer[4096];
        int n = 0;
        while ((n = SocketReceive(s, buffer, sizeof buffer, nullptr)) > 0)
            in.append(buffer, (size_t)n);
        return in;
    }

    std::vector<int> sockets;
};

TEST_F(KeyHold, AHostHoldingGServesEveryPassAndAClientsChatReachesAnotherWithinAPass)
{
    MakeGame(3, 12);
    ActWith(Put(0, 6, 6, 1));
    int hosta = NO_SOCKET, fara = NO_SOCKET, hostb = NO_SOCKET, farb = NO_SOCKET;
    Connect(&hosta, &fara);
    Connect(&hostb, &farb);
    p[1].socket = hosta;
    p[2].socket = hostb;
    gridon = 0;
    Pass();
    Received(fara);
    Received(farb);

    // G held: down in every read until the script is cleared (a wait that read the keyboard until G
    // was up would spend seconds on these reads).
    const std::string line = "P1: while the host holds a key";
    const std::string body = BuildChat(1, PUBLICCHAT, line);
    const std::string frame = std::string(1, (char)(uint8_t)(body.size() + 1)) + body;
    ScriptKeys({KEY_G}, 2000000);
    const int framesbefore = PresentedFrameCount();
    const Clock::time_point start = Clock::now();
    std::vector<double> passes;
    Clock::time_point sent{};
    double latency = -1;
    std::string atb;
    while (Clock::now() - start < std::chrono::milliseconds(HOLDMS)) {
        if (sent == Clock::time_point{} && Clock::now() - start >= std::chrono::milliseconds(CHATATMS)) {
            ASSERT_EQ(SocketSend(fara, frame.data(), (int)frame.size(), nullptr), (int)frame.size());
            sent = Clock::now();
        }
        const Clock::time_point before = Clock::now();
        Pass();
        passes.push_back(Ms(Clock::now() - before).count());
        if (sent != Clock::time_point{} && latency < 0) {
            atb += Received(farb);
            if (atb.find(line) != std::string::npos)
                latency = Ms(Clock::now() - sent).count();
        }
    }
    ClearInputScript();
    Pass();

    EXPECT_EQ(gridon, 1) << "the press acted once";
    ASSERT_GE(passes.size(), (size_t)FEWESTPASSES) << "the passes went on while the key was held";
    const double longest = *std::max_element(passes.begin(), passes.end());
    EXPECT_LT(longest, LONGESTPASSMS) << "no pass waited for the key";
    EXPECT_GE(PresentedFrameCount() - framesbefore, FEWESTPASSES) << "the board was drawn meanwhile";
    ASSERT_GE(latency, 0) << "the chat line never reached the other client";
    EXPECT_LE(latency, longest + SLACKMS) << "the chat line took " << latency << " ms; the longest pass " << longest;
}

} // namespace
