// The ability handlers, bound to the ability records by name at start-up (binding.h). Each has the
// AbilityHandler shape; what its six words and its result mean depends on the ability's kind
// (abilityslots.h).
#pragma once
#include <cstdint>

// Combat abilities: run by the attack's phases.
int32_t AbilityPower(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityStun(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityArcher(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityPoison(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityShockwave(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityLifebond(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityFlaming(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityPulse(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityPierce(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityEnergylink(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityStone(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityHeavy(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityFrozen(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);

// On-move abilities: (old x, old y, new x, new y, player x 1000 + unit, 0) -> the step's cost.
int32_t AbilityFlying(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityRocks(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityTreeShot(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityScout(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityDamper(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityTwigwalk(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityImmobile(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityCragwalk(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityBoulder(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);

// Unit and player abilities: (player, unit, ...) at deployment, creation, turn start or end, day end.
int32_t AbilityDaylight(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityTactician(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilitySavior(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityHaze(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityWarriorPrince(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityExplosive(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);   // also "Unstable"
int32_t AbilityWizard(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t AbilityKnight(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);

// The on-move words: the mover is named as player x MOVERPLAYER + unit (word 5); word 6 is 0 for a
// real step and MOVECOSTONLY when only the step's cost is asked (the computer player weighing a step):
// then no ability changes the map or the mover.
enum : int32_t { MOVERPLAYER = 1000, MOVECOSTONLY = 1 };

// Pierce's blow passing on behind the unit it hit: from unit (fp, fu) to (cp, cu), the attacker being
// (ap, au), each further unit in the line taking the attack's full damage (hit: (cp, cu) is hit too).
// The line runs on in the direction from the one to the other, along a row, column or diagonal only,
// and ends at a unit of the attacker's own player (true) or where no further unit stands (false); two
// units on one square give no direction. Each unit is struck at most once per blow, so stacked units
// cannot make the blow go round for ever.
bool PierceChain(int32_t fp, int32_t fu, int32_t cp, int32_t cu, int32_t ap, int32_t damage, bool hit, int32_t au);
