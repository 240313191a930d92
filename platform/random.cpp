// The classic portable rand(): the same LCG everywhere, so a seed replays the same game.
#include "platform/random.h"

namespace {

uint32_t randomstate = 1;

} // namespace

void SeedRandom(uint32_t seed)
{
    randomstate = seed;
}

int Random()
{
    randomstate = randomstate * 1103515245u + 12345u;
    return (int)((randomstate / 65536u) % 32768u);
}
