// The receiving side: one whole frame in, checked, and applied to the game by its kind's handler.
#pragma once
#include <cstdint>
#include <string>

// Checks one frame (length byte first, ';' last) from a connection and hands its message to
// ProcessMessage; a malformed frame is refused with an "ERROR: " line.
void DoMessage(const std::string& frame, int32_t socket, intptr_t event);

// Applies one message (kind character first, no ';'). Before its kind's handler runs, the kind must be
// known, come from a source it is taken from (the host, a joined player, or a connection that has not
// joined yet, which may send only the join request) and have a length its layout allows; anything else
// is refused with an "ERROR: " line and changes nothing.
void ProcessMessage(const std::string& text, int32_t socket, intptr_t event);

// Watches the traffic: called with each message after its kind's handler ran (whatever the handler then
// decided), and the index of its sender on the host (-1 otherwise). Null for none. Test drivers use it
// to act at the very point a message was applied.
typedef void (*MessageObserver)(const std::string& text, int32_t sender);
void SetMessageObserver(MessageObserver observer);
