#include "game/view/unitpanel.h"

#include <string>

#include "game/magic/wardslots.h"
#include "game/model/catalogue.h"
#include "game/model/localplayer.h"
#include "game/model/sight.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/shell.h"
#include "game/view/cells.h"
#include "game/view/drawing.h"
#include "game/view/header.h"
#include "game/view/infobox.h"
#include "game/view/linestrips.h"
#include "game/view/panelparts.h"
#include "game/view/pointer.h"
#include "game/view/text.h"

namespace {

constexpr int32_t PANELTOP = 520, PICTURESIZE = 80, STATICONX = 100, STATICONSTEP = 50, ABILITYY = 560;
enum : int32_t { NOROCKFLAG = 999999 };     // taken off the rocks of a unit whose type lacks the '!' flag

// Counts over the ability icons (colour references).
enum : uint32_t { COUNT_RED = 0x4040FF, COUNT_YELLOW = 0x40FFFF, COUNT_GREEN = 0x40FF40, COUNT_MANA = 0xFF8080 };

uint32_t RocksColour(const int32_t rocks)
{
    return rocks <= 0 ? COUNT_RED : rocks == 1 ? COUNT_YELLOW : COUNT_GREEN;
}

void DrawCount(const int32_t x, const int32_t count, const uint32_t colour)
{
    BeginText(FONT_MEDIUM);
    DrawShadowText(x, ABILITYY, CELLSIZE, CELLSIZE, std::to_string(count), colour, FORMAT_CENTREDLINE);
    EndText();
}

// The ability's live figure over its icon: rocks left, mana gained a turn, or a summoned unit's turns.
void DrawAbilityCount(const int32_t player, const int32_t unit, const AbilityInfo& ability, const int32_t x)
{
    const Unit& u = p[player].units[unit];
    const std::string name = ability.name;
    if (name == "Rocks") {
        const int32_t rocks = u.rocks - (UnitHasFlag(u.type, '!') ? 0 : NOROCKFLAG);
        DrawCount(x, rocks, RocksColour(rocks));
    } else if (name == "Mana") {
        DrawCount(x, GetStat(player, unit, STAT_MANA), COUNT_MANA);
    }
    if (name == "Summoned" && HasWard(player, unit, LIFETIMEWARD)) {
        const int32_t turns = u.wards[FindWard(player, unit, LIFETIMEWARD)].turns + 1;
        DrawCount(x, turns, turns == 1 ? COUNT_RED : turns == 2 ? COUNT_YELLOW : COUNT_GREEN);
    }
}

void DrawAbilities(const int32_t player, const int32_t unit)
{
    int32_t x = STATICONX;
    for (const int32_t a : p[player].units[unit].abilities) {
        if (a < 0)
            continue;
        if (static_cast<size_t>(a) >= abilities.size()) {
            LogBadInput("ERROR: A unit holds ability " + std::to_string(a) + ", which does not exist.");
            continue;
        }
        DrawSheetIcon(x, ABILITYY, abilities[a].picture, imgspellicon);
        DrawAbilityCount(player, unit, abilities[a], x);
        x += CELLSIZE;
        if (MouseOn({ x - CELLSIZE, ABILITYY, x, ABILITYY + CELLSIZE }))
            DrawAbilityInfo(abilities[a].number);
    }
}

} // namespace

bool DrawUnitPanel(const int32_t player, const int32_t unit)
{
    if (!candraw || !YouCanSeeUnit(player, unit))
        return false;
    const bool local = player == YouToInt();
    DrawTurnHeader();
    DrawSurface(0, PANELTOP, imgborder[BORDER_UNIT]);
    DrawTileClipped(0, PANELTOP, p[player].units[unit].picture, imgunits, PICTURESIZE);
    for (int32_t k = 0; k < 4; k++)
        DrawSheetIcon(STATICONX + STATICONSTEP * k, PANELTOP, UNITS_STATATTACK + k, imgunits);
    DrawStripA(STATICONX, ABILITYY, 200);
    DrawAbilities(player, unit);
    if (local) {
        DrawPanelSpells(player, unit);
        DrawPanelButtons(player, unit);
    }
    DrawPanelMeters(local);
    DrawPanelFigures(player, unit, local);
    UpdatePanelBars(player, unit);
    return false;
}
