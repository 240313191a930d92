// The outgoing queue: every frame for every connection, each connection's frames sent in their order.
//
// Once per main-loop pass every connection sends as many of its frames as its socket takes, several in
// one send call. What the socket did not take waits for the next pass; a would-block is no failure: that
// connection's frames wait while the others' go. Any other error counts as a failed try of the
// connection's first frame, which is given up after its 11th failed try; an error that says the
// connection is gone drops every frame for it at once.
//
// A connection never holds more than MAXQUEUEDBYTES unsent: a peer that stops reading and passes it is
// cut off (its frames dropped) and, at the next pass, handled as one whose connection failed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

struct OutgoingMessage {
    std::string frame;      // length byte, kind, payload, ';'
    int32_t length;         // bytes to send
    int32_t tries;          // failed send attempts so far
    int32_t socket;         // destination
    int32_t sent;           // bytes already sent
    bool closeafter;        // close the socket once this frame is sent (or given up)
    uint64_t order;         // when it was queued, counted over every connection
};

// The frames waiting for one connection.
struct ConnectionQueue {
    std::deque<OutgoingMessage> frames;
    size_t bytes = 0;       // their bytes not yet sent
    bool cutoff = false;    // passed the limit: takes nothing more, and is closed at the next pass
};

enum { MAXSENDTRIES = 11 };
enum : size_t {
    MAXQUEUEDBYTES = 1 << 20,   // unsent bytes one connection may hold
    SENDBATCH = 64 * 1024,      // bytes offered to a socket in one send call
};

extern std::map<int32_t, ConnectionQueue> sendqueues;  // by socket; only connections with frames waiting

void QueueFrame(const std::string& frame, int32_t socket, bool closeafter = false); // appends a copy for one socket
// One pass: connections cut off since the last pass are closed (their players leave), then every
// connection sends what its socket takes. Called once per main-loop pass.
void SendQueuedMessage();
std::vector<int32_t> CutOffSockets();   // connections cut off for passing the limit, not yet closed
bool SendQueueEmpty();                  // nothing waits for any connection
size_t QueuedFrameCount();              // frames waiting, over every connection
std::vector<OutgoingMessage> QueuedMessages();  // every waiting frame, oldest first
void DropQueuedMessages(int32_t socket);    // forgets every frame for a socket (it was closed)
void ClearSendQueue();                  // forgets every frame (the network was shut down)

// The send call the queue uses (SocketSend unless a test replaces it; null restores it).
typedef int (*SendFunction)(int socket, const void* data, int size, int* error);
void SetSendFunction(SendFunction send);
