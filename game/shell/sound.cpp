// The sound cache: a list searched from the front, a sound that is played more than the one before it
// moving one place forward each time.
#include "game/shell/sound.h"

#include <algorithm>
#include <vector>

#include "common/module.h"
#include "game/shell/debuglog.h"
#include "game/shell/wavefile.h"
#include "platform/audio.h"

Module* soundmodule = nullptr;
uint8_t soundready = 0;
SoundEntry* soundcache = nullptr;
uint8_t soundon = 1;
int32_t volume = 100;
std::vector<std::string> soundsplayed;

namespace {

// The volume option as a level in hundredths of a decibel: 0 at 100, -3000 at 0.
int32_t VolumeLevel()
{
    return (100 - std::clamp(volume, 0, 100)) * -30;
}

SoundEntry* CacheSound(const char* name)
{
    SoundEntry* const entry = new SoundEntry{new SoundBuffer{nullptr, 0}, name, 0, nullptr};
    ResLoad(entry->sound, name, soundmodule);
    // The chunk holds its own samples: the module's stay in the file until the next sound is read.
    ReleaseModulePages(soundmodule);
    if (entry->sound->buffer && entry->sound->loaded)
        SetSoundVolume(entry->sound->buffer, VolumeLevel());
    return entry;
}

SoundEntry* PlayCached(SoundEntry* entry, const char* name)
{
    // New sounds join at the end.
    if (!entry)
        entry = CacheSound(name);
    if (entry->name == name) {
        if (entry->sound->buffer && entry->sound->loaded)
            PlaySoundChunk(entry->sound->buffer);
        entry->hits++;
        return entry;
    }
    entry->next = PlayCached(entry->next, name);
    SoundEntry* const after = entry->next;
    if (after && entry->hits < after->hits) {
        entry->next = after->next;
        after->next = entry;
        return after;
    }
    return entry;
}

const char* Refuse(const char* name, const Module* module, const char* why, const char* status)
{
    // Without a module (tests of the rules) every sound is missing; that is no news.
    if (module)
        debuglog << "ERROR: Sound " << name << " not loaded: " << why << ".\n";
    return status;
}

} // namespace

bool OpenGameAudio()
{
    static bool told = false;
    const bool silent = OpenAudio();
    if (silent && !told) {
        debuglog << "No audio device (" << AudioFault() << "): the game runs silent.\n";
        told = true;
    }
    return silent;
}

bool CreateSoundDevice()
{
    if (soundready)
        return false;
    OpenGameAudio();
    soundready = 1;
    return false;
}

void ReleaseSoundDevice()
{
    if (!soundready)
        return;
    CloseAudio();
    soundready = 0;
}

bool DSoundGO()
{
    debuglog << "DSoundGO: Init sound.\n";
    soundmodule = OpenModule("tavel.dll");
    if (!soundmodule)
        return true;
    return CreateSoundDevice();
}

const char* ResLoad(SoundBuffer* record, const char* name, const Module* module)
{
    WaveFile wave;
    if (wave.Open(name, module) != WAVE_OK)
        return Refuse(name, module, wave.Fault(), "Can't open the resource!");
    const WaveFormat& format = *wave.Format();
    if (const char* const why = UnplayableWave(format, wave.GetSize()))
        return Refuse(name, module, why, "Can't create the sound buffer!");

    std::vector<uint8_t> samples(wave.GetSize());
    uint32_t count = 0;
    if (wave.Read(samples.data(), (uint32_t)samples.size(), &count) != WAVE_OK || count != samples.size())
        return Refuse(name, module, "its samples cannot be read", "Can't lock the sound buffer for writing!");
    wave.Close();
    record->buffer = CreateSoundChunk(name, PcmFormat{format.channels, format.samplespersec, format.bitspersample},
                                      samples.data(), count);
    if (!record->buffer)
        return Refuse(name, module, "the output cannot take it", "Can't create the sound buffer!");
    record->loaded = 1;
    return "ResLoad run successfully.";
}

SoundEntry* PlaySoundFile(SoundEntry* head, const char* name)
{
    if (!name)
        return head;
    soundsplayed.emplace_back(name);
    return PlayCached(head, name);
}

bool PlaySfx(const char* name)
{
    if (soundon)
        soundcache = PlaySoundFile(soundcache, name);
    return false;
}

void DeleteSoundEntries()
{
    while (soundcache) {
        SoundEntry* const entry = soundcache;
        debuglog << "Deleting Sound Entry: hits=" << entry->hits << "\tname=" << entry->name << '\n';
        if (entry->sound->buffer && entry->sound->loaded)
            StopSoundChunk(entry->sound->buffer);
        FreeSoundChunk(entry->sound->buffer);
        delete entry->sound;
        soundcache = entry->next;
        delete entry;
    }
    CloseModule(soundmodule);
    soundmodule = nullptr;
    ReleaseSoundDevice();
}
