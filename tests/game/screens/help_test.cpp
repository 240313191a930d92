// The help module's loading, with modules of our own making for the bad ones, and the help screen
// over the game directory's manual: tabs, arrows and the pages each folder remembers.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <unistd.h>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "game/screens/help.h"
#include "game/screens/states.h"
#include "platform/files.h"
#include "platform/input.h"
#include "tests/game/screens/screentest.h"
#include "tests/game/support/world.h"

namespace {

typedef TestStrings Strings;

// Writes the strings as dir/Lumeth.dll.
void WriteModule(const std::string& dir, const Strings& strings)
{
    const std::vector<uint8_t> bytes = StringModuleBytes(strings);
    std::ofstream(dir + "/Lumeth.dll", std::ios::binary).write((const char*)bytes.data(), (std::streamsize)bytes.size());
}

// A manual of folders, each with its number of pages, every page titled and pictured.
Strings Manual(const std::vector<int>& pages)
{
    Strings s;
    s[HELP_FOLDERCOUNT] = std::to_string(pages.size());
    for (size_t f = 0; f < pages.size(); f++) {
        s[HELP_FOLDERNAME + (uint32_t)f] = "F" + std::to_string(f);
        for (int p = 0; p < pages[f]; p++) {
            const uint32_t n = HELP_FOLDERSTRIDE * (uint32_t)f + (uint32_t)p;
            s[n + HELP_TITLE] = "Page " + std::to_string(f) + "." + std::to_string(p);
            s[n + HELP_BODY] = "Text of page " + std::to_string(p);
            s[n + HELP_PICTURE] = std::to_string(p);
            s[n + HELP_NEXT] = p + 1 < pages[f] ? "1" : "0";
            s[n + HELP_SHEET] = "1";
        }
    }
    return s;
}

// Loads a module of the strings from a folder of its own; the result of LumethGo.
class HelpModule : public testing::Test {
protected:
    void SetUp() override
    {
        olddir = GetCurrentDir();
        dir = std::filesystem::temp_directory_path() / ("gorvhelp" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override
    {
        UnloadHelpModule();
        SetCurrentDir(olddir.c_str());
        std::filesystem::remove_all(dir);
    }
    bool Load(const Strings* strings)
    {
        std::filesystem::remove(dir / "Lumeth.dll");
        if (strings)
            WriteModule(dir.string(), *strings);
        SetCurrentDir(dir.string().c_str());
        UnloadHelpModule();
        return LumethGo();
    }
    std::string olddir;
    std::filesystem::path dir;
};

TEST_F(HelpModule, AGoodModuleGivesItsFoldersAndTabHeights)
{
    struct Case {
        std::vector<int> pages;
        int32_t tab;
    } cases[] = { { { 1 }, 480 }, { { 3, 1, 2, 1, 1, 1, 1 }, 68 }, { std::vector<int>(59, 1), 8 } };
    for (const Case& c : cases) {
        const Strings s = Manual(c.pages);
        ASSERT_FALSE(Load(&s));
        EXPECT_EQ(helpfolders.size(), c.pages.size());
        EXPECT_EQ(helptabheight, c.tab);
        EXPECT_EQ(helpfolders[0].name, "F0");
        EXPECT_EQ(helpfolders[0].page, 0);
    }
}

TEST_F(HelpModule, ABadModuleIsRefusedAtStartUp)
{
    Strings nocount = Manual({ 2 });
    nocount.erase(HELP_FOLDERCOUNT);
    Strings zero = Manual({ 2 });
    zero[HELP_FOLDERCOUNT] = "0";
    Strings negative = Manual({ 2 });
    negative[HELP_FOLDERCOUNT] = "-3";
    const Strings sixty = Manual(std::vector<int>(60, 1));
    Strings cell = Manual({ 2, 2 });
    cell[HELP_FOLDERSTRIDE + 1 + HELP_PICTURE] = "256";
    Strings below = Manual({ 2 });
    below[HELP_PICTURE] = "-1";
    Strings endless = Manual({ 100 });
    endless[99 + HELP_NEXT] = "1";          // a 101st page, whose numbers would be another field's
    const struct {
        const char* name;
        const Strings* strings;
    } cases[] = { { "no module", nullptr }, { "no count", &nocount }, { "no folder", &zero },
                  { "a negative count", &negative }, { "60 folders", &sixty }, { "cell 256", &cell },
                  { "cell -1", &below }, { "101 pages", &endless } };
    for (const auto& c : cases)
        EXPECT_TRUE(Load(c.strings)) << c.name;
    const Strings hundred = Manual({ 100 });
    EXPECT_FALSE(Load(&hundred)) << "100 pages fit";
}

TEST_F(HelpModule, MissingPageStringsReadAsEmptyTextsAndZero)
{
    Strings s = Manual({ 1 });
    s.erase(HELP_BODY);
    s.erase(HELP_PICTURE);
    s.erase(HELP_SHEET);
    ASSERT_FALSE(Load(&s));
    EXPECT_STREQ(LoadHelpString(HELP_BODY), "");
    EXPECT_EQ(LoadHelpNumber(HELP_PICTURE), 0);
    EXPECT_EQ(LoadHelpNumber(HELP_SHEET), 0);
    EXPECT_STREQ(SetHelpText(std::string(2000, 'x').c_str()), std::string(999, 'x').c_str());
}

class HelpScreen : public ScreenTest {
protected:
    void Open()
    {
        gs = GAME_HELPOPEN;
        Frames(2);
        ASSERT_EQ(gs, GAME_HELP);
    }
    void Next() { Click(720, 520); Frames(1); }
    void Previous() { Click(675, 520); Frames(1); }
    void Tab(size_t folder) { Click(90, 60 + helptabheight * (int32_t)folder + helptabheight / 2); Frames(1); }
};

TEST_F(HelpScreen, TheArrowsStopAtTheFoldersEnds)
{
    Open();
    EXPECT_EQ(helpfolder, 0);
    EXPECT_EQ(helpshownpage, 0);
    const std::string first = helptitle;
    Previous();
    EXPECT_EQ(helpfolders[0].page, 0);
    EXPECT_EQ(helptitle, first);
    int turns = 0;
    for (int i = 0; i < 200; i++) {
        const int32_t before = helpfolders[0].page;
        Next();
        if (helpfolders[0].page == before)
            break;
        turns++;
    }
    int32_t last = 0;
    while (LoadHelpNumber(HELP_NEXT + (uint32_t)last) != 0)
        last++;
    ASSERT_GT(last, 0);
    EXPECT_EQ(helpfolders[0].page, last) << "it stopped on the last page";
    EXPECT_EQ(turns, helpfolders[0].page);
    EXPECT_NE(helptitle, first);
}

TEST_F(HelpScreen, HoldingTheMouseOnAnArrowTurnsOnePage)
{
    Open();
    Press(720, 520, 40);
    Frames(3);
    EXPECT_EQ(helpfolders[0].page, 1);
}

TEST_F(HelpScreen, FoldersRememberTheirPagesAndTheHelpOpensOnTheFirstFolder)
{
    Open();
    Next();
    Next();
    Tab(2);
    EXPECT_EQ(helpfolder, 2);
    EXPECT_EQ(helpshownfolder, 2);
    Next();
    EXPECT_EQ(helpfolders[2].page, 1);
    EXPECT_EQ(helptitle, LoadHelpString(HELP_FOLDERSTRIDE * 2 + 1 + HELP_TITLE));
    Tap(KEY_ESCAPE);
    Frames(1);
    EXPECT_EQ(gs, GAME_TOMAINMENU);
    Open();
    EXPECT_EQ(helpfolder, 0);
    EXPECT_EQ(helpfolders[0].page, 2);
    EXPECT_EQ(helpfolders[2].page, 1);
    EXPECT_EQ(helptitle, LoadHelpString(2 + HELP_TITLE));
}

} // namespace
