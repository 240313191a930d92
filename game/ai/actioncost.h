// What a step costs a neutral unit, as the computer player weighs its way to a target.
#pragma once
#include <cstdint>

enum : int32_t {
    COSTIMPOSSIBLE = 999999,    // a forcefield, the unit's own side, off the map, or a forbidden step
    COSTENEMY = 987654,         // another player's unit stands there
};

// The cost for the unit of stepping onto (x, y): the square's move cost lowered by its on-move
// abilities, asked for the cost only, so that nothing changes (the step itself is the rules' move);
// COSTIMPOSSIBLE or COSTENEMY as above. Logs "Calculated cost: " for a cost it worked out.
int32_t ActionCost(int32_t player, int32_t unit, int32_t x, int32_t y);
