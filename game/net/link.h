// The TCP link: starting and stopping the network, hosting on the game's port, joining a host by its
// address, and closing connections.
//
// A client has one socket, mainsocket, to the host. The host listens on mainsocket, holds each joined
// player's connection in his record, and keeps accepted connections whose player has not yet sent his
// join request in pendingsockets.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

extern int32_t mainsocket;                  // client: the link to the host; host: the listening socket; NO_SOCKET none
extern std::vector<int32_t> pendingsockets; // host: accepted, not yet joined
extern bool netstarted;                     // the network is started and not yet cleaned up
extern uint8_t connected;                   // client: the connection to the host is established
extern uint8_t versionrefused;              // client: the host refused this version (its notice is up)
extern uint8_t joinanswered;                // client: the host answered the join (a record or its version); 1 with no join under way
extern uint32_t joinstartedat;              // client: the tick count when the join began
extern std::string localaddress;            // this computer's address as dotted text
extern std::string hostaddress;             // the host's address: typed by a client, the own one on the host
extern std::string iplabel;                 // "Your IP Address: " and the local address, for the lobby
extern int32_t netport;                     // port to use instead of the string module's; 0 for none (tests)

bool NetStartup();                          // opens the network and mainsocket; true on failure (also when already started)
void NetCleanup();                          // closes every socket and forgets every queued frame; clears ishost
bool CheckNetwork();                        // start-up check: the network starts and stops again; true on failure
bool HostListen();                          // listens on the game's port; true on failure (error screen shown)
bool HostGame();                            // hosts a game: listening, the host's own record, the lobby; true on failure
bool JoinHost(const std::string& address);  // starts connecting to a host; true on failure (error screen shown)
void CloseConnection(int32_t socket);       // closes one connection and forgets everything about it
void CloseAllSockets();                     // every player's, every pending and the main socket; harmless twice
int32_t PlayerOfSocket(int32_t socket);     // host: index of the joined player on that socket, -1 none
bool IsPendingSocket(int32_t socket);       // host: an accepted connection that has not joined yet
int32_t GamePort();                         // the port to host on and connect to; 0 when the string module has none
