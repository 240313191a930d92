// The modal boxes of the game: the in-game menu, the options and the end-turn confirmation are drawn
// over a darkened snapshot of the screen as it was when they opened, kept in the blank screen image.
#pragma once
#include <cstdint>

#include "platform/surface.h"

// Where each box stands: its frame is the bottom border's top 800 x 80 stretched over it.
extern const PixelRect menubox;
extern const PixelRect optionsbox;
extern const PixelRect endturnbox;

// Snapshots the screen last shown, shades it with the shading tile every 40 pixels and stretches the
// frame over box; the menu also gets a divider line. Drawing nothing, it still takes its one frame.
void BuildModalBox(const PixelRect& box, bool divider);
// One frame of an open box: the stored picture; the caller draws the buttons over it.
void DrawModalBox();
// Ends a box's frame: the cursor, the flip, and drawing off until the next frame, so that nothing a
// message redraws meanwhile lands on the box.
void EndModalFrame();
