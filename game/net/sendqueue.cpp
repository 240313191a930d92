#include "game/net/sendqueue.h"

#include <algorithm>

#include "game/net/frame.h"
#include "game/net/link.h"
#include "game/net/socketevents.h"
#include "game/shell/debuglog.h"
#include "platform/socket.h"

std::map<int32_t, ConnectionQueue> sendqueues;

namespace {

SendFunction sendfunction = SocketSend;
uint64_t queuedsofar = 0;

// Removes the connection's first frame (sent or given up); true when the connection was closed after it.
bool FinishFront(int32_t socket, ConnectionQueue& queue)
{
    const OutgoingMessage& front = queue.frames.front();
    queue.bytes -= static_cast<size_t>(front.length - front.sent);
    const bool closeafter = front.closeafter;
    queue.frames.pop_front();
    if (closeafter)
        CloseConnection(socket);
    return closeafter;
}

// Takes n bytes the socket accepted off the connection's first frames. True when a frame asked for the
// connection to close after it (it is closed then).
bool TakeSent(int32_t socket, ConnectionQueue& queue, size_t n)
{
    while (n > 0 && !queue.frames.empty()) {
        OutgoingMessage& front = queue.frames.front();
        const size_t left = static_cast<size_t>(front.length - front.sent);
        if (n < left) {
            front.sent += static_cast<int32_t>(n);
            queue.bytes -= n;
            return false;
        }
        n -= left;
        front.sent = front.length;
        if (FinishFront(socket, queue))
            return true;
    }
    return false;
}

// The connection sends until its socket takes less than it is offered, or nothing is left.
void SendConnection(int32_t socket)
{
    std::string batch;
    for (;;) {
        const auto found = sendqueues.find(socket);
        if (found == sendqueues.end())
            return;
        ConnectionQueue& queue = found->second;
        if (queue.frames.empty()) {
            sendqueues.erase(found);
            return;
        }
        // Frames one after another, up to a frame that closes the connection.
        batch.clear();
        size_t count = 0;
        for (const OutgoingMessage& m : queue.frames) {
            batch.append(m.frame, static_cast<size_t>(m.sent), std::string::npos);
            count++;
            if (m.closeafter || batch.size() >= SENDBATCH)
                break;
        }
        OutgoingMessage& front = queue.frames.front();
        debuglog << "Attempting to send " << count << " frames, " << batch.size() << " bytes, from "
                 << LogText(front.frame) << " (Try #" << front.tries + 1 << ") to socket " << socket << '\n';

        int error = NETERR_NONE;
        const int n = sendfunction(socket, batch.data(), static_cast<int>(batch.size()), &error);
        if (n > 0) {
            if (TakeSent(socket, queue, static_cast<size_t>(n)) || static_cast<size_t>(n) < batch.size())
                return;    // closed, or the socket is full for now
            continue;
        }
        if (n == 0 || error == NETERR_WOULDBLOCK) {
            debuglog << "Socket " << socket << " is busy; its frames wait.\n";
            return;
        }

        debuglog << "ERROR attempting to send the data string " << LogText(front.frame) << " Error code "
                 << SocketErrorText(error) << '\n';
        front.tries++;
        if (SocketErrorEndsConnection(error)) {
            // Nothing more reaches this peer; its close event does the rest.
            debuglog << "ERROR: Connection on socket " << socket << " is gone; its queued messages are dropped.\n";
            bool closeafter = false;
            for (const OutgoingMessage& m : queue.frames)
                closeafter = closeafter || m.closeafter;
            DropQueuedMessages(socket);
            if (closeafter)
                CloseConnection(socket);
            return;
        }
        if (front.tries >= MAXSENDTRIES) {
            debuglog << "Complete failure to send data packet!  Possible extreme data loss.\n";
            FinishFront(socket, queue);
        }
        return;
    }
}

} // namespace

void QueueFrame(const std::string& frame, int32_t socket, bool closeafter)
{
    ConnectionQueue& queue = sendqueues[socket];
    if (queue.cutoff)
        return;
    if (queue.bytes + frame.size() > MAXQUEUEDBYTES) {
        // A peer that reads nothing must not make the host hold, and keep trying, ever more.
        debuglog << "ERROR: " << queue.bytes << " bytes wait for socket " << socket
                 << ", whose peer stopped reading; its connection is cut off.\n";
        queue.frames.clear();
        queue.bytes = 0;
        queue.cutoff = true;
        return;
    }
    queue.frames.push_back(OutgoingMessage{frame, static_cast<int32_t>(frame.size()), 0, socket, 0, closeafter,
                                           queuedsofar++});
    queue.bytes += frame.size();
}

void SendQueuedMessage()
{
    CloseFailedConnections();
    // A send may close a connection (a frame sent last, a connection gone), so the sockets are listed first.
    std::vector<int32_t> sockets;
    sockets.reserve(sendqueues.size());
    for (const auto& entry : sendqueues)
        sockets.push_back(entry.first);
    for (const int32_t socket : sockets)
        SendConnection(socket);
}

std::vector<int32_t> CutOffSockets()
{
    std::vector<int32_t> sockets;
    for (const auto& [socket, queue] : sendqueues)
        if (queue.cutoff)
            sockets.push_back(socket);
    return sockets;
}

bool SendQueueEmpty()
{
    for (const auto& entry : sendqueues)
        if (!entry.second.frames.empty())
            return false;
    return true;
}

size_t QueuedFrameCount()
{
    size_t count = 0;
    for (const auto& entry : sendqueues)
        count += entry.second.frames.size();
    return count;
}

std::vector<OutgoingMessage> QueuedMessages()
{
    std::vector<OutgoingMessage> all;
    for (const auto& entry : sendqueues)
        all.insert(all.end(), entry.second.frames.begin(), entry.second.frames.end());
    std::sort(all.begin(), all.end(), [](const OutgoingMessage& a, const OutgoingMessage& b) { return a.order < b.order; });
    return all;
}

void DropQueuedMessages(int32_t socket)
{
    sendqueues.erase(socket);
}

void ClearSendQueue()
{
    sendqueues.clear();
}

void SetSendFunction(SendFunction send)
{
    sendfunction = send ? send : SocketSend;
}
