// Sound effects, played by name (".\\Sound\\GSGold.wav") through the sound cache.
//
// For now the cache only records what was asked for: the mixer and the sound module replace it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct SoundEntry;

extern uint8_t soundon;                 // the "sound" option; 1 = effects are played
extern int32_t volume;                  // the "volume" option, 0 to 100; applies to sounds cached later
extern SoundEntry* soundcache;          // head of the sound cache

bool DSoundGO();                        // start-up: the sound module and the device; true on failure
void DeleteSoundEntries();              // shutdown: empties the cache, frees the module and the device

SoundEntry* PlaySoundFile(SoundEntry* head, const char* name);  // plays a sound, whatever soundon; the new head
bool PlaySfx(const char* name);         // plays it through soundcache when soundon is set; false
extern std::vector<std::string> soundsplayed;  // every name played, in order (tests)
