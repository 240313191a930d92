// Songs.
#pragma once
#include <cstdint>

enum { SONG_LOAD = 5 };                 // the song of the loading screen

extern uint8_t musicon;                 // the "music" option; 1 = songs are played

bool LoadMusic();                       // start-up: the output and every song; true on failure
bool PlaySong(int32_t n);               // asks for song n; true when a song was started
void StopAllSongs();                    // stops every song that is playing
void FreeMusic();                       // shutdown: stops and frees the songs
