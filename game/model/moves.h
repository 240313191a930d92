// Moves: a unit steps one square along a row or a column. A client asks the host; the host checks the
// step (ValidateMove), carries it out (MoveUnit) and tells every client, which carries out the same
// step by the same rule.
#pragma once
#include <cstdint>

// The unit may step to (x, y). Logs the first check that fails; changes nothing.
bool ValidateMove(int32_t player, int32_t unit, int32_t x, int32_t y);
// What a step of the unit onto (x, y) costs: the square's move cost lowered by the unit's on-move
// abilities; below 0 an ability forbids it (-1 also for no unit or a square off the map). costonly
// MOVECOSTONLY only asks (the computer player weighing a step): no ability changes anything; 0 is the
// step itself, whose abilities act.
int32_t StepCost(int32_t player, int32_t unit, int32_t x, int32_t y, int32_t costonly);
// Carries out the step: ends the wards that end on moving, prices it (the square's cost, lowered by the
// unit's on-move abilities), moves, charges the moves, and lets the square, sight and camp alert act.
// False when an on-move ability forbids it or (x, y) is off the map: the unit keeps its square and moves.
// Checks nothing else: callers validate requests from outside first.
bool MoveUnit(int32_t player, int32_t unit, int32_t x, int32_t y);
// Host: MoveUnit, then the step tried goes to every client, which tries it by the same rule. The
// result of MoveUnit. The computer player's steps also carry the unit's experience (which no reader
// uses).
bool MoveAndAnnounce(int32_t player, int32_t unit, int32_t x, int32_t y, bool withexperience = false);
// What a step does to the unit before it leaves its square (move-ending wards, on-move abilities),
// for a unit put elsewhere by force: it does not move it or charge anything.
void PrepareUnitMove(int32_t player, int32_t unit, int32_t x, int32_t y);
// Switches the option that makes the view follow the local player's moving units. 0.
int32_t ToggleAutofocus();
