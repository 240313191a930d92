// The end of a game: the winner is declared on every machine.
#pragma once
#include <cstdint>
#include <string>

extern std::string winnername;          // the winner's display name, for the victory screen

void DeclareWinner(int32_t winner);     // victory or defeat sound, winnername, GAME_VICTORY
