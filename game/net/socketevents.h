// Socket events: connections accepted by the host, a client's connect finishing, data arriving, and
// connections closing, on the host and on clients.
#pragma once
#include <cstdint>

intptr_t HandleSocketEvent(uintptr_t socket, intptr_t event);  // handles one SYS_SOCKET message; the window procedure's result
void ConnectionBroken(int32_t socket);  // a connection whose stream can no longer be read: handled as failed
