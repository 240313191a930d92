// The minimap.
#pragma once

void RebuildMinimap(int player, int force);   // rebuilds the minimap image for a player when shown or forced
