// Upgrades: the next level of a unit's type (type + 10000, then + 20000). Only the host decides them:
// it queues the unit, and ProcessUpgrades upgrades it and tells the clients, which upgrade their copy.
#pragma once
#include <cstdint>

void ProcessUpgrades();     // the host's upgrade queue, once per main-loop pass; nothing on a client
// Host: puts the unit's id on the upgrade queue and answers true; queued twice before the next pass,
// it rises two levels. Client: nothing, false.
bool QueueUpgrade(int32_t player, int32_t unit);
// Upgrades the unit to its next level; false (nothing changes) for a third-level unit or a warlord.
bool UpgradeUnit(int32_t player, int32_t unit);
