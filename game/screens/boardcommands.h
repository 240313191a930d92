// The board commands of the local player's unit turn: moving with the arrow keys, attacking by a
// click on an enemy in range, and the keys that switch between them. On the host a command is carried
// out at once and told to everybody; from a client it goes to the host as a request, checked here first
// as the host will check it, so that only requests the host can accept are sent.
//
// The acting unit is unit currunit of player currplayer, who must be the local player.
#pragma once
#include <cstdint>

// The markers drawn on the board cell under the cursor in attack and spell mode (terrain sheet cells).
enum : int32_t { MARKER_REFUSED = 193, MARKER_TARGET = 194 };

// One frame of the board command: the current mode (move, attack, spell), then Tab (move and attack
// take turns; attack only with more than 1 action left), the right button (back to move), C (centre
// on the acting unit, as autofocus allows) and W (the next unit).
void HandleBoardClick();
// Move mode: one arrow key press is one step along a row or column. Into another player's unit it
// switches to attack mode (with more than 1 action left); a refused step does nothing.
void CommandMove();
// Attack mode: the squares within the acting unit's range are marked; a click on a marked, explored
// square holding another player's unit attacks it. True when the unit cannot attack (fewer than 2
// actions, no rock charges): back to move mode.
bool CommandAttack();
// The acting unit is the local player's and exists (it may have died or the turn may have passed
// since the last frame).
bool HasActingUnit();
// The cursor's cell on the screen (its top-left pixel) and the board square under it.
struct CursorCell {
    int32_t px, py;                     // the cell's top-left pixel
    int32_t x, y;                       // the square
};
CursorCell CursorSquare();
// A unit on (x, y) can be seen by the local player: the square's darkness and its stealth below 2.
bool UnitVisibleAt(int32_t player, int32_t unit, int32_t x, int32_t y);
