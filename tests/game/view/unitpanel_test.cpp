// The unit panel: whose units show one, every figure, ability count and meter it shows, and the
// local player's spells and buttons with what their clicks and keys do.
#include <gtest/gtest.h>

#include <string>

#include "game/model/catalogue.h"
#include "game/model/state.h"
#include "game/model/wards.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/shell/shell.h"
#include "game/view/commandmode.h"
#include "game/view/unitpanel.h"
#include "platform/inputscript.h"
#include "tests/game/support/world.h"
#include "tests/game/view/paneltest.h"

namespace {

enum : uint32_t { RED = 0x4040FF, YELLOW = 0x40FFFF, GREEN = 0x40FF40, MANABLUE = 0xFF8080, FIGURES = 0xFFFF80,
                  BODY = 0x7FFFFF };

class UnitPanelTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        MakeBoard(2, 20);
        unit = AddTestUnit(0, 3, 3);
        enemy = AddTestUnit(1, 6, 6);
        currplayer = 0;
        currunit = unit;
        commandmode = COMMAND_MOVE;
        commandflag = 1;
        gs = GAME_UNITTURN;
        mousex = 400;
        mousey = 300;
        TakeTexts();
    }
    void TearDown() override
    {
        commandmode = COMMAND_MOVE;
        commandflag = 0;
        gs = GAME_INTRO;
        shownlife = shownmoves = shownmana = shownexp = 0;
        PanelTest::TearDown();
    }
    Unit& U() { return p[0].units[unit]; }
    // The panel of the unit drawn once on a cleared screen; the texts it drew.
    std::vector<DrawnText> Draw(int32_t player, int32_t u)
    {
        ClearBackBuffer();
        TakeTexts();
        EXPECT_FALSE(DrawUnitPanel(player, u));
        return TakeTexts();
    }
    static bool DrewAnything() { return Ink(backbuffer, { 0, 0, 800, 600 }).left < 800; }
    // Some pixel of a layer's patch on the cell at (px, py) shows the probe (the rest may lie under text).
    static bool Shows(int32_t px, int32_t py, PatchPlace place, Probe probe)
    {
        for (int32_t dy = 0; dy < 8; dy++)
            for (int32_t dx = 0; dx < 8; dx++)
                if (LayerAt(backbuffer, px - dx, py - dy, place) == probe)
                    return true;
        return false;
    }
    int32_t unit = 0, enemy = 0;
};

TEST_F(UnitPanelTest, WhoseUnitsShowAPanel)
{
    struct Case {
        const char* name;
        int32_t player;
        int32_t stealth, dark;
        uint8_t explored;
        int32_t x;
        bool drawn;
    };
    const Case cases[] = {
        { "own unit", 0, 0, 0, 1, 3, true },
        { "own unit hidden in the dark", 0, 1, 1, 1, 3, true },
        { "enemy in the open", 1, 0, 0, 1, 6, true },
        { "enemy of stealth 1 in the open", 1, 1, 0, 1, 6, true },
        { "enemy of stealth 1 in the dark", 1, 1, 1, 1, 6, false },
        { "enemy in deep darkness", 1, 0, 2, 1, 6, false },
        { "enemy lit against its stealth", 1, 3, -1, 1, 6, false },
        { "enemy on an unexplored square", 1, 0, 0, 0, 6, false },
        { "own unit on an unexplored square", 0, 0, 0, 0, 3, false },
        { "own unit off the map", 0, 0, 0, 1, -1, false },
    };
    for (const Case& c : cases) {
        Unit& u = p[c.player].units[0];
        u.stat[STAT_STEALTH] = c.stealth;
        u.x = c.x;
        if (c.x >= 0) {
            map[c.x][u.y].dark = static_cast<int8_t>(c.dark);
            map[c.x][u.y].explored = c.explored;
        }
        Draw(c.player, 0);
        EXPECT_EQ(DrewAnything(), c.drawn) << c.name;
        if (c.x >= 0) {
            map[c.x][u.y].dark = 0;
            map[c.x][u.y].explored = 1;
        }
        u.stat[STAT_STEALTH] = 0;
        u.x = c.player == 0 ? 3 : 6;
    }
    for (const auto& [player, u] : { std::pair{ -1, 0 }, { 3, 0 }, { 0, -1 }, { 0, 1 }, { 2, 0 } }) {
        Draw(player, u);
        EXPECT_FALSE(DrewAnything()) << player << ", " << u;
    }
    candraw = 0;
    Draw(0, 0);
    candraw = 1;
    EXPECT_FALSE(DrewAnything());
}

