// Unit pictures: each unit's 41 x 41 picture (its icon, player colour, health bar and status marks),
// rendered again after every change of what it shows.
//
// The pictures are kept by unit id, not in the unit: a picture is found from its unit wherever the
// unit moves in its list, a copied unit record carries none, and a removed unit's picture goes with
// it (FreeUnitPicture) or, at the latest, at the next RedrawUnitPictures.
#pragma once
#include <cstdint>

struct Surface;

enum : int32_t { UNITPICTURESIZE = 41, HEALTHBARWIDTH = 36 };

// Renders the unit's picture, creating it when it has none. True when nothing was drawn: drawing off,
// an index out of range, or the unit off the map.
bool RenderUnitPicture(int32_t player, int32_t unit);
bool RedrawUnitPictures();              // renders every unit's picture and forgets those of units gone; false
bool FreeUnitPictures();                // frees every picture; false
void FreeUnitPicture(int32_t id);       // frees the picture of the unit with that id (it leaves the game)
const Surface* UnitPicture(int32_t id); // the picture of the unit with that id; null for none
int32_t UnitPictureCount();             // pictures held
