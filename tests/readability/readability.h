// How well the texts a screen drew read, from what the text layer's recorder heard: each text's
// contrast with the pixels under its glyphs' box before it was drawn (the worst tenth of them, so a
// busy picture under a word cannot hide behind a calm mean), and whether the box lies on a frame line or
// an ornament of the screen's background picture.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/gdi.h"

// The contrast of two XRGB colours, 1 to 21, by their relative luminance.
double Contrast(uint32_t a, uint32_t b);
// The contrast of a text's colour with the pixels under it that the worst tenth stays above.
double WorstTenthContrast(const DrawnText& text);
// What a text must reach: 4.5 for text of 16 pixels or less, 3 for larger text and for captions.
double ContrastGoal(const DrawnText& text, bool caption);

// Texts that read below the goal given for them, one line each ("'Quit' at 300,200 size 20 2.70 < 3.0").
// Shadows and a text drawn again where it already stands are left out, and so are texts drawn on another surface than on (null: all).
std::vector<std::string> FaintTexts(const std::vector<DrawnText>& drawn, const std::function<double(const DrawnText&)>& goal,
                                    const SysSurface* on = nullptr);

// Texts whose glyph box covers a pixel of a frame line or ornament of background, drawn at (x, y) (the
// pixels of the picture in one of the frame colours, XRGB), where that pixel still showed when the text
// was drawn.
// Texts drawn on another surface than on are left out.
std::vector<std::string> TextsOnFrames(const std::vector<DrawnText>& drawn, const SysSurface* on,
                                       const SysSurface* background, const std::vector<uint32_t>& framecolours,
                                       int32_t x, int32_t y);

// Pairs of texts whose glyph boxes overlap, one line each. A shadow belongs to its text, and a text
// drawn again where it stands is that text; texts drawn on another surface than on are left out.
std::vector<std::string> OverlappingTexts(const std::vector<DrawnText>& drawn, const SysSurface* on);

// Texts whose glyphs come closer than margin pixels to an edge of the surface on (or are cut by it).
std::vector<std::string> TextsAtTheEdge(const std::vector<DrawnText>& drawn, const SysSurface* on, int32_t margin);
