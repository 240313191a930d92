// Combat: one unit attacks another.
//
// The host runs the attack first; its chance abilities draw there, and the slots that took effect in
// each of the four phases are recorded in triggermasks. The host sends those masks with the attack and
// every client runs DoCombat with them as the permit words, so the same abilities fire everywhere
// without a draw on a client.
#pragma once
#include <cstdint>

#include "game/model/catalogue.h"

// The four phases of an attack, in the order they run and the order of the masks.
enum : int32_t {
    PHASE_OFFENSIVE = 0,        // attacker's kind-0 abilities: the largest result is the damage
    PHASE_DEFENSIVE = 1,        // defender's kind-2 abilities: the smallest result is the damage
    PHASE_AFTERATTACK = 2,      // attacker's kind-1 abilities, after the damage
    PHASE_AFTERDEFENCE = 3,     // defender's kind-3 abilities, after the damage
    COMBATPHASES = 4
};
enum : int32_t { MAXCOMBATDAMAGE = 99, ATTACKACTIONS = 2 };

// Bit 2^k of mask m: the ability in slot k of the acting unit took effect in phase m (so 0..31). All
// four are cleared at the start of every DoCombat and keep their values until the next one.
extern uint32_t triggermasks[COMBATPHASES];
// Set to 1 by an ability or spell handler that took effect; DoCombat clears it before each handler call
// of its phases and reads it afterwards, CastSpellEffect clears it before the spell's handler.
extern uint8_t handlerfired;

// Whether a chance ability may draw its random number now: true only on the host, while DoCombat itself
// is calling slot k of (player, unit) in a phase, and that slot holds the ability bound to self. A
// chance handler acts when its permit is set, or when permit is 0 and this holds and its draw succeeds.
// A handler called any other way (a defensive ability run by a spell's or another ability's damage,
// outside any combat, on a client) never draws, so no machine fires it where the host sent no mask.
bool CombatMayRoll(int32_t player, int32_t unit, AbilityHandler self);

// Resolves one attack of (ap, au) on (dp, du). The host and the computer player pass four zeros; a
// client passes the masks of the host's attack. Each ability of slot k gets permit = mask AND 2^k: a
// chance ability draws only on the host with permit 0, acts without drawing when permit is set, and
// never acts on a client with permit 0. The caller checks that the attack is allowed (ValidateAttack);
// an index out of range is logged and changes nothing.
void DoCombat(int32_t ap, int32_t au, int32_t dp, int32_t du, int32_t m0, int32_t m1, int32_t m2, int32_t m3);

// Host: the attack (DoCombat with four zero masks), then the outcome to every client: both units by
// id and the masks the combat left. Checks nothing: callers validate first (ValidateAttack).
void AttackAndAnnounce(int32_t ap, int32_t au, int32_t dp, int32_t du);

// (tx, ty) lies within range of (fx, fy), as the board's range marks show it: the cheapest walk over the
// map, 10 per step along a row or column and 14 per diagonal step, costs at most range x 10 + 5.
bool WithinRange(int32_t fx, int32_t fy, int32_t tx, int32_t ty, int32_t range);

// The host's check of an attack a player asked for: the attacker is sender's unit, sender holds the
// turn that runs (turnholder: nobody between days), the attacker has at least 2 actions and a rock
// charge and is not dying, the target belongs to another player, is not dying (its kill is paid) and
// stands within the attacker's range. Logs an "ERROR: ..." line and returns false when refused.
bool ValidateAttack(int32_t sender, int32_t ap, int32_t au, int32_t dp, int32_t du);
