// The socket reactor over real loopback connections, read through the window's queue.
#include "platform/socket.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "platform/window.h"

namespace {

struct SocketEvent {
    int socket;
    uint32_t event;
    uint32_t error;
};

constexpr uint32_t allevents = NETEV_READ | NETEV_ACCEPT | NETEV_CONNECT | NETEV_CLOSE;

class SocketTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS)); }

    void TearDown() override
    {
        for (const int s : opened)
            SocketClose(s);
        for (const int fd : raw)
            close(fd);
        StopPlatform();
    }

    int Track(int s)
    {
        if (s != NO_SOCKET)
            opened.push_back(s);
        return s;
    }

    void Forget(int s) { std::erase(opened, s); }

    // Moves every queued socket event into seen; a reactor that posts on every pump must not hang the test.
    void Drain()
    {
        SysMsg m;
        for (int taken = 0; PeekSysMessage(&m); taken++) {
            if (taken == 1000) {
                ADD_FAILURE() << "the queue never empties";
                return;
            }
            if (m.message == SYS_SOCKET)
                seen.push_back(SocketEvent{(int)m.wparam, SocketEventOf(m.lparam), SocketErrorOf(m.lparam)});
        }
    }

    // Takes the first event of s from what has arrived, waiting (bounded) for one; event 0 when none came.
    SocketEvent Next(int s)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (;;) {
            Drain();
            for (size_t i = 0; i < seen.size(); i++)
                if (seen[i].socket == s) {
                    const SocketEvent e = seen[i];
                    seen.erase(seen.begin() + (long)i);
                    return e;
                }
            if (std::chrono::steady_clock::now() > deadline)
                return SocketEvent{s, 0, 0};
            PumpSockets(5);
        }
    }

    // The events of s that are queued or ready right now, taken out of seen.
    std::vector<uint32_t> Pending(int s)
    {
        for (int i = 0; i < 3; i++) {
            PumpSockets(0);
            Drain();
        }
        std::vector<uint32_t> events;
        std::erase_if(seen, [&](const SocketEvent& e) {
            if (e.socket != s)
                return false;
            events.push_back(e.event);
            return true;
        });
        return events;
    }

    int Listener()
    {
        const int s = Track(SocketCreate(nullptr));
        EXPECT_NE(s, NO_SOCKET);
        EXPECT_FALSE(SocketSelect(s, NETEV_READ | NETEV_ACCEPT | NETEV_CLOSE));
        EXPECT_FALSE(SocketBind(s, 0, nullptr));
        EXPECT_FALSE(SocketListen(s, 3, nullptr));
        return s;
    }

    static uint16_t PortOf(int s)
    {
        sockaddr_in address{};
        socklen_t size = sizeof address;
        getsockname(s, (sockaddr*)&address, &size);
        return ntohs(address.sin_port);
    }

    int StartConnect(const char* address, uint16_t port)
    {
        const int s = Track(SocketCreate(nullptr));
        EXPECT_NE(s, NO_SOCKET);
        EXPECT_FALSE(SocketSelect(s, NETEV_READ | NETEV_CONNECT | NETEV_CLOSE));
        EXPECT_FALSE(SocketConnect(s, address, port));
        return s;
    }

    // A connected pair: client made with SocketConnect, server with SocketAccept.
    void Connect(int* client, int* server)
    {
        const int listener = Listener();
        *client = StartConnect("127.0.0.1", PortOf(listener));
        const SocketEvent connected = Next(*client);
        ASSERT_EQ(connected.event, NETEV_CONNECT);
        ASSERT_EQ(connected.error, 0u);
        ASSERT_EQ(Next(listener).event, NETEV_ACCEPT);
        *server = Track(SocketAccept(listener, nullptr));
        ASSERT_NE(*server, NO_SOCKET);
    }

    static void SendAll(int s, const std::string& data)
    {
        int error = 0;
        ASSERT_EQ(SocketSend(s, data.data(), (int)data.size(), &error), (int)data.size()) << error;
    }

    // Receives on each READ of s until want bytes came; every byte must come exactly once.
    std::string ReceiveOnReads(int s, size_t want, int chunk)
    {
        std::string got;
        while (got.size() < want) {
            const SocketEvent e = Next(s);
            if (e.event != NETEV_READ) {
                ADD_FAILURE() << "event " << e.event << " after " << got.size() << " bytes";
                break;
            }
            std::vector<char> buffer((size_t)chunk);
            const int n = SocketReceive(s, buffer.data(), chunk, nullptr);
            if (n <= 0) {
                ADD_FAILURE() << "READ without data";
                break;
            }
            got.append(buffer.data(), (size_t)n);
        }
        return got;
    }

    static void ResetFrom(int s)
    {
        const linger abort{1, 0};
        setsockopt(s, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    }

    std::vector<int> opened;
    std::vector<int> raw;
    std::vector<SocketEvent> seen;
};

