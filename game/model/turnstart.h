// The start of a player's turn: every machine brings that player's units up to date by itself, with
// no message: start-of-turn abilities, wards counting down, the dead leaving, refills, poison, mana;
// then the player's claims and light overrides end.
#pragma once
#include <cstdint>

#include "game/model/state.h"

// Updates one unit; true when it was removed (the same index now names the next unit). Indexes valid.
bool UpdateUnit(int32_t player, int32_t unit);
// Updates every unit of the player (the current player by default), then his squares, then redraws.
void UpdateUnits(int32_t player = currplayer);
