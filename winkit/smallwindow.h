// The small windows of the updater and the installer: one fixed-size window drawn with the mini-GDI,
// with push buttons and edit boxes over the program's own picture, and a loop that sleeps until
// something happens.
//
// Everything here belongs to the window's thread. Other threads talk to it only by PostSysMessage.
// The program's window procedure sees every message after the controls have (SYS_COMMAND when a button
// was clicked; SYS_DESTROY when the window goes, to which it answers PostQuit).
#pragma once
#include <string>

#include "platform/gdi.h"
#include "platform/window.h"

typedef void (*KitPainter)(GdiDC* dc);      // draws the window's picture; the controls are drawn over it

// Opens the window centred on the screen, framed (a title bar with the caption and a close box) or
// not; true on failure.
bool OpenSmallWindow(const char* caption, int width, int height, WindowProc proc, KitPainter painter,
                     bool framed = false);
void CloseSmallWindow();                    // destroys the window and its controls; frees the frame
GdiDC* SmallWindowDC();                     // the DC on the window's frame (null when closed)
GdiFont* SmallWindowFont();                 // the font of the controls (null: the DC's own)
// The font of the controls and the program's texts from a font file (a Windows-style name, such as
// the game's "Font.ttf") at a height (negative: the em in pixels); true when it cannot be had, and the
// kit's own font stays.
bool UseSmallWindowFontFile(const char* file, int32_t height);
void InvalidateSmallWindow();               // the window is painted again before the loop next sleeps
void PaintSmallWindow();                    // paints now: the picture, the controls, then shown
// Handles every queued message without waiting, then paints if needed; true when SYS_QUIT came, with its code.
bool PumpSmallWindow(int* exitcode);
int RunSmallWindow();                       // waits and handles messages until SYS_QUIT; returns its code
