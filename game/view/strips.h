// The rows of icons of the shop and the deployment: a unit type's spells and abilities, the units
// for sale, the units bought (refunded by a click in the shop, picked by a press in the deployment).
#pragma once
#include <cstdint>
#include <string>

enum : int32_t { STRIPX = 20, STRIPY = 540 };   // the bought units' strip, 40 pixels a unit

// A unit type's spells (or abilities) under a title at y, each icon showing its box while the mouse is on it.
bool DrawTypeSpellRow(int32_t y, int32_t type, std::string title);
bool DrawTypeAbilityRow(int32_t y, int32_t type, std::string title);
bool DrawBuyableIcons();                // the units for sale, dimmed when the local player cannot pay; false
// The current player's bought units; a click refunds one. True when p is empty.
bool DrawShopBoughtUnits();
bool DrawBoughtUnits();                 // the current player's bought units; a press sets hoveritem; false