TEST_F(UnitPanelTest, EveryStatWardAndAbilityIsShown)
{
    U().abilities[0] = FLYING;
    U().abilities[1] = POISON;
    U().abilities[3] = TOUGH;           // a gap in the slots: the icons still sit side by side
    U().mana = 5;
    U().moves = 2;
    U().hp = 7;
    AddWard(0, unit, 3, 0, 2, 5, 1, 1, 0, 0, 0, 0, 77, 0);      // attack +2, life +5, moves +1, range +1
    const std::vector<DrawnText> drawn = Draw(0, unit);

    // The four stats as they stand with the ward, in the big font, each over its icon.
    const char* const figures[4] = { "5", "15", "4", "2" };
    for (int32_t k = 0; k < 4; k++) {
        const DrawnText* t = Find(drawn, figures[k]);
        ASSERT_NE(t, nullptr) << "stat " << k;
        EXPECT_EQ(t->font, fonts[2]);
        EXPECT_EQ(t->colour, FIGURES);
        EXPECT_EQ(t->rect.left, 80 + 50 * k);
        EXPECT_EQ(t->rect.top, 500);
        EXPECT_TRUE(Shows(100 + 50 * k, 520, PATCH_STATICON, { SHEET_UNITS, 224 + k })) << "stat icon " << k;
    }
    // The meters' figures.
    const char* const lines[3] = { "3 / 4", "7 / 15", "5 / 10" };     // the ward's move came with it
    const int32_t tops[3] = { 523, 548, 573 };
    for (int32_t i = 0; i < 3; i++) {
        const DrawnText* t = Find(drawn, lines[i]);
        ASSERT_NE(t, nullptr) << lines[i];
        EXPECT_EQ(t->rect.top, tops[i]);
        EXPECT_EQ(t->rect.left, 350);
        EXPECT_EQ(t->colour, BODY);
        EXPECT_EQ(t->font, fonts[1]);
    }
    // The abilities' icons in slot order, from x 100.
    const int32_t pictures[3] = { 1, 2, 3 };
    for (int32_t i = 0; i < 3; i++)
        EXPECT_EQ(LayerAt(backbuffer, 100 + 40 * i, 560, PATCH_FULL), (Probe{ SHEET_SPELLICON, pictures[i] })) << i;
    EXPECT_EQ(LayerAt(backbuffer, 220, 560, PATCH_FULL).sheet, SHEET_BORDER + static_cast<int32_t>(BORDER_UNIT)) << "no fourth icon";
    // The unit's own picture, twice its size, and the strip under the stat icons.
    EXPECT_EQ(CellAt(backbuffer, 15, 520 + 47), (Probe{ SHEET_UNITS, 1 }));
    EXPECT_EQ(CellAt(backbuffer, 290, 560).sheet, SHEET_LINE);
}

