// Small helpers on a unit's ward slots and mana. Indexes must be valid.
#pragma once
#include <cstdint>

// Index 0..4 of the unit's first ward slot in use with that kind; 0 also when there is none, so
// callers that must tell slot 0 from none ask HasWard first.
int32_t FindWard(int32_t player, int32_t unit, int32_t kind);
bool HasWard(int32_t player, int32_t unit, int32_t kind);   // some slot in use holds that kind
bool ClampMana(int32_t player, int32_t unit, int32_t amount);   // mana - amount, not below 0; false
