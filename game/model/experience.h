// Experience: every source adds it here. A unit's experience stays below the upgrade threshold of its
// type; reaching the threshold keeps the remainder and, on the host, queues an upgrade.
#pragma once
#include <cstdint>

// Adds amount to the unit that receives (player, unit)'s experience (its expreceiver). True when this
// call queued an upgrade (host only). An amount of 0 or less changes nothing.
bool AddExperience(int32_t player, int32_t unit, int32_t amount);
// The upgrade threshold of the unit's type (all levels of a type share it); 0 or less: never upgrades.
int32_t UpgradeExperience(int32_t player, int32_t unit);
