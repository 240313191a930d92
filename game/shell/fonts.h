// The game's fonts: four font files shipped beside the program, and six fonts made from them.
#pragma once
#include <cstdint>

struct GdiFont;

enum { FONTCOUNT = 6 };

// By index: 0-2 the heading face at 12, 18 and 48 pixels; 3 the panel face at 17; 4 the small face at
// 12; 5 the display face at a cell height of 60.
extern GdiFont* fonts[FONTCOUNT];

bool LoadFonts();                       // adds the font files and makes the fonts; true on failure
void UnloadFonts();                     // frees the fonts, the shared pens and brushes, then the files
// Font index's face at an em of pixels (no larger than the font's own), made once and freed with
// the fonts; the font itself when that is its size, null when it cannot be made.
GdiFont* FontAtSize(int32_t index, int32_t pixels);
