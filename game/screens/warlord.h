// The warlord selection: the list of warlord types with the selected one's figures, description and
// powers, and the button that chooses it (ChooseWarlord, setupsteps.h).
#pragma once
#include <cstdint>
#include <string>

void DrawWarlordSelection();        // the list and the selected type's figures; a press on a name selects it
void DrawWarlordPowers();           // the selected type's abilities and spells, each showing its box under the mouse
void DrawSelectWarlordButton();     // "Select Warlord": chooses the selected type for the local player

int32_t WarlordRowHeight(int32_t count);    // the height of a row of the list of count types

// Where the row of a type's abilities starts and how far apart they stand, by their number.
struct PowerRowLayout {
    int32_t x, step;
};
PowerRowLayout AbilityRowLayout(int32_t count);

// The text of the warlord's power: the help of the ability named like the type (blanks as "_");
// "<no power>" when there is none.
std::string WarlordPowerText(const std::string& name);
