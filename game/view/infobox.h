// The 240 x 120 information boxes of a spell or an ability: its name, its figures and what it does,
// on a background of shading tiles over an opaque ground of the tiles' colour.
#pragma once
#include <cstdint>
#include <string>

enum : int32_t { INFOBOXX = 5, INFOBOXY = 400 };   // where the panels show their box

bool DrawAbilityInfo(int32_t n);                    // ability number n's box at (5, 400); false
bool DrawAbilityInfoAt(int32_t n, int32_t x, int32_t y);
bool DrawSpellInfo(int32_t n);                      // spell number n's box at (5, 400), with its shortcut; false
bool DrawSpellInfoAt(int32_t n, int32_t x, int32_t y);  // at (x, y), without the shortcut
// The spell's figures line: "Mana: m", "Range: r" and, in the fixed box, "CTRL+" and its letter.
std::string SpellFiguresLine(int32_t n, bool fixedbox);
// Shading tiles, 40 pixels apart: columns x rows of them from (x, y), on a ground of their colour
// (an information box's background).
void DrawShadingTiles(int32_t x, int32_t y, int32_t columns, int32_t rows);
