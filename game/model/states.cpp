#include "game/model/states.h"

int32_t gs = GAME_INTRO;
int32_t returngs = -1;
