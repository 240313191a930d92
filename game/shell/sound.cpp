#include "game/shell/sound.h"

uint8_t soundon = 1;
int32_t volume = 100;
SoundEntry* soundcache = nullptr;
std::vector<std::string> soundsplayed;

SoundEntry* PlaySoundFile(SoundEntry* head, const char* name)
{
    soundsplayed.emplace_back(name);
    return head;
}

bool PlaySfx(const char* name)
{
    if (soundon)
        soundcache = PlaySoundFile(soundcache, name);
    return false;
}

bool DSoundGO()
{
    return false;
}

void DeleteSoundEntries()
{
}
