#include "game/screens/states.h"

int32_t gs = GAME_INTRO;
int32_t returngs = -1;
int32_t framecount = 0;
