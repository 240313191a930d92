// Who gets a copy of a message. The protocol is a star: a client sends everything to the host; the
// host sends to one player's socket, or to every joined human, and relays what clients send.
#pragma once
#include <cstdint>
#include <string>

// Frames body (kind, payload, normally its ';') and queues it. On a client: one copy to the host,
// whoever player names. On the host: player -1 gives every joined human (not the host's own record, not
// the neutral one) a copy; another index gives that player one. Result 1 when player is the host's own
// record (nothing is sent), else 0. A body that cannot be framed, or an index naming nobody or the
// neutral player, is refused with an "ERROR: " line.
int32_t SendToPlayer(const std::string& body, int32_t player);
void SendToSocket(const std::string& body, int32_t socket, bool closeafter = false); // one copy for one socket (a newcomer without a record)
int32_t SendCode(char code, int32_t player);    // sends the body of one kind character without payload
void RerouteMessage(const std::string& body);   // host: a received message (';' removed) to every joined human
// Host: a received message (';' removed) to every joined human but its sender, who applied it already.
void RelayToOthers(const std::string& body, int32_t sender);
bool IsValidPlayer(int32_t index);              // 0 <= index < number of records
