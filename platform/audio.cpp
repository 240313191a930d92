// Audio over whichever output runs: the mixer, a silent one (no device), or the headless recorder.
#include "platform/audio.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <atomic>
#include <future>
#include <mutex>

#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/midifile.h"
#include "platform/mixer.h"
#include "platform/window.h"

struct SoundChunk {
    std::string name;
    int32_t level;
    MixerChunk* mixed;      // null unless the mixer plays it
};

struct SongData {
    std::string name;
    std::vector<uint8_t> bytes;
    uint32_t lengthms;      // it plays for this long on the clock, heard or not
};

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
bool muted = false;

// What is alive when the output closes loses its mixer half, so nothing outlives the mixer.
std::vector<SoundChunk*> chunks;

// The song playing and when it started. A song's synthesiser holds its own copy of the soundfont, so
// one is made for each start (off the game's thread: reading a soundfont takes a tenth of a second)
// and freed when its song stops or another starts; its song's time starts when it starts playing.
std::mutex songlock;                    // the worker that makes a synthesiser plays it under it
SongData* current = nullptr;
uint32_t startedat = 0;
uint32_t startcount = 0;                // songs started so far: a synthesiser made late is freed
MixerSong* synthesiser = nullptr;       // the one playing
bool awaited = false;                   // the song playing waits for its synthesiser: its time has not begun
std::vector<std::future<void>> makers;  // workers making synthesisers
std::atomic<bool> songsaudible{false};

std::vector<AudioEvent> recordedsounds;
std::vector<AudioEvent> recordedsongs;

void Record(std::vector<AudioEvent>& record, const std::string& name)
{
    if (mode == AUDIO_RECORDING)
        record.push_back({name, GetTicks(), muted});
}

// Every soundfont of the list (separated by ';' or ':', as the mixer reads it) is a regular file that
// starts as a soundfont does. What is not one would fail each song as it starts.
bool SoundFontsReadable(const char* paths)
{
    const std::string list = paths;
    size_t start = 0;
    int found = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find_first_of(";:", start), list.size());
        const std::string path = list.substr(start, end - start);
        start = end + 1;
        if (path.empty())
            continue;
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error))
            return false;
        char head[12] = {};
        std::ifstream file(path, std::ios::binary);
        if (!file.read(head, sizeof head) || memcmp(head, "RIFF", 4) != 0 || memcmp(head + 8, "sfbk", 4) != 0)
            return false;
        found++;
    }
    return found > 0;
}

// Stops the synthesiser and frees it; under songlock.
void DropSynthesiser()
{
    if (synthesiser) {
        MixerStopSong();
        MixerFreeSong(synthesiser);
        synthesiser = nullptr;
    }
}

// Makes a synthesiser for start number `start` and plays it, unless another song started meanwhile.
// A soundfont it cannot read leaves every song silent.
void MakeSynthesiser(const std::vector<uint8_t> bytes, const uint32_t start)
{
    MixerSong* const made = MixerLoadSong(bytes);
    MixerLeaveThread();
    const std::lock_guard<std::mutex> hold(songlock);
    if (start != startcount || !current) {
        if (made)
            MixerFreeSong(made);
        songsaudible = songsaudible && made;
        return;
    }
    awaited = false;
    startedat = GetTicks();
    if (!made) {
        songsaudible = false;
        return;
    }
    synthesiser = made;
    if (MixerPlaySong(synthesiser))
        DropSynthesiser();
}

// Waits for the workers that are done, or for all of them; never under songlock.
void JoinMakers(const bool all)
{
    std::erase_if(makers, [all](std::future<void>& maker) {
        if (!all && maker.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            return false;
        maker.get();
        return true;
    });
}

template <typename T>
void Forget(std::vector<T*>& live, T* item)
{
    live.erase(std::remove(live.begin(), live.end(), item), live.end());
}

} // namespace

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
            songsaudible = MixerPlaysMidi() && SoundFontsReadable(SoundFontPaths());
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
        JoinMakers(true);
        const std::lock_guard<std::mutex> hold(songlock);
        DropSynthesiser();
        MixerClose();
    }
    current = nullptr;
    awaited = false;
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
    return new SongData{name ? name : "", std::move(bytes), length};
}

void FreeSongData(SongData* song)
{
    if (!song)
        return;
    StopSong(song);
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
    JoinMakers(false);
    const std::lock_guard<std::mutex> hold(songlock);
    DropSynthesiser();
    current = song;
    startedat = GetTicks();
    startcount++;
    Record(recordedsongs, song->name);
    awaited = mode == AUDIO_MIXER && songsaudible;
    if (awaited)
        makers.push_back(std::async(std::launch::async, MakeSynthesiser, song->bytes, startcount));
    return false;
}

bool SongPlaying(const SongData* song)
{
    const std::lock_guard<std::mutex> hold(songlock);
    return song && song == current && (awaited || GetTicks() - startedat < song->lengthms);
}

void StopSong(SongData* song)
{
    const std::lock_guard<std::mutex> hold(songlock);
    if (!song || song != current)
        return;
    DropSynthesiser();
    current = nullptr;
    awaited = false;
    startcount++;
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
