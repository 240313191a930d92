#include "game/model/moves.h"

#include <cstddef>
#include <cstdlib>

#include "game/magic/abilities.h"
#include "game/magic/targets.h"
#include "game/model/abilityslots.h"
#include "game/model/announce.h"
#include "game/model/localplayer.h"
#include "game/model/queries.h"
#include "game/model/sight.h"
#include "game/model/squares.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/wards.h"
#include "game/net/builders.h"
#include "game/net/routing.h"
#include "game/shell/debuglog.h"

namespace {


bool IsUnit(int32_t player, int32_t unit)
{
    return player >= 0 && static_cast<size_t>(player) < p.size() && unit >= 0
        && static_cast<size_t>(unit) < p[player].units.size();
}

// Runs every on-move ability of the unit for a step from its square to (x, y); the smallest result
// below cost, or cost. costonly is the abilities' last word (MOVECOSTONLY: change nothing).
int32_t RunMoveAbilities(int32_t player, int32_t unit, int32_t x, int32_t y, int32_t cost, int32_t costonly)
{
    const int32_t fromx = p[player].units[unit].x, fromy = p[player].units[unit].y;
    for (int32_t slot = 0; slot < MAXABILITIES; slot++) {
        if (!UnitHasAbilityKind(player, unit, slot, ABILITY_MOVE))
            continue;
        const int32_t r = ExecuteAbilitySlot(player, unit, slot, fromx, fromy, x, y, player * MOVERPLAYER + unit, costonly);
        if (r < cost)
            cost = r;
    }
    return cost;
}

} // namespace

bool ValidateMove(int32_t player, int32_t unit, int32_t x, int32_t y)
{
    const char* refusal = nullptr;
    if (player < 0 || static_cast<size_t>(player) >= p.size())
        refusal = "Not a player.";
    else if (unit < 0 || static_cast<size_t>(unit) >= p[player].units.size())
        refusal = "Not a unit.";
    else {
        const Unit& u = p[player].units[unit];
        if (u.moves < 1)
            refusal = "Insufficient moves.";
        else if (std::abs(static_cast<int64_t>(x) - u.x) > 1)
            refusal = "Move too great in X direction.";
        else if (std::abs(static_cast<int64_t>(y) - u.y) > 1)
            refusal = "Move too great in Y direction.";
        else if (x != u.x && y != u.y)
            refusal = "Diagonal movement.";
        else if (!InBounds(x, y))
            refusal = "Walking off the map.";
        else if (map[x][y].counter2 != 0)
            refusal = "Walking onto a forcefield.";
        else if (!IsSquareFree(player, unit, x, y, 0))
            refusal = "Square occupied.";
    }
    if (!refusal)
        return true;
    debuglog << refusal << '\n';
    return false;
}

int32_t StepCost(int32_t player, int32_t unit, int32_t x, int32_t y, int32_t costonly)
{
    if (!IsUnit(player, unit) || !InBounds(x, y))
        return -1;
    return RunMoveAbilities(player, unit, x, y, map[x][y].cost, costonly);
}

bool MoveUnit(int32_t player, int32_t unit, int32_t x, int32_t y)
{
    if (!IsUnit(player, unit)) {
        debuglog << "ERROR: MoveUnit for player " << player << "'s unit #" << unit << ", which does not exist.\n";
        return false;
    }
    // Nothing of the map is read for a square that is not on it.
    if (!InBounds(x, y)) {
        debuglog << "ERROR: MoveUnit to " << x << ", " << y << ", off the map.\n";
        return false;
    }
    // Before the step can be refused: a refused step still ends these wards.
    RemoveMoveWards(player, unit);
    const int32_t cost = StepCost(player, unit, x, y, 0);
    if (cost < 0)
        return false;

    Unit& u = p[player].units[unit];
    u.x = x;
    u.y = y;
    u.moves -= cost;
    if (u.moves < 0)
        u.moves = 0;

    if (YouCanSeeUnit(player, unit)) {
        const int32_t n = GetResNumber(static_cast<uint32_t>(STR_UNITMOVESOUND + u.type % TYPESPERLEVEL));
        AnnounceSound(GetString(static_cast<uint32_t>(STR_MOVESOUNDFILE + n)));
    }
    const int32_t id = u.id;
    EnterSquare(player, unit);
    ExploreFrom(player, x, y, LookBudget(player), unit);
    AlertCamps(x, y, AlertBudget(player));
    if (player == YouToInt() && autofocus == 1 && IsSquareExplored(player, x, y))
        AnnounceCentre(x, y);
    AnnounceMinimap(YouToInt());
    if (IsUnit(player, unit) && p[player].units[unit].id == id)
        AnnouncePicture(player, unit);
    return true;
}

bool MoveAndAnnounce(int32_t player, int32_t unit, int32_t x, int32_t y, bool withexperience)
{
    if (!IsUnit(player, unit))
        return false;
    const int32_t id = p[player].units[unit].id;
    int32_t experience = p[player].units[unit].experience;
    const bool moved = MoveUnit(player, unit, x, y);
    // The square may have killed it, or moved it in the list.
    const UnitRef after = FindUnit(id);
    if (after.player >= 0)
        experience = p[after.player].units[after.unit].experience;
    // The step tried, not the square reached: a refused step must end the same wards everywhere, and
    // the same refusal follows on every machine from the same state.
    SendToPlayer(withexperience ? BuildMoveWithExperience(id, x, y, experience) : BuildMove(id, x, y), -1);
    return moved;
}

void PrepareUnitMove(int32_t player, int32_t unit, int32_t x, int32_t y)
{
    if (!IsUnit(player, unit))
        return;
    // As a step: the old wards end before the abilities may add new ones. No ability refuses a push.
    RemoveMoveWards(player, unit);
    RunMoveAbilities(player, unit, x, y, 0, 0);
}

int32_t ToggleAutofocus()
{
    autofocus = autofocus > 0 ? 0 : 1;
    return 0;
}
