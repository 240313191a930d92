// Hosting, the lobby where the players gather and chat, and the error screen that network failures
// lead to.
#pragma once
#include <cstdint>

enum : int32_t { LOBBYCHATTOP = 81 };   // chat lines that would stand above this are dropped from the feed

bool HostFrame();           // GAME_HOST: the network starts listening and the host's own player joins
bool EnterLobbyFrame();     // GAME_ENTERLOBBY: typing now goes into the chat line
bool LobbyFrame();          // GAME_LOBBY: the players, the chat, and the host's start of the game
bool ErrorScreenFrame();    // GAME_ERRORSCREEN: the failure and its "OK"
void DrawLobbyChat();       // the chat area from the message feed, dropping the lines that no longer fit
