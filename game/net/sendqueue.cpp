#include "game/net/sendqueue.h"

#include <cerrno>
#include <set>

#include "game/net/frame.h"
#include "game/net/link.h"
#include "game/shell/debuglog.h"
#include "platform/socket.h"

std::deque<OutgoingMessage> sendqueue;

namespace {

SendFunction sendfunction = SocketSend;

// Sockets whose last attempt would have blocked: their frames wait while other sockets' frames go.
std::set<int32_t> blockedsockets;

// An error after which nothing more can reach the peer.
bool ConnectionGone(int error)
{
    return error == EPIPE || error == ECONNRESET || error == ENOTCONN || error == EBADF || error == ENOTSOCK
        || error == ECONNABORTED || error == ETIMEDOUT || error == EHOSTUNREACH || error == ENETUNREACH;
}

// The entry the next attempt goes to: the first one whose socket is not waiting. When every socket with
// frames is waiting, the wait is over and the front is tried again.
std::deque<OutgoingMessage>::iterator NextEntry()
{
    for (auto it = sendqueue.begin(); it != sendqueue.end(); ++it)
        if (!blockedsockets.count(it->socket))
            return it;
    blockedsockets.clear();
    return sendqueue.begin();
}

// Removes a finished or given-up entry, closing its socket when it asked for that.
void Finish(std::deque<OutgoingMessage>::iterator entry)
{
    const int32_t socket = entry->socket;
    const bool closeafter = entry->closeafter;
    sendqueue.erase(entry);
    if (closeafter)
        CloseConnection(socket);
}

} // namespace

void QueueFrame(const std::string& frame, int32_t socket, bool closeafter)
{
    sendqueue.push_back(OutgoingMessage{frame, (int32_t)frame.size(), 0, socket, 0, closeafter});
}

void SendQueuedMessage()
{
    if (sendqueue.empty())
        return;
    const auto entry = NextEntry();
    debuglog << "Attempting to send " << LogText(entry->frame) << " (" << entry->length << " bytes) (Try #"
             << entry->tries + 1 << ") to socket " << entry->socket << '\n';

    int error = 0;
    const int n = sendfunction(entry->socket, entry->frame.data() + entry->sent, entry->length - entry->sent, &error);
    if (n > 0) {
        entry->sent += n;
        if (entry->sent >= entry->length) {
            blockedsockets.erase(entry->socket);
            Finish(entry);
        } else {
            debuglog << "Sent " << entry->sent << " of " << entry->length << " bytes; the rest follows.\n";
        }
        return;
    }
    if (n < 0 && (error == NETERR_WOULDBLOCK || error == EWOULDBLOCK || error == EINTR)) {
        blockedsockets.insert(entry->socket);
        debuglog << "Socket " << entry->socket << " is busy; the frame waits.\n";
        return;
    }

    debuglog << "ERROR attempting to send the data string " << LogText(entry->frame) << " Error code " << error << '\n';
    entry->tries++;
    if (n < 0 && ConnectionGone(error)) {
        // Nothing more reaches this peer; its close event does the rest.
        debuglog << "ERROR: Connection on socket " << entry->socket << " is gone; its queued messages are dropped.\n";
        const bool closeafter = entry->closeafter;
        const int32_t socket = entry->socket;
        DropQueuedMessages(socket);
        if (closeafter)
            CloseConnection(socket);
        return;
    }
    if (entry->tries >= MAXSENDTRIES) {
        debuglog << "Complete failure to send data packet!  Possible extreme data loss.\n";
        Finish(entry);
    }
}

void DropQueuedMessages(int32_t socket)
{
    std::erase_if(sendqueue, [socket](const OutgoingMessage& m) { return m.socket == socket; });
    blockedsockets.erase(socket);
}

void ClearSendQueue()
{
    sendqueue.clear();
    blockedsockets.clear();
}

void SetSendFunction(SendFunction send)
{
    sendfunction = send ? send : SocketSend;
}
