// The colours every generated picture shares.
#pragma once
#include "tools/art/image.h"

const Rgba slate = Opaque(0x323A50);        // stone of frames and panels
const Rgba slatedark = Opaque(0x1C2030);
const Rgba gold = Opaque(0xD4A848);         // trim
const Rgba goldlight = Opaque(0xFAE6A8);
const Rgba golddark = Opaque(0x6E4C16);
const Rgba ink = Opaque(0x1A1208);          // outlines and shadows (kept clear of the colour key)
const Rgba crimson = Opaque(0x7A1A16);
const Rgba royal = Opaque(0x1C3470);

// A gold rule with a dark line under it, w wide at (x, y).
void GoldRule(Image& img, int x, int y, int w);
// A slate panel: stone texture, a raised bevel and a gold inner rim.
void Panel(Image& img, int x, int y, int w, int h, int seed);
