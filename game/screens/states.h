// The screens' counter of the state machine; the states themselves are the game's (game/model/states.h),
// the frame count the view's (game/view/frames.h).
#pragma once
#include <cstdint>

#include "game/model/states.h"

extern int32_t screencounter;           // the intro's frames, and how far a slide of the back picture has gone
