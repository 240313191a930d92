// The shop's heading of names and gold (the names themselves: game/model/names.h).
#pragma once
#include "game/model/names.h"

// The shop's heading: the current player's name and gold, right-aligned in yellow. True when p is empty.
bool DrawPlayerGold();
