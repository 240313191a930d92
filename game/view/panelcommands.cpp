// The unit panel's commands: the local player's spells and the three buttons.
#include "game/view/panelparts.h"

#include "game/model/catalogue.h"
#include "game/model/queries.h"
#include "game/model/rangemarks.h"
#include "game/model/state.h"
#include "game/model/states.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/view/cells.h"
#include "game/view/commandmode.h"
#include "game/view/drawing.h"
#include "game/view/geometry.h"
#include "game/view/helpbox.h"
#include "game/view/infobox.h"
#include "game/view/pointer.h"
#include "game/view/unitpanel.h"

namespace {

enum : int32_t { AIMEDX = 655, AIMEDY = 520, AIMEDSIZE = 80, CANCELX = 755, CANCELY = 555 };
enum : int32_t { ICONS_CANCEL = 8, ICONS_ATTACK = 16, ICONS_NEXTUNIT = 17, ICONS_ENDTURN = 18 };
enum : int32_t { BUTTONX = 5 };

const ScreenPoint spellslots[MAXSPELLS] = { { 655, 520 }, { 680, 560 }, { 705, 520 }, { 730, 560 }, { 755, 520 } };

// The key codes of the letters A to Z.
const uint8_t letterkeys[26] = {
    KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I, KEY_J, KEY_K, KEY_L, KEY_M,
    KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z,
};

struct CommandButton {
    int32_t cell, y;
    const char* title;
    const char* help;
};
const CommandButton buttons[] = {
    { ICONS_ATTACK, 30, "Attack", "Attack enemies with the currently selected unit (TAB)." },
    { ICONS_NEXTUNIT, 70, "Next Unit", "Selects the next unit in your army (W)" },
    { ICONS_ENDTURN, 110, "End Turn", "Ends your turn and begins the next player's turn (CTRL+SPACE)." },
};

bool IsSpell(const int32_t s)
{
    return s >= 0 && static_cast<size_t>(s) < spells.size();
}

PixelRect CellAt(const ScreenPoint& at, const int32_t size)
{
    return { at.x, at.y, at.x + size, at.y + size };
}

// Aiming begins: the marks of the last command go, the board's spell mode takes the spell.
void PickSpell(const int32_t s)
{
    ClearRange();
    commandmode = COMMAND_SPELL;
    commandflag = 0;
    selectedspell = s;
}

void DrawAimedSpell()
{
    if (IsSpell(selectedspell)) {
        const ScreenPoint at = { AIMEDX, AIMEDY };
        DrawTileClipped(at.x, at.y, spells[selectedspell].picture, imgspellicon, AIMEDSIZE);
        // The screen's rectangle: after a stretched cell hotrect holds the cell's place on its sheet.
        if (MouseOn(CellAt(at, AIMEDSIZE)))
            DrawSpellInfo(spells[selectedspell].number);
    }
    DrawSheetIcon(CANCELX, CANCELY, ICONS_CANCEL, imgicons);
    if (MouseOn(CellAt({ CANCELX, CANCELY }, CELLSIZE)) && LeftButtonDown()) {
        HoldUntilRelease();
        commandmode = COMMAND_MOVE;
        commandflag = 0;
    }
}

void DrawSpellSlot(const int32_t player, const int32_t unit, const ScreenPoint at, const int32_t s)
{
    const bool usable = SpellUsable(player, unit, s);
    DrawSheetIcon(at.x, at.y, spells[s].picture, imgspellicon);
    if (!usable)
        DrawSheetIcon(at.x, at.y, TERRAIN_RANGEMARK, imgterrain);
    if (MouseOn(CellAt(at, CELLSIZE))) {
        DrawSpellInfo(spells[s].number);
        if (LeftButtonDown() && usable) {
            PickSpell(s);
            HoldUntilRelease();
        }
    }
    const uint8_t key = HotkeyScanCode(s);
    if (IsKeyDown(key) && (IsKeyDown(KEY_LCONTROL) || IsKeyDown(KEY_RCONTROL))) {
        WaitKeyRelease(key);
        if (usable)
            PickSpell(s);
    }
}

} // namespace

uint8_t HotkeyScanCode(const int32_t s)
{
    if (!IsSpell(s))
        return 0;
    const int32_t letter = static_cast<signed char>(spells[s].hotkey) - 'A';
    return letterkeys[letter < 0 ? 0 : letter > 25 ? 25 : letter];
}

bool SpellUsable(const int32_t player, const int32_t unit, const int32_t spell)
{
    const Unit& u = p[player].units[unit];
    return IsSpell(spell) && u.mana >= spells[spell].mana && u.hits >= 2 && InBounds(u.x, u.y)
        && (map[u.x][u.y].bits & CLAIMMASK) == NOCLAIM;
}

void DrawPanelSpells(const int32_t player, const int32_t unit)
{
    if (commandmode == COMMAND_SPELL) {
        DrawAimedSpell();
        return;
    }
    const Unit& u = p[player].units[unit];
    for (int32_t slot = 0; slot < MAXSPELLS; slot++) {
        const int32_t s = u.spells[slot];
        if (s < 0)
            continue;
        if (!IsSpell(s)) {
            LogBadInput("ERROR: A unit holds spell " + std::to_string(s) + ", which does not exist.");
            continue;
        }
        DrawSpellSlot(player, unit, spellslots[slot], s);
    }
}

void DrawPanelButtons(const int32_t player, const int32_t unit)
{
    for (const CommandButton& b : buttons) {
        DrawSheetIcon(BUTTONX, b.y, b.cell, imgicons);
        if (!MouseOn(CellAt({ BUTTONX, b.y }, CELLSIZE)))
            continue;
        DrawHelpBox(b.title, b.help);
        if (!LeftButtonDown())
            continue;
        // Attack needs two actions: without them the button is not even held.
        if (b.cell == ICONS_ATTACK && p[player].units[unit].hits <= 1)
            continue;
        HoldUntilRelease();
        if (b.cell == ICONS_ATTACK) {
            commandmode = COMMAND_ATTACK;
            commandflag = 0;
        } else {
            gs = b.cell == ICONS_NEXTUNIT ? GAME_NEXTUNIT : GAME_ENDTURNOPEN;
        }
    }
}
