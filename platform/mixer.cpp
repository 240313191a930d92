// SDL2_mixer: the output is fixed at 44.1 kHz 16-bit stereo, each chunk is converted to it once when
// it is made, and songs go through the FluidSynth back end only.
#include "platform/mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>

namespace {

constexpr int outputrate = 44100;
constexpr int outputchannels = 2;
constexpr int outputframes = 1024;

std::vector<bool> channelused;
bool channelsmuted = false;

// The meter: written on the audio thread, read on the game's.
std::mutex metered;
OutputLevels levels{};
uint64_t meterframes = 0;       // frames still to measure
bool heard = false;             // the first sample that is not silence has come
double block = 0;               // the squares of the block under way

// Runs on the audio thread after each buffer is mixed; the output is signed 16-bit.
void SDLCALL Measure(void*, Uint8* stream, int len)
{
    const int16_t* const samples = (const int16_t*)stream;
    const int count = len / 2 / outputchannels;
    const std::lock_guard<std::mutex> hold(metered);
    for (int i = 0; i < count && meterframes > 0; i++) {
        const int16_t* const frame = samples + i * outputchannels;
        if (!heard && frame[0] == 0 && frame[1] == 0)
            continue;
        heard = true;
        for (int c = 0; c < outputchannels; c++) {
            const int32_t v = frame[c];
            levels.peak = std::max(levels.peak, v < 0 ? -v : v);
            levels.clipped += v >= 32767 || v <= -32767;
            levels.sum += v;
            levels.squares += (double)v * v;
            block += (double)v * v;
        }
        if (++levels.frames % OUTPUTBLOCK == 0) {
            levels.blocks.push_back(block / (OUTPUTBLOCK * outputchannels));
            block = 0;
        }
        meterframes--;
    }
}

int TakeChannel()
{
    for (size_t i = 0; i < channelused.size(); i++)
        if (!channelused[i]) {
            channelused[i] = true;
            return (int)i;
        }
    channelused.push_back(true);
    const int channel = (int)channelused.size() - 1;
    Mix_AllocateChannels((int)channelused.size());
    Mix_Volume(channel, channelsmuted ? 0 : MIX_MAX_VOLUME);
    return channel;
}

void QuitSdlAudio()
{
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
        SDL_Quit();
}

} // namespace

struct MixerChunk {
    Mix_Chunk* chunk;
    std::vector<uint8_t> samples;   // the converted samples the chunk plays from
    int channel;
};

struct MixerSong {
    std::vector<uint8_t> bytes;     // what the music is read from
    Mix_Music* music;
};

bool MixerOpen(const char* soundfonts, std::string* fault)
{
    // Songs through FluidSynth and the soundfont we name, never another MIDI back end's instruments.
    SDL_SetHint("SDL_MIXER_DISABLE_TIMIDITY", "1");
    SDL_SetHint("SDL_MIXER_DISABLE_NATIVEMIDI", "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        *fault = SDL_GetError();
        return true;
    }
    Mix_SetSoundFonts(soundfonts);
    Mix_Init(MIX_INIT_MID);
    if (Mix_OpenAudioDevice(outputrate, AUDIO_S16SYS, outputchannels, outputframes, nullptr, 0) != 0) {
        *fault = Mix_GetError();
        Mix_Quit();
        QuitSdlAudio();
        return true;
    }
    Mix_AllocateChannels(0);
    channelused.clear();
    channelsmuted = false;
    Mix_SetPostMix(Measure, nullptr);
    return false;
}

void MixerClose()
{
    Mix_SetPostMix(nullptr, nullptr);
    Mix_HaltMusic();
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    Mix_Quit();
    QuitSdlAudio();
    channelused.clear();
}

bool MixerPlaysMidi()
{
    return (Mix_Init(0) & MIX_INIT_MID) != 0;
}

MixerChunk* MixerCreateChunk(const PcmFormat& format, const uint8_t* data, uint32_t bytes)
{
    SDL_AudioStream* const stream = SDL_NewAudioStream(format.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB,
                                                       (Uint8)format.channels, (int)format.rate, AUDIO_S16SYS,
                                                       outputchannels, outputrate);
    if (!stream)
        return nullptr;
    MixerChunk* const chunk = new MixerChunk{nullptr, {}, -1};
    if (SDL_AudioStreamPut(stream, data, (int)bytes) == 0 && SDL_AudioStreamFlush(stream) == 0) {
        chunk->samples.resize((size_t)SDL_AudioStreamAvailable(stream));
        const int got = SDL_AudioStreamGet(stream, chunk->samples.data(), (int)chunk->samples.size());
        chunk->samples.resize(got > 0 ? (size_t)got : 0);
    }
    SDL_FreeAudioStream(stream);
    if (!chunk->samples.empty())
        chunk->chunk = Mix_QuickLoad_RAW(chunk->samples.data(), (Uint32)chunk->samples.size());
    if (!chunk->chunk) {
        delete chunk;
        return nullptr;
    }
    chunk->channel = TakeChannel();
    return chunk;
}

void MixerFreeChunk(MixerChunk* chunk)
{
    Mix_HaltChannel(chunk->channel);
    Mix_FreeChunk(chunk->chunk);
    if (chunk->channel >= 0 && (size_t)chunk->channel < channelused.size())
        channelused[chunk->channel] = false;
    delete chunk;
}

void MixerSetVolume(MixerChunk* chunk, int volume)
{
    Mix_VolumeChunk(chunk->chunk, volume);
}

void MixerPlayChunk(MixerChunk* chunk)
{
    // A channel that is playing is cut off and starts again.
    Mix_PlayChannel(chunk->channel, chunk->chunk, 0);
}

void MixerStopChunk(MixerChunk* chunk)
{
    Mix_HaltChannel(chunk->channel);
}

void MixerMute(bool muted)
{
    channelsmuted = muted;
    if (!channelused.empty())
        Mix_Volume(-1, muted ? 0 : MIX_MAX_VOLUME);
}

MixerSong* MixerLoadSong(const std::vector<uint8_t>& bytes)
{
    MixerSong* const song = new MixerSong{bytes, nullptr};
    SDL_RWops* const source = SDL_RWFromConstMem(song->bytes.data(), (int)song->bytes.size());
    if (source)
        song->music = Mix_LoadMUSType_RW(source, MUS_MID, 1);
    if (!song->music) {
        delete song;
        return nullptr;
    }
    return song;
}

void MixerLeaveThread()
{
    SDL_TLSCleanup();
}

void MixerFreeSong(MixerSong* song)
{
    Mix_FreeMusic(song->music);
    delete song;
}

bool MixerPlaySong(MixerSong* song)
{
    return Mix_PlayMusic(song->music, 0) != 0;
}


void MixerStopSong()
{
    Mix_HaltMusic();
}

void MixerStartMeter(const uint64_t frames)
{
    const std::lock_guard<std::mutex> hold(metered);
    levels = OutputLevels{};
    meterframes = frames;
    heard = false;
    block = 0;
}

OutputLevels MixerMeter()
{
    const std::lock_guard<std::mutex> hold(metered);
    return levels;
}

uint32_t MixerRate()
{
    return outputrate;
}