TEST_F(UnitPanelTest, AbilityCountsAndTheirColours)
{
    struct Case {
        const char* name;
        int32_t type;
        int32_t ability;
        int32_t rocks;
        int32_t wardturns;          // -1: no lifetime ward
        int32_t manaward;
        const char* text;
        uint32_t colour;
    };
    const Case cases[] = {
        { "a slinger's one rock", SLINGER, ROCKS, 1, -1, 0, "1", YELLOW },
        { "no rock left", SLINGER, ROCKS, 0, -1, 0, "0", RED },
        { "rocks to spare", SLINGER, ROCKS, 5, -1, 0, "5", GREEN },
        { "rocks of a type without the flag", 1, ROCKS, 3, -1, 0, "-999996", RED },
        { "mana gained a turn", 1, MANA, 0, -1, 0, "1", MANABLUE },
        { "mana gained with a ward", 1, MANA, 0, -1, 2, "3", MANABLUE },
        { "a summoned unit's last turn", 1, SUMMONED, 0, 0, 0, "1", RED },
        { "two turns left", 1, SUMMONED, 0, 1, 0, "2", YELLOW },
        { "more", 1, SUMMONED, 0, 4, 0, "5", GREEN },
        { "summoned without its ward", 1, SUMMONED, 0, -1, 0, nullptr, 0 },
        { "an ability without a count", 1, FLYING, 0, 2, 0, nullptr, 0 },
    };
    for (const Case& c : cases) {
        p[0].units.clear();
        const int32_t u = AddTestUnit(0, 3, 3, c.type);
        p[0].units[u].abilities[0] = c.ability;
        p[0].units[u].rocks = c.rocks;
        if (c.manaward)
            AddWard(0, u, 5, 0, 0, 0, 0, 0, 0, 0, 0, c.manaward, 78, 0);
        if (c.wardturns >= 0)
            AddWard(0, u, c.wardturns, 0, 0, 0, 0, 0, 0, 0, 0, 0, LIFETIMEWARD, 0);
        std::vector<DrawnText> counts;
        for (const DrawnText& t : Draw(0, u))
            if (t.rect.left == 100 && t.rect.top == 560 && t.colour != 0)
                counts.push_back(t);
        if (!c.text) {
            EXPECT_TRUE(counts.empty()) << c.name;
            continue;
        }
        ASSERT_EQ(counts.size(), 1u) << c.name;
        EXPECT_EQ(counts[0].text, c.text) << c.name;
        EXPECT_EQ(counts[0].colour, c.colour) << c.name;
        EXPECT_EQ(counts[0].font, fonts[1]) << c.name;
    }
}

TEST_F(UnitPanelTest, TheMouseOnAnAbilityShowsItsBox)
{
    U().abilities[0] = FLYING;
    U().abilities[1] = MANA;
    mousex = 150;
    mousey = 570;
    const std::vector<DrawnText> drawn = Draw(0, unit);
    EXPECT_NE(Find(drawn, "Mana"), nullptr);
    EXPECT_NE(Find(drawn, "What Mana does."), nullptr);
    EXPECT_EQ(Find(drawn, "Flying"), nullptr);
    EXPECT_EQ(LayerAt(backbuffer, 5, 400, PATCH_RANGE), (Probe{ SHEET_TERRAIN, 195 })) << "the box's shading";
}

