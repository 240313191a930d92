// The two text routines every screen uses, drawing through the DC that BeginText opened.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "platform/gdi.h"

// Colours (colour references, 0x00BBGGRR) of the texts of the board and its panels.
enum : uint32_t {
    COLOUR_WHITE = 0xFFFFFF,
    COLOUR_BLACK = 0x000000,
    COLOUR_BODY = 0x7FFFFF,         // pale yellow: body texts
    COLOUR_FIGURES = 0xFFFF7F,      // pale cyan: spell figures
    COLOUR_GOLD = 0x00DCFF,         // the header's gold
    COLOUR_YELLOW = 0x00FFFF,       // the shop heading
};

// The placements the boxes use: one centred line (37); wrapped and centred (17); one right-aligned line (38).
enum : uint32_t {
    FORMAT_CENTREDLINE = TEXT_SINGLELINE | TEXT_VCENTRE | TEXT_CENTRE,
    FORMAT_WRAPPED = TEXT_WORDBREAK | TEXT_CENTRE,
    FORMAT_RIGHTLINE = TEXT_SINGLELINE | TEXT_VCENTRE | TEXT_RIGHT,
};

// The text in the colour, placed by format in the box (x, y, x + w, y + h) moved by (1, 1) and kept 4
// pixels inside the back buffer's edges, which becomes hotrect; false.
bool DrawTextBox(int32_t x, int32_t y, int32_t w, int32_t h, std::string_view text, uint32_t colour, uint32_t format);
// The text in black in the box moved by (1, 1), then in the colour in the box itself, which becomes
// hotrect; false.
bool DrawShadowText(int32_t x, int32_t y, int32_t w, int32_t h, std::string_view text, uint32_t colour,
                    uint32_t format);
// A text over the board, where any land or unit may lie under it: the one line of text on a band of
// its own (what lies there darkened to a quarter, a few pixels round the line), then as DrawShadowText.
bool DrawBandText(int32_t x, int32_t y, int32_t w, int32_t h, std::string_view text, uint32_t colour, uint32_t format);
// The one line of text on a band of its own, then as DrawTextBox, with no shadow.
bool DrawBandTextBox(int32_t x, int32_t y, int32_t w, int32_t h, std::string_view text, uint32_t colour,
                     uint32_t format);
// Selects into the open text the largest size of game font index, no larger than the font itself, at
// which each of texts is at most width pixels wide (a row of headings kept inside their columns); false.
bool SelectFittingFont(int32_t index, std::initializer_list<std::string_view> texts, int32_t width);
