#include "game/net/socketevents.h"

#include <map>

#include "game/model/announce.h"
#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/model/states.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/units.h"
#include "game/net/builders.h"
#include "game/net/checks.h"
#include "game/net/frame.h"
#include "game/net/joinfailure.h"
#include "game/net/kinds.h"
#include "game/net/link.h"
#include "game/net/lobby.h"
#include "game/net/receive.h"
#include "game/net/routing.h"
#include "game/net/sendqueue.h"
#include "game/shell/debuglog.h"
#include "platform/clock.h"
#include "platform/socket.h"

namespace {

enum { MAXPENDING = 8 };                // connections waiting to join; more are turned away

// A connection waiting to join: when it was accepted, and whether it has sent anything yet.
struct Waiting {
    uint32_t since;
    bool spoke;
};

uint64_t receivedtotal = 0;
ReceiveFunction receivefunction = SocketReceive;
std::map<int32_t, Waiting> waiting;

void LogSocketError(uint32_t error)
{
    debuglog << "Error in socket handler.  Code: " << SocketErrorText((int)error) << '\n';
    if (error == NETERR_NETDOWN)
        debuglog << "===TOTAL NETWORK FAILURE===\n";
}

// Host: closes the longest waiting pending connection that has sent nothing; false when all have spoken.
bool CloseOldestSilent()
{
    int32_t oldest = NO_SOCKET;
    uint32_t longest = 0;
    const uint32_t now = GetTicks();
    for (const int32_t socket : pendingsockets) {
        const auto found = waiting.find(socket);
        if (found == waiting.end() || found->second.spoke)
            continue;
        if (oldest == NO_SOCKET || now - found->second.since > longest) {
            oldest = socket;
            longest = now - found->second.since;
        }
    }
    if (oldest == NO_SOCKET)
        return false;
    debuglog << "ERROR: Every place for a connection waiting to join is taken; the oldest silent one (socket " << oldest
             << ") is closed for a newcomer.\n";
    CloseConnection(oldest);
    waiting.erase(oldest);
    return true;
}

void OnAccept(int32_t listener)
{
    if (!ishost || listener != mainsocket)
        return;
    int error = 0;
    const int32_t s = SocketAccept(listener, &error);
    if (s == NO_SOCKET) {
        debuglog << "ERROR: Couldn't create an inbound socket properly. (" << SocketErrorText(error) << ")\n";
        return;
    }
    // A connection left waiting would wait for ever, so one that cannot join is closed at once.
    if (!LobbyOpen()) {
        debuglog << "=========Player connected, but game is already in progress!===========\n";
        CloseConnection(s);
        return;
    }
    // Connections that say nothing must not keep a newcomer out: the oldest of them makes room.
    if (pendingsockets.size() >= MAXPENDING && !CloseOldestSilent()) {
        debuglog << "ERROR: Too many connections waiting to join; one turned away.\n";
        CloseConnection(s);
        return;
    }
    pendingsockets.push_back(s);
    waiting[s] = Waiting{GetTicks(), false};
    debuglog << "Player connected to computer.  Awaiting userdata.\n";
}

void OnConnect(int32_t socket, uint32_t error)
{
    if (ishost || socket != mainsocket)
        return;
    if (error) {
        debuglog << "Error in socket handler.  Connecting to " << hostaddress
                 << " failed: " << SocketErrorText((int)error) << '\n';
        FailJoin((int)error);
        return;
    }
    debuglog << "==========CONNECTED TO HOST SERVER============\n";
    connected = 1;
    int32_t version[4];
    for (int i = 0; i < 4; i++)
        version[i] = GetResNumber(STR_VERSION + i);
    SendToPlayer(BuildConnect(version, CleanName(playername)), 0);
}

// A connection the receiving side may read: the host's link on a client; a joined or joining player's
// on the host.
bool IsReadable(int32_t socket)
{
    if (!ishost)
        return socket != NO_SOCKET && socket == mainsocket;
    return PlayerOfSocket(socket) >= 0 || IsPendingSocket(socket);
}

void OnRead(int32_t socket)
{
    if (!IsReadable(socket)) {
        debuglog << "ERROR: Data on unknown socket " << socket << "; ignored.\n";
        return;
    }
    uint8_t buffer[RECEIVESIZE];
    int error = 0;
    const int n = receivefunction(socket, buffer, sizeof buffer, &error);
    // Nothing read is no message: the peer's end arrives as its own close event.
    if (n <= 0) {
        if (n < 0 && error != NETERR_WOULDBLOCK)
            debuglog << "ERROR: Receive failed on socket " << socket << " (" << SocketErrorText(error) << ")\n";
        return;
    }
    if (const auto found = waiting.find(socket); found != waiting.end())
        found->second.spoke = true;
    // A host's answer to a join is a player record or its version; bytes that cannot begin one come
    // from some other program. They are judged as they arrive, however the stream is cut.
    // Only a joining client looks: the host's reads cost nothing more.
    if (!ishost && !joinanswered) {
        const std::string received((const char*)buffer, (size_t)n);
        if (!CouldBeJoinAnswer(BufferedText(socket) + received)) {
            debuglog << "ERROR: The answer to the join is no game's: " << LogText(received) << '\n';
            ConnectionBroken(socket, NETERR_PROTOCOL);
            return;
        }
    }
    receivedtotal += (uint64_t)n;
    debuglog << "Received " << n << " bytes (" << receivedtotal << " in all)\n";
    ReceiveBytes(socket, buffer, (size_t)n);
}

void OnClose(int32_t socket, uint32_t error)
{
    const bool pending = ishost && IsPendingSocket(socket);
    const int32_t player = ishost ? PlayerOfSocket(socket) : -1;
    const bool host = !ishost && socket != NO_SOCKET && socket == mainsocket;
    if (!pending && player < 0 && !host)
        return;

    // The host refused this version and said so: its notice stays up, the close adds nothing.
    if (host && versionrefused) {
        CloseConnection(socket);
        connected = 0;
        debuglog << "The host closed the connection after refusing this version.\n";
        return;
    }
    // The join was answered with something no game host says: back to the address, saying so.
    if (host && !joinanswered && error == NETERR_PROTOCOL) {
        FailJoin(NETERR_PROTOCOL);
        return;
    }
    const bool lobby = LobbyOpen();
    if (error)
        debuglog << "ERROR: Connection on socket " << socket << " failed: " << SocketErrorText((int)error) << '\n';
    // In the lobby a leaving player is only a line of its chat; the lobby stays open.
    if (error && !pending && !lobby)
        AnnounceError("Network Error",
                      "A player has abnormally left the group.  He may have encountered network difficulties, or his "
                      "copy of Gorvanel terminated.\n\nGameplay may still be possible.",
                      gs);
    if (host) {
        CloseConnection(socket);
        connected = 0;
        AnnounceError("Server Disconnected", "The server computer has left the game.\n\nThis game is over.",
                      GAME_LEAVEGAME);
        debuglog << "LOST SERVER CONNECTION ===========================\n";
        return;
    }
    if (pending) {
        debuglog << "A connection closed before joining (socket " << socket << ").\n";
        CloseConnection(socket);
        return;
    }
    debuglog << "=========PLAYER LEAVES GAME=========\n";
    CloseConnection(socket);
    const std::string name = p[player].name;
    // His turn, if it was his, passes on once (inside DropPlayerUnits, while the indexes the next-turn
    // message carries are still the ones the clients hold); the erase and the drop message come after.
    currplayer = DropPlayerUnits(player);
    ErasePlayerRecord(player);
    SendToPlayer(BuildDropPlayer(player), -1);
    if (lobby) {
        AnnounceFeed(YouToInt(), name + " has left the game.");
        return;
    }
    // Shown last: passing the turn on may have changed the screen, and the notice returns to that one.
    AnnounceError(name + " has left the game.",
                  "A player has left the game.  Provided that he was not the host, gameplay may continue normally.",
                  gs);
}

} // namespace

