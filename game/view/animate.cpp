// Effect animations. Placeholder until the board view draws them: no frame is drawn and none waits.
#include "game/view/animate.h"

bool AnimateOnUnit(int32_t, int32_t, int32_t, int32_t, uint8_t)
{
    return false;
}

bool AnimateOnUnitClipped(int32_t, int32_t, int32_t, int32_t, uint8_t)
{
    return false;
}