TEST_F(UnitPanelTest, SpellsThatCannotBeCastAreShadedAndCannotBePicked)
{
    U().spells[0] = BLAST;
    U().spells[1] = STORM;
    struct Case {
        const char* name;
        int32_t mana, hits;
        uint32_t claim;
        bool blast, storm;          // usable
    };
    const Case cases[] = {
        { "mana for one", 5, 2, NOCLAIM, true, false },
        { "mana for both", 10, 2, NOCLAIM, true, true },
        { "one action left", 10, 1, NOCLAIM, false, false },
        { "a claimed square", 10, 2, 1, false, false },
        { "no mana", 0, 3, NOCLAIM, false, false },
    };
    const int32_t slotx[2] = { 655, 680 }, sloty[2] = { 520, 560 };
    for (const Case& c : cases) {
        U().mana = c.mana;
        U().hits = c.hits;
        map[3][3].bits = c.claim;
        Draw(0, unit);
        const bool usable[2] = { c.blast, c.storm };
        for (int32_t s = 0; s < 2; s++) {
            EXPECT_EQ(CellAt(backbuffer, slotx[s] + 39, sloty[s] + 39), (Probe{ SHEET_SPELLICON, 50 + s }))
                << c.name << " spell " << s;
            const bool shaded = LayerAt(backbuffer, slotx[s], sloty[s], PATCH_RANGE) == Probe{ SHEET_TERRAIN, 195 };
            EXPECT_EQ(shaded, !usable[s]) << c.name << " spell " << s;

            // A click picks a usable spell only, and holds until the button is let go.
            commandmode = COMMAND_MOVE;
            commandflag = 1;
            map[0][0].mark = 1;
            mousex = slotx[s] + 20;
            mousey = sloty[s] + 20;
            mousestate.buttons[0] = KEY_DOWNBIT;
            ClearInputScript();
            Draw(0, unit);
            mousestate = {};
            EXPECT_EQ(commandmode, usable[s] ? COMMAND_SPELL : COMMAND_MOVE) << c.name << " click " << s;
            if (usable[s]) {
                EXPECT_EQ(selectedspell, s);
                EXPECT_EQ(commandflag, 0);
                EXPECT_EQ(map[0][0].mark, 0) << "the last command's marks go";
            }
            mousex = 400;
            mousey = 300;

            // So does CTRL and the spell's letter, once the letter is let go.
            commandmode = COMMAND_MOVE;
            ScriptKeys({ KEY_LCONTROL, s == 0 ? KEY_B : KEY_S });
            PollKeyboard();
            Draw(0, unit);
            EXPECT_EQ(commandmode, usable[s] ? COMMAND_SPELL : COMMAND_MOVE) << c.name << " key " << s;
            ScriptKeys({ s == 0 ? KEY_B : KEY_S });     // the letter alone: nothing
            PollKeyboard();
            commandmode = COMMAND_MOVE;
            Draw(0, unit);
            EXPECT_EQ(commandmode, COMMAND_MOVE) << c.name << " letter alone " << s;
        }
    }
    map[3][3].bits = NOCLAIM;
}

TEST_F(UnitPanelTest, AimingShowsThePickedSpellLargeAndItsCancel)
{
    U().spells[0] = BLAST;
    U().spells[1] = STORM;
    U().mana = 10;
    commandmode = COMMAND_SPELL;
    selectedspell = STORM;
    std::vector<DrawnText> drawn = Draw(0, unit);
    // The picked spell's picture at twice its size, and no slots.
    EXPECT_EQ(CellAt(backbuffer, 655 + 79, 520 + 79), (Probe{ SHEET_SPELLICON, 51 }));
    EXPECT_EQ(CellAt(backbuffer, 655 + 1, 520 + 1), (Probe{ SHEET_SPELLICON, 51 }));
    EXPECT_EQ(CellAt(backbuffer, 755 + 39, 555 + 39), (Probe{ SHEET_ICONS, 8 }));
    EXPECT_EQ(Find(drawn, "Storm"), nullptr);
    // The mouse on the picture shows the spell's box.
    mousex = 700;
    mousey = 560;
    drawn = Draw(0, unit);
    EXPECT_NE(Find(drawn, "Storm"), nullptr);
    // A press on the cancel icon ends the aiming once let go.
    mousex = 770;
    mousey = 570;
    mousestate.buttons[0] = KEY_DOWNBIT;
    Draw(0, unit);
    EXPECT_EQ(commandmode, COMMAND_MOVE);
    EXPECT_EQ(commandflag, 0);
}

