// Unit pictures: each unit's 41 x 41 picture (its icon, player colour and status marks), rendered again
// after every change of what it shows.
#pragma once
#include <cstdint>

// Renders the unit's picture into its image, creating the image when it has none. Nothing for an index
// out of range.
void RenderUnitPicture(int32_t player, int32_t unit);
void FreeUnitPicture(void* image);      // frees one unit's picture (the unit leaves the game); null is fine
