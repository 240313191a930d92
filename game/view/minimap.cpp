// The minimap. Placeholder until the minimap is drawn.
#include "game/view/minimap.h"

void RebuildMinimap(int, int)
{
}
