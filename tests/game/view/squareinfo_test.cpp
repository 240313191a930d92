// The square panel: the unit on the square under the cursor with its owner, figures, abilities and
// health, or else the square's object.
#include <gtest/gtest.h>

#include <string>

#include "game/model/mapgen.h"
#include "game/model/state.h"
#include "game/model/wards.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/input.h"
#include "game/shell/shell.h"
#include "game/view/geometry.h"
#include "game/view/names.h"
#include "game/view/squareinfo.h"
#include "tests/game/support/world.h"
#include "tests/game/view/paneltest.h"

namespace {

enum : uint32_t { WHITE = 0xFFFFFF, BODY = 0x7FFFFF, FIGURES = 0xFFFF80, STUNNED = 0xE0E0E0, POISONED = 0x00FF00 };

class SquareInfoTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        MakeBoard(2, 20);
        currplayer = 1;
        Hover(10, 5);
    }
    // The cursor over the middle of square (x, y) of the view at the map's corner.
    static void Hover(int32_t x, int32_t y)
    {
        mousex = x * 40 + 20;
        mousey = y * 40 + 20;
    }
    std::vector<DrawnText> Draw(bool* unit = nullptr)
    {
        ClearBackBuffer();
        TakeTexts();
        const bool described = DrawSquareInfo(5, 360);
        if (unit)
            *unit = described;
        return TakeTexts();
    }
    // The title and the text of a description box, or two empty strings.
    std::pair<std::string, std::string> Box(const std::vector<DrawnText>& drawn)
    {
        std::pair<std::string, std::string> box;
        for (const DrawnText& t : drawn) {
            if (t.rect.left != 5 && t.rect.left != 6)
                continue;
            if (t.rect.top == 400 && t.colour == WHITE)
                box.first = t.text;
            if (t.rect.top == 450 && t.colour == BODY)
                box.second = t.text;
        }
        return box;
    }
    MapSquare& Hovered() { return map[10][5]; }
};

TEST_F(SquareInfoTest, EveryMapObjectItsDescription)
{
    struct Case {
        const char* name;
        uint8_t terrain, extra;
        int8_t hazard, forcefield;
        const char* title;
        const char* text;
    };
    const Case cases[] = {
        { "own mine", TERRAIN_MINE, 0, 0, 0, "Gold Mine", "This gold mine contributes 10 gold to your treasury each turn." },
        { "nobody's mine", TERRAIN_MINE, MINENOBODY, 0, 0, "Gold Mine",
          "Gold mines are highly guarded, but add 10 gold to your treasury each turn." },
        { "an enemy's mine", TERRAIN_MINE, 1, 0, 0, "Enemy Gold Mine",
          "This gold mine is adding 10 gold to your enemy's treasury each turn." },
        { "a mine on fire", TERRAIN_MINE, 1, 3, 0, "Enemy Gold Mine",
          "This gold mine is adding 10 gold to your enemy's treasury each turn." },
        { "deposits", TERRAIN_DEPOSIT, 2, 0, 0, "Gold Deposits", "These deposits contribute $15-25 to your treasury." },
        { "node", TERRAIN_SITE, 0, 0, 0, "Magic Node", "Magic nodes fully charge the mana of any unit." },
        { "tome", TERRAIN_SITE, 2, 0, 0, "Tome of the Wise",
          "Tomes of the Wise contain valuable knowledge that grants bonus experience." },
        { "vial", TERRAIN_SITE, 4, 0, 0, "Vial of Poison",
          "This Vial of Poison poisons the weapon of the unit that uses it." },
        { "weapon", TERRAIN_SITE, 6, 0, 0, "Ancient Weapon",
          "Ancient weapons grant a +1 attack bonus to the unit that uses it." },
        { "statue", TERRAIN_SITE, 8, 0, 0, "Statue",
          "Statues raise the stamina of units, granting a +2 attack and +1 speed bonus for 3 turns." },
        { "scroll", TERRAIN_SITE, 10, 0, 0, "Spell Scroll",
          "Spell scrolls contain magical incantations, teaching its owner a new spell." },
        { "beacon", TERRAIN_SITE, 12, 0, 0, "Beacon of Invisibility",
          "This Beacon of Invisiblity renders the first non-warlord unit to stand on it invisible for three turns." },
        { "pillar", TERRAIN_SITE, 14, 0, 0, "Pillar of Lost Sights",
          "This Pillar of Lost Sights will reveal the locations of all other Pillars of Lost Sights." },
        { "a used node", TERRAIN_SITE, 1, 0, 0, "", "" },
        { "a used pillar", TERRAIN_SITE, 15, 0, 0, "", "" },
        { "no such site", TERRAIN_SITE, 16, 0, 0, "", "" },
        { "a site's last byte", TERRAIN_SITE, 254, 0, 0, "", "" },
        { "open ground", TERRAIN_OPEN, 0, 0, 0, "", "" },
        { "trees", TERRAIN_TREES, 0, 0, 0, "", "" },
        { "a brushfire", TERRAIN_OPEN, 0, 2, 0, "Brushfire",
          "Any units without flying entering this square will take five damage." },
        { "a forcefield", TERRAIN_ROUGH, 0, 0, 1, "Forcefield",
          "This forcefield prevents all units from entering this square." },
        { "both: the brushfire", TERRAIN_OPEN, 0, 1, 3, "Brushfire",
          "Any units without flying entering this square will take five damage." },
        { "a negative forcefield count", TERRAIN_OPEN, 0, 0, -1, "Forcefield",
          "This forcefield prevents all units from entering this square." },
    };
    for (const Case& c : cases) {
        Hovered().terrain = c.terrain;
        Hovered().extra = c.extra;
        Hovered().hazard = c.hazard;
        Hovered().counter2 = c.forcefield;
        bool unit = true;
        const std::vector<DrawnText> drawn = Draw(&unit);
        EXPECT_FALSE(unit) << c.name;
        const auto [title, text] = Box(drawn);
        EXPECT_EQ(title, c.title) << c.name;
        EXPECT_EQ(text, c.text) << c.name;
        EXPECT_EQ(drawn.empty(), *c.title == '\0') << c.name;
        const bool shaded = LayerAt(backbuffer, 5, 400, PATCH_RANGE) == Probe{ SHEET_TERRAIN, 195 };
        EXPECT_EQ(shaded, *c.title != '\0') << c.name;
    }
}

