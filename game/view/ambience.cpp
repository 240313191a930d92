#include "game/view/ambience.h"

#include <string>

#include "game/model/state.h"
#include "game/shell/music.h"
#include "game/shell/sound.h"
#include "game/view/frames.h"

namespace {

enum : int32_t { AMBIENTBLOCK = 240, AMBIENTVARIANTS = 3, NOBLOCK = -1 };

int32_t lastblock = NOBLOCK;
// The variant is a cosmetic draw of every machine: it has its own generator, so the frames a player
// lingers never move the game's own sequence, which only the host's rules draw from.
uint32_t ambientseed = 1;

int32_t DrawVariant()
{
    ambientseed = ambientseed * 214013u + 2531011u;
    return static_cast<int32_t>(ambientseed >> 16 & 0x7FFF) % AMBIENTVARIANTS;
}

} // namespace

void PlayAmbientSound()
{
    const int32_t block = framecount / AMBIENTBLOCK;
    if (lastblock == NOBLOCK)
        lastblock = block;
    if (!musicon || block == lastblock)
        return;
    lastblock = block;
    const int32_t variant = DrawVariant();
    const int32_t phase = turncount >= MORNING && turncount <= NIGHT ? turncount : MORNING;
    const std::string name = std::string(".\\Sound\\AM") + static_cast<char>('0' + phase)
        + static_cast<char>('0' + variant) + ".wav";
    PlaySfx(name.c_str());
}

void ResetAmbience(const uint32_t seed)
{
    lastblock = NOBLOCK;
    ambientseed = seed;
}

int32_t TimeOfDaySong()
{
    return turncount == NIGHT ? SONG_NIGHT : -1;
}
