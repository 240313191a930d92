// Wards: lasting effects on one unit. Each of a unit's five ward slots adds its eight modifiers to the
// unit's stats (GetStat) while in use; modifiers 2 (moves) and 4 (actions) also act on the unit's
// current moves and actions when the ward comes and goes.
#pragma once
#include <cstdint>

// Puts a ward in the unit's first free slot; 0 when added, 1 when all five slots are in use (nothing
// changes). The modifiers come in the order m0..m4, m6, m7, m5.
int32_t AddWard(int32_t player, int32_t unit, int32_t turns, int32_t flag, int32_t m0, int32_t m1, int32_t m2,
                int32_t m3, int32_t m4, int32_t m6, int32_t m7, int32_t m5, int32_t kind, int32_t announce);
// Ends the ward in a slot; false when the slot was free. Ending a summoned unit's lifetime ward ends
// the unit (on the host it goes on the death list).
bool RemoveWard(int32_t player, int32_t unit, int32_t slot);
// A move ends every ward of the unit whose flag is set.
void RemoveMoveWards(int32_t player, int32_t unit);
