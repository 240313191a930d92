// Golden frames: a presented frame and the texts drawn for it, compared with a fixture stored as
// tests/game/golden/<name>.golden.
//
// Every text must be drawn as stored: the same words in the same rectangle, colour, flags and font. And
// every pixel of the frame must be as stored, the texts' own pixels too: the fixture holds a 64-bit
// digest of each 40 x 40 block. So a layer moved by a pixel, a colour or a cell changed, a mark left
// out, a glyph smoothed or blended otherwise, fails. The frames hold nothing that varies from run to
// run or machine to machine (the tests' clock, seed and addresses are their own; FreeType and the
// fonts come from the distribution's packages), so nothing is masked.
//
// After an intended change of what a screen shows (art, text layer, a drawing routine), look at the PNGs
// the tests write in the build tree, then store every fixture anew with
//     make golden
// (a test run with GORV_UPDATE_GOLDEN=1 stores the fixtures of the tests it runs instead of comparing).
#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "platform/gdi.h"

// Starts recording the texts drawn (platform/gdi.h's recorder), for the next comparison.
void StartGoldenTexts();
// How the last presented frame and the texts drawn since StartGoldenTexts differ from fixture `name`,
// one line each (none: they are the same). Stops the recording.
std::vector<std::string> CompareGoldenFrame(const std::string& name);
// Compares as CompareGoldenFrame, a failure per difference, and writes the frame as <pngdir>/<name>.png
// to look at.
void ExpectGoldenFrame(const std::string& name, const std::string& pngdir);

// A fault of the text layer that every golden frame with text must catch: the comparison's own test
// draws a golden frame with it and expects a difference. The first row, no fault, must match.
struct TextBreak {
    const char* name;
    TextFaults faults;
    bool shadows;       // shows only where captions have shadows
};
void PrintTo(const TextBreak& row, std::ostream* out);     // its name, in a test's name and messages
// Every break, or only those that show on a frame without shadows.
std::vector<TextBreak> TextBreaks(bool shadows);
// Compares the last presented frame, drawn with row's faults, with fixture `name`: a failure unless it
// differs, or for no fault, unless it matches. Writes the frame as <pngdir>/<name>-<row>.png.
void ExpectBreakSeen(const std::string& name, const TextBreak& row, const std::string& pngdir);
