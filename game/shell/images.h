// The game's image set.
#pragma once

bool LoadImages();      // loads every image; true on failure
void FreeImages();      // frees every image
