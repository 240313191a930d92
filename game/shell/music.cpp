// Songs. Placeholder until music lands: nothing plays, so there is nothing to stop or start.
#include "game/shell/music.h"

void StopAllSongs()
{
}

bool PlaySong(int32_t)
{
    return false;
}
