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

// The song playing and when it started. Songs share one synthesiser, made once when the first song
// starts (off the game's thread: reading a soundfont takes a tenth of a second, and none is read before
// a song is wanted); a song started before it is made waits for it, and its time starts when it starts
// playing.
std::mutex songlock;                    // the worker that makes the synthesiser starts the waiting song under it
SongData* current = nullptr;
uint32_t startedat = 0;
bool awaited = false;                   // the song playing waits for the synthesiser: its time has not begun
bool synthready = false;                // the synthesiser is made
std::atomic<bool> songsaudible{false};
std::vector<std::string> soundfonts;    // what the synthesiser reads
std::future<void> maker;                // the worker making the synthesiser

std::vector<AudioEvent> recordedsounds;
std::vector<AudioEvent> recordedsongs;

void Record(std::vector<AudioEvent>& record, const std::string& name)
{
    if (mode == AUDIO_RECORDING)
        record.push_back({name, GetTicks(), muted});
}

// The soundfonts of a list separated by ';' or ':', as $SDL_SOUNDFONTS gives them.
std::vector<std::string> SoundFontList(const char* paths)
{
    const std::string list = paths;
    std::vector<std::string> found;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find_first_of(";:", start), list.size());
        if (end > start)
            found.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return found;
}

// Every soundfont of the list is a regular file that starts as a soundfont does. What is not one would
// leave every song silent.
bool SoundFontsReadable(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error))
            return false;
        char head[12] = {};
        std::ifstream file(path, std::ios::binary);
        if (!file.read(head, sizeof head) || memcmp(head, "RIFF", 4) != 0 || memcmp(head + 8, "sfbk", 4) != 0)
            return false;
    }
    return !paths.empty();
}

// Makes the synthesiser and starts the song that waits for it. A soundfont it cannot read leaves every
// song silent.
void MakeSynthesiser(const std::vector<std::string> soundfonts)
{
    const bool failed = MixerLoadSynthesiser(soundfonts);
    const std::lock_guard<std::mutex> hold(songlock);
    synthready = !failed;
    songsaudible = songsaudible && !failed;
    if (!awaited)
        return;
    awaited = false;
    startedat = GetTicks();
    if (!failed)
        MixerPlaySong(current->bytes);
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
        if (MixerOpen(&fault)) {
            mode = AUDIO_SILENT;
        } else {
            mode = AUDIO_MIXER;
            soundfonts = SoundFontList(SoundFontPaths());
            songsaudible = SoundFontsReadable(soundfonts);
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
        if (maker.valid())
            maker.get();
        const std::lock_guard<std::mutex> hold(songlock);
        MixerClose();
        synthready = false;
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
    const std::lock_guard<std::mutex> hold(songlock);
    current = song;
    startedat = GetTicks();
    Record(recordedsongs, song->name);
    awaited = false;
    if (mode == AUDIO_MIXER && songsaudible) {
        if (synthready) {
            MixerPlaySong(song->bytes);
        } else {
            awaited = true;
            if (!maker.valid())
                maker = std::async(std::launch::async, MakeSynthesiser, soundfonts);
        }
    }
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
    if (synthready)
        MixerStopSong();
    current = nullptr;
    awaited = false;
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

uint32_t SynthesisersMade()
{
    return MixerSynthesisersMade();
}
