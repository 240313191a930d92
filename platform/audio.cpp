// Audio over whichever output runs: the mixer, a silent one (no device), or the headless recorder.
#include "platform/audio.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/midifile.h"
#include "platform/mixer.h"
#include "platform/window.h"

namespace {

// Limits of what an effect may be: the formats the output converts, and rates a sound really has.
constexpr uint32_t minrate = 100;
constexpr uint32_t maxrate = 200000;

const char* const debiansoundfont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

enum AudioMode {
    AUDIO_RECORDING,    // no output is opened; starts are recorded (headless, or nothing opened yet)
    AUDIO_SILENT,       // the SDL back end found no device
    AUDIO_MIXER,        // SDL2_mixer plays
};

int opens = 0;
AudioMode mode = AUDIO_RECORDING;
std::string fault;
bool songsaudible = false;
bool muted = false;

// What is alive when the output closes loses its mixer half, so nothing outlives the mixer.
std::vector<SoundChunk*> chunks;
std::vector<SongData*> songs;

SongData* current = nullptr;
uint32_t startedat = 0;

std::vector<AudioEvent> recordedsounds;
std::vector<AudioEvent> recordedsongs;

void Record(std::vector<AudioEvent>& record, const std::string& name)
{
    if (mode == AUDIO_RECORDING)
        record.push_back({name, GetTicks(), muted});
}

// The soundfont the synthesiser loads, the first of the list (paths separated by ';'), can be read.
bool SoundFontFound(const char* paths)
{
    std::istringstream list(paths);
    std::string first;
    std::getline(list, first, ';');
    return !first.empty() && access(first.c_str(), R_OK) == 0;
}

template <typename T>
void Forget(std::vector<T*>& live, T* item)
{
    live.erase(std::remove(live.begin(), live.end(), item), live.end());
}

} // namespace

struct SoundChunk {
    std::string name;
    int32_t level;
    MixerChunk* mixed;      // null unless the mixer plays it
};

struct SongData {
    std::string name;
    std::vector<uint8_t> bytes;
    uint32_t lengthms;
    MixerSong* mixed;       // null when songs are silent: it then plays for its length on the clock
};

bool OpenAudio()
{
    if (opens++ > 0)
        return mode == AUDIO_SILENT;
    fault.clear();
    songsaudible = false;
    if (PlatformRunning() && PlatformBackend() == BACKEND_SDL) {
        if (MixerOpen(SoundFontPaths(), &fault)) {
            mode = AUDIO_SILENT;
        } else {
            mode = AUDIO_MIXER;
            songsaudible = MixerPlaysMidi() && SoundFontFound(SoundFontPaths());
            MixerMute(muted);
        }
    } else {
        mode = AUDIO_RECORDING;
    }
    return mode == AUDIO_SILENT;
}

void CloseAudio()
{
    if (opens == 0 || --opens > 0)
        return;
    if (mode == AUDIO_MIXER) {
        for (SoundChunk* chunk : chunks)
            if (chunk->mixed) {
                MixerFreeChunk(chunk->mixed);
                chunk->mixed = nullptr;
            }
        for (SongData* song : songs)
            if (song->mixed) {
                MixerFreeSong(song->mixed);
                song->mixed = nullptr;
            }
        MixerClose();
    }
    current = nullptr;
    mode = AUDIO_RECORDING;
    songsaudible = false;
}

const char* AudioFault()
{
    return fault.c_str();
}

bool SongsSilent()
{
    return mode == AUDIO_SILENT || (mode == AUDIO_MIXER && !songsaudible);
}

const char* SoundFontPaths()
{
    const char* const chosen = getenv("SDL_SOUNDFONTS");
    return chosen && *chosen ? chosen : debiansoundfont;
}

void MuteSounds(bool mute)
{
    muted = mute;
    if (mode == AUDIO_MIXER)
        MixerMute(mute);
}

bool SoundsMuted()
{
    return muted;
}

