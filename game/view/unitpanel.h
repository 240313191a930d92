// The unit panel: the bottom strip of the play screen for one unit.
#pragma once
#include <cstdint>

bool DrawUnitPanel(int32_t player, int32_t unit);  // draws the panel and acts on its clicks and keys; false
