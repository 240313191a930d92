// The screens' counters of the state machine; the states themselves are the game's (game/model/states.h).
#pragma once
#include <cstdint>

#include "game/model/states.h"

extern int32_t framecount;              // frames run so far; the board's animations and blinking count them
extern int32_t screencounter;           // the intro's frames, and how far a slide of the back picture has gone
