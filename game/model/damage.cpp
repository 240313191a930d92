#include "game/model/damage.h"

#include <algorithm>
#include <cstddef>

#include "game/model/abilityslots.h"
#include "game/model/announce.h"
#include "game/model/catalogue.h"
#include "game/model/death.h"
#include "game/model/experience.h"
#include "game/model/queries.h"
#include "game/model/sight.h"
#include "game/model/state.h"
#include "game/model/stats.h"

namespace {

enum : int32_t { TREES = 1, MELEE = 1 };

bool IsUnit(int32_t player, int32_t unit)
{
    return player >= 0 && static_cast<size_t>(player) < p.size() && unit >= 0
        && static_cast<size_t>(unit) < p[player].units.size();
}

// The target of an effect counts as killed when its hit points or its effective life are gone; the
// kill pays the other side its effective life, and the neutral camp it belongs to wakes.
void KillAndAlert(int32_t ap, int32_t au, int32_t tp, int32_t tu)
{
    const bool attacker = IsUnit(ap, au);
    const int32_t life = GetStat(tp, tu, STAT_LIFE);
    if (p[tp].units[tu].hp <= 0 || life <= 0) {
        if (tp != ap && attacker)
            AddExperience(ap, au, life);    // a life of 0 or less pays nothing
        if (ishost)
            KillUnit(tp, tu, ap);
    }
    if (static_cast<size_t>(tp) == p.size() - 1)
        WakeCamp(tp, tu);
}

} // namespace

bool HurtUnit(int32_t player, int32_t unit, int32_t damage)
{
    if (!IsUnit(player, unit))
        return false;
    damage = std::max(damage, 1);
    p[player].units[unit].hp -= damage;
    AnnouncePicture(player, unit);
    AnnounceDamage(player, unit, damage);
    return p[player].units[unit].hp <= 0;
}

void DealAbilityDamage(int32_t ap, int32_t au, int32_t tp, int32_t tu, int32_t damage)
{
    if (!IsUnit(ap, au) || !IsUnit(tp, tu))
        return;
    const int32_t targetid = p[tp].units[tu].id;
    const int32_t attackerid = p[ap].units[au].id;
    // No mask travels with this hit: the defensive abilities run with permit 0, and a chance ability
    // never acts outside the combat the host rolled for (CombatMayRoll).
    for (int32_t k = 0; k < MAXABILITIES; k++)
        if (UnitHasAbilityKind(tp, tu, k, ABILITY_DEFENSIVE))
            damage = std::min(damage, ExecuteAbilitySlot(tp, tu, k, tp, tu, ap, au, damage, 0));
    // The handlers may have moved units about: both are named by id again.
    const UnitRef target = FindUnit(targetid);
    const UnitRef attacker = FindUnit(attackerid);
    if (target.player < 0)
        return;
    tp = target.player;
    tu = target.unit;
    ap = attacker.player >= 0 ? attacker.player : ap;
    au = attacker.player >= 0 ? attacker.unit : -1;
    const Unit& t = p[tp].units[tu];
    if (InBounds(t.x, t.y) && map[t.x][t.y].terrain == TREES && (!IsUnit(ap, au) || GetStat(ap, au, STAT_RANGE) != MELEE))
        damage--;
    damage = std::max(damage, 1);
    HurtUnit(tp, tu, damage);
    if (tp != ap && IsUnit(ap, au))
        AddExperience(ap, au, expperdamage * damage);
    KillAndAlert(ap, au, tp, tu);
}

void DealSpellDamage(int32_t cp, int32_t cu, int32_t tp, int32_t tu, int32_t damage)
{
    if (!IsUnit(tp, tu))
        return;
    const int32_t applied = std::max(damage, 1);
    p[tp].units[tu].hp -= applied;
    AnnouncePicture(tp, tu);
    AnnounceDamage(tp, tu, applied);
    if (tp != cp && IsUnit(cp, cu))
        AddExperience(cp, cu, expperdamage * damage);
    KillAndAlert(cp, cu, tp, tu);
}
