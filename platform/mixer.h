// SDL2_mixer under the audio area (internal to platform/): the output, chunks on channels of their
// own, songs through one FluidSynth synthesiser mixed in as the mixer's music, and a meter on what is
// mixed.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio.h"

struct MixerChunk;

bool MixerOpen(std::string* fault);                         // opens SDL audio and the mixer; true on failure, *fault says why
void MixerClose();                                          // closes the mixer and SDL audio, and frees the synthesiser
MixerChunk* MixerCreateChunk(const PcmFormat& format, const uint8_t* data, uint32_t bytes); // converted to the output's format; null on failure
void MixerFreeChunk(MixerChunk* chunk);                     // halts its channel and frees it
void MixerSetVolume(MixerChunk* chunk, int volume);         // 0..128
void MixerPlayChunk(MixerChunk* chunk);                     // restarts it on its channel
void MixerStopChunk(MixerChunk* chunk);                     // halts its channel
void MixerMute(bool muted);                                 // every channel's volume to 0, or back to full
bool MixerLoadSynthesiser(const std::vector<std::string>& soundfonts); // makes the one synthesiser songs share and reads the soundfonts into it; true when none could be read; safe off the game's thread
bool MixerPlaySong(const std::vector<uint8_t>& bytes);      // the synthesiser plays a Standard MIDI file once from its start, cutting off what it played; true on failure
void MixerStopSong();                                       // the synthesiser falls silent
uint32_t MixerSynthesisersMade();                           // synthesisers made since the mixer opened
void MixerStartMeter(uint64_t frames);                      // the meter starts afresh, for at most that many frames
OutputLevels MixerMeter();                                  // what it measured since
uint32_t MixerRate();                                       // frames per second of the output
