// Effect animations: eight frames of the effect sheet over a unit or a square, 75 ms each, with the
// play screen redrawn for every frame. They block until done; nothing is shown and nothing waits while
// drawing is off, or where the square is not explored.
#pragma once
#include <cstdint>

enum : int32_t { ANIMFRAMES = 8, ANIMFRAMEMS = 75, ANIMCELLSTEP = 16 };

// kind 3 or less: (a, b) is a player and a unit index, and the animation plays on that unit's square;
// kind 4 or more: (a, b) is the square. Frames are the cells first, first + 16, ..., first + 112, or the
// other way round with reverse set. Returns false.
bool AnimateOnUnit(int32_t a, int32_t b, int32_t kind, int32_t first, uint8_t reverse);
// The same, each frame stretched to three squares across, centred on the target square.
bool AnimateOnUnitClipped(int32_t a, int32_t b, int32_t kind, int32_t first, uint8_t reverse);
