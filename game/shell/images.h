// The game's image set.
#pragma once

#include "game/shell/surface.h"

extern Surface imgback;     // the panel and message screen background, 800 x 600
extern Surface imglogo;     // the splash logo

bool DDrawGo();         // start-up: the display in 800 x 600; true on failure
bool LoadImages();      // loads every image; true on failure
void FreeImages();      // frees every image
bool DDrawStop();       // shutdown: the images and the display; false
