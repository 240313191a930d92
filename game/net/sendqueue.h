// The outgoing queue: every frame for every socket, sent in order, one send attempt per main-loop pass.
//
// A short send leaves the rest of the frame at the head of its socket's line for the next attempt. A
// would-block is no failure: the frame waits, and meanwhile other sockets' frames go first (each
// socket's frames keep their order). Any other error counts as a failed try; the frame is given up
// after its 11th failed try, and at once, with every frame for that socket, when the error says the
// connection is gone.
#pragma once
#include <cstdint>
#include <deque>
#include <string>

struct OutgoingMessage {
    std::string frame;      // length byte, kind, payload, ';'
    int32_t length;         // bytes to send
    int32_t tries;          // failed send attempts so far
    int32_t socket;         // destination
    int32_t sent;           // bytes already sent
    bool closeafter;        // close the socket once this frame is sent (or given up)
};

enum { MAXSENDTRIES = 11 };

extern std::deque<OutgoingMessage> sendqueue;

void QueueFrame(const std::string& frame, int32_t socket, bool closeafter = false); // appends a copy for one socket
void SendQueuedMessage();               // one send attempt; called once per main-loop pass
void DropQueuedMessages(int32_t socket);    // forgets every frame for a socket (it was closed)
void ClearSendQueue();                  // forgets every frame (the network was shut down)

// The send call the queue uses (SocketSend unless a test replaces it; null restores it).
typedef int (*SendFunction)(int socket, const void* data, int size, int* error);
void SetSendFunction(SendFunction send);
