#include "game/model/queries.h"

#include <cstddef>

#include "game/model/state.h"

bool InBounds(const int32_t x, const int32_t y)
{
    return x >= 0 && x < mapsize && y >= 0 && y < mapsize;
}

bool IsSquareExplored(int32_t, const int32_t x, const int32_t y)
{
    return InBounds(x, y) && map[x][y].explored;
}

int32_t UnitIdAt(const int32_t x, const int32_t y)
{
    for (const Player& player : p)
        for (const Unit& unit : player.units)
            if (unit.x == x && unit.y == y)
                return unit.id;
    return -1;
}

UnitRef FindUnit(const int32_t id)
{
    for (size_t i = 0; i < p.size(); i++)
        for (size_t u = 0; u < p[i].units.size(); u++)
            if (p[i].units[u].id == id)
                return { static_cast<int32_t>(i), static_cast<int32_t>(u) };
    return { -1, -1 };
}
