// Songs. Placeholder until music lands: nothing plays, so there is nothing to stop.
#include "game/shell/music.h"

void StopAllSongs()
{
}
