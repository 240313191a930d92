// Songs. Placeholder until music lands: nothing loads or plays.
#include "game/shell/music.h"

uint8_t musicon = 1;

bool LoadMusic()
{
    return false;
}

bool PlaySong(int32_t)
{
    return false;
}

void StopAllSongs()
{
}

void FreeMusic()
{
}
