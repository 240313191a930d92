// A client's join that ends without a game: the error screen says why, in the player's words, and
// the bytes a host sends first tell a Gorvanel game from some other program listening on the port.
#pragma once
#include <string>

// Ends the join to hostaddress that failed with error (a NETERR_ code; NETERR_TIMEDOUT: no answer in
// time, NETERR_PROTOCOL: the peer is no Gorvanel game): the network is cleaned up, and the error screen
// "Couldn't Connect", which returns to the address entry, says its sentence and the cause on a line of
// its own.
void FailJoin(int error);

// Whether bytes, all that a joining client has received so far, can be the start of a host's answer to
// the join: a player record or the host's version, framed as every message is.
bool CouldBeJoinAnswer(const std::string& bytes);
