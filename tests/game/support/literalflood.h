// The flood of sight and range marks exactly as the rules write it: mark, then every neighbour with the
// step's cost (10 along a row or column, 14 diagonally) taken off, no memory of squares visited, so
// exponential in the budget. The oracle the real floods are held to at small budgets.
#pragma once
#include <cstdint>
#include <set>
#include <utility>

#include "game/model/queries.h"

typedef std::set<std::pair<int32_t, int32_t>> Squares;

inline void LiteralFlood(int32_t x, int32_t y, int32_t budget, Squares& reached)
{
    if (budget < -5 || !InBounds(x, y))
        return;
    reached.insert({ x, y });
    LiteralFlood(x + 1, y, budget - 10, reached);
    LiteralFlood(x - 1, y, budget - 10, reached);
    LiteralFlood(x, y + 1, budget - 10, reached);
    LiteralFlood(x, y - 1, budget - 10, reached);
    LiteralFlood(x + 1, y + 1, budget - 14, reached);
    LiteralFlood(x - 1, y + 1, budget - 14, reached);
    LiteralFlood(x + 1, y - 1, budget - 14, reached);
    LiteralFlood(x - 1, y - 1, budget - 14, reached);
}
