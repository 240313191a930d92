#include "game/view/frames.h"

int32_t framecount = 0;
