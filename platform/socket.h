// Non-blocking TCP sockets whose events arrive through the window's queue.
//
// Every registered socket reports as a SYS_SOCKET message: wparam the socket, lparam the event in the
// low 16 bits and an error code (a NETERR_ value, NETERR_NONE for none) in the high 16 bits. The game's
// socket handler runs on the window's thread, between frames, like every other message.
//
// Event rules (the reactor in PumpSockets keeps them):
// - ACCEPT once while connections wait; posted again only after SocketAccept was called on the socket.
// - CONNECT once when a connect finishes; a failure, even one known at once (an address that is not
//   dotted IPv4 text), arrives this way with its error.
// - READ once while data waits; posted again only after SocketReceive was called and data remains.
// - CLOSE once: error 0 when the peer closed and every byte was received, or at once with the error
//   (NETERR_RESET, ...) when the connection failed. Nothing follows a CLOSE.
// - Nothing at all after SocketClose, not even events that were already queued.
// All calls belong to the window's thread. Sockets are IPv4 TCP, non-blocking, TCP_NODELAY, close-on-exec;
// connections send keepalive probes, so one whose peer vanished ends with NETERR_TIMEDOUT within a minute;
// sending never raises SIGPIPE. Every error out-parameter may be null and receives a NETERR_ value.
#pragma once
#include <cstdint>
#include <string>

// Socket events (low half of lparam).
enum : uint32_t {
    NETEV_READ = 0x01,      // data can be received (re-posted while data remains)
    NETEV_ACCEPT = 0x08,    // a connection waits on a listening socket
    NETEV_CONNECT = 0x10,   // an asynchronous connect finished (error set when it failed)
    NETEV_CLOSE = 0x20,     // the peer closed (error set when it was reset)
};

inline uint32_t SocketEventOf(intptr_t lparam) { return (uint32_t)lparam & 0xFFFF; }
inline uint32_t SocketErrorOf(intptr_t lparam) { return ((uint32_t)lparam >> 16) & 0xFFFF; }

constexpr int NO_SOCKET = -1;                // what the socket calls return instead of a socket on failure

// The network's error codes: what the system reported, in the platform's own terms.
enum : int {
    NETERR_NONE = 0,
    NETERR_WOULDBLOCK = 1,      // a send or receive that would have to wait: try later
    NETERR_REFUSED = 2,         // nobody listens at that address
    NETERR_RESET = 3,           // the peer reset or aborted the connection
    NETERR_CLOSED = 4,          // the connection is shut or was never made: nothing more passes
    NETERR_TIMEDOUT = 5,        // the peer stopped answering
    NETERR_UNREACHABLE = 6,     // no route to the peer
    NETERR_NETDOWN = 7,         // the network itself is down
    NETERR_BADADDRESS = 8,      // the text names no address
    NETERR_ADDRESSINUSE = 9,    // another socket holds the port
    NETERR_NOTSOCKET = 10,      // no socket of ours
    NETERR_NORESOURCES = 11,    // out of buffers or descriptors, for now
    NETERR_INVALID = 12,        // a call the socket's state does not allow
    NETERR_OTHER = 13,          // anything else
    NETERR_PROTOCOL = 14,       // not the system's: a peer broke the game's framing (set by the game)
    NETERR_OVERFLOW = 15,       // not the system's: a peer left more unsent than the game keeps (set by the game)
};
bool SocketErrorEndsConnection(int error);  // after this error nothing more can pass on the connection
const char* SocketErrorName(int error);     // a short name for the log
std::string SocketSystemText(int error);     // the system's own words for the last failure behind the code (else its name)
std::string SocketErrorText(int error);     // for the log: the code, its name, and the system's last text and number behind it

int PumpSockets(int timeoutms);     // waits up to timeoutms (0: not at all) and posts the events found; returns how many

int SocketCreate(int* error);                                   // a new unconnected TCP socket, or NO_SOCKET with *error set
bool SocketSelect(int s, uint32_t events);                      // asks for the NETEV_ events in the mask (0: none); true when s is unknown
bool SocketBind(int s, uint16_t port, int* error);              // binds to every local address (reusing the address); true on failure
bool SocketListen(int s, int backlog, int* error);              // starts listening on a bound socket; true on failure
bool SocketConnect(int s, const char* address, uint16_t port);  // starts connecting to dotted IPv4 text; the outcome is NETEV_CONNECT; true only when s cannot connect at all
int SocketAccept(int s, int* error);                            // the next waiting connection, asking for the listener's events, or NO_SOCKET with *error set
int SocketSend(int s, const void* data, int size, int* error);  // bytes sent (maybe fewer than size), or -1 with *error set (NETERR_WOULDBLOCK: try later)
int SocketReceive(int s, void* buffer, int size, int* error);   // bytes received (0: the peer closed), or -1 with *error set (NETERR_WOULDBLOCK: none yet)
bool SocketShutdownSend(int s, int* error);                     // sends nothing more (the peer sees the end after the queued bytes); true on failure
void SocketClose(int s);                                        // closes s and drops its queued events; s is never reported again
std::string SocketLocalAddress();                               // this machine's first non-loopback IPv4 address as dotted text, else "127.0.0.1"
