// The command script: each command, the runner's failures, nested scripts and their bound.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "game/shell/commandscript.h"
#include "game/shell/debuglog.h"
#include "game/shell/prefs.h"
#include "tempdir.h"

using namespace std::string_literals;

namespace {

struct ScriptCase {
    const char* name;
    std::vector<std::pair<const char*, std::string>> files;    // made before the run ("dir/" for a directory,
                                                                // "name|" for a pipe)
    std::string script;
    bool fails;
    std::vector<const char*> made;      // files the run must have made (by "ini")
    std::vector<const char*> notmade;   // files it must not have made
    const char* cwd;                    // the working directory afterwards, under the test's own
    const char* logged;                 // a part of the log; null for none
};

// A script of lines lines, each the line given, and a stop.
std::string Lines(int lines, const std::string& line)
{
    std::string text;
    for (int i = 0; i < lines; i++)
        text += line + "\n";
    return text + "stp\n";
}

// Parameters print as their names.
void PrintTo(const ScriptCase& c, std::ostream* os) { *os << c.name; }

const std::vector<ScriptCase> scriptcases = {
    { "StopAlone", {}, "stp\n", false, {}, {}, "", nullptr },
    { "EmptyScript", {}, "", true, {}, {}, "", "ends without \"stp\"" },
    { "BlankLinesAndRemarksOnly", {}, "\n  \nrem nothing here\n", true, {}, {}, "", "ends without" },
    { "EndsWithoutStop", {}, "ini a.ini\n", true, { "a.ini" }, {}, "", "ends without" },
    { "CapitalsRunTheCommandArgumentKeepsItsCase", { { "Sub/", "" }, { "sub/", "" } }, "CHD Sub\nStP\n", false, {}, {},
      "Sub", nullptr },
    { "WindowsNameFindsTheFile", { { "Music/Load.mid", "x" } }, "fil .\\MUSIC\\load.MID\nstp\n", false, {}, {}, "", nullptr },
    { "CommandWordMustBeExact", {}, "stop\n", true, {}, {}, "", "unknown command \"stop\"" },
    { "UnknownCommand", {}, "xyz a\nstp\n", true, {}, {}, "", "unknown command \"xyz\"" },
    { "FileWithBlanksInItsName", { { "a b.txt", "x" } }, "fil a b.txt\nstp\n", false, {}, {}, "", nullptr },
    { "MissingFileStopsTheScript", {}, "fil gone.dll\nini a.ini\nstp\n", true, {}, { "a.ini" }, "",
      "\"fil gone.dll\" failed" },
    { "DirectoryIsNoFile", { { "sub/", "" } }, "fil sub\nstp\n", true, {}, {}, "", "failed" },
    { "DirOfAnExistingDirectoryStaysHere", { { "sub/", "" } }, "dir sub\nini a.ini\nstp\n", false, { "a.ini" },
      { "sub/a.ini" }, "", nullptr },
    { "DirOfAMissingDirectory", {}, "dir nowhere\nini a.ini\nstp\n", true, {}, { "a.ini" }, "", "\"dir nowhere\" failed" },
    { "ChdChangesForGood", { { "sub/", "" } }, "chd sub\nini a.ini\nstp\n", false, { "sub/a.ini" }, { "a.ini" }, "sub",
      nullptr },
    { "ChdOfAMissingDirectory", {}, "chd nowhere\nstp\n", true, {}, {}, "", "failed" },
    { "ExeStopEndsOnlyTheNestedScript", { { "inner.dat", "ini inner.ini\nstp\nini never.ini\n" } },
      "exe inner.dat\nini outer.ini\nstp\n", false, { "inner.ini", "outer.ini" }, { "never.ini" }, "", nullptr },
    { "FailedNestedScriptFailsTheCaller", { { "inner.dat", "fil gone\nstp\n" } }, "exe inner.dat\nini outer.ini\nstp\n",
      true, {}, { "outer.ini" }, "", "\"exe inner.dat\" failed" },
    { "MissingNestedScript", {}, "exe gone.dat\nstp\n", true, {}, {}, "", "Couldn't open the script gone.dat" },
    { "ScriptThatRunsItselfHitsTheBound", { { "self.dat", "exe self.dat\nstp\n" } }, "exe self.dat\nstp\n", true, {},
      {}, "", "more than 8 deep" },
    { "NestingWithinTheBound", { { "s2.dat", "exe s3.dat\nstp\n" }, { "s3.dat", "exe s4.dat\nstp\n" },
                                  { "s4.dat", "exe s5.dat\nstp\n" }, { "s5.dat", "exe s6.dat\nstp\n" },
                                  { "s6.dat", "exe s7.dat\nstp\n" }, { "s7.dat", "exe s8.dat\nstp\n" },
                                  { "s8.dat", "ini deep.ini\nstp\n" } },
      "exe s2.dat\nstp\n", false, { "deep.ini" }, {}, "", nullptr },
    // Some 130,000 commands from three short files, each running the next fifty times.
    { "ScriptsRunningEachOtherOverAndOverHitTheCommandBound",
      { { "l2.dat", Lines(50, "exe l3.dat") }, { "l3.dat", Lines(50, "rem") } }, Lines(50, "exe l2.dat"), true, {}, {},
      "", "more than 100000 commands in one run" },
    { "PipeIsNoScript", { { "pipe.dat|", "" } }, "exe pipe.dat\nstp\n", true, {}, {}, "",
      "Couldn't open the script pipe.dat" },
    { "CarriageReturnsAndTabs", { { "a.txt", "x" } }, "\tfil   a.txt \r\n\r\nstp\r\n", false, {}, {}, "", nullptr },
    { "NulByteInALine", { { "a.txt", "x" } }, "fil a.txt\0.evil\nstp\n"s, true, {}, {}, "", "NUL byte" },
    { "OverlongLine", {}, "rem " + std::string(MAXSCRIPTLINE, 'x') + "\nstp\n", true, {}, {}, "", "longer than" },
    { "BinaryGarbage", {}, "\x7f" "ELF\x02\x01\x01\nstp\n", true, {}, {}, "", "unknown command" },
};

class ScriptRun : public InTempDir, public testing::WithParamInterface<ScriptCase> {
protected:
    void SetUp() override
    {
        InTempDir::SetUp();
        CaptureDebugLog(&log);
    }
    void TearDown() override
    {
        CaptureDebugLog(nullptr);
        InTempDir::TearDown();
    }
    std::string log;
};

TEST_P(ScriptRun, RunsToItsStopOrFails)
{
    const ScriptCase& c = GetParam();
    for (const auto& f : c.files) {
        const std::string name = f.first;
        if (name.back() == '/')
            std::filesystem::create_directories(dir / name);
        else if (name.back() == '|')
            ASSERT_EQ(mkfifo((dir / name.substr(0, name.size() - 1)).c_str(), 0600), 0);
        else
            WriteText(dir / name, f.second);
    }
    WriteText(dir / "test.dat", c.script);
    CommandScript script;
    script.AddCommand("ini", EnsureIniFile);
    EXPECT_EQ(script.Run("test.dat"), c.fails);
    for (const char* f : c.made)
        EXPECT_TRUE(std::filesystem::exists(dir / f)) << f;
    for (const char* f : c.notmade)
        EXPECT_FALSE(std::filesystem::exists(dir / f)) << f;
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(dir / c.cwd));
    if (c.logged) {
        EXPECT_NE(log.find(c.logged), std::string::npos) << log;
    } else {
        EXPECT_EQ(log.find("ERROR"), std::string::npos) << log;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ScriptRun, testing::ValuesIn(scriptcases),
                         [](const testing::TestParamInfo<ScriptCase>& info) { return info.param.name; });

int32_t Found(const std::string&, CommandScript&) { return SCRIPT_STOP; }
int32_t Shadowed(const std::string&, CommandScript&) { return SCRIPT_FAIL; }
int32_t Strange(const std::string&, CommandScript&) { return 7; }

class ScriptTable : public InTempDir {};

TEST_F(ScriptTable, FirstOfEqualNamesWinsAndCopiesCarryEveryCommand)
{
    WriteText("a.dat", "new\n");
    CommandScript script;
    script.AddCommand("new", Found);
    script.AddCommand("new", Shadowed);
    EXPECT_FALSE(script.Run("a.dat"));

    CommandScript copy;
    copy.CopyCommands(script);
    EXPECT_FALSE(copy.Run("a.dat"));
    // The runner can be run again, on another file.
    WriteText("b.dat", "odd\n");
    copy.AddCommand("odd", Strange);
    EXPECT_TRUE(copy.Run("b.dat"));     // a result that is neither go on nor stop fails
    EXPECT_FALSE(copy.Run("a.dat"));
}

TEST_F(ScriptTable, CheckGameFilesRunsStartupDatWithIni)
{
    EXPECT_TRUE(CheckGameFiles());      // no script at all
    WriteText("startup.dat", "ini gorvanel.ini\nexe more.dat\nstp\n");
    WriteText("more.dat", "ini other.ini\nstp\n");
    EXPECT_FALSE(CheckGameFiles());
    EXPECT_TRUE(std::filesystem::exists("gorvanel.ini"));
    EXPECT_TRUE(std::filesystem::exists("other.ini"));
}

} // namespace
