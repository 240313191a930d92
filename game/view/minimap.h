// The minimap: the whole map at 4 pixels a square in the board's top right corner, with the units the
// local player may see, a white mark for each other player's first unit and a frame around the view.
// Its picture is kept in imgminimap, repainted only by RebuildMinimap.
#pragma once
#include <cstdint>

enum : int32_t { MINIMAPSCALE = 4, MINIMAPTOP = 30, MINIMAPRIGHT = 795 };

// Repaints the minimap for the viewer (the local player). Nothing while the game is inactive or
// drawing is off, nor while the minimap option is off unless force is set; then true.
bool RebuildMinimap(int32_t viewer, uint8_t force);
bool DrawMinimapUnits(int32_t viewer);  // the unit pass of RebuildMinimap; false
// Copies the minimap to the screen and frames the squares in view. True, doing nothing, while
// drawing is off.
bool DrawMinimap();
int32_t MinimapLeft();                  // the minimap's left edge on the screen: 795 - 4 x mapsize
