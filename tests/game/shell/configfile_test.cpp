// The key-value file: strict parsing, hash-ordered byte-exact saves, the modes, whole-file saves.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "game/shell/configfile.h"
#include "tempdir.h"

namespace {

struct Entry {
    const char* section;
    const char* key;
    const char* value;
};

struct ParseCase {
    const char* name;
    std::string text;
    int32_t sectionmode;
    int32_t namemode;
    bool accepted;
    std::vector<Entry> expected;         // looked up after the parse (through the same modes)
};

// Parameters print as their names.
void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

const std::vector<ParseCase> parsecases = {
    { "CommentsBlanksAndIndentedComment", "; top\n\n[Prefs]\n   ; indented\n\t\nsound=1\n", 0, 3, true,
      { { "Prefs", "sound", "1" } } },
    { "BlanksAroundKeyAndValueAreTrimmed", "[P]\n  grid   =   0  \n", 0, 3, true, { { "P", "grid", "0" } } },
    { "CarriageReturnLineEnds", "[P]\r\nmusic=1\r\nname = Bob\r\n", 0, 3, true,
      { { "P", "music", "1" }, { "P", "name", "Bob" } } },
    { "NoLineEndAtTheEnd", "[P]\nvolume=40", 0, 3, true, { { "P", "volume", "40" } } },
    { "SecondEqualsBelongsToTheValue", "[P]\na=b=c\n", 0, 3, true, { { "P", "a", "b=c" } } },
    { "HeaderNameIsNotTrimmed", "[ Odd Name ]\nk=v\n", 0, 3, true, { { " Odd Name ", "k", "v" } } },
    { "EmptyHeaderName", "[]\nk=v\n", 0, 3, true, { { "", "k", "v" } } },
    { "RepeatedHeadersAndKeysLastWins", "[S]\nk=1\n[T]\nk=2\n[S]\nk=3\n", 0, 3, true,
      { { "S", "k", "3" }, { "T", "k", "2" } } },
    { "MergedSectionsLaterValueWins", "[A]\nk=1\n[B]\nk=2\n", 2, 3, true, { { "", "k", "2" }, { "A", "k", "2" } } },
    { "LoweredSections", "[MiXed]\nk=v\n", 1, 3, true, { { "mixed", "k", "v" }, { "MIXED", "k", "v" } } },
    { "KeysLoweredValuesKept", "[P]\nSound=On\n", 0, 2, true, { { "P", "sound", "On" }, { "P", "SOUND", "On" } } },
    { "ValuesLoweredKeysKept", "[P]\nSound=On\n", 0, 1, true, { { "P", "Sound", "on" } } },
    { "EmptyFileIsAccepted", "", 0, 3, true, {} },
    { "KeyWithNothingAfterEquals", "[P]\nsound=1\nname = \n", 0, 3, false, {} },
    { "LineBeginningWithEquals", "[P]\n=1\n", 0, 3, false, {} },
    { "TextWithoutEquals", "[P]\njust words\n", 0, 3, false, {} },
    { "KeyBeforeAnyHeader", "sound=1\n[P]\n", 0, 3, false, {} },
    { "KeyWithoutLetterOrDigit", "[P]\n_-=1\n", 0, 3, false, {} },
    { "ValueOfControlBytesOnly", std::string("[P]\nk=\x01\x02\n"), 0, 3, false, {} },
    { "HalfAHeader", "[P\nk=v\n", 0, 3, false, {} },
    { "BinaryGarbage", std::string("[P]\n\x89PNG\r\n\x1a\n\0\0\x7f", 14), 0, 3, false, {} },
    { "LineLongerThanTheLimit", "[P]\nk=" + std::string(CONFIGMAXLINE, 'x') + "\n", 0, 3, false, {} },
    { "LineJustWithinTheLimit", "[P]\nk=" + std::string(CONFIGMAXLINE - 2, 'x') + "\n", 0, 3, true,
      { { "P", "k", nullptr } } },
};

class ConfigParse : public testing::TestWithParam<ParseCase> {};

TEST_P(ConfigParse, AcceptsOrRejectsTheWholeFile)
{
    const ParseCase& c = GetParam();
    ConfigFile file;
    ASSERT_TRUE(file.SetSectionMode(c.sectionmode));
    ASSERT_TRUE(file.SetNameMode(c.namemode));
    std::istringstream in(c.text);
    EXPECT_EQ(file.ParseStream(in), c.accepted);
    for (const Entry& e : c.expected) {
        EXPECT_TRUE(file.HasKey(e.section, e.key)) << e.section << "/" << e.key;
        if (e.value) {
            EXPECT_EQ(file.GetValue(e.section, e.key), e.value) << e.section << "/" << e.key;
        }
    }
    if (!c.accepted) {
        EXPECT_FALSE(file.HasContent());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ConfigParse, testing::ValuesIn(parsecases),
                         [](const testing::TestParamInfo<ParseCase>& info) { return info.param.name; });

TEST(ConfigFile, FailedParseKeepsWhatTheStoreHeld)
{
    ConfigFile file;
    std::istringstream good("[P]\nsound=1\n");
    ASSERT_TRUE(file.ParseStream(good));
    std::istringstream bad("[Q]\ngrid=1\nbroken line\n");
    EXPECT_FALSE(file.ParseStream(bad));
    EXPECT_EQ(file.GetValue("P", "sound"), "1");
    EXPECT_FALSE(file.HasSection("Q"));
}

TEST(ConfigFile, TheSixPreferenceKeysFallInTheirBuckets)
{
    const std::vector<std::pair<std::string, uint32_t>> buckets = {
        { "sound", 3 }, { "volume", 8 }, { "minimap", 15 }, { "grid", 25 }, { "music", 30 }, { "name", 91 },
    };
    for (const auto& b : buckets)
        EXPECT_EQ(ConfigHash(b.first) % CONFIGBUCKETS, b.second) << b.first;
    // Bytes past 0x7F count as negative.
    EXPECT_EQ(ConfigHash("\xE9"), (0xFFFFFFE9u * 2049u) ^ ((0xFFFFFFE9u * 2049u) >> 6));
}

TEST(ConfigFile, SaveWritesSectionsAndKeysInHashOrderByteForByte)
{
    ConfigFile file;
    // Added in the order the preferences set them; saved in bucket order.
    ASSERT_TRUE(file.AddSection("Gorvanel Preferences"));
    for (const char* key : { "music", "sound", "grid", "minimap", "name", "volume" })
        ASSERT_TRUE(file.SetValue("Gorvanel Preferences", key, std::string("v") + key));
    std::ostringstream out;
    EXPECT_TRUE(file.WriteStream(out));
    EXPECT_EQ(out.str(), "[Gorvanel Preferences]\n"
                         "\n"
                         "sound = vsound\n"
                         "volume = vvolume\n"
                         "minimap = vminimap\n"
                         "grid = vgrid\n"
                         "music = vmusic\n"
                         "name = vname\n"
                         "\n");
}

TEST(ConfigFile, SectionsComeInBucketOrderAndMergedOnesWithoutHeader)
{
    ConfigFile file;
    file.Query("music", "b") = "2";     // bucket 30
    file.Query("sound", "a") = "1";     // bucket 3
    std::ostringstream out;
    file.WriteStream(out);
    EXPECT_EQ(out.str(), "[sound]\n\na = 1\n\n[music]\n\nb = 2\n\n");

    // A merged store saves without headers, and so cannot read its own file back.
    ConfigFile merged;
    ASSERT_TRUE(merged.SetSectionMode(SECTIONS_MERGED));
    std::istringstream in("[A]\nk=1\n[B]\nj=2\n");
    ASSERT_TRUE(merged.ParseStream(in));
    std::ostringstream saved;
    merged.WriteStream(saved);
    EXPECT_EQ(saved.str(), "j = 2\nk = 1\n\n");     // bucket order: "j" before "k"
    ConfigFile again;
    again.SetSectionMode(SECTIONS_MERGED);
    std::istringstream back(saved.str());
    EXPECT_FALSE(again.ParseStream(back));
}

TEST(ConfigFile, EmptyStoreWritesNothingAndAnswersEmpty)
{
    ConfigFile file;
    std::ostringstream out;
    EXPECT_TRUE(file.WriteStream(out));
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(file.HasContent());
    EXPECT_EQ(file.GetValue("P", "k"), "");
    EXPECT_FALSE(file.HasSection("P"));
    EXPECT_FALSE(file.SetValue("P", "k", "v"));
    EXPECT_FALSE(file.HasContent());
}

TEST(ConfigFile, ModesAreRefusedOnceThereIsContentOrOutOfRange)
{
    ConfigFile file;
    EXPECT_FALSE(file.SetSectionMode(3));
    EXPECT_FALSE(file.SetSectionMode(-1));
    EXPECT_FALSE(file.SetNameMode(4));
    EXPECT_TRUE(file.SetNameMode(0));
    std::istringstream in("[P]\nk=v\n");
    ASSERT_TRUE(file.ParseStream(in));
    EXPECT_FALSE(file.SetSectionMode(1));
    EXPECT_FALSE(file.SetNameMode(3));
}

TEST(ConfigFile, SetValueNeedsTheSectionQueryMakesEverything)
{
    ConfigFile file;
    EXPECT_TRUE(file.AddSection("P"));
    EXPECT_FALSE(file.AddSection("P"));
    EXPECT_FALSE(file.SetValue("Missing", "k", "v"));
    EXPECT_FALSE(file.HasSection("Missing"));
    EXPECT_TRUE(file.SetValue("P", "k", "v"));
    EXPECT_TRUE(file.SetValue("P", "k", "w"));
    EXPECT_EQ(file.GetValue("P", "k"), "w");
    file.Query("New", "n") = "x";
    EXPECT_EQ(file.GetValue("New", "n"), "x");
    EXPECT_EQ(file.Query("New", "other"), "");
    EXPECT_TRUE(file.HasKey("New", "other"));
}

class ConfigSave : public InTempDir {};

TEST_F(ConfigSave, SaveReplacesTheWholeFileAndLoadReadsItBack)
{
    WriteText("prefs.ini", "old text that is longer than what replaces it\n");
    ConfigFile file;
    file.Query("P", "k") = "v";
    ASSERT_TRUE(file.Save("prefs.ini"));
    EXPECT_EQ(ReadText("prefs.ini"), "[P]\n\nk = v\n\n");
    ConfigFile loaded;
    ASSERT_TRUE(loaded.Load("PREFS.INI"));      // Windows names find the file whatever its case
    EXPECT_EQ(loaded.GetValue("P", "k"), "v");
    // Nothing is left beside it.
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST_F(ConfigSave, SaveThatCannotBeWrittenLeavesTheOldFile)
{
    ConfigFile file;
    file.Query("P", "k") = "v";
    EXPECT_FALSE(file.Save("no/such/dir/prefs.ini"));
    // A directory in the way: the rename fails and the directory and its content stay.
    WriteText("busy.ini/keep.txt", "kept");
    EXPECT_FALSE(file.Save("busy.ini"));
    EXPECT_EQ(ReadText("busy.ini/keep.txt"), "kept");
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        entries += !e.path().empty();
    EXPECT_EQ(entries, 1);
    EXPECT_FALSE(file.Load("missing.ini"));
}

} // namespace
