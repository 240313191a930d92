// The death list: a rule that kills a unit only enters it here; the main loop removes the dead once
// per pass on every machine, and the host tells the clients of each kill.
#pragma once
#include <cstdint>

bool IsUnitDying(int32_t player, int32_t unit);             // the unit is on the death list
void KillUnit(int32_t player, int32_t unit, int32_t killer); // enters the unit once; killer: a player index
void ProcessDeaths();                                       // removes the dead, once per main-loop pass
// Applies one death: bounty, kill count, remains, removal, and the fall of a player whose warlord died.
// A killer index not in p stands for the neutral side (the last record).
void ResolveKill(int32_t player, int32_t unit, int32_t killer);
