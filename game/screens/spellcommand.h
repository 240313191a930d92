// The spell command of the local player's unit turn: the spell picked in the unit panel
// (selectedspell) is aimed at a unit or a square within its range and cast by a click.
#pragma once
#include <cstdint>

// Spell mode, each frame: the squares within the spell's range are marked (only the caster's own
// square for a range-0 spell, never it for any other), the square under the cursor shows whether it
// is a target, and a click casts. True on the frame a cast was started (back to move mode).
bool PrepareSpellCast();
// Starts a cast of spell s (an index of spells) by unit cu of player cp at (a, b): a unit (player,
// unit) for the unit target kinds, else a square; kind is the target kind the caller aimed with. The
// host resolves it at once; a client sends the request (only one the host would accept) and waits for
// the answer. False, with nothing sent, when the target test or the host's checks refuse it.
bool CastSpellAt(int32_t cp, int32_t cu, int32_t s, int32_t a, int32_t b, int32_t kind);
