// Units coming and going: every unit is made by CreateUnit (the host numbers it, a client takes the
// host's number from the message), summoned by name, removed one at a time, or all of a player's at
// once when he leaves; and a leaving player's record is erased the same way on every machine.
#pragma once
#include <cstdint>

// Appends a unit of type to player's units on (x, y), filled from the type's numbered strings, and
// answers its index (the last one); -1 when player names no record. id is used only on a client; the
// host gives the next id. A unit off the map runs only its creation abilities.
int32_t CreateUnit(int32_t player, int32_t x, int32_t y, int32_t type, int32_t id);
// Host: creates a unit of the type whose name is exactly name for player on (x, y) and announces it
// (a warlord type is not announced). The new unit's index; -1 when nothing was created (a client, no
// such type, a square off the map).
int32_t SummonUnitNamed(int32_t player, int32_t x, int32_t y, const char* name, int32_t id);
// Takes the unit out of its player's list; the others keep their order. Always false.
bool RemoveUnit(int32_t player, int32_t unit);
// A player left: on the host a turn of his in progress passes on first (ServerNextTurn, with his units
// still there), then his units go. The player whose turn it is afterwards (callers store it in
// currplayer).
int32_t DropPlayerUnits(int32_t player);
// Erases a leaving player's record and moves every stored player index after it down by one: the
// current player, the turn holder, claims, light, the death list. His mines become nobody's. Before the
// game has a map the players' numbers close up again. True when player names no record.
bool ErasePlayerRecord(int32_t player);
