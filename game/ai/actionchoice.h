// The computer player's choice of action for a neutral unit: its attack or one of its spells.
#pragma once
#include <cstdint>

struct ComputerAction {
    int32_t action;     // ACTION_ATTACK, a spell slot 0..4, or ACTION_NONE
    int32_t damage;     // the attack's damage, or the spell's power
    int32_t range;      // its reach without moving
    int32_t kind;       // the target kind: 0 for the attack, the spell's otherwise
};

// Starts from the attack (damage: effective attack, range: effective range) and takes each spell slot
// in turn whose power is greater than the choice so far, or equal to it when the random generator
// draws an odd number. A spell is weighed when the unit knows it, has its mana and 2 actions, stands
// on an unclaimed square of the map, and it was not refused earlier this turn (refusedactions). An
// attack the unit cannot make (fewer than 2 actions, no rock charge) is no action (ACTION_NONE, with
// the attack's figures), so the first spell the unit can cast replaces it whatever its power.
// Indexes must name a unit.
ComputerAction ChooseAction(int32_t player, int32_t unit);
