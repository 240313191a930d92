#include "game/model/stats.h"

#include <cstddef>

#include "game/model/state.h"

enum { LIFEOFNOBODY = 15 };

static bool FitsFilter(const Player& player, const Unit& unit)
{
    for (int i = 0; i < NUMSTATS; i++)
        if (unit.stat[i] < player.filtermin[i] || unit.stat[i] > player.filtermax[i])
            return false;
    return true;
}

int32_t GetStat(const int32_t player, const int32_t unit, const int32_t stat)
{
    const Player& owner = p[player];
    const Unit& u = owner.units[unit];
    int32_t value = u.stat[stat];
    for (const Ward& ward : u.wards)
        if (ward.inuse)
            value += ward.mods[stat];
    if (FitsFilter(owner, u))
        value += owner.bonus[stat];
    return value;
}

int32_t GetLifeStat(const int32_t player, const int32_t unit)
{
    if (player < 0 || static_cast<size_t>(player) >= p.size())
        return LIFEOFNOBODY;
    if (unit < 0 || static_cast<size_t>(unit) >= p[player].units.size())
        return LIFEOFNOBODY;
    return GetStat(player, unit, STAT_LIFE);
}
