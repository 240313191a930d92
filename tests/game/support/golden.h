// Golden frames: a presented frame and the texts drawn for it, compared with a fixture stored as
// tests/game/golden/<name>.golden.
//
// Every text must be drawn as stored: the same words in the same rectangle, colour, flags and font.
// Outside the boxes the texts cover, every pixel must be as stored (a 64-bit digest of each 40 x 40
// block); inside them only each box's mean colour is held, within a small tolerance, since another
// FreeType may smooth the glyphs differently. So a layer moved by a pixel, a colour or a cell changed,
// a mark left out, fails; a font's anti-aliasing does not.
//
// After an intended change of what a screen shows (art, text layer, a drawing routine), look at the PNGs
// the tests write in the build tree, then store every fixture anew with
//     make golden
// (a test run with GORV_UPDATE_GOLDEN=1 stores the fixtures of the tests it runs instead of comparing).
#pragma once
#include <string>

// Starts recording the texts drawn (platform/gdi.h's recorder), for the next ExpectGoldenFrame.
void StartGoldenTexts();
// Compares the last presented frame and the texts drawn since StartGoldenTexts with fixture `name`,
// and writes the frame as <pngdir>/<name>.png to look at. Stops the recording.
void ExpectGoldenFrame(const std::string& name, const std::string& pngdir);