TEST_F(SquareInfoTest, NothingOffTheBoardOffTheMapOrUnexplored)
{
    Hovered().terrain = TERRAIN_DEPOSIT;
    AddTestUnit(1, 10, 5);
    EXPECT_FALSE(Draw().empty());
    Hovered().explored = 0;
    EXPECT_TRUE(Draw().empty()) << "unexplored: nothing, whatever stands there";
    Hovered().explored = 1;
    mousey = 530;
    EXPECT_TRUE(Draw().empty()) << "the cursor over the unit panel";
    Hover(10, 5);
    view = { 15, 0, 35, 13 };           // the hovered square (25, 5) lies off the map
    EXPECT_TRUE(Draw().empty());
    view = { 0, 0, 20, 13 };
    candraw = 0;
    EXPECT_TRUE(Draw().empty());
    candraw = 1;
}

TEST_F(SquareInfoTest, AUnitWithItsOwnerFiguresAbilitiesAndHealth)
{
    const int32_t u = AddTestUnit(1, 10, 5);
    Unit& unit = p[1].units[u];
    unit.hp = 7;
    unit.abilities[1] = FLYING;
    unit.abilities[4] = POISON;
    AddWard(1, u, 2, 0, 1, 0, 0, 0, 0, 0, 0, 0, 80, 0);      // attack + 1
    bool described = false;
    const std::vector<DrawnText> drawn = Draw(&described);
    EXPECT_TRUE(described);
    const DrawnText* name = Find(drawn, "Soldier");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->rect.left, 5);
    EXPECT_EQ(name->rect.top, 360);
    EXPECT_EQ(name->colour, WHITE);
    EXPECT_EQ(name->flags, uint32_t(TEXT_CENTRE));
    EXPECT_EQ(name->font, fonts[1]);
    const DrawnText* owner = Find(drawn, "P1");
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(owner->rect.top, 390);
    EXPECT_EQ(owner->colour, playercolours[1]);
    const char* const figures[4] = { "4", "10", "3", "1" };
    for (int32_t k = 0; k < 4; k++) {
        bool found = false;
        for (const DrawnText& t : drawn)
            if (t.text == figures[k] && t.rect.left == 15 + 60 * k && t.rect.top == 420 && t.colour == FIGURES)
                found = true;
        EXPECT_TRUE(found) << "stat " << k;
        EXPECT_EQ(LayerAt(backbuffer, 15 + 60 * k, 420, PATCH_STATICON), (Probe{ SHEET_UNITS, 224 + k }))
            << "stat icon " << k;
    }
    // The abilities side by side from x 25, under the figures.
    EXPECT_EQ(LayerAt(backbuffer, 25, 480, PATCH_FULL), (Probe{ SHEET_SPELLICON, 1 }));
    EXPECT_EQ(LayerAt(backbuffer, 65, 480, PATCH_FULL), (Probe{ SHEET_SPELLICON, 2 }));
    const DrawnText* health = Find(drawn, "(7 health remaining)");
    ASSERT_NE(health, nullptr);
    EXPECT_EQ(health->rect.top, 460);
    EXPECT_EQ(health->colour, WHITE);
    EXPECT_EQ(health->font, fonts[0]);
    // With abilities the box is four tiles high, from y 360.
    EXPECT_EQ(LayerAt(backbuffer, 5, 360, PATCH_RANGE), (Probe{ SHEET_TERRAIN, 195 }));
    EXPECT_EQ(LayerAt(backbuffer, 205, 480, PATCH_RANGE), (Probe{ SHEET_TERRAIN, 195 }));
}

