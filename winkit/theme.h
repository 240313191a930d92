// How the small windows' controls look: slate stone with gold trim, as the game's own panels
// (internal to winkit/).
#pragma once
#include "platform/gdi.h"

enum KitLook { KITLOOK_NORMAL, KITLOOK_HOT, KITLOOK_PRESSED };

constexpr uint32_t KITCOLOUR_TEXT = MakeColour(0xF0, 0xDC, 0xA0);      // a button's label
constexpr uint32_t KITCOLOUR_TEXTHOT = MakeColour(0xFF, 0xF4, 0xC8);   // under the mouse
constexpr uint32_t KITCOLOUR_INK = MakeColour(0x22, 0x18, 0x0C);       // an edit box's text and caret
constexpr uint32_t KITCOLOUR_FIELD = MakeColour(0xEC, 0xE0, 0xC2);     // an edit box's parchment

void DrawRaisedBox(GdiDC* dc, const PixelRect& rect, KitLook look);  // a button's body: shaded stone, gold rim
void DrawSunkenBox(GdiDC* dc, const PixelRect& rect, bool focused);   // an edit box's field
