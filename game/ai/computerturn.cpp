#include "game/ai/computerturn.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "game/ai/actionchoice.h"
#include "game/ai/acts.h"
#include "game/ai/aistate.h"
#include "game/ai/targetchoice.h"
#include "game/model/cast.h"
#include "game/model/death.h"
#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/shell/debuglog.h"
#include "game/shell/shell.h"
#include "platform/clock.h"

namespace {

bool IsUnit(int32_t player, int32_t unit)
{
    return player >= 0 && static_cast<size_t>(player) < p.size() && unit >= 0
        && static_cast<size_t>(unit) < p[player].units.size();
}

int32_t Sign(int32_t v)
{
    return (v > 0) - (v < 0);
}

// The unit whose turn is under way, found by its id: true with *unit its index now. When it is gone
// its turn ends, and the search for the next unit resumes after its place.
bool FollowActingUnit(int32_t player, int32_t* unit)
{
    const UnitRef acting = FindUnit(compunitid);
    if (acting.player == player) {
        if (acting.unit != *unit)
            debuglog << "The acting unit is now unit #" << acting.unit << ".\n";
        compplayer = player;
        *unit = compunit = currunit = acting.unit;
        return true;
    }
    debuglog << "Unit with ID " << compunitid << " is gone... next unit turn.\n";
    const int32_t units = IsUnit(player, 0) ? static_cast<int32_t>(p[player].units.size()) : 0;
    currunit = std::clamp(compunit - 1, -1, units - 1);
    EndComputerUnit();
    return false;
}

// A new unit's turn: nothing remembered of the last one.
void StartUnit(int32_t player, int32_t unit)
{
    BeginComputerUnit();
    compplayer = player;
    compunit = unit;
    compunitid = p[player].units[unit].id;
    compactive = 1;
    compwaiting = 0;
}

} // namespace

bool ComputerUnitTurn(int32_t player, int32_t unit)
{
    if (!ishost)
        return false;
    if (candraw && compwaiting && GetTicks() - compsteptime < COMPSTEPMS)
        return false;
    if (compactive && !FollowActingUnit(player, &unit))
        return false;
    if (!IsUnit(player, unit)) {
        debuglog << "ERROR: The computer player has no unit #" << unit << " of player " << player << ".\n";
        EndComputerUnit();
        return false;
    }
    const Unit& u = p[player].units[unit];
    if (u.hits <= 0 || !u.alerted || IsUnitDying(player, unit)) {
        debuglog << "No hits... next unit turn.\n";
        EndComputerUnit();
        return false;
    }
    if (!compactive)
        StartUnit(player, unit);
    if (++compsteps > MAXUNITSTEPS) {
        debuglog << "Unit with ID " << u.id << " took " << MAXUNITSTEPS << " steps... next unit turn.\n";
        EndComputerUnit();
        return false;
    }

    const ComputerAction action = ChooseAction(player, unit);
    compaction = action.action;
    pureactionrange = action.range;
    if (action.action == ACTION_NONE || pureactionrange < 1) {
        debuglog << "Action impossible.\n";
        EndComputerUnit();
        return false;
    }
    const int32_t range = pureactionrange + std::max(u.moves, 0);
    debuglog << "Action: " << action.action << "\tDamage: " << action.damage << "\tRange: " << range
             << "\tDepth:" << action.kind << '\n';
    const std::vector<int32_t> candidates = FindCandidates(player, unit, range);
    if (candidates.empty()) {
        debuglog << "No units in range!\n";
        EndComputerUnit();
        return false;
    }
    compwaiting = 1;
    compsteptime = GetTicks();

    const int32_t target = ChooseTarget(player, candidates, action.damage);
    debuglog << "Target=" << target << "\tpureactionrange:" << pureactionrange << '\n';
    const UnitRef t = FindUnit(target);
    if (t.player < 0) {
        comptarget = -1;
        return false;
    }
    const Unit& other = p[t.player].units[t.unit];
    const int32_t distance = UnitDistance(u.x, u.y, other.x, other.y);
    const int32_t sx = Sign(other.x - u.x), sy = Sign(other.y - u.y);
    debuglog << "dx=" << sx << "\ndy=" << sy << '\n';
    if (action.kind >= UNITTARGETKINDS)
        CastNearCaster(player, unit, action, sx, sy);
    else if (distance > pureactionrange)
        StepTowards(player, unit, t.player, t.unit, sx, sy);
    else
        ActOnTarget(player, unit, action, t.player, t.unit);
    return false;
}
