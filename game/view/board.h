// The board renderer: the board image of the squares in view, rebuilt when the view moves or a
// square changes, and the board drawn every frame from it, with the animated marks, the units and
// the grid. It reads the game state and never changes it.
#pragma once
#include <cstdint>

enum : int32_t { BOARDCOLUMNS = 20, BOARDROWS = 13, BOARDWIDTH = 800, BOARDHEIGHT = 520 };
enum : int32_t { VIEWER_CURRENT = -7 };     // DrawBoard's viewer: the player whose turn it is

extern uint8_t gridon;                  // the "grid" option: dotted lines between the squares

// Redraws the board image for the view and the map. True, doing nothing, while drawing is off.
bool RebuildBoardImage();
// Draws the board image, the marks, the units as viewer sees them and the grid into the back buffer.
// With hideselected the current unit blinks. True, doing nothing, while drawing is off or the game inactive.
bool DrawBoard(uint8_t hideselected, int32_t viewer);
// The back buffer cleared and the board drawn into it, as ClearBackBuffer and DrawBoard do one after
// the other; what the board image covers is not cleared first.
bool ClearAndDrawBoard(uint8_t hideselected, int32_t viewer);
