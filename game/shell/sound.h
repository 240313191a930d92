// Sound effects, played by name (".\\Sound\\GSGold.wav") through the sound cache.
//
// The sounds are the WAVE resources of the sound module "tavel.dll". Each is loaded the first time it
// is asked for and stays in the cache, loaded or not, until shutdown; the cache keeps the sounds played
// most near its front.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Module;
struct SoundChunk;

struct SoundBuffer {
    SoundChunk* buffer;                 // null until made
    uint8_t loaded;                     // every sample was copied into it
};

struct SoundEntry {
    SoundBuffer* sound;
    std::string name;                   // the name it was asked for by
    int32_t hits;                       // times played since it was cached
    SoundEntry* next;
};

extern Module* soundmodule;             // "tavel.dll"
extern uint8_t soundready;              // the sound device is up (it may be silent)
extern SoundEntry* soundcache;          // head of the sound cache
extern uint8_t soundon;                 // the "sound" option; 1 = effects are played
extern int32_t volume;                  // the "volume" option, 0 to 100; applies to sounds cached later
extern std::vector<std::string> soundsplayed;  // every name played, in order (tests)

bool DSoundGO();                        // start-up: the sound module and the device; true on failure
bool CreateSoundDevice();               // opens the audio output for effects; true on failure (a silent output is not one)
void ReleaseSoundDevice();              // closes it
bool OpenGameAudio();                   // opens the audio output for effects or songs, logging the first failure; true when silent
SoundEntry* PlaySoundFile(SoundEntry* head, const char* name);  // plays a sound, whatever soundon; the new head
bool PlaySfx(const char* name);         // plays it through soundcache when soundon is set; false
const char* ResLoad(SoundBuffer* record, const char* name, const Module* module); // makes the sound's buffer; a status text
void DeleteSoundEntries();              // shutdown: empties the cache, frees the module and the device