TEST_F(SocketTest, AcceptedConnectionCarriesDataBothWays)
{
    int client = NO_SOCKET, server = NO_SOCKET;
    ASSERT_NO_FATAL_FAILURE(Connect(&client, &server));

    // The accepted socket reports with the listener's events, as the host's players' sockets need.
    SendAll(client, "hello host");
    EXPECT_EQ(ReceiveOnReads(server, 10, 100), "hello host");
    SendAll(server, "hello client");
    EXPECT_EQ(ReceiveOnReads(client, 12, 100), "hello client");
    EXPECT_TRUE(Pending(client).empty());
    EXPECT_TRUE(Pending(server).empty());
}

TEST_F(SocketTest, AcceptIsPostedAgainOnlyAfterTheGameAccepts)
{
    const int listener = Listener();
    const int first = StartConnect("127.0.0.1", PortOf(listener));
    const int second = StartConnect("127.0.0.1", PortOf(listener));
    ASSERT_EQ(Next(first).event, NETEV_CONNECT);
    ASSERT_EQ(Next(second).event, NETEV_CONNECT);

    // Two connections wait, but one ACCEPT is out until the game calls accept.
    EXPECT_EQ(Next(listener).event, NETEV_ACCEPT);
    EXPECT_TRUE(Pending(listener).empty());
    ASSERT_NE(Track(SocketAccept(listener, nullptr)), NO_SOCKET);
    EXPECT_EQ(Next(listener).event, NETEV_ACCEPT);
    ASSERT_NE(Track(SocketAccept(listener, nullptr)), NO_SOCKET);
    EXPECT_TRUE(Pending(listener).empty());

    int error = 0;
    EXPECT_EQ(SocketAccept(listener, &error), NO_SOCKET);
    EXPECT_EQ(error, NETERR_WOULDBLOCK);
}

