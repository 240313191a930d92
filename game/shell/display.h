// Display: the 800 x 600 back buffer and the display mode.
#pragma once
#include <cstdint>

enum { SCREENWIDTH = 800, SCREENHEIGHT = 600 };

extern uint32_t backbuffer[SCREENWIDTH * SCREENHEIGHT];   // the frame being drawn, XRGB

bool SetScreenMode(int width, int height, int bpp);   // true on failure
bool RestoreSurfaces();                               // true on failure
void ClearBackBuffer();                               // fills the back buffer with colour 0
void FlipScreen();                                    // shows the back buffer
