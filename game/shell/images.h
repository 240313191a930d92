// The game's image set.
#pragma once

#include "game/shell/surface.h"

extern Surface imgback;     // the panel and message screen background, 800 x 600

bool LoadImages();      // loads every image; true on failure
void FreeImages();      // frees every image