SoundChunk* CreateSoundChunk(const char* name, const PcmFormat& format, const uint8_t* data, uint32_t bytes)
{
    const uint32_t framebytes = (uint32_t)format.channels * format.bits / 8;
    if (!data || (format.channels != 1 && format.channels != 2) || (format.bits != 8 && format.bits != 16) ||
        format.rate < minrate || format.rate > maxrate || bytes < framebytes)
        return nullptr;
    SoundChunk* const chunk = new SoundChunk{name ? name : "", 0, nullptr};
    if (mode == AUDIO_MIXER) {
        chunk->mixed = MixerCreateChunk(format, data, bytes - bytes % framebytes);
        if (!chunk->mixed) {
            delete chunk;
            return nullptr;
        }
    }
    chunks.push_back(chunk);
    return chunk;
}

void FreeSoundChunk(SoundChunk* chunk)
{
    if (!chunk)
        return;
    if (chunk->mixed)
        MixerFreeChunk(chunk->mixed);
    Forget(chunks, chunk);
    delete chunk;
}

int MixerVolume(int32_t level)
{
    // Hundredths of a decibel to an amplitude: -600 halves it, -10000 is silence.
    if (level >= 0)
        return 128;
    if (level <= -10000)
        return 0;
    return (int)std::lround(128.0 * std::pow(10.0, level / 2000.0));
}

void SetSoundVolume(SoundChunk* chunk, int32_t level)
{
    if (!chunk)
        return;
    chunk->level = std::clamp(level, -10000, 0);
    if (chunk->mixed)
        MixerSetVolume(chunk->mixed, MixerVolume(chunk->level));
}

int32_t SoundVolume(const SoundChunk* chunk)
{
    return chunk ? chunk->level : 0;
}

void PlaySoundChunk(SoundChunk* chunk)
{
    if (!chunk)
        return;
    Record(recordedsounds, chunk->name);
    if (chunk->mixed)
        MixerPlayChunk(chunk->mixed);
}

void StopSoundChunk(SoundChunk* chunk)
{
    if (chunk && chunk->mixed)
        MixerStopChunk(chunk->mixed);
}

SongData* LoadSongData(const char* name, std::vector<uint8_t> bytes)
{
    uint32_t length = 0;
    if (MeasureMidiFile(bytes.data(), bytes.size(), &length))
        return nullptr;
    SongData* const song = new SongData{name ? name : "", std::move(bytes), length, nullptr};
    if (mode == AUDIO_MIXER && songsaudible) {
        song->mixed = MixerLoadSong(song->bytes);
        if (!song->mixed) {
            delete song;
            return nullptr;
        }
    }
    songs.push_back(song);
    return song;
}

void FreeSongData(SongData* song)
{
    if (!song)
        return;
    StopSong(song);
    if (song->mixed)
        MixerFreeSong(song->mixed);
    Forget(songs, song);
    delete song;
}

uint32_t SongLength(const SongData* song)
{
    return song ? song->lengthms : 0;
}

bool StartSong(SongData* song)
{
    if (!song)
        return true;
    if (current && current != song)
        StopSong(current);
    current = song;
    startedat = GetTicks();
    Record(recordedsongs, song->name);
    if (song->mixed && MixerPlaySong(song->mixed)) {
        current = nullptr;
        return true;
    }
    return false;
}

bool SongPlaying(const SongData* song)
{
    if (!song || song != current)
        return false;
    if (song->mixed)
        return MixerSongPlaying();
    return GetTicks() - startedat < song->lengthms;
}

void StopSong(SongData* song)
{
    if (!song || song != current)
        return;
    if (song->mixed)
        MixerStopSong();
    current = nullptr;
}

const std::vector<AudioEvent>& RecordedSounds()
{
    return recordedsounds;
}

const std::vector<AudioEvent>& RecordedSongs()
{
    return recordedsongs;
}

void ClearAudioRecord()
{
    recordedsounds.clear();
    recordedsongs.clear();
}

void StartOutputMeter(const uint64_t frames)
{
    MixerStartMeter(frames);
}

OutputLevels OutputMeter()
{
    return MixerMeter();
}

uint32_t OutputRate()
{
    return MixerRate();
}
