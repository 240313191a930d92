// Damage spells: bolts, drains and area damage. Every hit is a spell hit (DealSpellDamage): at least 1
// point shown on the board, experience for the caster when the target is another player's, the kill
// on the host, and a struck neutral guard wakes its camp.
#include <cstddef>

#include "game/magic/spells.h"
#include "game/magic/spellsteps.h"
#include "game/magic/wardslots.h"
#include "game/model/announce.h"
#include "game/model/damage.h"
#include "game/model/death.h"
#include "game/model/experience.h"
#include "game/model/mapgen.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/model/wards.h"

namespace {

enum : int32_t {
    SPARKSDAMAGE = 7, ULTRADAMAGE = 25, ARCDAMAGE = 10, DRAINDAMAGE = 4, VITALITYDAMAGE = 5, ICEDAMAGE = 4,
    DELUGEDAMAGE = 8, STORMDAMAGE = 12, STORMSPLASH = 4, STORMSPLASHMANA = 3, FREEZEDAMAGE = 4,
    QUAKEHARD = 5, QUAKESOFT = 2, METEORDAMAGE = 4, METEORHAZARD = 2, SPIRITDAMAGE = 4, BURSTDAMAGE = 5,
    PLAGUETURNS = 3, PLAGUEEXPERIENCE = 30, SELFDESTRUCTDAMAGE = 20,
};
enum : int32_t { NOWARDKIND = 0, SPELLWARDKIND = -1 };

// The bolts and the other single hits: nothing at all for a target that does not exist.
bool Bolt(int32_t cp, int32_t cu, int32_t tp, int32_t tu, int32_t damage)
{
    DealSpellDamage(cp, cu, tp, tu, damage);
    return false;
}

// Every unit of the other players inside the 3 x 3 block takes the damage damagefor gives it.
template <typename DamageFor>
void HitEnemiesAround(int32_t cp, int32_t cu, int32_t x, int32_t y, DamageFor damagefor)
{
    for (const UnitRef& unit : UnitsAround(x, y, cp))
        DealSpellDamage(cp, cu, unit.player, unit.unit, damagefor(p[unit.player].units[unit.unit]));
}

// Deluge and Storm: the hit, all mana gone, and for a turn weaker, no mana gain and no resistance.
void Drench(int32_t cp, int32_t cu, int32_t tp, int32_t tu, int32_t damage, int32_t weaken)
{
    DealSpellDamage(cp, cu, tp, tu, damage);
    p[tp].units[tu].mana = 0;
    const int32_t gain = GetStat(tp, tu, STAT_MANA);
    const int32_t resist = GetStat(tp, tu, STAT_RESIST);
    AddStatWard(tp, tu, 1, 0, { -weaken, 0, -weaken, 0, 0, -gain, 0, -resist }, SPELLWARDKIND, 1);
}

} // namespace

bool SpellSparks(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    return Bolt(cp, cu, a, b, SPARKSDAMAGE);
}

bool SpellUltra(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    return Bolt(cp, cu, a, b, ULTRADAMAGE);
}

bool SpellEnergyArc(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    return Bolt(cp, cu, a, b, ARCDAMAGE);
}

bool SpellDrainLife(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    if (!IsUnitIndex(a, b) || !IsUnitIndex(cp, cu))
        return false;
    DealSpellDamage(cp, cu, a, b, DRAINDAMAGE);
    RaiseToLife(cp, cu, DRAINDAMAGE);
    AnimateUnit(cp, cu, 2);
    return false;
}

bool SpellVitality(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    if (!IsUnitIndex(a, b) || !IsUnitIndex(cp, cu))
        return false;
    DealSpellDamage(cp, cu, a, b, VITALITYDAMAGE);
    RaiseToLife(cp, cu, VITALITYDAMAGE);
    AnnouncePicture(cp, cu);
    AddMana(cp, cu, 1);
    ClampMana(a, b, 1);
    AnimateUnit(cp, cu, 2);
    return false;
}

bool SpellDischarge(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    if (!IsUnitIndex(a, b))
        return false;
    DealSpellDamage(cp, cu, a, b, p[a].units[b].mana);
    p[a].units[b].mana = 0;
    return false;
}

bool SpellIce(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    if (!IsUnitIndex(a, b))
        return false;
    DealSpellDamage(cp, cu, a, b, ICEDAMAGE);
    AddStatWard(a, b, 1, 0, { -3, 0, -3, 0, 0, 0, 0, 0 }, NOWARDKIND, 1);
    return false;
}

bool SpellDeluge(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    if (!IsUnitIndex(a, b))
        return false;
    Drench(cp, cu, a, b, DELUGEDAMAGE, 2);
    return false;
}

bool SpellStorm(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    if (!IsUnitIndex(a, b))
        return false;
    AnimateUnitClipped(a, b, 143);
    AnimateUnitClipped(a, b, 261);
    Drench(cp, cu, a, b, STORMDAMAGE, 4);
    const Unit& target = p[a].units[b];
    for (const UnitRef& unit : FirstUnitsAround(target.x, target.y)) {
        if (unit.player == cp || (unit.player == a && unit.unit == b))
            continue;
        DealSpellDamage(cp, cu, unit.player, unit.unit, STORMSPLASH);
        ClampMana(unit.player, unit.unit, STORMSPLASHMANA);
        AddStatWard(unit.player, unit.unit, 1, 0, { -2, 0, -1, 0, 0, 0, 0, 0 }, NOWARDKIND, 0);
    }
    return false;
}

