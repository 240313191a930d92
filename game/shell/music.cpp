// Songs and the rule that picks what plays.
#include "game/shell/music.h"

#include <vector>

#include "game/shell/debuglog.h"
#include "game/shell/sound.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/files.h"

namespace {

// The lull rotation never starts a lull within this long of the last one.
constexpr uint32_t lullgapms = 1000;

const char* const songfiles[SONGCOUNT] = {
    ".\\Music\\Lull1.mid", ".\\Music\\Lull2.mid", ".\\Music\\Lull3.mid", ".\\Music\\Menu.mid",
    ".\\Music\\Night.mid", ".\\Music\\Load.mid", ".\\Music\\Idle.mid",
};

enum : size_t { MAXSONGFILE = 1 << 20 };    // a MIDI song is a few kilobytes; a larger file is refused

// A song file's bytes; true when it cannot be read.
bool ReadSongFile(const char* path, std::vector<uint8_t>& bytes)
{
    return ReadWholeFile(path, MAXSONGFILE, bytes);
}

// Songs that go unheard for want of a soundfont are told once: found when the output opens, or when the
// first song cannot read it. No device at all was told when the output opened.
bool toldsilent = false;

void TellSilentSongs()
{
    if (toldsilent || !musicready || !SongsSilent() || *AudioFault())
        return;
    debuglog << "No soundfont readable in " << SoundFontPaths() << ": the songs are silent.\n";
    toldsilent = true;
}

} // namespace

uint8_t musicready = 0;
Song* songs[SONGCOUNT + 1] = {};
int32_t songcount = 0;
int32_t currentlull = 0;
uint32_t lastsongtick = 0xFFFFFFFF;
uint8_t musicon = 1;

bool LoadSong(Song* song, const char* path)
{
    std::vector<uint8_t> bytes;
    if (ReadSongFile(path, bytes))
        return true;
    SongData* const data = LoadSongData(path, std::move(bytes));
    if (!data)
        return true;
    FreeSongData(song->segment);
    song->segment = data;
    song->loaded = 1;
    return false;
}

bool LoadMusic()
{
    debuglog << "LoadMusic: Loading Music.\n";
    if (!musicready) {
        // Without a device, or a soundfont, the songs still keep their time: the game goes on silent.
        OpenGameAudio();
        musicready = 1;
        TellSilentSongs();
    }
    debuglog << "Allocating music\n";
    songcount = SONGCOUNT;
    for (int32_t i = 0; i < songcount; i++) {
        if (!songs[i])
            songs[i] = new Song{nullptr, 0};
        // A missing or broken song is left out: the rotation passes over it and the screens go without.
        if (!songs[i]->loaded && LoadSong(songs[i], songfiles[i]))
            debuglog << "Caught " << songfiles[i] << " in LoadMusic.\n";
    }
    debuglog << "Finished allocating music.\n";
    return false;
}

bool PlaySegment(Song* song)
{
    if (!song || !song->loaded)
        return true;
    return StartSong(song->segment);
}

bool IsSongPlaying(const Song* song, bool expected)
{
    const bool playing = song && song->loaded && SongPlaying(song->segment);
    return playing == expected;
}

void StopAllSongs()
{
    for (int32_t i = 0; i < songcount; i++)
        if (songs[i] && songs[i]->loaded)
            StopSong(songs[i]->segment);
}

bool PlaySong(int32_t n)
{
    if (!musicon)
        return false;
    TellSilentSongs();
    if (n == SONG_LULLS) {
        if (IsSongPlaying(songs[currentlull], true))
            return false;
        if (GetTicks() - lastsongtick <= lullgapms)
            return false;
        currentlull = (currentlull + 1) % 3;
        PlaySegment(songs[currentlull]);
        lastsongtick = GetTicks();
        return true;
    }
    if (n < 0 || n >= songcount)
        return false;
    // A song whose file was left out was logged once, at start-up.
    if (!songs[n] || !songs[n]->loaded || IsSongPlaying(songs[n], true))
        return false;
    if (PlaySegment(songs[n]))
        debuglog << "Failed to play song" << n << '\n';
    return true;
}

void FreeMusic()
{
    StopAllSongs();
    for (int32_t i = 0; i < SONGCOUNT; i++) {
        if (songs[i])
            FreeSongData(songs[i]->segment);
        delete songs[i];
        songs[i] = nullptr;
    }
    songcount = 0;
    if (musicready) {
        CloseAudio();
        musicready = 0;
        toldsilent = false;
    }
}
