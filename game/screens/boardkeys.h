// The play screen's keys: the grid, minimap and options toggles, centring on the acting unit, the
// unit hot keys, picking an own unit by a click, and ending a unit's turn or the whole turn. A press
// acts once: the key is used until it is let go, while the frames and every other key go on.
#pragma once
#include <cstdint>

enum : int32_t { HOTKEYS = 10 };
extern const uint8_t unithotkeycodes[HOTKEYS];  // the keys 1, 2, ..., 9, 0 of hot key slots 0 to 9

bool OpenOptions(int32_t, int32_t);     // button and key callback: the options screen, coming back here; false
// Every frame of the board screens: G grid, M minimap, P options, C centre on the acting unit (with
// autofocus on), and in the local unit turn the hot keys: Ctrl + 1..0 stores the acting unit in its
// slot, 1..0 alone makes the unit stored there the acting one.
void HandleGameKeys();
// Every frame of the local unit turn: a click on an own unit makes it the acting one; Space ends the
// acting unit's turn, Ctrl + Space the whole turn; the host's upgrade chord (U, 9 and left Shift).
void HandleUnitTurnKeys();
