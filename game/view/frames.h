// The frame count the view keeps time by: the board's animations and blinking, the caret, the
// ambient sounds. The screens' machine counts it, one for each frame it runs.
#pragma once
#include <cstdint>

extern int32_t framecount;              // frames run so far
