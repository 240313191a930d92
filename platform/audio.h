// Audio: sound effects and songs through one output (SDL2_mixer, songs by its FluidSynth back end).
//
// The output opens with the SDL back end; with the headless one (and before any back end runs) nothing
// is opened and every sound and song started is recorded with the tick it started at. Without an audio
// device, or for songs without a soundfont, every call still works and is silent. A song plays, heard
// or not, for the length its file gives up to its last note, so the game's song rules run the same.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct SoundChunk;
struct SongData;

// PCM sample data as a sound file describes it.
struct PcmFormat {
    uint16_t channels;          // 1 or 2, interleaved
    uint32_t rate;              // frames per second
    uint16_t bits;              // 8 (unsigned) or 16 (signed little-endian)
};

// The output. Opened once, counted: effects and songs each open and close it.
bool OpenAudio();                               // opens the output on the first call; true when it is silent (no device)
void CloseAudio();                              // the last close shuts the output
const char* AudioFault();                       // why the output is silent ("" when it is not)
bool SongsSilent();                             // an output was opened but songs go unheard: no device, or no soundfont it can read (found when opened, or when a song first fails to read it)
const char* SoundFontPaths();                   // the soundfonts songs use: $SDL_SOUNDFONTS, else Debian's TimGM6mb
void MuteSounds(bool muted);                    // silences every effect (the program is in the background); songs are not touched
bool SoundsMuted();                             // what MuteSounds last set

// Sound effects. Each chunk owns a channel of its own, so playing it again restarts it.
SoundChunk* CreateSoundChunk(const char* name, const PcmFormat& format, const uint8_t* data, uint32_t bytes); // copies the samples; null when the format is not playable
void FreeSoundChunk(SoundChunk* chunk);         // stops and frees it; null is allowed
void SetSoundVolume(SoundChunk* chunk, int32_t level); // level in hundredths of a decibel, -10000 (silence) to 0 (full)
int32_t SoundVolume(const SoundChunk* chunk);   // the level last set (0 when none was)
void PlaySoundChunk(SoundChunk* chunk);         // plays it once from the start, cutting off a play under way
void StopSoundChunk(SoundChunk* chunk);         // stops it
int MixerVolume(int32_t level);                 // the mixer's 0..128 volume for a level in hundredths of a decibel

// Songs: Standard MIDI files, one playing at a time.
SongData* LoadSongData(const char* name, std::vector<uint8_t> bytes); // null when the bytes are not a Standard MIDI file
void FreeSongData(SongData* song);              // stops and frees it; null is allowed
uint32_t SongLength(const SongData* song);      // milliseconds from its start to its last note
bool StartSong(SongData* song);                 // plays it once from the start, ending any other song; true without a song
bool SongPlaying(const SongData* song);         // started last, and not yet past its last note or stopped
void StopSong(SongData* song);                  // stops it if it is the one playing

// What the headless output recorded (also while muted), oldest first.
struct AudioEvent {
    std::string name;
    uint32_t tick;
    bool muted;
};
const std::vector<AudioEvent>& RecordedSounds(); // every effect started
const std::vector<AudioEvent>& RecordedSongs();  // every song started
void ClearAudioRecord();                          // forgets both

// A meter on the mixed output (tests that really render): it counts from the first sample that is not
// silence, for at most the frames it was started for.
struct OutputLevels {
    uint64_t frames;            // frames measured
    int32_t peak;               // the largest sample magnitude, 0..32768
    uint64_t clipped;           // samples at full scale
    double sum;                 // of every sample: the DC offset is sum / samples
    double squares;             // of every sample squared: the loudness is their mean
    std::vector<double> blocks; // the mean square of each whole block of OUTPUTBLOCK frames, in order
};
enum : uint32_t { OUTPUTBLOCK = 882 };          // 20 ms of output: short enough to find a click's loudness
void StartOutputMeter(uint64_t frames);         // starts measuring afresh, for at most that many frames
OutputLevels OutputMeter();                     // what was measured since
uint32_t OutputRate();                          // frames per second of the mixed output
uint32_t SynthesisersMade();                    // synthesisers made since the output opened: one once songs can play, however many start
