#include "game/view/squareinfo.h"

#include <string>

#include "game/model/catalogue.h"
#include "game/model/localplayer.h"
#include "game/model/mapgen.h"
#include "game/model/queries.h"
#include "game/model/sight.h"
#include "game/model/squares.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/model/strings.h"
#include "game/shell/fonts.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/shell/shell.h"
#include "game/view/cells.h"
#include "game/view/drawing.h"
#include "game/view/geometry.h"
#include "game/view/helpbox.h"
#include "game/view/infobox.h"
#include "game/view/names.h"
#include "game/view/text.h"

namespace {

enum : int32_t { BOXWIDTH = 240, BOXCOLUMNS = 6, STATX = 10, STATSTEP = 60, STATY = 60, ABILITYX = 20, ABILITYY = 120 };
enum : uint32_t { COLOUR_STATFIGURES = 0xFFFF80, COLOUR_STUNNED = 0xE0E0E0, COLOUR_POISONED = 0x00FF00 };

struct Description {
    const char* title;
    const char* text;
};

// The sites by kind (the variant byte over 2).
const Description sites[] = {
    { "Magic Node", "Magic nodes fully charge the mana of any unit." },
    { "Tome of the Wise", "Tomes of the Wise contain valuable knowledge that grants bonus experience." },
    { "Vial of Poison", "This Vial of Poison poisons the weapon of the unit that uses it." },
    { "Ancient Weapon", "Ancient weapons grant a +1 attack bonus to the unit that uses it." },
    { "Statue", "Statues raise the stamina of units, granting a +2 attack and +1 speed bonus for 3 turns." },
    { "Spell Scroll", "Spell scrolls contain magical incantations, teaching its owner a new spell." },
    { "Beacon of Invisibility",
      "This Beacon of Invisiblity renders the first non-warlord unit to stand on it invisible for three turns." },
    { "Pillar of Lost Sights", "This Pillar of Lost Sights will reveal the locations of all other Pillars of Lost Sights." },
};

struct Square {
    int32_t x, y;
};

Square HoveredSquare()
{
    return { mousex / SQUARESIZE + view.left, mousey / SQUARESIZE + view.top };
}

bool Described(const Square& at)
{
    return InBounds(at.x, at.y) && IsSquareExplored(YouToInt(), at.x, at.y);
}

// The owner's colour, by his player number; grey for a record outside the six colours.
uint32_t OwnerColour(const int32_t player)
{
    const int32_t number = p[player].code - FIRSTCODE;
    return number >= 0 && number < 6 ? playercolours[number] : playercolours[5];
}

bool HasAbility(const Unit& u)
{
    for (const int32_t a : u.abilities)
        if (a >= 0)
            return true;
    return false;
}

std::string HealthLine(const int32_t player, const int32_t unit, uint32_t* colour)
{
    const Unit& u = p[player].units[unit];
    std::string line = "(" + std::to_string(u.hp) + " health remaining)";
    *colour = COLOUR_WHITE;
    if (GetStat(player, unit, STAT_ACTIONS) < 1) {
        line += " (Stunned!)";
        *colour = COLOUR_STUNNED;
    } else if (u.poison > 0) {
        line += " (Poisoned!)";
        *colour = COLOUR_POISONED;
    }
    return line;
}

void DescribeUnit(const int32_t player, const int32_t unit, const int32_t bx, int32_t by)
{
    const Unit& u = p[player].units[unit];
    if (HasAbility(u)) {
        DrawShadingTiles(5, 360, BOXCOLUMNS, 4);
    } else {
        DrawShadingTiles(5, 400, BOXCOLUMNS, 3);
        by += 40;
    }
    for (int32_t k = STAT_ATTACK; k <= STAT_RANGE; k++)
        DrawSheetIcon(bx + STATX + STATSTEP * k, by + STATY, UNITS_STATATTACK + k, imgunits);
    int32_t x = bx + ABILITYX;
    for (const int32_t a : u.abilities)
        if (a >= 0 && static_cast<size_t>(a) < abilities.size()) {
            DrawSheetIcon(x, by + ABILITYY, abilities[a].picture, imgspellicon);
            x += CELLSIZE;
        }
    BeginText(FONT_MEDIUM);
    DrawShadowText(bx, by, BOXWIDTH, 50, GetString(static_cast<uint32_t>(u.type)), COLOUR_WHITE, TEXT_CENTRE);
    for (int32_t k = STAT_ATTACK; k <= STAT_RANGE; k++)
        DrawShadowText(bx + STATX + STATSTEP * k, by + STATY, CELLSIZE, CELLSIZE,
                       std::to_string(GetStat(player, unit, k)), COLOUR_STATFIGURES, FORMAT_CENTREDLINE);
    DrawShadowText(bx, by + 30, BOXWIDTH, 100, PlayerName(player), OwnerColour(player), TEXT_CENTRE);
    SelectDCFont(textdc, fonts[FONT_SMALL]);
    uint32_t colour;
    const std::string health = HealthLine(player, unit, &colour);
    DrawBandText(bx, by + 100, BOXWIDTH, 20, health, colour, FORMAT_CENTREDLINE);
    EndText();
}

// The description of the square's object; a null title for none.
Description ObjectAt(const Square& at)
{
    const MapSquare& s = map[at.x][at.y];
    switch (s.terrain) {
    case TERRAIN_MINE: {
        const int32_t local = YouToInt();
        // The owner byte holds a player number, as the mines' income counts it.
        if (!p.empty() && s.extra == p[local].code - FIRSTCODE)
            return { "Gold Mine", "This gold mine contributes 10 gold to your treasury each turn." };
        if (s.extra == MINENOBODY)
            return { "Gold Mine", "Gold mines are highly guarded, but add 10 gold to your treasury each turn." };
        return { "Enemy Gold Mine", "This gold mine is adding 10 gold to your enemy's treasury each turn." };
    }
    case TERRAIN_DEPOSIT:
        return { "Gold Deposits", "These deposits contribute $15-25 to your treasury." };
    case TERRAIN_SITE:
        // An odd variant is a used site; none lies beyond the last kind.
        if (s.extra % 2 == 0 && s.extra <= SITE_LASTKIND)
            return sites[s.extra / 2];
        return { nullptr, nullptr };
    default:
        if (s.hazard != 0)
            return { "Brushfire", "Any units without flying entering this square will take five damage." };
        if (s.counter2 != 0)
            return { "Forcefield", "This forcefield prevents all units from entering this square." };
        return { nullptr, nullptr };
    }
}

} // namespace

bool DrawSquareInfo(const int32_t bx, const int32_t by)
{
    const Square at = HoveredSquare();
    if (!candraw || !MouseOnBoard() || !Described(at))
        return false;
    for (size_t i = 0; i < p.size(); i++)
        for (size_t k = 0; k < p[i].units.size(); k++) {
            const int32_t player = static_cast<int32_t>(i);
            const int32_t unit = static_cast<int32_t>(k);
            if (p[i].units[k].x == at.x && p[i].units[k].y == at.y && YouCanSeeUnit(player, unit)) {
                DescribeUnit(player, unit, bx, by);
                return true;
            }
        }
    DescribeMapObject();
    return false;
}

bool DescribeMapObject()
{
    const Square at = HoveredSquare();
    if (!Described(at))
        return false;
    const Description object = ObjectAt(at);
    if (object.title)
        DrawInfoBox(object.title, object.text);
    return false;
}
