#include "game/screens/states.h"

int32_t framecount = 0;
int32_t screencounter = 0;
