// What the front screens share: the word mark of the title, the slowly pulsing colour of their
// headings, and the end of a frame (the cursor, then the picture shown).
#pragma once
#include <cstdint>
#include <string>

#include "platform/surface.h"

enum : int32_t { WORDMARKLETTERS = 8 };

std::string WordMarkLetter(int32_t k);  // letter k of the mark, "\xB7 G"; the last also ends it, "\xB7 L \xB7"
std::string WordMarkLine();             // the mark as one line: "\xB7 G \xB7 O ... \xB7 L \xB7"
std::string DottedWord(const char* word);   // each letter behind a dot, and a last dot: the credits' heading
uint32_t PulseColour();                 // blue that swells and fades with framecount (colour reference)
// The pulsing blue reads on nothing darker than parchment: a band of the help book's page goes behind
// the headings written in it, outlined in dark gold.
void DrawParchmentBand(const PixelRect& r);
// The credits' two blues, the darker on the lighter, read only on pale paper: the warlord hall's list
// paper, stretched over r and outlined in dark gold.
void DrawPaperPage(const PixelRect& r);
void DrawEntryField(const PixelRect& r);    // a dark, gold-framed field where typing shows
void EndFrame();                        // the mouse cursor, then the flip
// One frame of a slide of the back picture: screencounter moves on by 20 pixels; at the screen's width
// the slide is over and gs becomes next. Else draw(screencounter) paints the frame, which is shown
// without a cursor and held for at least 13 ms: a slide takes 40 frames.
void SlideFrame(int32_t next, void (*draw)(int32_t offset));
