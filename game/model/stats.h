// Effective stats: what every rule reads instead of a unit's base stats.
#pragma once
#include <cstdint>

// Base stat plus the modifiers of the wards in use plus the player's bonus for it, the bonus only when
// all eight base stats lie inside the player's filter. Indexes must be valid.
int32_t GetStat(int32_t player, int32_t unit, int32_t stat);
// The effective life stat; 15 for a player or unit index out of range.
int32_t GetLifeStat(int32_t player, int32_t unit);
