// Ward and dispel spells: a ward in one of the unit's five slots changes its stats for some turns;
// Exorcize ends them all. A ward spell that finds no free slot changes nothing and answers true.
#include <cstddef>

#include "game/magic/spells.h"
#include "game/magic/spellsteps.h"
#include "game/magic/wardslots.h"
#include "game/model/announce.h"
#include "game/model/experience.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/model/wards.h"

namespace {

enum : int32_t { SPELLWARDKIND = -1, SIDEWARDKIND = 0, PETRIFIEDKIND = 7 };
enum : int32_t { SOLARHEAL = 4, EXORCIZEEXPERIENCE = 25 };

// A ward of a spell on one unit, told to its owner when it ends.
bool WardTarget(int32_t a, int32_t b, int32_t turns, const StatMods& mods)
{
    if (!IsUnitIndex(a, b))
        return false;
    return AddStatWard(a, b, turns, 0, mods, SPELLWARDKIND, 1) != 0;
}

} // namespace

bool SpellInvisibility(int32_t, int32_t, int32_t a, int32_t b, int32_t, int32_t)
{
    return WardTarget(a, b, 3, { 0, 0, 0, 0, 0, 0, 2, 0 });
}

bool SpellVigilance(int32_t, int32_t, int32_t a, int32_t b, int32_t, int32_t)
{
    return WardTarget(a, b, 3, { 2, 0, 1, 0, 0, 0, 0, 0 });
}

bool SpellDoubleStrike(int32_t, int32_t, int32_t a, int32_t b, int32_t, int32_t)
{
    return WardTarget(a, b, 3, { 0, 0, 0, 0, 2, 0, 0, 0 });
}

bool SpellCurse(int32_t, int32_t, int32_t a, int32_t b, int32_t, int32_t)
{
    return WardTarget(a, b, 3, { -3, 0, -2, 0, 0, 0, 0, 0 });
}

bool SpellSluggishness(int32_t, int32_t, int32_t a, int32_t b, int32_t, int32_t)
{
    return WardTarget(a, b, 1, { 0, 0, -4, 0, 0, 0, 0, 0 });
}

bool SpellPowerDrain(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    const bool full = WardTarget(a, b, 3, { -2, 0, -2, 0, 0, 0, 0, 0 });
    // The caster gains whether or not the target had room.
    if (IsUnitIndex(cp, cu))
        AddStatWard(cp, cu, 3, 0, { 2, 0, 2, 0, 0, 0, 0, 0 }, SPELLWARDKIND, 1);
    return full;
}

bool SpellPetrify(int32_t, int32_t, int32_t a, int32_t b, int32_t, int32_t)
{
    if (!IsUnitIndex(a, b))
        return false;
    AnimateUnit(a, b, 143);
    if (HasWard(a, b, PETRIFIEDKIND)) {
        p[a].units[b].wards[FindWard(a, b, PETRIFIEDKIND)].turns += 1;
        return false;
    }
    const int32_t actions = GetStat(a, b, STAT_ACTIONS);
    const int32_t moves = GetStat(a, b, STAT_MOVES);
    return AddStatWard(a, b, 1, 0, { 0, 0, -moves, 0, -actions, 0, 0, 0 }, PETRIFIEDKIND, 1) != 0;
}

bool SpellSolar(int32_t, int32_t, int32_t a, int32_t b, int32_t, int32_t)
{
    if (!IsUnitIndex(a, b))
        return false;
    if (turncount == NIGHT) {
        RaiseToLife(a, b, SOLARHEAL);
        AnnouncePicture(a, b);
        return false;
    }
    return WardTarget(a, b, 1, { -4, 0, 0, 0, 0, 0, 0, 0 });
}

bool SpellSubdual(int32_t, int32_t, int32_t a, int32_t b, int32_t, int32_t)
{
    if (!IsUnitIndex(a, b))
        return false;
    AnimateUnit(a, b, 141);
    AnimateUnitClipped(a, b, 142);
    // Everyone next to the target, its own side and the caster's included.
    for (const UnitRef& unit : FirstUnitsAround(p[a].units[b].x, p[a].units[b].y))
        AddStatWard(unit.player, unit.unit, 1, 0, { -2, 0, 0, 0, 0, 0, 0, 0 }, SIDEWARDKIND, 0);
    return WardTarget(a, b, 1, { 0, 0, 0, -2, 0, 0, 0, 0 });
}

bool SpellWill(int32_t cp, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    if (cp < 0 || static_cast<size_t>(cp) >= p.size())
        return false;
    for (size_t u = 0; u < p[cp].units.size(); u++) {
        const int32_t unit = static_cast<int32_t>(u);
        AddMana(cp, unit, 1);
        AddStatWard(cp, unit, 0, 0, { 1, 0, 1, 0, 0, 0, 0, 0 }, SIDEWARDKIND, 0);
    }
    return false;
}

bool SpellExorcize(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    if (!IsUnitIndex(a, b))
        return false;
    bool worked = false;
    if (p[a].units[b].poison != 0) {
        p[a].units[b].poison = 0;
        worked = true;
    }
    // Every ward ends, good or bad; a summoned unit's lifetime with them, so it dies.
    for (int32_t slot = 0; slot < MAXWARDS; slot++)
        worked = RemoveWard(a, b, slot) || worked;
    if (worked && IsUnitIndex(cp, cu))
        AddExperience(cp, cu, EXORCIZEEXPERIENCE);
    return false;
}
