// Damage dealt outside the attack's own arithmetic: a plain hit with its number announced,
// an attack-like hit made by an effect, and a spell's hit that pays the caster experience.
#pragma once
#include <cstdint>

// Takes damage (at least 1) from the unit's hit points and announces the number. True when the unit's hit
// points are 0 or less afterwards; false, changing nothing, for an index out of range.
bool HurtUnit(int32_t player, int32_t unit, int32_t damage);
// An attack-like hit by an effect of (ap, au) on (tp, tu): the target's defensive abilities (permit 0,
// so none acts by chance), tree damping, at least 1 point, experience for the attacker when the target
// is another player's, the kill when the target's hit points or effective life are 0 or less (on the
// host), and the neutral camp of the target woken. Nothing for an index out of range.
void DealAbilityDamage(int32_t ap, int32_t au, int32_t tp, int32_t tu, int32_t damage);
// A spell's hit of (cp, cu) on (tp, tu): at least 1 point shown, experience for the caster (damage as
// passed) when the target is another player's, then the kill and camp steps of DealAbilityDamage.
// Nothing for a target index out of range.
void DealSpellDamage(int32_t cp, int32_t cu, int32_t tp, int32_t tu, int32_t damage);
