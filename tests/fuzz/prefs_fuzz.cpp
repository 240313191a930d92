// libFuzzer target: arbitrary bytes as "gorvanel.ini", read at start-up. What is read must be a value
// the game can hold (switches 0 or 1, a printable name, a volume of 0..100), and the file the shutdown
// writes from it must read back to the same preferences.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "game/model/localplayer.h"
#include "game/shell/music.h"
#include "game/shell/prefs.h"
#include "game/shell/sound.h"
#include "game/view/board.h"
#include "game/view/geometry.h"
#include "sandbox.h"

namespace {

struct Prefs {
    uint8_t minimap, sound, grid, music;
    std::string name;
    int32_t volume;

    bool operator==(const Prefs&) const = default;
};

void Set(const Prefs& v)
{
    minimapon = v.minimap;
    soundon = v.sound;
    gridon = v.grid;
    musicon = v.music;
    playername = v.name;
    volume = v.volume;
}

Prefs Current()
{
    return {minimapon, soundon, gridon, musicon, playername, volume};
}

bool Holdable(const Prefs& v)
{
    for (const uint8_t s : {v.minimap, v.sound, v.grid, v.music})
        if (s > 1)
            return false;
    for (const char c : v.name)
        if (c < 0x20 || c > 0x7E)
            return false;
    return v.volume >= MINVOLUME && v.volume <= MAXVOLUME;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const FuzzSandbox sandbox("prefs");
    const std::filesystem::path home = std::filesystem::current_path();
    sandbox.Enter();
    prefplaces = {&minimapon, &gridon, &playername};
    std::ofstream("gorvanel.ini", std::ios::binary | std::ios::trunc).write((const char*)data, (std::streamsize)size);

    const Prefs defaults = {1, 1, 0, 1, "", 100};
    Set(defaults);
    ReadPreferences();
    const Prefs read = Current();
    if (!Holdable(read))
        abort();
    WritePreferences();
    Set(defaults);
    ReadPreferences();
    if (!(Current() == read))
        abort();
    std::filesystem::current_path(home);
    return 0;
}
