// The widgets: text boxes, information boxes, the shop's and the deployment's rows of icons, the
// cursors, each with its states.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/model/catalogue.h"
#include "game/model/setup.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/shell/display.h"
#include "game/shell/input.h"
#include "game/shell/shell.h"
#include "game/view/cursor.h"
#include "game/view/drawing.h"
#include "game/view/infobox.h"
#include "game/view/pointer.h"
#include "game/view/strips.h"
#include "game/view/text.h"
#include "platform/inputscript.h"
#include "tests/game/support/world.h"
#include "tests/game/view/viewtest.h"

namespace {

// Spells 1..5 and the unit types 11..16 whose power lists hold 0..5 spells; type 17 has two abilities.
TestStrings WidgetStrings()
{
    TestStrings s = StandardTestStrings();
    const char* const names[5] = { "Zap", "Mend", "Blink", "Ward", "Storm" };
    const char* const figures[5][3] = { { "3", "4", "Z" }, { "0", "0", "M" }, { "0", "5", "B" },
                                        { "2", "0", "W" }, { "1", "1", "S" } };
    s[STR_SPELLCOUNT] = "5";
    for (int n = 1; n <= 5; n++) {
        s[STR_SPELLTITLE + n] = names[n - 1];
        s[STR_SPELLNAME + n] = names[n - 1];
        s[STR_SPELLPICTURE + n] = std::to_string(20 + n);
        s[STR_SPELLMANA + n] = figures[n - 1][0];
        s[STR_SPELLRANGE + n] = figures[n - 1][1];
        s[STR_SPELLKEY + n] = figures[n - 1][2];
        s[STR_SPELLHELP + n] = "What the spell does, told at some length so that it wraps onto more lines.";
    }
    std::string list;
    for (int t = 11; t <= 16; t++) {
        s[STR_UNITPOWERS + t] = list + ";";
        if (t - 11 < 5)
            list += (list.empty() ? "" : ",") + std::string(names[t - 11]);
    }
    s[STR_UNITPOWERS + 17] = "Flying,Tough;";
    s[STR_ABILITYHELP + 1] = "Flies over everything.";
    s[STR_UNITCOST + 1] = "50";
    s[STR_UNITCOST + 2] = "80";
    s[STR_UNITCOST + 3] = "500";
    return s;
}

class WidgetTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        ASSERT_FALSE(LoadTestStrings(WidgetStrings()));
        MakeBoard(2, 10);
        ClearBackBuffer();
        mousex = 0;
        mousey = 0;
        mousestate = {};
    }
    void TearDown() override
    {
        mousestate = {};
        ViewTest::TearDown();
    }
    static void PointAt(int32_t x, int32_t y, bool pressed = false)
    {
        mousex = x;
        mousey = y;
        mousestate.buttons[0] = pressed ? 0x80 : 0;
    }
    static bool Inked(const PixelRect& r)
    {
        const PixelRect ink = Ink(backbuffer, r);
        return ink.left < ink.right;
    }
};

TEST_F(WidgetTest, ShadowTextIsBlackOnePixelDownRightUnderTheColour)
{
    FillSurface(backbuffer, nullptr, 0x808080);
    BeginText(FONT_MEDIUM);
    DrawShadowText(100, 100, 200, 30, "Shadow", 0xFFFFFF, FORMAT_CENTREDLINE);
    EndText();
    EXPECT_EQ(hotrect.left, 100);
    EXPECT_EQ(hotrect.bottom, 130);
    const PixelRect white = Ink(backbuffer, { 0, 0, 800, 600 }, 0x808080);
    ASSERT_LT(white.left, white.right);
    EXPECT_TRUE(HasColour(backbuffer, white, 0xFFFFFF));
    EXPECT_TRUE(HasColour(backbuffer, white, 0x000000));
    // The shadow's lowest row lies a pixel below the text's: it holds black and no white.
    EXPECT_TRUE(HasColour(backbuffer, { white.left, white.bottom - 1, white.right, white.bottom }, 0));
    EXPECT_FALSE(HasColour(backbuffer, { white.left, white.bottom - 1, white.right, white.bottom }, 0xFFFFFF));

    ClearBackBuffer();
    BeginText(FONT_MEDIUM);
    DrawTextBox(100, 200, 200, 30, "Box", 0x0000FF, FORMAT_CENTREDLINE);
    EndText();
    EXPECT_EQ(hotrect.left, 101) << "the box is moved a pixel right and down";
    EXPECT_EQ(hotrect.top, 201);
    EXPECT_EQ(hotrect.right, 301);
    EXPECT_EQ(hotrect.bottom, 231);
    EXPECT_TRUE(HasColour(backbuffer, { 100, 200, 302, 232 }, 0xFF0000));
}

