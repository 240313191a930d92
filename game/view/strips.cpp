#include "game/view/strips.h"

#include <cstdlib>

#include "game/model/catalogue.h"
#include "game/model/powers.h"
#include "game/model/setup.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/shell/images.h"
#include "game/shell/shell.h"
#include "game/view/cells.h"
#include "game/view/drawing.h"
#include "game/view/infobox.h"
#include "game/view/pointer.h"
#include "game/view/text.h"

namespace {

enum : int32_t { ROWLEFT = 75, ROWRIGHT = 377, ROWTILES = 7, ROWLASTTILE = 337, ROWICONS = 25 };
enum : int32_t { HOVERBOXX = 555, HOVERBOXY = 210 };

int32_t TypeNumber(const int32_t base, const int32_t type)
{
    return std::atoi(GetString(static_cast<uint32_t>(base + type)));
}

// Only a type of the catalogue names its own strings; any other number would read another range's.
bool IsUnitType(const int32_t type)
{
    if (type >= 1 && type <= unittypecount)
        return true;
    LogBadInput("ERROR: There is no unit type " + std::to_string(type) + " to show.");
    return false;
}

bool IsPlayer(const int32_t player)
{
    return player >= 0 && static_cast<size_t>(player) < p.size();
}

struct RowLayout {
    int32_t first, step;
};

// Where the icons of a row of count stand: one centred, two or three wide apart, four or five closer.
RowLayout LayoutFor(const int32_t count)
{
    switch (count) {
    case 1: return { 209, 0 };
    case 2: return { 140, 133 };
    case 3: return { 75, 133 };
    case 4: return { 75, 88 };
    default: return { 75, 65 };
    }
}

// slots: five table indexes (-1 empty) into a table of size entries; picture and info give an
// entry's icon cell and show its box.
template <typename Picture, typename Info>
bool DrawPowerRow(const int32_t y, const std::string& title, const int32_t (&slots)[5], const size_t size,
                  Picture picture, Info info)
{
    int32_t count = 0;
    for (const int32_t s : slots)
        count += s >= 0;
    BeginText(FONT_SMALL);
    DrawDCText(textdc, title, { ROWLEFT, y, ROWRIGHT, y + 20 }, FORMAT_CENTREDLINE);
    EndText();
    if (count == 0)
        return false;
    for (int32_t i = 0; i < ROWTILES; i++)
        DrawSheetIcon(ROWLEFT + CELLSIZE * i, y + ROWICONS, TERRAIN_RANGEMARK, imgterrain);
    DrawSheetIcon(ROWLASTTILE, y + ROWICONS, TERRAIN_RANGEMARK, imgterrain);
    const RowLayout layout = LayoutFor(count);
    int32_t x = layout.first;
    for (const int32_t s : slots) {
        if (s < 0)
            continue;
        if (static_cast<size_t>(s) >= size) {
            LogBadInput("ERROR: A power row names entry " + std::to_string(s) + " of a table of " + std::to_string(size) + ".");
            continue;
        }
        DrawSheetIcon(x, y + ROWICONS, picture(s), imgspellicon);
        x += layout.step;
        if (MouseOn(hotrect))
            info(s);
    }
    return false;
}

} // namespace

bool DrawTypeSpellRow(const int32_t y, const int32_t type, const std::string title)
{
    if (!candraw)
        return false;
    int32_t slots[MAXSPELLS], unused[MAXABILITIES];
    GetUnitPowers(type, slots, unused);
    return DrawPowerRow(
        y, title, slots, spells.size(), [](int32_t s) { return spells[s].picture; },
        [](int32_t s) { DrawSpellInfoAt(spells[s].number, HOVERBOXX, HOVERBOXY); });
}

bool DrawTypeAbilityRow(const int32_t y, const int32_t type, const std::string title)
{
    if (!candraw)
        return false;
    int32_t unused[MAXSPELLS], slots[MAXABILITIES];
    GetUnitPowers(type, unused, slots);
    return DrawPowerRow(
        y, title, slots, abilities.size(), [](int32_t s) { return abilities[s].picture; },
        [](int32_t s) { DrawAbilityInfoAt(abilities[s].number, HOVERBOXX, HOVERBOXY); });
}

bool DrawBuyableIcons()
{
    if (!candraw || p.empty())
        return false;
    const int32_t gold = p[YouToInt()].gold;
    for (const UnitListEntry& entry : buyable) {
        if (!IsUnitType(entry.type))
            continue;
        const Surface& sheet = gold < TypeNumber(STR_UNITCOST, entry.type) ? imgunitstint : imgunits;
        DrawSheetIcon(entry.iconx, entry.icony, TypeNumber(STR_UNITPICTURE, entry.type), sheet);
    }
    return false;
}

bool DrawShopBoughtUnits()
{
    if (!candraw)
        return false;
    if (!IsPlayer(currplayer))
        return true;
    Player& player = p[currplayer];
    // A refunded entry's place is looked at again: it now holds the next one.
    for (size_t i = 0; i < player.bought.size();) {
        const int32_t type = player.bought[i].type;
        if (!IsUnitType(type)) {
            i++;
            continue;
        }
        DrawSheetIcon(STRIPX + CELLSIZE * static_cast<int32_t>(i), STRIPY, TypeNumber(STR_UNITPICTURE, type), imgunits);
        if (!MouseOn(hotrect) || !LeftButtonDown()) {
            i++;
            continue;
        }
        player.gold += TypeNumber(STR_UNITCOST, type);
        player.bought.erase(player.bought.begin() + static_cast<std::ptrdiff_t>(i));
        HoldUntilRelease();
    }
    return false;
}

bool DrawBoughtUnits()
{
    if (!candraw || !IsPlayer(currplayer))
        return false;
    const std::vector<UnitListEntry>& bought = p[currplayer].bought;
    for (size_t i = 0; i < bought.size(); i++) {
        const int32_t x = STRIPX + CELLSIZE * static_cast<int32_t>(i);
        DrawSheetIcon(x, STRIPY, bought[i].picture, imgunits);
        const int32_t top = STRIPY;
        if (MouseOn({ x, top, x + CELLSIZE, top + CELLSIZE }) && LeftButtonDown())
            hoveritem = static_cast<int32_t>(i);
    }
    return false;
}
