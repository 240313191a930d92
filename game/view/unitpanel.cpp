// The unit panel. Placeholder until the panel is drawn: nothing is shown.
#include "game/view/unitpanel.h"

bool DrawUnitPanel(int32_t, int32_t)
{
    return false;
}
