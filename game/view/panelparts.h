// The parts of the unit panel (unitpanel.h), each drawn for a unit the panel may show.
#pragma once
#include <cstdint>

// The local player's five spells, or the spell being aimed and its cancel icon; a click or Ctrl + the
// spell's letter picks a usable spell.
void DrawPanelSpells(int32_t player, int32_t unit);
void DrawPanelButtons(int32_t player, int32_t unit);   // Attack, Next Unit and End Turn, each with its help
void DrawPanelMeters(bool local);       // the meters as they stand; mana and experience for the local player's unit only
void DrawPanelFigures(int32_t player, int32_t unit, bool local);   // the stats and the meters' figures
// The spell (an index of spells) can be cast by the unit now: mana enough, more than one action left,
// on a square of the map that nobody claims.
bool SpellUsable(int32_t player, int32_t unit, int32_t spell);
