// Songs: seven Standard MIDI files in Music/, one playing at a time.
//
// Three lulls take turns during play; the menus, the night, loading and idling have a song each. The
// screens ask for their song on every frame: a song that is playing is left alone, one that has ended
// starts again.
#pragma once
#include <cstdint>

struct SongData;

struct Song {
    SongData* segment;                  // the loaded file; null until loaded
    uint8_t loaded;
};

enum { SONG_LULL1, SONG_LULL2, SONG_LULL3, SONG_MENU, SONG_NIGHT, SONG_LOAD, SONG_IDLE, SONGCOUNT };
enum { SONG_LULLS = -1 };               // PlaySong's argument for the lull rotation

extern uint8_t musicready;              // the output is held for songs
extern Song* songs[SONGCOUNT + 1];      // by index; null until LoadMusic
extern int32_t songcount;
extern int32_t currentlull;             // the lull of the rotation, 0 to 2
extern uint32_t lastsongtick;           // when the rotation last started a lull
extern uint8_t musicon;                 // the "music" option; 1 = songs are played

bool LoadMusic();                       // start-up: the output and every song (a bad file is logged and skipped); true on failure
bool LoadSong(Song* song, const char* path);  // loads one file; true on failure
bool PlaySegment(Song* song);           // plays the song once from the start, ending any other; true on failure
bool IsSongPlaying(const Song* song, bool expected);   // whether the song's playing state equals expected
void StopAllSongs();                    // stops every song
bool PlaySong(int32_t n);               // asks for song n, or SONG_LULLS; true when a song was started
void FreeMusic();                       // shutdown: stops and frees the songs, gives the output back
