// SDL2_mixer: the output is fixed at 44.1 kHz 16-bit stereo, each chunk is converted to it once when
// it is made. Songs are rendered by one FluidSynth synthesiser at the output's rate into the mixer's
// music: the soundfont is read once for the run, and a song change only swaps the MIDI player.
#include "platform/mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

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

// The synthesiser: made once (off the game's thread), driven by the audio thread, which renders it
// under synthlock while a song plays or its notes ring on; the game's thread swaps players under it.
// The mixer's own FluidSynth music would make a synthesiser, and read the soundfont, for every song.
constexpr float synthgain = 1.2f;       // the level the mixer's FluidSynth music gives a song at full volume
std::mutex synthlock;
fluid_settings_t* synthsettings = nullptr;
fluid_synth_t* synth = nullptr;
fluid_player_t* player = nullptr;       // the song under way; null when none is
uint32_t synthsmade = 0;

// Runs on the audio thread before the channels are mixed in; the stream is silence until then.
void SDLCALL RenderSong(void*, Uint8* stream, int len)
{
    const std::lock_guard<std::mutex> hold(synthlock);
    // A stopped song falls silent at once, as the mixer's own music does; a song that is over leaves the
    // stream as it is once its last notes have rung out, so silence costs nothing.
    if (!synth || !player ||
        (fluid_player_get_status(player) != FLUID_PLAYER_PLAYING && fluid_synth_get_active_voice_count(synth) == 0))
        return;
    fluid_synth_write_s16(synth, len / 2 / outputchannels, stream, 0, 2, stream, 1, 2);
}

// Ends the song under way and every note it left ringing; under synthlock.
void SilenceSynthesiser()
{
    if (player) {
        fluid_player_stop(player);
        delete_fluid_player(player);
        player = nullptr;
    }
    if (synth)
        fluid_synth_system_reset(synth);
}

void FreeSynthesiser()
{
    const std::lock_guard<std::mutex> hold(synthlock);
    SilenceSynthesiser();
    if (synth)
        delete_fluid_synth(synth);
    if (synthsettings)
        delete_fluid_settings(synthsettings);
    synth = nullptr;
    synthsettings = nullptr;
}

} // namespace

struct MixerChunk {
    Mix_Chunk* chunk;
    std::vector<uint8_t> samples;   // the converted samples the chunk plays from
    int channel;
};

bool MixerOpen(std::string* fault)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        *fault = SDL_GetError();
        return true;
    }
    if (Mix_OpenAudioDevice(outputrate, AUDIO_S16SYS, outputchannels, outputframes, nullptr, 0) != 0) {
        *fault = Mix_GetError();
        QuitSdlAudio();
        return true;
    }
    Mix_AllocateChannels(0);
    channelused.clear();
    channelsmuted = false;
    {
        const std::lock_guard<std::mutex> hold(synthlock);
        synthsmade = 0;
    }
    Mix_HookMusic(RenderSong, nullptr);
    Mix_SetPostMix(Measure, nullptr);
    return false;
}

void MixerClose()
{
    Mix_SetPostMix(nullptr, nullptr);
    Mix_HookMusic(nullptr, nullptr);
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    QuitSdlAudio();
    channelused.clear();
    FreeSynthesiser();
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

bool MixerLoadSynthesiser(const std::vector<std::string>& soundfonts)
{
    FreeSynthesiser();
    fluid_settings_t* const settings = new_fluid_settings();
    if (!settings)
        return true;
    fluid_settings_setnum(settings, "synth.sample-rate", outputrate);
    fluid_synth_t* const made = new_fluid_synth(settings);
    int loaded = 0;
    for (const std::string& path : soundfonts)
        loaded += made && fluid_synth_sfload(made, path.c_str(), 1) != FLUID_FAILED;
    if (loaded == 0) {
        if (made)
            delete_fluid_synth(made);
        delete_fluid_settings(settings);
        return true;
    }
    fluid_synth_set_gain(made, synthgain);
    const std::lock_guard<std::mutex> hold(synthlock);
    synthsettings = settings;
    synth = made;
    synthsmade++;
    return false;
}

bool MixerPlaySong(const std::vector<uint8_t>& bytes)
{
    const std::lock_guard<std::mutex> hold(synthlock);
    SilenceSynthesiser();
    if (!synth)
        return true;
    player = new_fluid_player(synth);
    if (player && fluid_player_add_mem(player, bytes.data(), bytes.size()) == FLUID_OK &&
        fluid_player_play(player) == FLUID_OK)
        return false;
    SilenceSynthesiser();
    return true;
}

void MixerStopSong()
{
    const std::lock_guard<std::mutex> hold(synthlock);
    SilenceSynthesiser();
}

uint32_t MixerSynthesisersMade()
{
    const std::lock_guard<std::mutex> hold(synthlock);
    return synthsmade;
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
