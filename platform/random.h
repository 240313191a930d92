// The project's random generator: srand/rand semantics with a fixed LCG, so a seed gives the same
// sequence on every machine. Only the host draws.
#pragma once
#include <cstdint>

enum { RANDOM_MAX = 32767 };

void SeedRandom(uint32_t seed);         // restarts the sequence
int Random();                           // next number, 0..RANDOM_MAX
