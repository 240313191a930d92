#include "game/ai/actioncost.h"

#include "game/magic/abilities.h"
#include "game/magic/targets.h"
#include "game/model/moves.h"
#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/shell/debuglog.h"

int32_t ActionCost(int32_t player, int32_t unit, int32_t x, int32_t y)
{
    if (!InBounds(x, y) || map[x][y].counter2 != 0)
        return COSTIMPOSSIBLE;
    if (!IsSquareFree(player, unit, x, y, 0)) {
        const UnitRef there = FindUnit(UnitIdAt(x, y));
        return there.player >= 0 && there.player != player ? COSTENEMY : COSTIMPOSSIBLE;
    }
    int32_t cost = StepCost(player, unit, x, y, MOVECOSTONLY);
    if (cost < 0)
        cost = COSTIMPOSSIBLE;
    debuglog << "Calculated cost: " << cost << '\n';
    return cost;
}
