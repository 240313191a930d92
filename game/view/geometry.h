// Where the board is on the screen and which squares it shows.
#pragma once
#include <cstdint>

#include "game/model/queries.h"

enum { SQUARESIZE = 40 };               // pixels of a square on the board

struct ViewRect {
    int32_t left, top, right, bottom;   // in squares; right and bottom exclusive
};

struct ScreenPoint {
    int32_t x, y;
};

extern ViewRect view;                   // the squares shown, 20 x 13 after a centring; not clamped to the map
extern ViewRect oldview;                // view before its last centring
extern uint8_t minimapon;               // the "minimap" option: the minimap covers the board's top right

ScreenPoint SquareToScreen(int32_t x, int32_t y);   // top-left pixel of the square's cell
bool IsOnBoard(int32_t x, int32_t y);   // the screen point is on the board, not under the minimap or unit panel
bool MouseOnBoard();                    // the cursor is on the board (IsOnBoard)
void CenterView(int32_t x, int32_t y);  // shows the 20 x 13 squares around (x, y)
void FollowSquare(int32_t x, int32_t y);    // CenterView, when autofocus is on and the square is explored
// Once per frame of the board screens: a press on the minimap centres the view on that square; on
// every second frame the cursor at a screen edge scrolls it a square (not remembered in oldview).
void ScrollView();
