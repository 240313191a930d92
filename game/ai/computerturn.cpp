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
#include "game/model/states.h"
#include "game/model/turns.h"
#include "game/net/routing.h"
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

// The units before the acting one, by id: where its turn ends, the next search starts after the last
// of them still there, whoever else left the list meanwhile.
void NoteEarlierUnits(int32_t player, int32_t unit)
{
    compearlier.clear();
    for (int32_t u = 0; u < unit; u++)
        compearlier.push_back(p[player].units[u].id);
}

// The index of the last unit of the player that stood before the acting one; -1 none.
int32_t LastEarlierUnit(int32_t player)
{
    if (!IsUnit(player, 0))
        return -1;
    const std::vector<Unit>& units = p[player].units;
    for (int32_t u = static_cast<int32_t>(units.size()) - 1; u >= 0; u--)
        if (std::find(compearlier.begin(), compearlier.end(), units[u].id) != compearlier.end())
            return u;
    return -1;
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
        NoteEarlierUnits(player, acting.unit);
        return true;
    }
    debuglog << "Unit with ID " << compunitid << " is gone... next unit turn.\n";
    currunit = LastEarlierUnit(player);
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
    NoteEarlierUnits(player, unit);
    compactive = 1;
    compwaiting = 0;
}

// Only the neutral side is played here, and only in its own turn: a step left over from a turn that
// has passed (the state went on without it) must not move another player's unit.
bool HoldsTheTurn(int32_t player)
{
    return IsValidPlayer(player) && p[player].neutral && turnholder == player;
}

} // namespace

bool ComputerUnitTurn(int32_t player, int32_t unit)
{
    if (!ishost)
        return false;
    if (!HoldsTheTurn(player)) {
        debuglog << "ERROR: A computer player's step for player " << player << " while player " << turnholder
                 << " holds the turn.\n";
        BeginComputerUnit();
        gs = GAME_WATCH;
        return false;
    }
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