bool SpellFreezing(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    if (!IsUnitIndex(a, b))
        return false;
    AnimateUnitClipped(a, b, 5);
    DealSpellDamage(cp, cu, a, b, FREEZEDAMAGE);
    AddStatWard(a, b, 1, 0, { -3, 0, -3, 0, 0, 0, 0, 0 }, NOWARDKIND, 1);
    AnimateUnitClipped(a, b, 142);
    const Unit& target = p[a].units[b];
    for (const UnitRef& unit : FirstUnitsAround(target.x, target.y)) {
        if (unit.player == cp || (unit.player == a && unit.unit == b))
            continue;
        AddStatWard(unit.player, unit.unit, 1, 0, { 0, 0, -1, 0, 0, 0, 0, 0 }, NOWARDKIND, 0);
    }
    return false;
}

bool SpellEarthquake(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t, int32_t)
{
    AnimateSquareClipped(x, y, 143);
    HitEnemiesAround(cp, cu, x, y, [](const Unit& u) {
        const int32_t terrain = InBounds(u.x, u.y) ? map[u.x][u.y].terrain : -1;
        const bool hard = terrain == TERRAIN_TREES || terrain == TERRAIN_ROUGH || terrain == TERRAIN_RIVER;
        return hard ? QUAKEHARD : QUAKESOFT;
    });
    return false;
}

bool SpellMeteor(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t, int32_t)
{
    AnimateSquareClipped(x, y, 264);
    const int32_t cross[5][2] = { { 0, 0 }, { 1, 0 }, { -1, 0 }, { 0, 1 }, { 0, -1 } };
    for (const auto& d : cross)
        if (InBounds(x + d[0], y + d[1]))
            map[x + d[0]][y + d[1]].hazard = METEORHAZARD;
    AnnounceBoard();
    HitEnemiesAround(cp, cu, x, y, [](const Unit&) { return METEORDAMAGE; });
    return false;
}

bool SpellVSpirit(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t, int32_t)
{
    if (!InBounds(x, y))
        return false;
    map[x][y].timed = 0;
    AnnounceBoard();
    AnimateSquareClipped(x, y, 142);
    HitEnemiesAround(cp, cu, x, y, [](const Unit&) { return SPIRITDAMAGE; });
    return false;
}

bool SpellBurst(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t, int32_t)
{
    if (!InBounds(x, y))
        return false;
    // Bare ground costs what bare ground costs, and a river square blown away leaves its banks open.
    MapSquare& square = map[x][y];
    const bool river = square.terrain == TERRAIN_RIVER;
    square.terrain = TERRAIN_OPEN;
    square.extra = 0;
    square.cost = COST_OPEN;
    if (river)
        JoinRiverEdges();
    AnnounceBoard();
    AnimateSquare(x, y, 262);
    AnimateSquareClipped(x, y, 263);
    HitEnemiesAround(cp, cu, x, y, [](const Unit&) { return BURSTDAMAGE; });
    for (size_t i = 0; i < p.size(); i++)
        for (size_t u = 0; u < p[i].units.size(); u++)
            RemoveMoveWards(static_cast<int32_t>(i), static_cast<int32_t>(u));
    return false;
}

bool SpellPlague(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t, int32_t)
{
    AnimateSquareClipped(x, y, 14);
    bool any = false;
    for (const UnitRef& unit : UnitsAround(x, y, cp)) {
        p[unit.player].units[unit.unit].poison = PLAGUETURNS;
        AnnouncePicture(unit.player, unit.unit);
        any = true;
    }
    if (any && IsUnitIndex(cp, cu))
        AddExperience(cp, cu, PLAGUEEXPERIENCE);
    return false;
}

bool SpellSelfdestruct(int32_t cp, int32_t cu, int32_t, int32_t, int32_t, int32_t)
{
    if (!IsUnitIndex(cp, cu))
        return false;
    AnimateUnit(cp, cu, 143);
    AnimateUnit(cp, cu, 143);
    AnimateUnit(cp, cu, 263, true);
    p[cp].units[cu].picture = BLOWNUPPICTURE;
    AnnouncePicture(cp, cu);
    AnimateUnitClipped(cp, cu, 262);
    const int32_t cx = p[cp].units[cu].x;
    const int32_t cy = p[cp].units[cu].y;
    for (int32_t x = cx - 1; x <= cx + 1; x++)
        for (int32_t y = cy - 1; y <= cy + 1; y++)
            for (size_t i = 0; i < p.size(); i++)
                for (size_t u = 0; u < p[i].units.size(); u++) {
                    const Unit& unit = p[i].units[u];
                    const bool caster = static_cast<int32_t>(i) == cp && static_cast<int32_t>(u) == cu;
                    if (unit.x == x && unit.y == y && !caster)
                        DealSpellDamage(cp, cu, static_cast<int32_t>(i), static_cast<int32_t>(u), SELFDESTRUCTDAMAGE);
                }
    // The caster always dies, whoever survives; a unit already dying is not entered twice.
    if (ishost)
        KillUnit(cp, cu, cp);
    return false;
}
