// The warlord selection: the list of warlord types, the selected one's figures, description and
// powers, and the button that chooses it.
#include "game/screens/warlord.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/model/catalogue.h"
#include "game/model/localplayer.h"
#include "game/model/powers.h"
#include "game/model/setup.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/screens/buttons.h"
#include "game/screens/setupsteps.h"
#include "game/shell/fonts.h"
#include "game/shell/images.h"
#include "game/shell/shell.h"
#include "game/view/cells.h"
#include "game/view/drawing.h"
#include "game/view/infobox.h"
#include "game/view/linestrips.h"
#include "game/view/pointer.h"
#include "game/view/text.h"

namespace {

enum : int32_t { FONT_PANEL = 3, FONT_DISPLAY = 5 };
enum : uint32_t { COLOUR_NAMELIT = 0xFF8080, COLOUR_NAME = 0x804040, COLOUR_STAT = 0xFFFF80 };
enum : int32_t { LISTX = 50, LISTY = 50, LISTWIDTH = 125, LISTHEIGHT = 490 };
enum : int32_t { PICTUREX = 200, PICTUREY = 75, PICTURESIZE = 80 };
enum : int32_t { POWERINFOX = 205, POWERINFOY = 400, FRAMESLOTS = 8, SPELLCOLUMNS = 5, SPELLROWS = 2 };
enum : int32_t { ABILITYROWY = 200, SPELLBLOCKX = 525, SPELLBLOCKY = 160 };

const int32_t statx[4] = {200, 293, 386, 479};

uint8_t selectbutton = 0;               // the button's own byte

bool HasSelection()
{
    return hoveritem >= 0 && hoveritem < std::min<int32_t>(warlordtypecount, MAXWARLORDTYPES);
}

int32_t TypeNumber(int32_t id)
{
    return GetResNumber((uint32_t)id);
}

std::string TypeText(int32_t id)
{
    return GetString((uint32_t)id);
}

// The selected type's powers, read again only when the selection changes.
struct PowerCache {
    int32_t type = -1;
    int32_t spells[MAXSPELLS];
    int32_t abilities[MAXABILITIES];
};
PowerCache powers;

const PowerCache& PowersOf(int32_t type)
{
    if (powers.type != type) {
        powers.type = type;
        GetUnitPowers(type, powers.spells, powers.abilities);
    }
    return powers;
}

void DrawSelectedType(int32_t w)
{
    BeginText(FONT_BOARDLARGE);
    for (int32_t k = 0; k < 4; k++)
        DrawShadowText(statx[k] - 20, 140, 80, 80, TypeText(w + STR_UNITSTAT + 100 * k), COLOUR_STAT, FORMAT_CENTREDLINE);
    EndText();
    BeginText(FONT_PANEL);
    const std::string description = TypeText(w + STR_WARLORDDESCRIPTION) + "\n\n" + TypeText(w + STR_WARLORDSTORY);
    DrawTextBox(200, 295, 525, 200, description, COLOUR_BLACK, TEXT_WORDBREAK | TEXT_LEFT);
    DrawTextBox(200, 250, 525, 60, WarlordPowerText(TypeText(w + STR_UNITNAME)), COLOUR_BLACK, FORMAT_WRAPPED);
    EndText();
    BeginText(FONT_DISPLAY);
    DrawTextBox(280, 75, 445, 80, TypeText(w + STR_UNITNAME), COLOUR_BLACK, FORMAT_RIGHTLINE);
    EndText();
}

} // namespace

int32_t WarlordRowHeight(int32_t count)
{
    return count < 2 ? LISTHEIGHT : LISTHEIGHT / count;
}

PowerRowLayout AbilityRowLayout(int32_t count)
{
    switch (count) {
    case 1: return {340, 0};
    case 2: return {300, 80};
    case 3: return {260, 80};
    case 4: return {280, 40};
    default: return {260, 40};
    }
}

