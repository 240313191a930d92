// The warlord selection. For now the least that lets a player choose: the list is not drawn, and the
// button chooses the selected type.
#include "game/screens/warlord.h"

#include <cstdint>

#include "game/model/catalogue.h"
#include "game/model/localplayer.h"
#include "game/model/setup.h"
#include "game/screens/buttons.h"
#include "game/screens/setupsteps.h"

namespace {

uint8_t selectbutton = 0;               // the button's own byte

} // namespace

void DrawWarlordSelection()
{
}

void DrawSelectWarlordButton()
{
    if (hoveritem < 0 || hoveritem >= warlordtypecount || hoveritem >= MAXWARLORDTYPES)
        return;
    DrawTextButton(525, 475, "Select Warlord", ChooseWarlord, warlordtypes[hoveritem], YouToInt(), selectbutton, 2);
}
