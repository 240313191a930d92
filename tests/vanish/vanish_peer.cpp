// Both ends of one game connection, through the game's socket layer:
//   vanish_peer host PORT        listens, takes one connection, and reports how it ends:
//                                "accepted", then "closed <error name> <milliseconds after the accept>"
//   vanish_peer join ADDRESS PORT  connects, says "connected", and then says nothing for ever
// Each line goes to stdout at once.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/socket.h"
#include "platform/window.h"

namespace {

using Clock = std::chrono::steady_clock;

void Say(const char* text)
{
    std::printf("%s\n", text);
    std::fflush(stdout);
}

int Host(uint16_t port)
{
    const int listener = SocketCreate(nullptr);
    if (SocketBind(listener, port, nullptr) || SocketListen(listener, 1, nullptr)
        || SocketSelect(listener, NETEV_ACCEPT | NETEV_READ | NETEV_CLOSE))
        return 1;
    Say("listening");
    int link = NO_SOCKET;
    Clock::time_point accepted;
    for (;;) {
        PumpSockets(100);
        SysMsg m;
        while (PeekSysMessage(&m)) {
            if (m.message != SYS_SOCKET)
                continue;
            const uint32_t event = SocketEventOf(m.lparam);
            if (event == NETEV_ACCEPT && link == NO_SOCKET) {
                link = SocketAccept(listener, nullptr);
                accepted = Clock::now();
                Say("accepted");
            } else if (event == NETEV_READ) {
                char buffer[64];
                SocketReceive((int)m.wparam, buffer, sizeof buffer, nullptr);
            } else if (event == NETEV_CLOSE && (int)m.wparam == link) {
                const long ms = (long)std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - accepted).count();
                std::printf("closed %s %ld\n", SocketErrorName((int)SocketErrorOf(m.lparam)), ms);
                std::fflush(stdout);
                return 0;
            }
        }
    }
}

int Join(const char* address, uint16_t port)
{
    const int s = SocketCreate(nullptr);
    if (SocketSelect(s, NETEV_CONNECT | NETEV_READ | NETEV_CLOSE) || SocketConnect(s, address, port))
        return 1;
    for (;;) {
        PumpSockets(100);
        SysMsg m;
        while (PeekSysMessage(&m))
            if (m.message == SYS_SOCKET && SocketEventOf(m.lparam) == NETEV_CONNECT) {
                if (SocketErrorOf(m.lparam))
                    return 1;
                Say("connected");
            }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (StartPlatform(BACKEND_HEADLESS))
        return 1;
    if (argc == 3 && !std::strcmp(argv[1], "host"))
        return Host((uint16_t)std::atoi(argv[2]));
    if (argc == 4 && !std::strcmp(argv[1], "join"))
        return Join(argv[2], (uint16_t)std::atoi(argv[3]));
    std::fprintf(stderr, "usage: vanish_peer host PORT | join ADDRESS PORT\n");
    return 2;
}
