// The lobby and the host's set-up actions: beginning a game, the start money and the map size, the
// map's creation and its transfer row by row, the first turn of each day, chat lines, the show-names
// setting and leaving a game. The screens call these from their buttons and states.
#pragma once
#include <cstdint>
#include <string>

extern uint8_t wincheck;                // the win test at the start of a turn is on; cleared for a game alone
extern int32_t worldtype;               // 1..5, drawn by the host and announced; no rule reads it
extern int32_t startgold;               // every player's gold when the game began

enum { PUBLICCHAT = 100 };              // a chat addressee that names nobody: a line for everybody
// Characters of a typed chat line: with the longest display name and " (private)" before it, its
// message still fits one frame.
enum { CHATLIMIT = 200 };

// Host, the lobby's "Start Game": needs another player, unless alone (the key for a game alone is
// held), which also turns the win test off for good. Draws and announces the world type and goes on to
// the choice of start money. Always false.
bool BeginGame(bool alone);
// Every player's gold becomes fifths x 5 (also startgold); on the host the value goes to the clients
// and the map of the size for the players is made and sent.
void SetStartMoney(int32_t fifths);
int32_t MapSizeFor(int32_t records);    // the map's size for that many player records
// Host: the blank map, the acknowledgements reset, the clients to their download screen, and the map
// search begun (GAME_CREATEMAP).
void CreateAndSendMap(int32_t size);
// Every record that is neither the host's own nor the neutral one has acknowledged (ready).
bool AllPlayersReady();
// The acknowledgements: the host's own record and every human not ready, the neutral one ready.
void ResetReadyFlags();
// Host, one frame of GAME_SENDMAP: when every client took the last row (or none was sent yet), the
// next row; after the last row has been taken, GAME_CREATENEUTRALS for everybody. True when a row or
// the end went out.
bool SendNextMapRow();
// Host: every player still in the game (not one whose warlord fell), the host himself aside, is done
// shopping and deploying for the day (each counted once, by his MSG_DONESHOPPING).
bool AllShoppersDone();
// Host: the first turn of a day: everybody watches, and the turn order begins.
void StartFirstTurn();
// Sends the typed line to everybody (target: the index of the addressee of a private line, or any
// value naming nobody); the host shows its own line at once, a client when the host's relay comes
// back. The text is emptied.
void SendChat(std::string& text, int32_t target);
void SetShowNames(bool on);             // host: the players' own names shown (or masked), and told
// The lobby's screen is up: joins are taken, and a player who leaves is a line of its chat.
bool LobbyOpen();
// Leaves the game on this machine from any state: the network closed, the players, the map and the
// feed gone, back to the main menu.
void LeaveGame();
