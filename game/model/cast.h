// Spell resolution: the host decides whether a spell aimed at a unit is resisted; every machine then
// applies the outcome, the effect (CastSpellEffect) or the resisted cast (ResistSpell), with the
// host's decision. A spell of target kind below 4 aims at a unit, given as (player index, unit index);
// any other kind at a square, given as (x, y).
#pragma once
#include <cstdint>

enum : int32_t { UNITTARGETKINDS = 4, CASTACTIONS = 2, CASTPAUSEMS = 250, RESISTANIMCELL = 15 };

bool IsUnitTarget(int32_t spell);       // the spell (a valid index) aims at a unit

// Whether a target with effective spell resistance R resists a spell of resistance class resistclass,
// given the host's draw roll (0..32767): resisted when roll mod (R + 1) is not 0 (R of 0 or less never
// resists) and the class is 3 or less.
bool SpellResisted(int32_t resistance, int32_t resistclass, int32_t roll);

// The target (a, b) exists (a unit, or a square on the map, by the spell's kind) and the spell's target
// test accepts it. Logs an "ERROR: ..." line when not.
bool SpellTargetValid(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t spell);

// The host's check of a cast a player asked for, beyond SpellTargetValid: the caster is sender's unit,
// sender holds the turn that runs (turnholder: nobody between days), the caster knows the spell, has 2
// actions and the mana, stands on an unclaimed square, a target unit is not dying, and the target lies
// within the spell's range (a range-0 spell aims at the caster's own square only, any other never at
// it). Logs an "ERROR: ..." line and returns false when refused.
bool ValidateCast(int32_t sender, int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t spell);

// The host resolves a cast: for a unit target one random number decides resistance; then ResistSpell
// and MSG_RESIST, or CastSpellEffect and MSG_CASTSPELL, to every player (applied here before it is
// sent). extra goes to CastSpellEffect unchanged. False, with nothing done or sent, for a spell index
// out of range, a caster that is no unit, a target SpellTargetValid refuses, or on a client.
bool ResolveSpell(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t extra, int32_t spell);

// A resisted cast, on every machine: report, the caster pays the mana and 2 actions (moves 0 when his
// actions fall below 1), the resisted animation; no effect, no experience. False, changing nothing, for
// a spell index out of range or a caster that is no unit; else true.
bool ResistSpell(int32_t cp, int32_t cu, int32_t tp, int32_t tu, int32_t spell);

// A cast that takes effect, on every machine: report, sound, animation, the spell's effect handler
// (called with cp, cu, a, b, extra, last), then the caster pays 2 actions and the mana (moves 0 when
// his actions are exactly 0) and gains the cast's experience; a unit target's camp wakes. Caster and
// target are found again by id after the handler, which may move, add or remove units. A bad spell
// index, caster or target is logged and changes nothing. Always false.
bool CastSpellEffect(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t spell, int32_t extra, int32_t last);
