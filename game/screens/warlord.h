// The warlord selection: the list of warlord types with the selected one's figures, and the button
// that chooses it (ChooseWarlord, setupsteps.h).
#pragma once

void DrawWarlordSelection();        // the list and the selected type's figures; a press on a name selects it
void DrawSelectWarlordButton();     // "Select Warlord": chooses the selected type for the local player
