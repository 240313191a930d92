// The two one-pixel strips: the 290 x 1 line pictures stretched to any width, as rules under headings.
#pragma once
#include <cstdint>

bool DrawStripA(int32_t x, int32_t y, int32_t w);   // "line.bmp" over (x, y)-(x + w, y + 1), keyed; true on failure
bool DrawStripB(int32_t x, int32_t y, int32_t w);   // the same with "blueline.bmp"