TEST_F(WidgetTest, TheSpellFiguresLine)
{
    struct Case {
        int32_t spell;
        bool fixedbox;
        const char* line;
    };
    const Case cases[] = {
        { 1, true, "Mana: 3   Range: 4   CTRL+Z" },
        { 1, false, "Mana: 3        Range: 4" },
        { 2, true, "   CTRL+M" },
        { 2, false, "" },
        { 3, true, "   Range: 5   CTRL+B" },      // a range without a mana cost starts with the separator
        { 3, false, "        Range: 5" },
        { 4, true, "Mana: 2   CTRL+W" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpellFiguresLine(c.spell, c.fixedbox), c.line) << c.spell << " " << c.fixedbox;
}

TEST_F(WidgetTest, InformationBoxesLieOnSixByThreeShadingTiles)
{
    DrawSpellInfo(1);
    for (int i = 0; i < 6; i++)
        for (int j = 0; j < 3; j++)
            EXPECT_EQ(LayerAt(backbuffer, 5 + 40 * i, 400 + 40 * j, PATCH_RANGE), (Probe{ SHEET_TERRAIN, 195 }));
    EXPECT_EQ(LayerAt(backbuffer, 245, 400, PATCH_RANGE), (Probe{ SHEET_NONE, -1 }));
    EXPECT_TRUE(Inked({ 5, 400, 245, 430 })) << "the title";
    EXPECT_TRUE(HasColour(backbuffer, { 5, 430, 245, 450 }, 0x7FFFFF)) << "the figures in pale cyan";
    EXPECT_TRUE(HasColour(backbuffer, { 5, 450, 245, 520 }, 0xFFFF7F)) << "the description in pale yellow";

    ClearBackBuffer();
    DrawAbilityInfoAt(1, 300, 100);
    EXPECT_EQ(LayerAt(backbuffer, 300, 100, PATCH_RANGE), (Probe{ SHEET_TERRAIN, 195 }));
    EXPECT_TRUE(HasColour(backbuffer, { 300, 130, 540, 220 }, 0xFFFF7F));

    // A number outside the catalogue's range describes nothing.
    ClearBackBuffer();
    DrawSpellInfo(120);
    DrawAbilityInfo(0);
    EXPECT_FALSE(Inked({ 0, 0, 800, 600 }));
    EXPECT_NE(log.find("ERROR: There is no spell number 120 to describe."), std::string::npos);
    candraw = 0;
    DrawSpellInfo(1);
    EXPECT_FALSE(Inked({ 0, 0, 800, 600 }));
}

TEST_F(WidgetTest, PowerRowsPlaceTheirIconsByCount)
{
    const std::vector<int32_t> xs[6] = { {}, { 209 }, { 140, 273 }, { 75, 208, 341 }, { 75, 163, 251, 339 },
                                         { 75, 140, 205, 270, 335 } };
    for (int32_t count = 0; count <= 5; count++) {
        FillSurface(backbuffer, nullptr, 0x808080);     // the title is black
        DrawTypeSpellRow(100, 11 + count, " \xB7 SPELLS \xB7 ");
        std::vector<int32_t> found;
        for (int32_t x = 0; x < 800; x++) {
            const Probe probe = CellAt(backbuffer, x, 125 + 39);
            if (probe.sheet == SHEET_SPELLICON && CellAt(backbuffer, x - 1, 125 + 39).sheet != SHEET_SPELLICON)
                found.push_back(x);
        }
        EXPECT_EQ(found, xs[count]) << count << " spells";
        const PixelRect title = Ink(backbuffer, { 0, 90, 800, 125 }, 0x808080);
        EXPECT_LT(title.left, title.right) << "the title, even with no spells";
        EXPECT_GE(title.left, 75);
        EXPECT_LE(title.right, 377);
        EXPECT_EQ(CellAt(backbuffer, 139, 132).sheet == SHEET_TERRAIN, count > 0) << "the shading tiles, between icons";
    }
    // The icons are the spells' pictures, in slot order.
    EXPECT_EQ(CellAt(backbuffer, 75 + 39, 125 + 39), (Probe{ SHEET_SPELLICON, 21 }));
    EXPECT_EQ(CellAt(backbuffer, 335 + 39, 125 + 39), (Probe{ SHEET_SPELLICON, 25 }));
}

TEST_F(WidgetTest, AnIconUnderTheMouseShowsItsBox)
{
    PointAt(163 + 5, 125 + 5);      // on the second of four
    DrawTypeSpellRow(100, 15, "SPELLS");
    EXPECT_EQ(LayerAt(backbuffer, 555, 210, PATCH_RANGE), (Probe{ SHEET_TERRAIN, 195 }));
    EXPECT_TRUE(Inked({ 555, 210, 795, 240 }));
    ClearBackBuffer();
    PointAt(500, 500);
    DrawTypeAbilityRow(100, 17, "ABILITIES");
    EXPECT_EQ(LayerAt(backbuffer, 555, 210, PATCH_RANGE), (Probe{ SHEET_NONE, -1 }));
    EXPECT_EQ(CellAt(backbuffer, 140 + 39, 125 + 39), (Probe{ SHEET_SPELLICON, 1 })) << "Flying's picture";
    EXPECT_EQ(CellAt(backbuffer, 273 + 39, 125 + 39), (Probe{ SHEET_SPELLICON, 3 })) << "Tough's";
}

TEST_F(WidgetTest, UnitsForSaleAreDimmedWhenTheyCostTooMuch)
{
    buyable = { { 1, 100, 100, 0 }, { 3, 200, 100, 0 }, { 2, 300, 100, 0 }, { 10002, 400, 100, 0 } };
    p[0].gold = 80;
    DrawBuyableIcons();
    EXPECT_EQ(LayerAt(backbuffer, 400, 100, PATCH_ICON), (Probe{ SHEET_NONE, -1 }));
    EXPECT_NE(log.find("ERROR: There is no unit type 10002 to show."), std::string::npos);
    EXPECT_EQ(LayerAt(backbuffer, 100, 100, PATCH_ICON), (Probe{ SHEET_UNITS, 1 }));
    EXPECT_EQ(LayerAt(backbuffer, 200, 100, PATCH_ICON), (Probe{ SHEET_UNITSTINT, 3 }));
    EXPECT_EQ(LayerAt(backbuffer, 300, 100, PATCH_ICON), (Probe{ SHEET_UNITS, 2 })) << "exactly affordable";
}

TEST_F(WidgetTest, AClickInTheShopsStripRefundsAndTheNextTakesItsPlace)
{
    currplayer = 0;
    p[0].gold = 10;
    p[0].bought = { { 1, 0, 0, 1 }, { 3, 0, 0, 3 }, { 2, 0, 0, 2 } };
    PointAt(60 + 10, 540 + 10, true);
    EXPECT_FALSE(DrawShopBoughtUnits());
    EXPECT_EQ(p[0].gold, 510);
    ASSERT_EQ(p[0].bought.size(), 2u);
    EXPECT_EQ(p[0].bought[1].type, 2);
    EXPECT_EQ(LayerAt(backbuffer, 60, 540, PATCH_ICON), (Probe{ SHEET_UNITS, 2 })) << "drawn in the same frame";
    EXPECT_EQ(LayerAt(backbuffer, 100, 540, PATCH_ICON), (Probe{ SHEET_NONE, -1 }));
    EXPECT_FALSE(LeftButtonDown()) << "held until let go";
    EXPECT_EQ(ScriptedMouseReads(), 1);

    // Held over three reads it refunds one unit all the same.
    PointAt(20 + 10, 540 + 10, true);
    ScriptMouse(0, 0, 1, 2);
    DrawShopBoughtUnits();
    EXPECT_EQ(p[0].bought.size(), 1u);
    EXPECT_EQ(p[0].gold, 560);
    EXPECT_EQ(ScriptedMouseReads(), 4);

    // Without a press nothing changes.
    PointAt(20 + 10, 540 + 10);
    DrawShopBoughtUnits();
    EXPECT_EQ(p[0].bought.size(), 1u);
    EXPECT_EQ(p[0].gold, 560);
    p.clear();
    EXPECT_TRUE(DrawShopBoughtUnits());
}

TEST_F(WidgetTest, APressInTheDeploymentStripPicksAUnit)
{
    currplayer = 1;
    p[1].bought = { { 1, 0, 0, 7 }, { 3, 0, 0, 8 }, { 2, 0, 0, 9 } };
    hoveritem = 0;
    PointAt(100 + 39, 540 + 39);
    DrawBoughtUnits();
    EXPECT_EQ(hoveritem, 0);
    EXPECT_EQ(LayerAt(backbuffer, 100, 540, PATCH_ICON), (Probe{ SHEET_UNITS, 9 }));
    mousestate.buttons[0] = 0x80;
    DrawBoughtUnits();
    EXPECT_EQ(hoveritem, 2);
    EXPECT_EQ(p[1].bought.size(), 3u);
    PointAt(140, 540, true);
    DrawBoughtUnits();
    EXPECT_EQ(hoveritem, 2) << "past the last unit";
}

TEST_F(WidgetTest, CursorsAreCutAtTheScreensEdges)
{
    PointAt(790, 300);
    DrawCursor(1);
    EXPECT_EQ(CellAt(backbuffer, 790, 300), (Probe{ SHEET_ICONS, 1 }));
    EXPECT_EQ(CellAt(backbuffer, 799, 339), (Probe{ SHEET_ICONS, 1 }));
    EXPECT_EQ(Ink(backbuffer, { 0, 0, 800, 600 }).left, 790) << "10 pixels wide";
    ClearBackBuffer();
    PointAt(100, 580);
    DrawCursorCell(17);
    EXPECT_EQ(CellAt(backbuffer, 107, 599), (Probe{ SHEET_UNITS, 17 }));
    EXPECT_EQ(Ink(backbuffer, { 0, 0, 800, 600 }).top, 596) << "its icon patch, cut at the bottom";
    ClearBackBuffer();
    DrawCursor(40);
    DrawCursorCell(-3);
    EXPECT_FALSE(Inked({ 0, 0, 800, 600 }));
    EXPECT_NE(log.find("ERROR: Cursor 40 lies outside its sheet."), std::string::npos);
}

} // namespace