TEST_F(SocketTest, BytesWrittenInPiecesAreReadExactlyOnce)
{
    struct Case {
        const char* name;
        bool pumpbetween;   // let the first piece be reported before the second is written
        int chunk;          // receive size per READ
    };
    const Case cases[] = {
        {"coalesced", false, 100},
        {"separate", true, 100},
        {"small receives", false, 3},
        {"separate small receives", true, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int client = NO_SOCKET, server = NO_SOCKET;
        ASSERT_NO_FATAL_FAILURE(Connect(&client, &server));
        SendAll(client, "first-");
        if (c.pumpbetween) {
            const SocketEvent e = Next(server);
            ASSERT_EQ(e.event, NETEV_READ);
            seen.insert(seen.begin(), e);   // keep it for ReceiveOnReads
        }
        SendAll(client, "second");
        EXPECT_EQ(ReceiveOnReads(server, 12, c.chunk), "first-second");
        EXPECT_TRUE(Pending(server).empty());
    }
}

TEST_F(SocketTest, ReadIsOutstandingOnceAndPostedAgainWhileDataRemains)
{
    int client = NO_SOCKET, server = NO_SOCKET;
    ASSERT_NO_FATAL_FAILURE(Connect(&client, &server));
    SendAll(client, "0123456789");
    ASSERT_EQ(Next(server).event, NETEV_READ);
    EXPECT_TRUE(Pending(server).empty());   // not another READ while the first is not answered

    char part[4];
    ASSERT_EQ(SocketReceive(server, part, 4, nullptr), 4);
    EXPECT_EQ(std::string(part, 4), "0123");
    EXPECT_EQ(Pending(server), std::vector<uint32_t>{NETEV_READ});
    char rest[100];
    ASSERT_EQ(SocketReceive(server, rest, 100, nullptr), 6);
    EXPECT_EQ(std::string(rest, 6), "456789");
    EXPECT_TRUE(Pending(server).empty());

    int error = 0;
    EXPECT_EQ(SocketReceive(server, rest, 100, &error), -1);
    EXPECT_EQ(error, NETERR_WOULDBLOCK);
}

TEST_F(SocketTest, GracefulCloseComesAfterAllDataWasRead)
{
    // The peer closes outright, or only stops sending; either way CLOSE follows the last byte.
    for (const bool fullclose : {true, false}) {
        SCOPED_TRACE(fullclose ? "close" : "shutdown");
        int client = NO_SOCKET, server = NO_SOCKET;
        ASSERT_NO_FATAL_FAILURE(Connect(&client, &server));
        SendAll(server, "last words");
        if (fullclose) {
            SocketClose(server);
            Forget(server);
        } else {
            ASSERT_FALSE(SocketShutdownSend(server, nullptr));
        }

        ASSERT_EQ(Next(client).event, NETEV_READ);
        EXPECT_TRUE(Pending(client).empty());   // no CLOSE while the data is unread
        char buffer[5];
        ASSERT_EQ(SocketReceive(client, buffer, 5, nullptr), 5);
        EXPECT_EQ(Next(client).event, NETEV_READ);
        ASSERT_EQ(SocketReceive(client, buffer, 5, nullptr), 5);
        const SocketEvent closed = Next(client);
        EXPECT_EQ(closed.event, NETEV_CLOSE);
        EXPECT_EQ(closed.error, 0u);
        EXPECT_TRUE(Pending(client).empty());   // nothing after CLOSE
        EXPECT_EQ(SocketReceive(client, buffer, 5, nullptr), 0);
        EXPECT_TRUE(Pending(client).empty());
        if (!fullclose) {
            // The half-closed side can still answer.
            SendAll(client, "bye");
            EXPECT_EQ(ReceiveOnReads(server, 3, 10), "bye");
        }
    }
}

TEST_F(SocketTest, ResetIsReportedAtOnceWithItsError)
{
    struct Case {
        const char* name;
        bool unreaddata;    // a READ is out and its data unread when the reset comes
        bool receivefirst;  // the game receives (and so meets the error) before the reset is reported
    };
    const Case cases[] = {
        {"idle connection", false, false},
        {"data unread", true, false},
        {"error met by a receive", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int client = NO_SOCKET, server = NO_SOCKET;
        ASSERT_NO_FATAL_FAILURE(Connect(&client, &server));
        if (c.unreaddata) {
            SendAll(server, "unread");
            ASSERT_EQ(Next(client).event, NETEV_READ);
        }
        ResetFrom(server);
        SocketClose(server);
        Forget(server);
        if (c.receivefirst) {
            char buffer[100];
            int error = 0;
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (SocketReceive(client, buffer, 100, &error) != -1 || error == NETERR_WOULDBLOCK) {
                ASSERT_LT(std::chrono::steady_clock::now(), deadline);
                pollfd p{client, 0, 0};
                poll(&p, 1, 5);
            }
            EXPECT_EQ(error, NETERR_RESET);
        }
        const SocketEvent closed = Next(client);
        EXPECT_EQ(closed.event, NETEV_CLOSE);
        EXPECT_EQ(closed.error, (uint32_t)NETERR_RESET);
        EXPECT_TRUE(Pending(client).empty());

        // Sending into the dead connection fails without a signal.
        int error = 0;
        EXPECT_EQ(SocketSend(client, "x", 1, &error), -1);
        EXPECT_NE(error, 0);
        EXPECT_NE(error, NETERR_WOULDBLOCK);
    }
}

TEST_F(SocketTest, FailedConnectsAreReportedThroughConnect)
{
    // A bound socket that does not listen refuses connections, and keeps its port from other users.
    const int refusing = socket(AF_INET, SOCK_STREAM, 0);
    raw.push_back(refusing);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(refusing, (sockaddr*)&address, sizeof address), 0);
    const uint16_t port = PortOf(refusing);

    struct Case {
        const char* address;
        int error;
    };
    const Case cases[] = {
        {"127.0.0.1", NETERR_REFUSED},
        {"localhost", NETERR_BADADDRESS},
        {"not an address", NETERR_BADADDRESS},
        {"", NETERR_BADADDRESS},
        {"127.0.0.1 ", NETERR_BADADDRESS},
        {"300.1.2.3", NETERR_BADADDRESS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        const int s = StartConnect(c.address, port);
        const SocketEvent e = Next(s);
        EXPECT_EQ(e.event, NETEV_CONNECT);
        EXPECT_EQ(e.error, (uint32_t)c.error);
        EXPECT_TRUE(Pending(s).empty());   // no CLOSE or READ for a connection that never was
        EXPECT_TRUE(SocketConnect(s, "127.0.0.1", port));   // one connect per socket
    }
}

TEST_F(SocketTest, NothingArrivesAfterClose)
{
    int client = NO_SOCKET, server = NO_SOCKET;
    ASSERT_NO_FATAL_FAILURE(Connect(&client, &server));
    PostSysMessage(SYS_CHAR, 'a', 0);

    // Queue a READ and then a CLOSE for the client without taking them, then close it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    SendAll(server, "queued");
    int posted = 0;
    while (posted < 1 && std::chrono::steady_clock::now() < deadline)
        posted += PumpSockets(5);
    ResetFrom(server);
    SocketClose(server);
    Forget(server);
    while (posted < 2 && std::chrono::steady_clock::now() < deadline)
        posted += PumpSockets(5);
    ASSERT_EQ(posted, 2);
    SocketClose(client);
    Forget(client);

    // The next socket most likely gets the same number; it must not inherit the old events.
    const int reused = Track(SocketCreate(nullptr));
    ASSERT_FALSE(SocketSelect(reused, allevents));
    SysMsg m;
    std::vector<SysMsg> left;
    while (PeekSysMessage(&m))
        left.push_back(m);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].message, (uint32_t)SYS_CHAR);
    // A socket that neither listens nor connects has nothing to report.
    EXPECT_TRUE(Pending(reused).empty());
}

