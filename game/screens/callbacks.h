// The actions that the screens hand to their buttons (ButtonCallback): each takes the two numbers its
// button was given and returns false. A changed screen state takes effect on the next frame.
// (OpenOptions, the options box over the state shown, is the board keys' own: game/screens/boardkeys.h.)
#pragma once
#include <cstdint>

#include "game/screens/boardkeys.h"    // OpenOptions, the options box over the state shown

extern uint8_t launchupdate;            // the player chose to update: the shutdown starts the updater

bool SetGS(int32_t value, int32_t extra);           // gs = value
bool ExitForUpdate(int32_t a, int32_t b);           // ends the program, and its shutdown starts the updater
bool ToggleMusic(int32_t a, int32_t b);             // the music option; turned off, the songs stop at once
bool ToggleSound(int32_t a, int32_t b);             // the sound option
bool ToggleMinimap(int32_t a, int32_t b);           // the minimap option
bool ToggleGrid(int32_t a, int32_t b);              // the grid option
bool ToggleAutofocus(int32_t a, int32_t b);         // the autofocus option
bool BeginGame(int32_t a, int32_t b);               // host: the lobby's "Start Game" (F9 held: a game alone)
bool SetShowNames(int32_t value, int32_t b);        // host: the players' own names shown (1) or masked (0), and told
bool LeaveGame(int32_t a, int32_t b);               // leaves the game, back to the main menu
bool SetStartMoney(int32_t value, int32_t b);       // host: every player's gold, value x 5, and the map begins
