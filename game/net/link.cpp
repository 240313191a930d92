#include "game/net/link.h"

#include <algorithm>

#include "game/model/announce.h"
#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/model/states.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/net/droplog.h"
#include "game/net/receive.h"
#include "game/net/sendqueue.h"
#include "game/shell/debuglog.h"
#include "platform/clock.h"
#include "platform/socket.h"

int32_t mainsocket = NO_SOCKET;
std::vector<int32_t> pendingsockets;
bool netstarted = false;
uint8_t connected = 0;
uint8_t versionrefused = 0;
uint8_t joinanswered = 1;
uint32_t joinstartedat = 0;
std::string localaddress;
std::string hostaddress;
std::string iplabel;
int32_t netport = 0;

namespace {

enum { LISTENBACKLOG = 3 };

std::string hostfailure;                // why hosting failed, in the player's words; empty when unknown

std::string HostFailureReason(int32_t port, int error)
{
    if (port == 0)
        return "The game has no port to host on.";
    if (error == NETERR_ADDRESSINUSE)
        return "Port " + std::to_string(port) + " is already in use.";
    if (error == NETERR_NONE)
        return "";
    return SocketSystemText(error) + ".";
}

} // namespace

int32_t GamePort()
{
    if (netport > 0)
        return netport;
    const int32_t port = GetResNumber(STR_PORT);
    return port >= 1 && port <= 65535 ? port : 0;
}

bool NetStartup()
{
    if (netstarted)
        return true;
    int error = 0;
    mainsocket = SocketCreate(&error);
    if (mainsocket == NO_SOCKET) {
        debuglog << "ERRORDIE error: Couldn't create a valid socket. (" << SocketErrorText(error) << ")\n";
        return true;
    }
    versionrefused = 0;
    localaddress = SocketLocalAddress();
    iplabel = "Your IP Address: " + localaddress;
    debuglog << "This computer's IP address is " << localaddress << '\n';
    debuglog << "Maximum size of a packet: " << 255 << '\n';
    netstarted = true;
    return false;
}

void NetCleanup()
{
    if (!netstarted)
        return;
    CloseAllSockets();
    // Frames and bytes of a finished game must not reach a later connection that reuses a descriptor.
    ClearSendQueue();
    ClearReceiveBuffers();
    ClearDrops();
    netstarted = false;
    ishost = 0;
    connected = 0;
    versionrefused = 0;
    joinanswered = 1;
}

bool CheckNetwork()
{
    if (NetStartup())
        return true;
    NetCleanup();
    return false;
}

bool HostListen()
{
    if (NetStartup()) {
        AnnounceError("Network Error",
                      "Gorvanel couldn't initialize the network.  If the problem persists, restart Gorvanel.",
                      GAME_TOMAINMENU);
        return true;
    }
    const char* failure = nullptr;
    int error = 0;
    const int32_t port = GamePort();
    if (port == 0 || SocketBind(mainsocket, (uint16_t)port, &error))
        failure = "Couldn't bind the specified socket.\nERROR 001";
    else if (SocketListen(mainsocket, LISTENBACKLOG, &error))
        failure = "Couldn't listen to the bound socket.\nERROR 002";
    else if (SocketSelect(mainsocket, NETEV_ACCEPT | NETEV_READ | NETEV_CLOSE))
        failure = "Couldn't create the asynchronous network protocol.\nERROR 003";
    if (!failure) {
        debuglog << "Listening on port " << port << '\n';
        return false;
    }
    debuglog << "ERROR: " << failure << " (port " << port << ", error " << SocketErrorText(error) << ")\n";
    hostfailure = HostFailureReason(port, error);
    NetCleanup();
    AnnounceError("Server Initialization Failure", failure, GAME_TOMAINMENU);
    return true;
}

bool HostGame()
{
    playersleft = 0;
    hostfailure.clear();
    if (HostListen()) {
        const std::string reason = hostfailure.empty() ? "" : "\n" + hostfailure;
        AnnounceError("Hosting Error", "Unable to create necessary host connection." + reason, GAME_TOMAINMENU);
        NetCleanup();
        return true;
    }
    ishost = 1;
    hostaddress = localaddress;
    gs = GAME_ENTERLOBBY;
    const int32_t count = AddPlayer();
    if (count > 0) {
        Player& host = p[count - 1];
        SetPlayerName(host, playername.c_str());
        host.hostplayer = 1;
        you = host.sizeattime;
        DropLocalPlayerCache();
    }
    return false;
}

bool JoinHost(const std::string& address)
{
    if (NetStartup()) {
        AnnounceError("Network Driver Error",
                      "Couldn't initialize the proper network drivers.  If the problem persists, please restart Gorvanel",
                      GAME_TOMAINMENU);
        return true;
    }
    if (SocketSelect(mainsocket, NETEV_CONNECT | NETEV_READ | NETEV_CLOSE)) {
        NetCleanup();
        AnnounceError("Connection Initialization Failure",
                      "Couldn't create the asynchronous network protocol.\nERROR 004", GAME_TOMAINMENU);
        return true;
    }
    hostaddress = address;
    joinanswered = 0;
    joinstartedat = GetTicks();
    // Whatever the outcome, it arrives as the connect event; only a socket that cannot connect at all
    // (or a game without a port) fails here.
    const int32_t port = GamePort();
    if (port == 0 || SocketConnect(mainsocket, address.c_str(), (uint16_t)port)) {
        debuglog << "ERROR: Couldn't start connecting to " << address << " on port " << port << '\n';
        NetCleanup();
        AnnounceError("Couldn't Connect", "Gorvanel couldn't connect to the destination computer.", GAME_JOIN);
        return true;
    }
    debuglog << "Connecting to " << address << " on port " << port << '\n';
    return false;
}

void CloseConnection(int32_t socket)
{
    if (socket == NO_SOCKET)
        return;
    SocketShutdownSend(socket, nullptr);
    SocketClose(socket);
    // The descriptor may be reused at once: nothing queued or buffered for this one may reach the next.
    DropQueuedMessages(socket);
    DropReceiveBuffer(socket);
    EndDrops(socket);
    std::erase(pendingsockets, socket);
    for (Player& player : p)
        if (player.socket == socket)
            player.socket = NO_SOCKET;
    if (socket == mainsocket)
        mainsocket = NO_SOCKET;
}

void CloseAllSockets()
{
    if (ishost) {
        for (size_t i = 0; i < p.size(); i++)
            if (!p[i].hostplayer && !p[i].neutral)
                CloseConnection(p[i].socket);
        while (!pendingsockets.empty())
            CloseConnection(pendingsockets.back());
    }
    CloseConnection(mainsocket);
}

int32_t PlayerOfSocket(int32_t socket)
{
    if (socket == NO_SOCKET)
        return -1;
    for (size_t i = 0; i < p.size(); i++)
        if (p[i].socket == socket && !p[i].hostplayer && !p[i].neutral)
            return (int32_t)i;
    return -1;
}

bool IsPendingSocket(int32_t socket)
{
    return std::find(pendingsockets.begin(), pendingsockets.end(), socket) != pendingsockets.end();
}
