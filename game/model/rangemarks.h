// Range marks: the squares a command can reach from a unit's square, kept in each square's mark byte
// for the board to shade and for the commands to test. Terrain and units play no part: a square is
// within a budget when the cheapest walk to it over the map, 10 per step along a row or column and 14
// per diagonal step, costs at most the budget + 5.
#pragma once
#include <cstdint>

enum : int32_t { RANGESTEP = 10, RANGEDIAGONAL = 14, RANGESLACK = 5 };

// Cost of the cheapest walk between two squares: the map is a rectangle, so the straight diagonal-first
// walk between two squares of it never leaves it.
int64_t WalkCost(int32_t fx, int32_t fy, int32_t tx, int32_t ty);
// Marks every square of the map within budget of (x, y); marks already set stay. Nothing when the
// budget is below -5 or (x, y) is off the map.
void MarkRange(int32_t x, int32_t y, int32_t budget);
void ClearRange();                      // clears the mark of every square of the map
