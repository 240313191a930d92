// libFuzzer target: arbitrary bytes as a song of Music/, loaded the way the music player loads one:
// every chunk and event walked and the song's length measured from its tempo map.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/audio.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SongData* const song = LoadSongData("song", std::vector<uint8_t>(data, data + size));
    SongLength(song);
    FreeSongData(song);
    return 0;
}
