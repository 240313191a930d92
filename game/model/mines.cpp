#include "game/model/mines.h"

#include <cstddef>

#include "game/model/mapgen.h"
#include "game/model/records.h"
#include "game/model/state.h"

std::vector<MineSquare> minelist;

int32_t CountMines(const int32_t player)
{
    if (player < 0 || static_cast<size_t>(player) >= p.size())
        return 0;
    // The neutral side's number is also "nobody": it owns none of the mines it frees.
    const int32_t number = p[player].code - FIRSTCODE;
    if (number == MINENOBODY)
        return 0;
    int32_t count = 0;
    for (const std::vector<MapSquare>& column : map)
        for (const MapSquare& s : column)
            if (s.terrain == TERRAIN_MINE && s.extra == number)
                count++;
    return count;
}

void AddMineIncome(const int32_t player, const int32_t amount)
{
    if (player < 0 || static_cast<size_t>(player) >= p.size())
        return;
    p[player].gold += amount * CountMines(player);
}