TEST_F(SquareInfoTest, AUnitWithoutAbilitiesGetsTheShorterBox)
{
    AddTestUnit(1, 10, 5);
    const std::vector<DrawnText> drawn = Draw();
    const DrawnText* name = Find(drawn, "Soldier");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->rect.top, 400);
    const DrawnText* health = Find(drawn, "(10 health remaining)");
    ASSERT_NE(health, nullptr);
    EXPECT_EQ(health->rect.top, 500);
    EXPECT_NE(LayerAt(backbuffer, 5, 360, PATCH_RANGE), (Probe{ SHEET_TERRAIN, 195 }));
    EXPECT_EQ(LayerAt(backbuffer, 5, 400, PATCH_RANGE), (Probe{ SHEET_TERRAIN, 195 }));
}

TEST_F(SquareInfoTest, StunnedComesBeforePoisoned)
{
    struct Case {
        const char* name;
        int32_t actionsward;
        int32_t poison;
        const char* line;
        uint32_t colour;
    };
    const Case cases[] = {
        { "well", 0, 0, "(10 health remaining)", WHITE },
        { "poisoned", 0, 2, "(10 health remaining) (Poisoned!)", POISONED },
        { "stunned", -2, 0, "(10 health remaining) (Stunned!)", STUNNED },
        { "stunned and poisoned", -2, 2, "(10 health remaining) (Stunned!)", STUNNED },
        { "one action left of his turn's", -1, 0, "(10 health remaining)", WHITE },
    };
    for (const Case& c : cases) {
        p[1].units.clear();
        const int32_t u = AddTestUnit(1, 10, 5);
        p[1].units[u].poison = c.poison;
        if (c.actionsward)
            AddWard(1, u, 2, 0, 0, 0, 0, 0, c.actionsward, 0, 0, 0, 81, 0);
        const DrawnText* health = nullptr;
        const std::vector<DrawnText> drawn = Draw();
        for (const DrawnText& t : drawn)
            if (t.rect.top == 500 && t.colour != 0)
                health = &t;
        ASSERT_NE(health, nullptr) << c.name;
        EXPECT_EQ(health->text, c.line) << c.name;
        EXPECT_EQ(health->colour, c.colour) << c.name;
    }
}

TEST_F(SquareInfoTest, WhichUnitIsDescribed)
{
    struct Case {
        const char* name;
        int32_t player;
        int32_t stealth;
        int8_t dark;
        uint8_t terrain;
        const char* expected;       // a unit's owner, or the object's title
    };
    const Case cases[] = {
        { "an enemy in the open", 1, 0, 0, TERRAIN_OPEN, "P1" },
        { "an enemy of stealth 2: the square instead", 1, 2, 0, TERRAIN_DEPOSIT, "Gold Deposits" },
        { "an enemy of stealth 2 on bare ground: nothing", 1, 2, 0, TERRAIN_OPEN, nullptr },
        { "an enemy of stealth 1 in the dark", 1, 1, 1, TERRAIN_OPEN, nullptr },
        { "an own unit however hidden", 0, 3, 1, TERRAIN_OPEN, "P0" },
        { "a unit on a mine: the unit", 1, 0, 0, TERRAIN_MINE, "P1" },
        { "the neutral side's guard, in grey", 2, 0, 0, TERRAIN_MINE, "Unaligned" },
    };
    for (const Case& c : cases) {
        for (Player& player : p)
            player.units.clear();
        Hovered().terrain = c.terrain;
        Hovered().extra = MINENOBODY;
        Hovered().dark = c.dark;
        const int32_t u = AddTestUnit(c.player, 10, 5);
        p[c.player].units[u].stat[STAT_STEALTH] = c.stealth;
        const std::vector<DrawnText> drawn = Draw();
        if (!c.expected) {
            EXPECT_TRUE(drawn.empty()) << c.name;
            continue;
        }
        EXPECT_NE(Find(drawn, c.expected), nullptr) << c.name;
    }
    const std::vector<DrawnText> drawn = Draw();
    const DrawnText* grey = Find(drawn, "Unaligned");
    ASSERT_NE(grey, nullptr);
    EXPECT_EQ(grey->colour, playercolours[5]);
    // Behind a hidden enemy the first unit the local player can see is described.
    Hovered().dark = 0;
    p[1].units.clear();
    p[1].units[AddTestUnit(1, 10, 5)].stat[STAT_STEALTH] = 2;
    p[1].units[AddTestUnit(1, 10, 5, 3)].stat[STAT_STEALTH] = 0;
    EXPECT_NE(Find(Draw(), "Imp"), nullptr);
}

TEST_F(SquareInfoTest, AnOwnerOutsideTheColourTableIsGrey)
{
    p[1].code = 0xF9;
    AddTestUnit(1, 10, 5);
    const std::vector<DrawnText> drawn = Draw();
    const DrawnText* owner = Find(drawn, "P1");
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(owner->colour, playercolours[5]);
}

} // namespace