std::string WarlordPowerText(const std::string& name)
{
    std::string internal = name;
    std::replace(internal.begin(), internal.end(), ' ', '_');
    for (const AbilityInfo& a : abilities)
        if (internal == a.name)
            return GetString((uint32_t)(STR_ABILITYHELP + a.number));
    return "<no power>";
}

void DrawWarlordSelection()
{
    if (!candraw)
        return;
    const int32_t count = std::min<int32_t>(warlordtypecount, MAXWARLORDTYPES);
    const int32_t row = WarlordRowHeight(count);
    for (int32_t k = 0; k < 4; k++)
        DrawSheetIcon(statx[k], 160, UNITS_STATATTACK + k, imgunits);
    DrawStripA(200, 200, 320);
    BeginText(FONT_PANEL);
    for (int32_t i = 0; i < count; i++) {
        const PixelRect box = {LISTX, LISTY + i * row, LISTX + LISTWIDTH, LISTY + (i + 1) * row};
        const bool lit = i == hoveritem || MouseOn(box);
        DrawTextBox(box.left, box.top, LISTWIDTH, row, TypeText(warlordtypes[i] + STR_UNITNAME),
                    lit ? COLOUR_NAMELIT : COLOUR_NAME, FORMAT_CENTREDLINE);
        if (MouseOn(box) && LeftButtonDown())
            hoveritem = i;
    }
    EndText();
    if (!HasSelection())
        return;
    const int32_t w = warlordtypes[hoveritem];
    DrawSelectedType(w);
    DrawTileClipped(PICTUREX, PICTUREY, TypeNumber(w + STR_UNITPICTURE), imgunits, PICTURESIZE);
    DrawWarlordPowers();
}

void DrawWarlordPowers()
{
    if (!candraw || !HasSelection())
        return;
    const PowerCache& power = PowersOf(warlordtypes[hoveritem]);
    int32_t abilitycount = 0, spellcount = 0;
    for (const int32_t a : power.abilities)
        abilitycount += a >= 0 && (size_t)a < abilities.size();
    for (const int32_t s : power.spells)
        spellcount += s >= 0 && (size_t)s < spells.size();
    if (abilitycount > 0) {
        for (int32_t k = 0; k < FRAMESLOTS; k++)
            DrawSheetIcon(PICTUREX + CELLSIZE * k, ABILITYROWY, TERRAIN_RANGEMARK, imgterrain);
        const PowerRowLayout layout = AbilityRowLayout(abilitycount);
        int32_t x = layout.x;
        for (const int32_t a : power.abilities) {
            if (a < 0 || (size_t)a >= abilities.size())
                continue;
            DrawSheetIcon(x, ABILITYROWY, abilities[a].picture, imgspellicon);
            if (MouseOn(hotrect))
                DrawAbilityInfoAt(abilities[a].number, POWERINFOX, POWERINFOY);
            x += layout.step;
        }
    }
    if (spellcount > 0) {
        for (int32_t a = 0; a < SPELLCOLUMNS; a++)
            for (int32_t b = 0; b < SPELLROWS; b++)
                DrawSheetIcon(SPELLBLOCKX + CELLSIZE * a, SPELLBLOCKY + CELLSIZE * b, TERRAIN_RANGEMARK, imgterrain);
        int32_t k = 0;
        for (const int32_t s : power.spells) {
            if (s < 0 || (size_t)s >= spells.size())
                continue;
            // Zigzag along the block: the even ones on its top row, the odd ones below.
            DrawSheetIcon(SPELLBLOCKX + CELLSIZE * k, SPELLBLOCKY + CELLSIZE * (k % 2), spells[s].picture, imgspellicon);
            if (MouseOn(hotrect))
                DrawSpellInfoAt(spells[s].number, POWERINFOX, POWERINFOY);
            k++;
        }
    }
}

void DrawSelectWarlordButton()
{
    if (!HasSelection())
        return;
    DrawTextButton(525, 475, "Select Warlord", ChooseWarlord, warlordtypes[hoveritem], YouToInt(), selectbutton, 2);
}
