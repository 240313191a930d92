// Drawing steps of the play screen that the rules use to show a hit at once (the damage number): the
// parts of a full frame, the sheet cells and the text with its shadow. Every step returns at once,
// drawing nothing, while drawing is off.
#pragma once
#include <cstdint>
#include <string>

#include "platform/gdi.h"         // the TEXT_ placement flags

#include "game/shell/images.h"       // the sheets: imgunits, imgspellanim, ...

// The game fonts, by index into the font table.
enum : int32_t { FONT_SMALL = 0, FONT_MEDIUM = 1, FONT_BOARDLARGE = 2 };
enum : int32_t { DAMAGEICON = 254 };    // the unit sheet's cell behind a damage number

bool BeginText(int32_t font);           // opens the back buffer for text with a font, transparent; false
bool EndText();                         // closes it again; false
// Cell of a 16-column sheet of 40 x 40 cells to (x, y) of the back buffer, colour-keyed; true.
bool DrawSheetIcon(int32_t x, int32_t y, int32_t cell, const Surface* sheet);
// Text with a one-pixel black shadow in the box (x, y, x + width, y + height), between BeginText and EndText.
void DrawShadowText(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& text, uint32_t colour,
                    uint32_t format);
void DrawBoard(int32_t flags, int32_t player);  // the visible board with its units, as player sees it
void DrawScreenBorder();                        // the frame around the board
void DrawMinimap();                             // the minimap in the board's top right
void DrawUnitPanel(int32_t player, int32_t unit); // the panel of the selected unit
void DrawMessageFeed(int32_t player);           // the message feed over the board
