#include "game/model/rangemarks.h"

#include <algorithm>
#include <cstdlib>

#include "game/model/queries.h"
#include "game/model/state.h"

int64_t WalkCost(const int32_t fx, const int32_t fy, const int32_t tx, const int32_t ty)
{
    const int64_t dx = std::abs(static_cast<int64_t>(tx) - fx);
    const int64_t dy = std::abs(static_cast<int64_t>(ty) - fy);
    const int64_t diagonal = std::min(dx, dy);
    return diagonal * RANGEDIAGONAL + (std::max(dx, dy) - diagonal) * RANGESTEP;
}

void MarkRange(const int32_t x, const int32_t y, const int32_t budget)
{
    if (budget < -RANGESLACK || !InBounds(x, y))
        return;
    // Each pass works through the squares once, each judged by its walk cost alone: the same squares the
    // step-by-step flood reaches, without its revisits.
    const int64_t reach = static_cast<int64_t>(budget) + RANGESLACK;
    const int64_t squares = reach / RANGESTEP;
    const int32_t left = static_cast<int32_t>(std::max<int64_t>(0, x - squares));
    const int32_t right = static_cast<int32_t>(std::min<int64_t>(mapsize - 1, x + squares));
    const int32_t top = static_cast<int32_t>(std::max<int64_t>(0, y - squares));
    const int32_t bottom = static_cast<int32_t>(std::min<int64_t>(mapsize - 1, y + squares));
    for (int32_t sx = left; sx <= right; sx++)
        for (int32_t sy = top; sy <= bottom; sy++)
            if (WalkCost(x, y, sx, sy) <= reach)
                map[sx][sy].mark = 1;
}

void ClearRange()
{
    for (auto& column : map)
        for (MapSquare& square : column)
            square.mark = 0;
}
