// The preferences file: the fresh install, reading good and damaged files, the byte-exact save.
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;

#include "game/model/localplayer.h"
#include "game/shell/commandscript.h"
#include "game/shell/debuglog.h"
#include "game/shell/music.h"
#include "game/shell/prefs.h"
#include "game/shell/sound.h"
#include "game/view/board.h"
#include "game/view/geometry.h"
#include "tempdir.h"

namespace {

const char* const freshfile = "[Gorvanel Preferences]\n\nmusic=1\nsound=1\ngrid=0\nminimap=1\n";

struct Prefs {
    uint8_t minimap, sound, grid, music;
    const char* name;
    int32_t vol;
};

void SetPrefs(const Prefs& v)
{
    minimapon = v.minimap;
    soundon = v.sound;
    gridon = v.grid;
    musicon = v.music;
    playername = v.name;
    volume = v.vol;
}

void ExpectPrefs(const Prefs& want, const char* what)
{
    EXPECT_EQ(minimapon, want.minimap) << what;
    EXPECT_EQ(soundon, want.sound) << what;
    EXPECT_EQ(gridon, want.grid) << what;
    EXPECT_EQ(musicon, want.music) << what;
    EXPECT_EQ(playername, want.name) << what;
    EXPECT_EQ(volume, want.vol) << what;
}

// What the globals hold before each read: the game's defaults, or their opposites to see a change.
const Prefs defaults = { 1, 1, 0, 1, "", 100 };
const Prefs opposite = { 0, 0, 1, 0, "Old", 55 };

class PrefsTest : public InTempDir {
protected:
    void SetUp() override
    {
        InTempDir::SetUp();
        saved = { minimapon, soundon, gridon, musicon, "", volume };
        savedname = playername;
        prefplaces = { &minimapon, &gridon, &playername };     // as the game's start-up places them
        log.clear();
        CaptureDebugLog(&log);
    }
    void TearDown() override
    {
        prefplaces = {};
        CaptureDebugLog(nullptr);
        SetPrefs(saved);
        playername = savedname;
        InTempDir::TearDown();
    }
    Prefs saved;
    std::string savedname;
    std::string log;
};

TEST_F(PrefsTest, FreshInstallWritesTheDefaultFileThenReadsIt)
{
    CommandScript script;
    EXPECT_EQ(EnsureIniFile("gorvanel.ini", script), 1);
    EXPECT_EQ(ReadText("gorvanel.ini"), freshfile);
    EXPECT_EQ(log, "INI: Processing string gorvanel.ini\nCreating INI file.\n");
    SetPrefs({ 0, 0, 1, 0, "", 100 });
    EXPECT_FALSE(ReadPreferences());
    ExpectPrefs(defaults, "fresh install");
}

TEST_F(PrefsTest, ExistingFileIsLeftAlone)
{
    WriteText("gorvanel.ini", "[x]\nsound=0\n");
    CommandScript script;
    EXPECT_EQ(EnsureIniFile("gorvanel.ini", script), 1);
    EXPECT_EQ(ReadText("gorvanel.ini"), "[x]\nsound=0\n");
    EXPECT_EQ(log, "INI: Processing string gorvanel.ini\nINI exists.\n");
}

struct ReadCase {
    const char* name;
    std::string text;
    Prefs before;
    Prefs after;
    const char* logged;                 // a part of the log, or null for no warning at all
};

// Parameters print as their names.
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

const std::vector<ReadCase> readcases = {
    { "EverythingSet", "[Gorvanel Preferences]\nsound = 0\nvolume = 40\nminimap = 0\ngrid = 1\nmusic = 0\nname = Bob\n",
      defaults, { 0, 0, 1, 0, "Bob", 40 }, nullptr },
    { "VolumeAboveRange", "[P]\nvolume=250\n", defaults, { 1, 1, 0, 1, "", 100 }, nullptr },
    { "VolumeBelowRange", "[P]\nvolume=-4\n", defaults, { 1, 1, 0, 1, "", 0 }, nullptr },
    { "VolumeWithoutDigits", "[P]\nvolume=loud\n", defaults, { 1, 1, 0, 1, "", 0 }, nullptr },
    { "VolumeDigitsThenText", "[P]\nvolume=70%\n", defaults, { 1, 1, 0, 1, "", 70 }, nullptr },
    { "VolumeFarPastAnyInteger", "[P]\nvolume=99999999999999999999999\n", defaults, { 1, 1, 0, 1, "", 100 }, nullptr },
    { "VolumeFarBelowAnyInteger", "[P]\nvolume=-99999999999999999999999\n", defaults, { 1, 1, 0, 1, "", 0 }, nullptr },
    { "KeysInCapitalsAreFound", "[P]\nSound=0\nMUSIC=0\n", defaults, { 1, 0, 0, 0, "", 100 }, nullptr },
    { "NameKeepsItsCase", "[P]\nname=BoB the Bold\n", defaults, { 1, 1, 0, 1, "BoB the Bold", 100 }, nullptr },
    { "SwitchesOtherThanOneReadAsOff", "[P]\nsound=yes\nmusic=on\nminimap=1.0\n", defaults, { 0, 0, 0, 0, "", 100 },
      "sound = yes reads as off" },
    { "MissingKeysKeepTheirValues", "[P]\ngrid=0\n", opposite, { 0, 0, 0, 0, "Old", 55 }, nullptr },
    { "KeyBeforeTheHeaderCounts", "sound=0\n[P]\nmusic=0\n", defaults, { 1, 0, 0, 0, "", 100 }, nullptr },
    { "UnknownKeysAreSkipped", "[P]\ncolour=blue\nsound=0\n", defaults, { 1, 0, 0, 1, "", 100 },
      "line 2: unknown key \"colour\" skipped" },
    { "LineWithoutEqualsIsSkipped", "[P]\nsound=0\nthis is not a setting\nmusic=0\n", defaults,
      { 1, 0, 0, 0, "", 100 }, "line 3 is not a setting; skipped" },
    { "EmptyNameLineIsSkipped", "[P]\nname = \nsound=0\n", opposite, { 0, 0, 1, 0, "Old", 55 }, "line 2" },
    { "OverlongLineIsSkipped", "[P]\nname=" + std::string(10000, 'a') + "\nsound=0\n", defaults,
      { 1, 0, 0, 1, "", 100 }, "line 2 is too long; skipped" },
    { "OnlyCarriageReturns", "[P]\rsound=0", defaults, { 1, 1, 0, 1, "", 100 }, "line 1: unknown key" },
    { "NoLineEndAfterTheLastLine", "[P]\nsound=0", defaults, { 1, 0, 0, 1, "", 100 }, nullptr },
    { "BinaryGarbageAroundGoodLines", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\n[P]\nmusic=0\n\xff\xfe=\x01\n"s,
      defaults, { 1, 1, 0, 0, "", 100 }, "line 1 is not a setting" },
    { "NameWithControlCharactersIsSkipped", "[P]\nname=Bo\x07\x08ss\n"s, opposite,
      { 0, 0, 1, 0, "Old", 55 }, "the name is not printable text" },
    { "CrLfFromAnotherSystem", "[Gorvanel Preferences]\r\n\r\ngrid = 1\r\nname = Ann\r\n", defaults,
      { 1, 1, 1, 1, "Ann", 100 }, nullptr },
};

class PrefsRead : public PrefsTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(PrefsRead, ReadsWhatItCanAndKeepsTheRest)
{
    const ReadCase& c = GetParam();
    WriteText("gorvanel.ini", c.text);
    SetPrefs(c.before);
    EXPECT_FALSE(ReadPreferences());
    ExpectPrefs(c.after, c.name);
    if (c.logged) {
        EXPECT_NE(log.find(c.logged), std::string::npos) << log;
    } else {
        EXPECT_EQ(log.find("WARNING"), std::string::npos) << log;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PrefsRead, testing::ValuesIn(readcases),
                         [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

TEST_F(PrefsTest, MissingFileKeepsEveryValueAndSaysSo)
{
    SetPrefs(opposite);
    EXPECT_FALSE(ReadPreferences());
    ExpectPrefs(opposite, "missing file");
    EXPECT_NE(log.find("WARNING: Couldn't read gorvanel.ini"), std::string::npos);
}

TEST_F(PrefsTest, HugeFileIsReadUpToItsLimit)
{
    std::string text = "[P]\nsound=0\n";
    while (text.size() < PREFSMAXBYTES - 20)
        text += "; padding padding padding\n";
    text += "music=0\n";                    // straddles the limit: not read half
    text += std::string(PREFSMAXBYTES, ';');
    WriteText("gorvanel.ini", text);
    SetPrefs(defaults);
    ReadPreferences();
    EXPECT_EQ(soundon, 0);
    EXPECT_EQ(musicon, 1);
    EXPECT_NE(log.find("is longer than"), std::string::npos);
}

// Every key in place, and before start-up places them, without the keys kept above the shell.
TEST_F(PrefsTest, SaveIsByteExactInTheKeyOrderOfTheFile)
{
    const struct {
        PreferencePlaces places;
        const char* file;
    } cases[] = {
        { { &minimapon, &gridon, &playername },
          "[Gorvanel Preferences]\n\nsound = 1\nvolume = 40\nminimap = 0\ngrid = 1\nmusic = 1\nname = Bob\n\n" },
        { { nullptr, &gridon, nullptr }, "[Gorvanel Preferences]\n\nsound = 1\nvolume = 40\ngrid = 1\nmusic = 1\n\n" },
    };
    for (const auto& c : cases) {
        prefplaces = c.places;
        SetPrefs({ 0, 1, 1, 1, "Bob", 40 });
        WritePreferences();
        EXPECT_EQ(ReadText("gorvanel.ini"), c.file);
    }
}

TEST_F(PrefsTest, EmptyOrBlankNameIsLeftOutSoTheFileStaysReadable)
{
    for (const char* name : { "", "   " }) {
        SetPrefs({ 1, 0, 1, 0, name, 7 });
        WritePreferences();
        EXPECT_EQ(ReadText("gorvanel.ini").find("name"), std::string::npos) << '"' << name << '"';
        SetPrefs(opposite);
        playername.clear();
        ReadPreferences();
        ExpectPrefs({ 1, 0, 1, 0, "", 7 }, name);
    }
    EXPECT_EQ(log.find("WARNING"), std::string::npos) << log;
}

// Before start-up places them, the keys kept above the shell are not read (nor reported).
TEST_F(PrefsTest, KeysWithoutAPlaceAreNotRead)
{
    prefplaces = { nullptr, &gridon, nullptr };
    WriteText("gorvanel.ini", "minimap=1\ngrid=0\nname=Ann\n");
    SetPrefs({ 0, 1, 1, 1, "Bob", 40 });
    ReadPreferences();
    ExpectPrefs({ 0, 1, 0, 1, "Bob", 40 }, "unplaced");
    EXPECT_EQ(log.find("WARNING"), std::string::npos) << log;
}

TEST_F(PrefsTest, WhatIsSavedReadsBackTheSame)
{
    const Prefs values = { 0, 1, 0, 1, "Zed", 3 };
    SetPrefs(values);
    WritePreferences();
    SetPrefs(opposite);
    ReadPreferences();
    ExpectPrefs(values, "round trip");
}

} // namespace