TEST_F(UnitPanelTest, AnotherPlayersUnitHidesItsManaAndHasNoCommands)
{
    p[1].units[enemy].spells[0] = BLAST;
    p[1].units[enemy].mana = 7;
    shownmana = 100;
    shownexp = 10;
    const std::vector<DrawnText> drawn = Draw(1, enemy);
    EXPECT_NE(Find(drawn, "? / ?"), nullptr);
    EXPECT_EQ(Find(drawn, "7 / 10"), nullptr);
    EXPECT_NE(CellAt(backbuffer, 655 + 39, 520 + 39).sheet, SHEET_SPELLICON) << "no spells";
    for (const int32_t y : { 30, 70, 110 })
        EXPECT_NE(CellAt(backbuffer, 5 + 39, y + 39).sheet, SHEET_ICONS) << "no button at " << y;
    EXPECT_NE(CellAt(backbuffer, 360, 580), (Probe{ SHEET_METERS, 2 })) << "no mana meter";
    EXPECT_NE(CellAt(backbuffer, 580, 590), (Probe{ SHEET_METERS, 3 })) << "no experience column";
    // The local player's own unit has them all.
    Draw(0, unit);
    EXPECT_EQ(CellAt(backbuffer, 360, 580), (Probe{ SHEET_METERS, 2 }));
    EXPECT_EQ(CellAt(backbuffer, 580, 590), (Probe{ SHEET_METERS, 3 }));
    for (const int32_t y : { 30, 70, 110 })
        EXPECT_EQ(CellAt(backbuffer, 5 + 39, y + 39).sheet, SHEET_ICONS) << "button at " << y;
}

TEST_F(UnitPanelTest, ButtonsActOnceTheButtonIsLetGo)
{
    struct Case {
        const char* name;
        int32_t y;
        int32_t hits;
        int32_t gs, mode;
        int32_t reads;              // mouse reads of the hold: three held, the fourth let go
        const char* title;
        const char* help;
    };
    const Case cases[] = {
        { "Attack", 50, 2, GAME_UNITTURN, COMMAND_ATTACK, 4, "Attack",
          "Attack enemies with the currently selected unit (TAB)." },
        { "Attack with one action", 50, 1, GAME_UNITTURN, COMMAND_MOVE, 0, "Attack",
          "Attack enemies with the currently selected unit (TAB)." },
        { "Next Unit", 90, 2, GAME_NEXTUNIT, COMMAND_MOVE, 4, "Next Unit", "Selects the next unit in your army (W)" },
        { "End Turn", 130, 2, GAME_ENDTURNOPEN, COMMAND_MOVE, 4, "End Turn",
          "Ends your turn and begins the next player's turn (CTRL+SPACE)." },
    };
    for (const Case& c : cases) {
        gs = GAME_UNITTURN;
        commandmode = COMMAND_MOVE;
        U().hits = c.hits;
        mousex = 20;
        mousey = c.y;
        mousestate.buttons[0] = KEY_DOWNBIT;
        ClearInputScript();
        ScriptMouse(0, 0, 1, 3);
        const std::vector<DrawnText> drawn = Draw(0, unit);
        mousestate = {};
        EXPECT_EQ(gs, c.gs) << c.name;
        EXPECT_EQ(commandmode, c.mode) << c.name;
        EXPECT_EQ(ScriptedMouseReads(), c.reads) << c.name;
        const DrawnText* title = Find(drawn, c.title);
        const DrawnText* help = Find(drawn, c.help);
        ASSERT_NE(title, nullptr) << c.name;
        ASSERT_NE(help, nullptr) << c.name;
        EXPECT_EQ(title->rect.top, 400);
        EXPECT_EQ(title->colour, 0xFFFFFFu);
        EXPECT_EQ(help->rect.top, 430);
        EXPECT_EQ(help->colour, BODY);
        EXPECT_EQ(help->font, fonts[0]);
    }
    // Only the mouse over a button shows its help.
    mousex = 400;
    mousey = 300;
    EXPECT_EQ(Find(Draw(0, unit), "End Turn"), nullptr);
}

