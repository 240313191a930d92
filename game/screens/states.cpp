#include "game/screens/states.h"

int32_t screencounter = 0;
