// Ability slots: every rule runs a unit's abilities through these, by kind.
#pragma once
#include <cstdint>

#include "game/model/records.h"

// When an ability runs (AbilityInfo.kind) and what its handler's result means.
enum : int32_t {
    ABILITY_OFFENSIVE = 0,      // during an attack, for the attacker: the highest result is the damage
    ABILITY_AFTERATTACK = 1,    // after the damage, for the attacker
    ABILITY_DEFENSIVE = 2,      // during an attack, for the defender: the lowest result is the damage
    ABILITY_AFTERDEFENCE = 3,   // after the damage, for the defender
    ABILITY_MOVE = 4,           // on a move: the step's cost, negative forbids it
    ABILITY_DEPLOY = 6,         // when the unit is about to be deployed; result unused
    ABILITY_TURNSTART = 7,      // at the start of the owner's turn
    ABILITY_TURNEND = 8,        // at the end of the owner's turn
    ABILITY_CREATED = 9,        // when the unit is created, on every machine
    ABILITY_DAYEND = 10,        // at the end of the day
};

// Ability slot slot (0..4) of the unit holds an ability of that kind; false for any index out of range
// or an empty slot.
bool UnitHasAbilityKind(int32_t player, int32_t unit, int32_t slot, int32_t kind);
// Runs the handler of the ability in the slot with (a1..a6) and returns its result; 0 without calling
// anything when an index is out of range, the slot is empty or names no ability, or no handler is bound.
int32_t ExecuteAbilitySlot(int32_t player, int32_t unit, int32_t slot, int32_t a1, int32_t a2, int32_t a3, int32_t a4,
                           int32_t a5, int32_t a6);
// One of the unit's slots holds the ability whose internal name is exactly name.
bool HasAbilityNamed(const Unit& unit, const char* name);
