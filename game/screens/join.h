// Joining a game: the host's address typed, the connection started, and the wait for it.
#pragma once

bool JoinFrame();           // GAME_JOIN: typing goes into the address
bool EnterIpFrame();        // GAME_ENTERIP: the address entry; "Connect" or Enter connects
bool ConnectFrame();        // GAME_CONNECT: the connection to the typed address starts
bool ConnectingFrame();     // GAME_CONNECTING: "Connecting..." until the host answers
