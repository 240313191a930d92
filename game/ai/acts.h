// What a neutral unit does at one step of its turn, once it has an action and a target: each goes
// through the rules and the messages a player's own command uses (the host's move, attack and cast),
// so every machine applies it alike.
#pragma once
#include <cstdint>

#include "game/ai/actionchoice.h"

// The target (tp, tu) is within reach of the attack or the unit spell: attacks or casts. An attack the
// rules refuse gives the target up; a spell they refuse is not weighed again this turn.
void ActOnTarget(int32_t player, int32_t unit, const ComputerAction& action, int32_t tp, int32_t tu);
// A spell aimed at a square: cast on the first free square of the 3 x 3 block round the unit, taken
// towards the target first (sx, sy: the signs of the way to it). Refused, or no free square: not
// weighed again this turn.
void CastNearCaster(int32_t player, int32_t unit, const ComputerAction& action, int32_t sx, int32_t sy);
// The target (tp, tu) is out of reach: one step towards it, along x or y (sx, sy), whichever costs
// less (the step along y on a tie). No way on gives the target up; a way off the map ends the turn.
void StepTowards(int32_t player, int32_t unit, int32_t tp, int32_t tu, int32_t sx, int32_t sy);
