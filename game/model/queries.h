// Small queries on the board and the units.
#pragma once
#include <cstdint>

struct UnitRef {
    int32_t player;                     // index in p, -1 when not found
    int32_t unit;                       // index in that player's units, -1 when not found
};

bool InBounds(int32_t x, int32_t y);    // (x, y) lies on the map
bool IsSquareExplored(int32_t player, int32_t x, int32_t y);   // on the map and explored (player unused)
int32_t UnitIdAt(int32_t x, int32_t y); // id of the first unit on (x, y) (players, then units, in order); -1 none
UnitRef FindUnit(int32_t id);           // the unit with that id, searched in the same order; (-1, -1) none
