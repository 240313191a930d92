// SDL2_mixer under the audio area (internal to platform/): the output, chunks on channels of their
// own, songs through the FluidSynth back end, and a meter on what is mixed.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio.h"

struct MixerChunk;
struct MixerSong;

bool MixerOpen(const char* soundfonts, std::string* fault); // opens SDL audio and the mixer; true on failure, *fault says why
void MixerClose();                                          // closes the mixer and SDL audio
bool MixerPlaysMidi();                                      // the mixer has its MIDI back end
MixerChunk* MixerCreateChunk(const PcmFormat& format, const uint8_t* data, uint32_t bytes); // converted to the output's format; null on failure
void MixerFreeChunk(MixerChunk* chunk);                     // halts its channel and frees it
void MixerSetVolume(MixerChunk* chunk, int volume);         // 0..128
void MixerPlayChunk(MixerChunk* chunk);                     // restarts it on its channel
void MixerStopChunk(MixerChunk* chunk);                     // halts its channel
void MixerMute(bool muted);                                 // every channel's volume to 0, or back to full
MixerSong* MixerLoadSong(const std::vector<uint8_t>& bytes);  // a MIDI song with a synthesiser of its own, from a copy of the bytes; null on failure; safe off the game's thread
void MixerLeaveThread();                                    // frees what SDL keeps for a thread of ours that ends
void MixerFreeSong(MixerSong* song);                        // halts it if playing and frees it
bool MixerPlaySong(MixerSong* song);                        // plays it once; true on failure
void MixerStopSong();                                       // halts the song
void MixerStartMeter(uint64_t frames);                      // the meter starts afresh, for at most that many frames
OutputLevels MixerMeter();                                  // what it measured since
uint32_t MixerRate();                                       // frames per second of the output
