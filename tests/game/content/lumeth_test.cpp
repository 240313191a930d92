// The validator of the shipped manual: every page of Lumeth.dll in the game directory is checked
// against what the help screen reads (the number scheme, the text limit, the picture cell) and shows
// (the title, tab and text boxes in the game's own fonts), and its figures against the catalogue.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "game/model/catalogue.h"
#include "game/model/records.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/screens/help.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "platform/files.h"
#include "platform/font.h"
#include "platform/gdi.h"
#include "platform/window.h"
#include "tests/game/support/testscreen.h"
#include "media.h"
#include "shipped.h"

namespace {

enum : int32_t { FONT_HELP = 3, FONT_HELPTITLE = 5 };

struct Page {
    int32_t folder, page;
    std::string title, body;
    int32_t cell, sheet;
    bool next;
};

class Manual : public Shipped {
protected:
    void SetUp() override
    {
        Shipped::SetUp();
        ASSERT_FALSE(OpenTestScreen(GORV_DIST_DIR, &olddir));
        ASSERT_FALSE(LumethGo());
        for (int32_t f = 0; f < (int32_t)helpfolders.size(); f++)
            for (int32_t p = 0; p < MAXHELPPAGES; p++) {
                const uint32_t n = HELP_FOLDERSTRIDE * (uint32_t)f + (uint32_t)p;
                pages.push_back(Page{ f, p, LoadHelpString(n + HELP_TITLE), LoadHelpString(n + HELP_BODY),
                                      LoadHelpNumber(n + HELP_PICTURE), LoadHelpNumber(n + HELP_SHEET),
                                      LoadHelpNumber(n + HELP_NEXT) != 0 });
                if (!pages.back().next)
                    break;
            }
        dc = OpenSurfaceDC(backbuffer);
    }
    void TearDown() override
    {
        CloseDC(dc);
        UnloadHelpModule();
        CloseTestScreen(olddir);
    }
    // The pages of the folder of that name.
    std::vector<const Page*> Folder(const std::string& name) const
    {
        std::vector<const Page*> out;
        for (const Page& p : pages)
            if (helpfolders[p.folder].name == name)
                out.push_back(&p);
        return out;
    }
    const Page* Titled(const std::string& folder, const std::string& title) const
    {
        for (const Page* p : Folder(folder))
            if (p->title == title)
                return p;
        return nullptr;
    }
    std::vector<Page> pages;
    GdiDC* dc = nullptr;
    std::string olddir;
};

TEST_F(Manual, EveryFolderHasPagesAndANameThatFitsItsTab)
{
    ASSERT_GE(helpfolders.size(), 1u);
    ASSERT_LE(helpfolders.size(), (size_t)MAXHELPFOLDERS);
    SelectDCFont(dc, fonts[FONT_HELP]);
    for (const HelpFolder& folder : helpfolders) {
        EXPECT_FALSE(folder.name.empty());
        const GdiSize size = MeasureDCText(dc, folder.name);
        EXPECT_LE(size.width, 80) << folder.name;
        EXPECT_LE(size.height, helptabheight) << folder.name;
    }
}

TEST_F(Manual, EveryPageHasItsFieldsWithinWhatTheScreenReads)
{
    for (const Page& p : pages) {
        const std::string where = helpfolders[p.folder].name + " page " + std::to_string(p.page) + " \"" + p.title + "\"";
        EXPECT_FALSE(p.title.empty()) << where;
        EXPECT_FALSE(p.body.empty()) << where;
        // A text the buffer cut would end exactly at its limit.
        EXPECT_LT(p.body.size(), (size_t)HELPBUFFERSIZE - 1) << where;
        EXPECT_GE(p.cell, 0) << where;
        EXPECT_LT(p.cell, HELPSHEETCELLS) << where;
        EXPECT_TRUE(p.sheet == HELPSHEET_UNITS || p.sheet == HELPSHEET_SPELLS || p.sheet == HELPSHEET_TERRAIN) << where;
        EXPECT_LT(p.page, MAXHELPPAGES) << where;
    }
}

TEST_F(Manual, EveryPictureIsADrawnCellOfItsSheet)
{
    const char* const sheets[] = { "units.bmp", "spellicon.bmp", "terrain.bmp" };
    Picture pictures[3];
    for (int i = 0; i < 3; i++)
        ASSERT_EQ(ReadPicture("Brackwel.dll", sheets[i], pictures[i]), "") << sheets[i];
    for (const Page& p : pages) {
        if (p.sheet < 0 || p.sheet > 2)
            continue;
        EXPECT_TRUE(CellDrawn(pictures[p.sheet], p.cell))
            << helpfolders[p.folder].name << " page " << p.page << " \"" << p.title << "\": cell " << p.cell << " of "
            << sheets[p.sheet] << " is empty";
    }
}

TEST_F(Manual, EveryTitleAndTextFitsItsBox)
{
    for (const Page& p : pages) {
        const std::string where = helpfolders[p.folder].name + " page " + std::to_string(p.page) + " \"" + p.title + "\"";
        SelectDCFont(dc, fonts[FONT_HELPTITLE]);
        EXPECT_LE(MeasureDCText(dc, p.title).width, 520) << where;
        SelectDCFont(dc, fonts[FONT_HELP]);
        EXPECT_LE(DrawDCText(dc, p.body, { 140, 140, 740, 500 }, TEXT_WORDBREAK), 360) << where;
    }
}

TEST_F(Manual, TheCatalogueHasItsPagesWithItsOwnFigures)
{
    // A spell's page is its place in the table; a name too long for the title's line is shortened.
    const std::vector<const Page*> spellpages = Folder("Spells");
    ASSERT_EQ(spellpages.size(), spells.size());
    for (size_t i = 0; i < spells.size(); i++) {
        const std::string name = GetString(STR_SPELLTITLE + (uint32_t)spells[i].number);
        const Page* p = spellpages[i];
        EXPECT_EQ(name.rfind(p->title, 0), 0u) << name << " is titled " << p->title;
        EXPECT_NE(p->body.find("Mana " + std::to_string(spells[i].mana) + ", range " + std::to_string(spells[i].range)),
                  std::string::npos) << name;
        EXPECT_EQ(p->cell, spells[i].picture) << name;
        EXPECT_EQ(p->sheet, HELPSHEET_SPELLS) << name;
    }
    for (size_t i = 0; i < abilities.size(); i++) {
        const std::string name = GetString(STR_ABILITYTITLE + (uint32_t)abilities[i].number);
        const Page* p = Titled("Abilities", name);
        ASSERT_NE(p, nullptr) << name;
        EXPECT_EQ(p->body.find(GetString(STR_ABILITYHELP + (uint32_t)abilities[i].number)), 0u) << name;
        EXPECT_EQ(p->cell, abilities[i].picture) << name;
    }
    const struct {
        TypeKind kind;
        const char* folder;
    } kinds[] = { { KIND_BUYABLE, "Units" }, { KIND_SETUPFORM, "Units" }, { KIND_WARLORD, "Warlords" },
                  { KIND_NEUTRAL, "Guards" }, { KIND_SUMMONED, "Summons" } };
    int32_t typepages = 0;
    for (const auto& k : kinds)
        for (const int32_t t : RealTypes()) {
            if (KindOfType(t) != k.kind)
                continue;
            const std::string name = GetString(STR_UNITNAME + (uint32_t)t);
            const Page* p = Titled(k.folder, name);
            ASSERT_NE(p, nullptr) << name << " in " << k.folder;
            typepages++;
            std::string stats = "Attack " + std::to_string(GetResNumber(STR_UNITSTAT + (uint32_t)t)) + ", life "
                + std::to_string(GetResNumber(STR_UNITSTAT + (uint32_t)t + 100)) + ", moves "
                + std::to_string(GetResNumber(STR_UNITSTAT + (uint32_t)t + 200)) + ", range "
                + std::to_string(GetResNumber(STR_UNITSTAT + (uint32_t)t + 300));
            EXPECT_NE(p->body.find(stats), std::string::npos) << name;
            EXPECT_EQ(p->cell, GetResNumber(STR_UNITPICTURE + (uint32_t)t)) << name;
            EXPECT_EQ(p->sheet, HELPSHEET_UNITS) << name;
            if (k.kind == KIND_BUYABLE) {
                EXPECT_NE(p->body.find("Price: " + std::to_string(GetResNumber(STR_UNITCOST + (uint32_t)t)) + " gold."),
                          std::string::npos) << name;
            }
        }
    EXPECT_EQ(typepages, (int32_t)(Folder("Units").size() + Folder("Warlords").size() + Folder("Guards").size()
                                   + Folder("Summons").size()));
}

// A warlord's page speaks of the warlord as its description does: a woman's page never says he.
TEST_F(Manual, EveryWarlordsPageKeepsToOnePronoun)
{
    const std::set<std::string> hers = { "she", "her", "hers", "herself" };
    const std::set<std::string> his = { "he", "his", "him", "himself" };
    const std::vector<const Page*> warlords = Folder("Warlords");
    ASSERT_FALSE(warlords.empty());
    for (const Page* p : warlords) {
        bool she = false, he = false;
        std::string word;
        for (const char c : p->body + " ") {
            if (std::isalpha(static_cast<unsigned char>(c))) {
                word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                continue;
            }
            she = she || hers.count(word) != 0;
            he = he || his.count(word) != 0;
            word.clear();
        }
        EXPECT_FALSE(she && he) << p->title << ": " << p->body;
        if (p->title == "Tactician")
            EXPECT_TRUE(she) << "the Tactician is drawn as a woman";
    }
}

TEST_F(Manual, TheFiguresTheRulesPagesQuoteAreTheCataloguesOwn)
{
    const Page* mines = Titled("Basics", "Gold and Mines");
    ASSERT_NE(mines, nullptr);
    EXPECT_NE(mines->body.find("pays " + std::to_string(GetResNumber(STR_MINEINCOME)) + " gold"), std::string::npos);
    const Page* hosting = Titled("Network", "Hosting a Game");
    ASSERT_NE(hosting, nullptr);
    EXPECT_NE(hosting->body.find("TCP port " + std::to_string(GetResNumber(STR_PORT))), std::string::npos);
}

} // namespace
