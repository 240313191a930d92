#include "game/view/commandmode.h"

int32_t commandmode = COMMAND_MOVE;
uint8_t commandflag = 0;
int32_t selectedspell = 0;
int32_t cursorframe = 0;
