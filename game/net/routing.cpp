#include "game/net/routing.h"

#include "game/model/state.h"
#include "game/net/frame.h"
#include "game/net/link.h"
#include "game/net/sendqueue.h"
#include "game/shell/debuglog.h"
#include "platform/socket.h"

bool IsValidPlayer(int32_t index)
{
    return index >= 0 && (size_t)index < p.size();
}

int32_t SendToPlayer(const std::string& body, int32_t player)
{
    const std::string frame = BuildFrame(body);
    if (frame.empty())
        return 0;
    debuglog << "Sending string " << LogText(frame) << '\n';

    if (!ishost) {
        if (mainsocket == NO_SOCKET) {
            debuglog << "ERROR: Not connected; message not sent.\n";
            return 0;
        }
        QueueFrame(frame, mainsocket);
        return 0;
    }
    if (player == -1) {
        for (size_t i = 0; i < p.size(); i++) {
            // A player whose connection is already closed is on his way out: nothing reaches him.
            if (p[i].hostplayer || p[i].neutral || p[i].socket == NO_SOCKET)
                continue;
            debuglog << "Routed message to socket #" << i << " of value " << p[i].socket << '\n';
            QueueFrame(frame, p[i].socket);
        }
        return 0;
    }
    if (!IsValidPlayer(player)) {
        debuglog << "ERROR: Message addressed to player " << player << ", who does not exist.\n";
        return 0;
    }
    if (p[player].hostplayer)
        return 1;
    if (p[player].neutral || p[player].socket == NO_SOCKET) {
        debuglog << "ERROR: Player " << player << " has no connection; message not sent.\n";
        return 0;
    }
    QueueFrame(frame, p[player].socket);
    return 0;
}

void SendToSocket(const std::string& body, int32_t socket, bool closeafter)
{
    const std::string frame = BuildFrame(body);
    if (frame.empty() || socket == NO_SOCKET)
        return;
    debuglog << "Sending string " << LogText(frame) << ") to socket " << socket << '\n';
    QueueFrame(frame, socket, closeafter);
}

int32_t SendCode(char code, int32_t player)
{
    return SendToPlayer(std::string{code, ';'}, player);
}

void RerouteMessage(const std::string& body)
{
    if (!ishost)
        return;
    SendToPlayer(body + ';', -1);
}

void RelayToOthers(const std::string& body, int32_t sender)
{
    if (!ishost)
        return;
    for (size_t i = 0; i < p.size(); i++)
        if ((int32_t)i != sender && !p[i].hostplayer && !p[i].neutral && p[i].socket != NO_SOCKET)
            SendToPlayer(body + ';', (int32_t)i);
}
