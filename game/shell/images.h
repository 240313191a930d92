// The game's image set.
#pragma once

#include "game/shell/surface.h"

enum { BORDERPIECES = 7 };
// The frame and panel pieces of imgborder, by index.
enum { BORDER_TOP, BORDER_BOTTOM, BORDER_LEFT, BORDER_RIGHT, BORDER_METERBOTTOM, BORDER_METERMIDDLE, BORDER_UNIT };

extern Surface imgterrain;      // terrain tiles: 40 x 40 cells, 16 to a row
extern Surface imgterraintint;  // the same, dimmed (dark squares)
extern Surface imgterraingrey;  // the same, grey (voided squares)
extern Surface imgunits;        // unit icons and marks: 40 x 40 cells, 16 to a row
extern Surface imgunitstint;    // the same, dimmed
extern Surface imgunitsgrey;    // the same, grey
extern Surface imgboard;        // the board image, 800 x 520
extern Surface imgspellanim;    // effect animation frames: a column of 8 cells each
extern Surface imgspellicon;    // spell and ability icons
extern Surface imgunithealth;   // the health bar, at least 36 x 3
extern Surface imgback;         // the panel and message screen background, 800 x 600
extern Surface imgmenuicons;    // the main menu's icons: 100 x 50 cells, 2 to a row
extern Surface imgicons;        // cursors and command icons
extern Surface imgborder[BORDERPIECES];  // the frame around the board and the unit panel's pieces
extern Surface imgminimap;      // the minimap, 402 x 402

bool LoadImages();      // loads every image; true on failure
void FreeImages();      // frees every image
