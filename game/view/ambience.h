// The play screen's ambience: the night's song, and now and then a sound of the time of day while the
// music option is on.
#pragma once
#include <cstdint>

// Called every frame of the local unit's turn: at most one sound per 240-frame block, one of three for
// the day phase (".\\Sound\\AM<phase><variant>.wav"); with music off nothing, and the block is kept.
void PlayAmbientSound();
// Forgets the block last looked at and restarts the variant draws from seed (tests).
void ResetAmbience(uint32_t seed);
int32_t TimeOfDaySong();                // the song the board asks for: SONG_NIGHT at night, else -1
