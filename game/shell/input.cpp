// Input. Placeholder until the input devices land.
#include "game/shell/input.h"

int32_t mousex = 400, mousey = 300;
MouseState mousestate = {};
uint8_t keys[256] = {};

bool PollMouse()
{
    mousestate = {};
    return false;
}
