// Display: the front buffer shown on screen and the 800 x 600 back buffer every frame is drawn into,
// with the few operations every drawing part uses (clear, keyed copy, flip), the display mode and the
// restoring of surfaces.
#pragma once
#include <cstdint>

#include "platform/surface.h"

struct Surface;

enum { SCREENWIDTH = 800, SCREENHEIGHT = 600 };

struct Display {
    bool ddraw;                 // the display device is open
    SysSurface* primary;        // the front buffer: the last frame shown
    SysSurface* backbuffer;     // the frame being drawn
    bool primaryshown;          // the front buffer holds what the window shows (else a flip copies it whole)
    uint64_t flips;             // flips so far: a screen that finds it where its own last flip left it
                                // knows the back buffer still holds its last frame
    ~Display();                 // ReleaseDirectDraw
};

extern Display display;
extern SysSurface*& backbuffer;     // display.backbuffer: where every drawing part draws

bool CreateDirectDraw();                    // opens the display of the main window; true on failure
bool CreatePrimarySurface();                // makes the front and back buffers; true on failure
bool SetScreenMode(int width, int height, int bpp); // true on failure
bool ClearBackBuffer();                     // fills the back buffer with colour 0; true on failure
// Copies src's rectangle to (x, y) of the back buffer, skipping its key colour; true on failure.
bool BltFastKeyed(int32_t x, int32_t y, const SysSurface* src, const PixelRect& srcrect);
bool DrawSurface(int32_t x, int32_t y, const Surface& surface);    // the whole surface, keyed; true on failure
bool ClearAndDrawBackdrop(const Surface& picture);  // ClearBackBuffer, then DrawSurface(0, 0, picture); true on failure
void FlipScreen();                          // shows the back buffer, which keeps its contents
// FlipScreen for a frame of which only rows from..to-1 can differ from the last shown (from == to: none).
void FlipScreenRows(int32_t from, int32_t to);
bool RestoreSurfaces();                     // true on failure
void ReleaseDirectDraw();                   // frees both buffers and closes the display
