// Fonts: font files added for the life of the program, and fonts made from a face name and a height.
//
// A face name is looked up among the families of the added files, then through the alias table, then
// through fontconfig, so that a font can always be made.
#pragma once
#include <cstdint>

struct GdiFont;

int32_t AddFontFile(const char* name);                  // opens a font file (Windows-style name); faces added, 0 on failure
bool RemoveFontFile(const char* name);                  // forgets an added file; true when it was not added
void AliasFontFace(const char* face, const char* target); // face means target: an added file's name or a family
void ClearFontAliases();                                // forgets every alias
// A font of the face: a negative height is the em size in pixels, a positive one the cell height
// (ascent + descent). Null on failure.
GdiFont* MakeFont(int32_t height, const char* face);
void FreeFont(GdiFont* font);                           // null is allowed
const char* FontFamily(const GdiFont* font);            // the family actually used
const char* FontFilePath(const GdiFont* font);          // the file it was read from
int32_t FontAscent(const GdiFont* font);                // pixels above the baseline
int32_t FontCellHeight(const GdiFont* font);            // ascent + descent: the line height
int32_t FontPixelSize(const GdiFont* font);             // the em in pixels
bool FontHasGlyph(const GdiFont* font, uint8_t cp1252);  // the font draws that byte (not a missing-glyph box)
