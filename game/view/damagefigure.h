// The damage figure: the number a hit took, drawn over the unit on the play screen and held there.
#pragma once
#include <cstdint>

enum : int32_t { DAMAGESHOWMS = 500 };  // how long a damage number stays on screen

// Shows number over the unit for 500 ms: only while drawing is on, where the local player has explored
// the unit's square and that square's corner lies on the visible board. Nothing for a bad index.
void ShowDamage(int32_t player, int32_t unit, int32_t number);
