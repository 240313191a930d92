// Power lists: the spells and abilities a unit type, an upgrade or a warlord gives, as a string of
// internal names separated by ',' and ended by ';'. Each returns true when the list lacks its ';'.
#pragma once
#include <cstdint>

#include "game/model/records.h"

// Both arrays cleared to -1, then filled from the list of type (string type + 900).
bool GetUnitPowers(int32_t type, int32_t (&spells)[MAXSPELLS], int32_t (&abilities)[MAXABILITIES]);
// The same from the power list of the player's warlord type.
bool GetWarlordPowers(int32_t player, int32_t (&spells)[MAXSPELLS], int32_t (&abilities)[MAXABILITIES]);
// Adds the list of type to a unit's powers: into free (-1) places, an ability only when not yet held.
bool AddUnitPowers(int32_t type, int32_t (&spells)[MAXSPELLS], int32_t (&abilities)[MAXABILITIES]);
