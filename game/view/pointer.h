// The mouse as the widgets read it: the button, the hit test against what was just drawn, and the
// hold until a pressed button is let go.
#pragma once
#include <cstdint>

#include "platform/surface.h"

bool LeftButtonDown();                  // bit 7 of button 0 of the last mouse read
bool MouseOn(const PixelRect& r);       // the cursor lies in r (left and top inclusive)
// Reads the mouse again and again, moving the cursor, while the left button stays down; nothing is
// drawn meanwhile. A read that fails counts as the release, so the hold always ends.
void HoldUntilRelease();