TEST_F(SocketTest, LargeSendStopsShortWithoutLosingBytes)
{
    int client = NO_SOCKET, server = NO_SOCKET;
    ASSERT_NO_FATAL_FAILURE(Connect(&client, &server));
    std::string data(16 << 20, '\0');
    for (size_t i = 0; i < data.size(); i++)
        data[i] = (char)(i * 7 + (i >> 11));

    // Nobody reads yet, so the send must stop short.
    size_t sent = 0;
    bool blocked = false;
    while (!blocked && sent < data.size()) {
        int error = 0;
        const int n = SocketSend(client, data.data() + sent, (int)(data.size() - sent), &error);
        if (n < 0) {
            ASSERT_EQ(error, NETERR_WOULDBLOCK);
            blocked = true;
        } else {
            blocked = n < (int)(data.size() - sent);
            sent += (size_t)n;
        }
    }
    ASSERT_TRUE(blocked);
    ASSERT_LT(sent, data.size());

    std::string got;
    std::vector<char> buffer(1 << 16);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (got.size() < data.size()) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline);
        if (sent < data.size()) {
            int error = 0;
            const int n = SocketSend(client, data.data() + sent, (int)(data.size() - sent), &error);
            if (n < 0)
                ASSERT_EQ(error, NETERR_WOULDBLOCK);
            else
                sent += (size_t)n;
        }
        PumpSockets(1);
        Drain();
        for (size_t i = 0; i < seen.size(); i++) {
            if (seen[i].socket != server)
                continue;
            ASSERT_EQ(seen[i].event, NETEV_READ);
            seen.erase(seen.begin() + (long)i);
            const int n = SocketReceive(server, buffer.data(), (int)buffer.size(), nullptr);
            ASSERT_GT(n, 0);
            got.append(buffer.data(), (size_t)n);
            break;
        }
    }
    EXPECT_EQ(got.size(), data.size());
    EXPECT_TRUE(got == data);
}

TEST_F(SocketTest, LocalAddressIsDottedIpv4)
{
    const std::string text = SocketLocalAddress();
    in_addr parsed{};
    EXPECT_EQ(inet_pton(AF_INET, text.c_str(), &parsed), 1) << text;
}

} // namespace
