// The two one-pixel line strips of the dialogs and the credits, stretched to any width.
#pragma once
#include <cstdint>

bool DrawStripA(int32_t x, int32_t y, int32_t w);  // imgline over (x, y)-(x + w, y + 1); true when not drawn
bool DrawStripB(int32_t x, int32_t y, int32_t w);  // the same with imgblueline
