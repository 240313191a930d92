// Preferences: the options and the player's name kept between runs in "gorvanel.ini" (section
// "Gorvanel Preferences", keys "minimap", "sound", "grid", "music", "name", "volume").
//
// The start-up script creates the file when it is missing, start-up reads it and the shutdown writes
// it back. Reading keeps every good line of a damaged file: a bad line, an unknown key or a bad value
// is logged and skipped, and what is not read keeps its value in memory. The switches and the volume
// live with their users: soundon, volume (sound), musicon (music), and above the shell minimapon,
// gridon (view) and the name with the local player (playername), which the game's start-up points
// prefplaces at.
#pragma once
#include <cstdint>
#include <string>

class CommandScript;

enum { MINVOLUME = 0, MAXVOLUME = 100 };
enum { PREFSMAXBYTES = 65536 };         // more of a file is not read

// Where the preferences kept above the shell live; a key whose place is null is neither read nor written.
struct PreferencePlaces {
    uint8_t* minimap;                   // the "minimap" switch
    uint8_t* grid;                      // the "grid" switch
    std::string* name;                  // the "name"
};
extern PreferencePlaces prefplaces;     // none until start-up sets them

int32_t EnsureIniFile(const std::string& name, CommandScript& script); // script command "ini": writes the default file when missing; goes on
bool ReadPreferences();                 // start-up step 2; false
void WritePreferences();                // the shutdown's first step: saves every preference
