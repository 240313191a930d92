#include "game/shell/prefs.h"

#include <array>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>

#include "common/strutil.h"
#include "game/shell/configfile.h"
#include "game/shell/debuglog.h"
#include "game/shell/music.h"
#include "game/shell/sound.h"
#include "platform/files.h"

namespace {

const char* const prefsfile = "gorvanel.ini";
const char* const prefssection = "Gorvanel Preferences";

// What a fresh install starts with (the name and the volume come later, from the game).
const char* const defaultprefs = "[Gorvanel Preferences]\n"
                                 "\n"
                                 "music=1\n"
                                 "sound=1\n"
                                 "grid=0\n"
                                 "minimap=1\n";

struct Switch {
    const char* key;
    uint8_t* value;
};

enum { SWITCHES = 4 };

// The switches where they live now; a place not set is null.
std::array<Switch, SWITCHES> Switches()
{
    return { {
        { "minimap", prefplaces.minimap },
        { "sound", &soundon },
        { "grid", prefplaces.grid },
        { "music", &musicon },
    } };
}

const char* const otherkeys[] = { "name", "volume" };

bool IsKnownKey(const std::string& key)
{
    for (const Switch& s : Switches())
        if (key == s.key)
            return true;
    for (const char* k : otherkeys)
        if (key == k)
            return true;
    return false;
}

// What the name field accepts from the keyboard: printable characters, at least one not a blank.
bool IsGoodName(const std::string& name)
{
    bool visible = false;
    for (const char c : name) {
        if (c < 0x20 || c > 0x7E)
            return false;
        visible = visible || c != ' ';
    }
    return visible;
}

// The file's text, cut after its last whole line within PREFSMAXBYTES; false when it cannot be read.
bool ReadPrefsText(std::string* text)
{
    std::ifstream in(ResolvePath(prefsfile), std::ios::binary);
    if (!in)
        return false;
    text->assign(PREFSMAXBYTES + 1, '\0');
    in.read(text->data(), PREFSMAXBYTES + 1);
    text->resize((size_t)in.gcount());
    if (text->size() > PREFSMAXBYTES) {
        text->resize(PREFSMAXBYTES);
        const size_t end = text->rfind('\n');
        text->resize(end == std::string::npos ? 0 : end + 1);
        debuglog << "WARNING: " << prefsfile << " is longer than " << PREFSMAXBYTES << " bytes; the rest is ignored\n";
    }
    return true;
}

// The lines of text that the key-value file accepts, each judged alone, under one header that makes
// keys before the file's own first header count too (sections are merged). Every other line, and
// every key the game does not know, is logged and left out.
std::string GoodLines(const std::string& text)
{
    std::string kept = "[]\n";
    std::istringstream in(text);
    std::string line;
    bool overlong = false;
    for (int32_t number = 1;; number++) {
        if (!ReadLine(in, line, CONFIGMAXLINE, &overlong) && !overlong)
            break;
        if (overlong) {
            in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
            debuglog << "WARNING: " << prefsfile << " line " << number << " is too long; skipped\n";
            continue;
        }
        ConfigFile probe;
        probe.SetSectionMode(SECTIONS_MERGED);
        std::istringstream one("[]\n" + line);
        if (!probe.ParseStream(one)) {
            debuglog << "WARNING: " << prefsfile << " line " << number << " is not a setting; skipped\n";
            continue;
        }
        const std::string t = Trim(line);
        const bool keyline = !t.empty() && t[0] != ';' && !(t.front() == '[' && t.back() == ']');
        if (keyline) {
            const std::string key = ToLowerString(Trim(t.substr(0, t.find('='))));
            if (!IsKnownKey(key)) {
                debuglog << "WARNING: " << prefsfile << " line " << number << ": unknown key \"" << key << "\" skipped\n";
                continue;
            }
        }
        kept += line;
        kept += '\n';
    }
    return kept;
}

// atoi's reading (leading digits with a sign, none gives 0), saturating instead of overflowing.
int32_t ReadNumber(const std::string& text)
{
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return (int32_t)value;
}

} // namespace

PreferencePlaces prefplaces = {};

int32_t EnsureIniFile(const std::string& name, CommandScript&)
{
    debuglog << "INI: Processing string " << name << '\n';
    std::ifstream existing(ResolvePath(name.c_str()), std::ios::binary);
    if (existing.is_open()) {
        debuglog << "INI exists.\n";
        return 1;
    }
    debuglog << "Creating INI file.\n";
    if (WriteFileReplacing(name.c_str(), defaultprefs))
        debuglog << "ERROR: Couldn't create " << name << '\n';
    return 1;
}

bool ReadPreferences()
{
    std::string text;
    if (!ReadPrefsText(&text)) {
        debuglog << "WARNING: Couldn't read " << prefsfile << "; the preferences keep their defaults\n";
        return false;
    }
    ConfigFile prefs;
    prefs.SetSectionMode(SECTIONS_MERGED);
    prefs.SetNameMode(KEEPVALUECASE);
    std::istringstream good(GoodLines(text));
    prefs.ParseStream(good);

    for (const Switch& s : Switches()) {
        if (!s.value || !prefs.HasKey("", s.key))
            continue;
        const std::string value = prefs.GetValue("", s.key);
        *s.value = value == "1" ? 1 : 0;
        if (value != "1" && value != "0")
            debuglog << "WARNING: " << prefsfile << ": " << s.key << " = " << value << " reads as off\n";
    }
    if (prefplaces.name && prefs.HasKey("", "name")) {
        const std::string name = prefs.GetValue("", "name");
        if (IsGoodName(name))
            *prefplaces.name = name;
        else
            debuglog << "WARNING: " << prefsfile << ": the name is not printable text; skipped\n";
    }
    if (prefs.HasKey("", "volume"))
        volume = ReadNumber(prefs.GetValue("", "volume"));
    if (volume < MINVOLUME)
        volume = MINVOLUME;
    if (volume > MAXVOLUME)
        volume = MAXVOLUME;
    return false;
}

void WritePreferences()
{
    ConfigFile prefs;
    prefs.AddSection(prefssection);
    prefs.SetValue(prefssection, "music", musicon ? "1" : "0");
    prefs.SetValue(prefssection, "sound", soundon ? "1" : "0");
    if (prefplaces.grid)
        prefs.SetValue(prefssection, "grid", *prefplaces.grid ? "1" : "0");
    if (prefplaces.minimap)
        prefs.SetValue(prefssection, "minimap", *prefplaces.minimap ? "1" : "0");
    // "name = " with nothing after it is a line the file cannot read back: leave an empty name out.
    if (prefplaces.name && IsGoodName(*prefplaces.name))
        prefs.SetValue(prefssection, "name", *prefplaces.name);
    prefs.SetValue(prefssection, "volume", IntToString(volume));
    if (!prefs.Save(prefsfile))
        debuglog << "ERROR: Couldn't save " << prefsfile << '\n';
}
