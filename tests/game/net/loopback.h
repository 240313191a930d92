// The network over real loopback TCP: the game under test as host or client, against scripted peers
// driven from the same thread. Every wait is a bounded number of main-loop passes.
#pragma once
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "game/model/state.h"
#include "game/net/link.h"
#include "game/net/sendqueue.h"
#include "game/net/socketevents.h"
#include "game/model/states.h"
#include "nettest.h"
#include "platform/socket.h"
#include "platform/window.h"

enum { MAXPASSES = 2000 };  // with a 2 ms poll per pass: a few seconds at worst

// One main-loop pass of the network: socket events into the handler, then the sending.
inline void PumpOnce(bool send = true)
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
inline bool RunUntil(Pred done, bool send = true)
{
    for (int i = 0; i < MAXPASSES; i++) {
        if (done())
            return true;
        PumpOnce(send);
    }
    return done();
}

inline int RandomPort()
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
