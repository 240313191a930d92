#include "game/magic/spellsteps.h"

#include <cstddef>

#include "game/model/announce.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/wards.h"

namespace {

enum : int32_t { UNITANIM = 0 };

bool InBlock(const Unit& u, int32_t x, int32_t y)
{
    return u.x >= x - 1 && u.x <= x + 1 && u.y >= y - 1 && u.y <= y + 1;
}

} // namespace

bool IsUnitIndex(int32_t player, int32_t unit)
{
    return player >= 0 && static_cast<size_t>(player) < p.size() && unit >= 0
        && static_cast<size_t>(unit) < p[player].units.size();
}

std::vector<UnitRef> UnitsAround(int32_t x, int32_t y, int32_t skip)
{
    std::vector<UnitRef> found;
    for (size_t i = 0; i < p.size(); i++) {
        if (static_cast<int32_t>(i) == skip)
            continue;
        for (size_t u = 0; u < p[i].units.size(); u++)
            if (InBlock(p[i].units[u], x, y))
                found.push_back({ static_cast<int32_t>(i), static_cast<int32_t>(u) });
    }
    return found;
}

UnitRef FirstUnitAt(int32_t x, int32_t y)
{
    for (size_t i = 0; i < p.size(); i++)
        for (size_t u = 0; u < p[i].units.size(); u++)
            if (p[i].units[u].x == x && p[i].units[u].y == y)
                return { static_cast<int32_t>(i), static_cast<int32_t>(u) };
    return { -1, -1 };
}

std::vector<UnitRef> FirstUnitsAround(int32_t x, int32_t y)
{
    std::vector<UnitRef> found;
    for (int32_t sx = x - 1; sx <= x + 1; sx++)
        for (int32_t sy = y - 1; sy <= y + 1; sy++) {
            const UnitRef unit = FirstUnitAt(sx, sy);
            if (unit.player >= 0)
                found.push_back(unit);
        }
    return found;
}

int32_t AddStatWard(int32_t player, int32_t unit, int32_t turns, int32_t flag, const StatMods& m, int32_t kind,
                    int32_t announce)
{
    return AddWard(player, unit, turns, flag, m[STAT_ATTACK], m[STAT_LIFE], m[STAT_MOVES], m[STAT_RANGE],
                   m[STAT_ACTIONS], m[STAT_STEALTH], m[STAT_RESIST], m[STAT_MANA], kind, announce);
}

void AnimateUnit(int32_t player, int32_t unit, int32_t first, bool reverse)
{
    AnnounceEffect(player, unit, UNITANIM, first, reverse ? 1 : 0);
}

void AnimateUnitClipped(int32_t player, int32_t unit, int32_t first, bool reverse)
{
    AnnounceEffect(player, unit, UNITANIM, first, reverse ? 1 : 0, 1);
}

void AnimateSquare(int32_t x, int32_t y, int32_t first, bool reverse)
{
    AnnounceEffect(x, y, SQUAREANIM, first, reverse ? 1 : 0);
}

void AnimateSquareClipped(int32_t x, int32_t y, int32_t first, bool reverse)
{
    AnnounceEffect(x, y, SQUAREANIM, first, reverse ? 1 : 0, 1);
}

int32_t PhaseSight()
{
    return GetResNumber(turncount == NIGHT ? STR_SIGHTNIGHT : STR_SIGHTDAY);
}

void RaiseToLife(int32_t player, int32_t unit, int32_t amount)
{
    Unit& u = p[player].units[unit];
    u.hp += amount;
    const int32_t life = GetStat(player, unit, STAT_LIFE);
    if (u.hp > life)
        u.hp = life;
}

void AddMana(int32_t player, int32_t unit, int32_t amount)
{
    int32_t& mana = p[player].units[unit].mana;
    mana += amount;
    if (mana > MAXMANA)
        mana = MAXMANA;
}
