// The unit panel: the bottom strip of the play screen for one unit, with its picture, figures,
// abilities and meters, and for the local player's unit his spells and the three command buttons.
// It is also where the local player picks a spell, the attack mode, the next unit or the end of his turn.
#pragma once
#include <cstdint>

// The meters as drawn, in pixels: they glide toward the shown unit's figures a step a frame, and carry
// over from unit to unit.
extern int32_t shownlife, shownmoves, shownmana;    // 0..METERLENGTH
extern int32_t shownexp;                // 0..EXPLENGTH: the empty top of the experience column

constexpr int32_t METERLENGTH = 215;    // pixels of a full meter
constexpr int32_t EXPLENGTH = 70;       // of the full experience column

// Draws the panel of unit of player and acts on its clicks and spell keys; nothing for a bad index, a
// unit off the map, on a square the local player has not explored, or hidden from him. False.
bool DrawUnitPanel(int32_t player, int32_t unit);
// The key code of the spell's shortcut letter (spells[s].hotkey, A..Z; others held to the ends); 0 for
// a spell index out of range.
uint8_t HotkeyScanCode(int32_t s);
// One step of the four meters toward the unit's figures; false.
bool UpdatePanelBars(int32_t player, int32_t unit);
