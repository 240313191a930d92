// Input. Placeholder until the devices land: no key is ever down.
#include "game/shell/input.h"

uint8_t keys[256];

bool DInputGo()
{
    return false;
}

bool BindMouse()
{
    return false;
}

void ReleaseInput()
{
}

void PollKeyboard()
{
}