void ConnectionBroken(int32_t socket, int error)
{
    OnClose(socket, (uint32_t)error);
}

void CloseFailedConnections()
{
    for (const int32_t socket : CutOffSockets()) {
        DropQueuedMessages(socket);
        ConnectionBroken(socket, NETERR_OVERFLOW);
    }
    const uint32_t now = GetTicks();
    if (!ishost) {
        // A join nobody answers (the address takes no connection, or takes it and says nothing) ends.
        if (netstarted && mainsocket != NO_SOCKET && !joinanswered && now - joinstartedat >= JOINWAITMS) {
            debuglog << "ERROR: No answer to the join within " << JOINWAITMS / 1000 << " seconds.\n";
            FailJoin(NETERR_TIMEDOUT);
        }
        return;
    }
    std::map<int32_t, Waiting> still;
    std::vector<int32_t> late;
    for (const int32_t socket : pendingsockets) {
        const auto found = waiting.find(socket);
        const Waiting w = found == waiting.end() ? Waiting{now, false} : found->second;
        still[socket] = w;
        if (now - w.since >= JOINWAITMS)
            late.push_back(socket);
    }
    waiting = still;   // closed connections are forgotten
    for (const int32_t socket : late) {
        debuglog << "ERROR: The connection on socket " << socket << " did not join within " << JOINWAITMS / 1000
                 << " seconds; closed.\n";
        CloseConnection(socket);
        waiting.erase(socket);
    }
}

intptr_t HandleSocketEvent(uintptr_t wparam, intptr_t lparam)
{
    const int32_t socket = (int32_t)wparam;
    const uint32_t event = SocketEventOf(lparam);
    const uint32_t error = SocketErrorOf(lparam);
    switch (event) {
    case NETEV_ACCEPT:
        if (error)
            LogSocketError(error);
        else
            OnAccept(socket);
        break;
    case NETEV_READ:
        if (error)
            LogSocketError(error);
        else
            OnRead(socket);
        break;
    case NETEV_CONNECT:
        OnConnect(socket, error);
        break;
    case NETEV_CLOSE:
        OnClose(socket, error);
        break;
    default:
        break;
    }
    return 0;
}

void SetReceiveFunction(ReceiveFunction receive)
{
    receivefunction = receive ? receive : SocketReceive;
}
