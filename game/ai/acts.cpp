#include "game/ai/acts.h"

#include <cstddef>

#include "game/ai/actioncost.h"
#include "game/ai/aistate.h"
#include "game/magic/targets.h"
#include "game/model/cast.h"
#include "game/model/catalogue.h"
#include "game/model/combat.h"
#include "game/model/moves.h"
#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/shell/debuglog.h"

namespace {

// The spell the action names; the unit's slot holds a valid index (the action choice checked it).
int32_t SlotSpell(int32_t player, int32_t unit, const ComputerAction& action)
{
    return p[player].units[unit].spells[action.action];
}

// The spell's own test first, with the computer player's kind word, so that a spell that cannot take
// the target is put aside quietly; then every rule of a player's cast.
bool MayCast(int32_t player, int32_t unit, int32_t spell, int32_t a, int32_t b, int32_t kind)
{
    const TargetTest test = spells[spell].test;
    return test && test(player, unit, a, b, kind) && ValidateCast(player, player, unit, a, b, spell);
}

void RefuseSpell(const ComputerAction& action)
{
    debuglog << "Spell slot " << action.action << " refused; it is not tried again this turn.\n";
    refusedactions |= 1u << action.action;
}

} // namespace

void ActOnTarget(int32_t player, int32_t unit, const ComputerAction& action, int32_t tp, int32_t tu)
{
    const int32_t target = p[tp].units[tu].id;
    if (action.action == ACTION_ATTACK) {
        if (!ValidateAttack(player, player, unit, tp, tu)) {
            debuglog << "The attack was refused, so take it off the list..\n";
            BlockTarget(target);
            return;
        }
        AttackAndAnnounce(player, unit, tp, tu);
    } else {
        const int32_t spell = SlotSpell(player, unit, action);
        if (!MayCast(player, unit, spell, tp, tu, 0)) {
            RefuseSpell(action);
            return;
        }
        ResolveSpell(player, unit, tp, tu, 1, spell);
    }
    debuglog << "Acted on " << target << '\n';
}

void CastNearCaster(int32_t player, int32_t unit, const ComputerAction& action, int32_t sx, int32_t sy)
{
    const Unit& u = p[player].units[unit];
    const int32_t xs[3] = { u.x + sx, u.x, u.x - sx };
    const int32_t ys[3] = { u.y + sy, u.y, u.y - sy };
    for (const int32_t cx : xs)
        for (const int32_t cy : ys) {
            if (!InBounds(cx, cy) || !IsSquareFree(player, unit, cx, cy, 0))
                continue;
            const int32_t spell = SlotSpell(player, unit, action);
            if (MayCast(player, unit, spell, cx, cy, action.kind))
                ResolveSpell(player, unit, cx, cy, 0, spell);
            else
                RefuseSpell(action);
            debuglog << "Spelled at " << cx << "," << cy << '\n';
            return;
        }
    debuglog << "No free square to cast at.\n";
    RefuseSpell(action);
}

void StepTowards(int32_t player, int32_t unit, int32_t tp, int32_t tu, int32_t sx, int32_t sy)
{
    const int32_t target = p[tp].units[tu].id;
    const Unit& u = p[player].units[unit];
    if (u.moves < 1) {
        BlockTarget(target);
        return;
    }
    const int32_t costx = ActionCost(player, unit, u.x + sx, u.y);
    const int32_t costy = ActionCost(player, unit, u.x, u.y + sy);
    if (costx == COSTIMPOSSIBLE && costy == COSTIMPOSSIBLE) {
        debuglog << "Blocked on all counts!  Try for another target.\n";
        BlockTarget(target);
        return;
    }
    debuglog << "src.x=" << u.x << "\tsrc.y=" << u.y << '\n';
    const bool alongx = costx < costy;
    const int32_t x = alongx ? u.x + sx : u.x;
    const int32_t y = alongx ? u.y : u.y + sy;
    debuglog << "dest.x=" << x << "\tdest.y=" << y << '\n';
    if (!InBounds(x, y)) {
        debuglog << "Somehow that's not in the map.  Next!\n";
        BlockTarget(target);
        EndComputerUnit();
        return;
    }
    // A player's step is checked the same way (free square, no forcefield, moves left).
    if (!ValidateMove(player, unit, x, y)) {
        debuglog << "We're blocked, so take it off the list..\n";
        BlockTarget(target);
        return;
    }
    debuglog << "Moving to new location.\n";
    if (!MoveAndAnnounce(player, unit, x, y, true)) {
        debuglog << "The step was refused, so take it off the list..\n";
        BlockTarget(target);
        return;
    }
    debuglog << "Finished move.\nReturning.\n";
}
