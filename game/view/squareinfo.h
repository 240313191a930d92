// The square panel: while the cursor rests on the board, a box above the unit panel describes what
// stands on the square under it: a unit the local player may see, or else the square's object.
#pragma once
#include <cstdint>

// Describes the first visible unit on the square under the cursor in a box at (bx, by) (the screens
// pass (5, 360)) and returns true; otherwise the square's object, if any, and false. Nothing off the
// board or the map, on a square the local player has not explored, or while drawing is off.
bool DrawSquareInfo(int32_t bx, int32_t by);
// The description box of the object on the square under the cursor: a gold mine, deposits, a site,
// a brushfire or a forcefield; false.
bool DescribeMapObject();
