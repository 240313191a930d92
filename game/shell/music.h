// Songs.
#pragma once
#include <cstdint>

void StopAllSongs();    // stops every song that is playing
bool PlaySong(int32_t n);   // starts song n (-1: the next lull) unless it plays already; true when one started
