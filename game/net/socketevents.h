// Socket events: connections accepted by the host, a client's connect finishing, data arriving, and
// connections closing, on the host and on clients.
#pragma once
#include <cstdint>

enum : uint32_t { JOINWAITMS = 10000 };    // a connection must join within this long

intptr_t HandleSocketEvent(uintptr_t socket, intptr_t event);  // handles one SYS_SOCKET message; the window procedure's result
// A connection the game gives up on (its stream broke, or its peer stopped reading): handled as one
// that failed with error (a NETERR_ code), so a joined player leaves the game.
void ConnectionBroken(int32_t socket, int error);
// Once per pass, before sending: connections cut off for passing the queue's limit are handled as
// failed, and connections that have not joined within JOINWAITMS of their accept are closed (so that
// silent connections never fill the places of those waiting to join); on a client, a join the host has
// not answered within JOINWAITMS of its start ends with "No answer from" the address.
void CloseFailedConnections();

// The receive call connections are read with (SocketReceive unless a test replaces it; null restores it).
typedef int (*ReceiveFunction)(int socket, void* buffer, int size, int* error);
void SetReceiveFunction(ReceiveFunction receive);