TEST_F(UnitPanelTest, MetersGlideTowardTheUnitsFiguresAFrameLate)
{
    shownlife = 215;
    U().hp = 5;                         // of 10
    const int32_t expected[] = { 209, 203, 198, 193, 188, 183, 179, 175, 171, 167 };
    for (const int32_t length : expected) {
        Draw(0, unit);
        EXPECT_EQ(shownlife, length);
    }
    for (int frame = 0; frame < 100; frame++)
        Draw(0, unit);
    EXPECT_EQ(shownlife, 107);
    EXPECT_EQ(shownmoves, 215);
    EXPECT_EQ(shownmana, 0);
    EXPECT_EQ(shownexp, 70);
    // The life strip drawn is the length before this frame's step: 107 pixels, from x 350.
    EXPECT_EQ(CellAt(backbuffer, 350 + 106, 560), (Probe{ SHEET_METERS, 1 }));
    EXPECT_NE(CellAt(backbuffer, 350 + 107, 560), (Probe{ SHEET_METERS, 1 }));
}

TEST_F(UnitPanelTest, MetersStayInsideTheirStripsWhateverTheFigures)
{
    struct Case {
        const char* name;
        int32_t hp, lifeward, moves, mana, experience;
        int32_t life, movesshown, manashown, exp;
    };
    const Case cases[] = {
        { "as usual", 5, 0, 3, 5, 50, 107, 215, 107, 35 },
        { "hit points above the life", 25, 0, 3, 0, 0, 215, 215, 0, 70 },
        { "hit points below 0", -4, 0, 3, 0, 0, 0, 215, 0, 70 },
        { "no life at all", 5, -10, 3, 0, 0, 0, 215, 0, 70 },
        { "life below 0", 5, -12, 3, 0, 0, 0, 215, 0, 70 },
        { "more moves than the stat", 5, 0, 9, 0, 0, 107, 215, 0, 70 },
        { "no moves", 5, 0, 0, 0, 0, 107, 0, 0, 70 },
        { "mana above the most", 5, 0, 3, 14, 0, 107, 215, 215, 70 },
        { "experience past the upgrade", 5, 0, 3, 0, 250, 107, 215, 0, 0 },
        { "negative experience", 5, 0, 3, 0, -30, 107, 215, 0, 70 },
    };
    for (const Case& c : cases) {
        p[0].units.clear();
        const int32_t u = AddTestUnit(0, 3, 3);
        Unit& x = p[0].units[u];
        x.hp = c.hp;
        x.moves = c.moves;
        x.mana = c.mana;
        x.experience = c.experience;
        if (c.lifeward)
            AddWard(0, u, 5, 0, 0, c.lifeward, 0, 0, 0, 0, 0, 0, 79, 0);
        for (int frame = 0; frame < 200; frame++)
            UpdatePanelBars(0, u);
        EXPECT_EQ(shownlife, c.life) << c.name;
        EXPECT_EQ(shownmoves, c.movesshown) << c.name;
        EXPECT_EQ(shownmana, c.manashown) << c.name;
        EXPECT_EQ(shownexp, c.exp) << c.name;
        Draw(0, u);         // and drawing them reads nothing outside the meters' picture
    }
    EXPECT_FALSE(UpdatePanelBars(0, 5));
    EXPECT_FALSE(UpdatePanelBars(-1, 0));
}

TEST_F(UnitPanelTest, ShortcutLettersToKeyCodes)
{
    struct Case {
        char letter;
        uint8_t key;
    };
    const Case cases[] = {
        { 'A', KEY_A }, { 'B', KEY_B }, { 'M', KEY_M }, { 'Z', KEY_Z },
        { 'a', KEY_Z }, { '0', KEY_A }, { '\0', KEY_A }, { '\xE9', KEY_A },
    };
    for (const Case& c : cases) {
        spells[BLAST].hotkey = c.letter;
        EXPECT_EQ(HotkeyScanCode(BLAST), c.key) << int(c.letter);
    }
    EXPECT_EQ(HotkeyScanCode(-1), 0);
    EXPECT_EQ(HotkeyScanCode(2), 0);
}

} // namespace
