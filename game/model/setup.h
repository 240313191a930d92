// Setting up the armies: the warlord placement, the host's creation of a unit that it announces to the
// clients, and deployment of the units a player bought.
#pragma once
#include <cstdint>

extern int32_t hoveritem;               // the bought entry deployment places next

// Makes player's warlord of type warlord on his camp square and gives him the type's bonuses, filter
// and gold. id is the host's id for it (used on a client). True, with an "ERROR: ..." line and
// nothing changed, when warlord is not a warlord type, player names no human record or already has units.
bool PlaceWarlord(int32_t warlord, int32_t player, int32_t id);
// Host: CreateUnit, then (unless the type is a warlord type) the create-unit message to every client
// with the new unit's id. The new unit's index; -1 on a client, which cannot create units, or for a
// square off the map.
int32_t CreateUnitAndAnnounce(int32_t player, int32_t x, int32_t y, int32_t type, int32_t id);
// Places a bought unit: on the host CreateUnit at once; the deploy message goes to the host (from a
// client, which waits for the host's copy) or to every client (from the host). Always -1.
int32_t SendDeployMessage(int32_t player, int32_t x, int32_t y, int32_t type, int32_t extra);
// The next unit to deploy: runs every deployment ability of the player's units first. False, with
// hoveritem at the first bought entry, while one waits; true when nothing is left, which ends the
// deployment (the screen state goes on to the turn, or to waiting for the other players).
bool PrepareDeploy(int32_t player);
