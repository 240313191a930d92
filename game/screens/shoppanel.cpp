// The shop's panel of the selected unit type: its picture, name, price, figures and powers, with the
// buttons that buy it and end the shopping.
#include "game/screens/shop.h"

#include <string>

#include "game/model/catalogue.h"
#include "game/model/setup.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/screens/buttons.h"
#include "game/screens/setupsteps.h"
#include "game/shell/images.h"
#include "game/shell/shell.h"
#include "game/view/cells.h"
#include "game/view/drawing.h"
#include "game/view/linestrips.h"
#include "game/view/strips.h"
#include "game/view/text.h"

namespace {

enum : uint32_t { COLOUR_PRICE = 0x80FFFF, COLOUR_STAT = 0xFFFF80 };
enum : int32_t { RULEX = 83, RULEWIDTH = 290, PANELLOOK = 0 };

const int32_t statx[4] = {75, 163, 251, 339};

uint8_t buybutton = 0, donebutton = 0;  // the shop's buttons keep their own bytes

std::string TypeText(int32_t id)
{
    return GetString((uint32_t)id);
}

bool Buy(int32_t entry, int32_t)
{
    BuyUnit(entry);
    return false;
}

bool Done(int32_t, int32_t)
{
    return DoneShopping();
}

void DrawSelectedType(int32_t t)
{
    DrawTileClipped(190, 100, GetResNumber((uint32_t)(t + STR_UNITPICTURE)), imgunits, 80);
    DrawStripA(RULEX, 236, RULEWIDTH);
    DrawStripA(RULEX, 305, RULEWIDTH);
    BeginText(FONT_MEDIUM);
    DrawShadowText(83, 175, 220, 20, TypeText(t + STR_UNITNAME), COLOUR_WHITE, TEXT_SINGLELINE | TEXT_VCENTRE | TEXT_LEFT);
    DrawShadowText(300, 175, 73, 20, "$" + std::to_string(GetResNumber((uint32_t)(t + STR_UNITCOST))), COLOUR_PRICE,
                   FORMAT_RIGHTLINE);
    EndText();
    DrawTypeAbilityRow(237, t, "\xB7 ABILITIES \xB7");
    DrawTypeSpellRow(313, t, "\xB7 SPELLS \xB7");
    for (int32_t k = 0; k < 4; k++)
        DrawSheetIcon(statx[k], 195, UNITS_STATATTACK + k, imgunits);
    BeginText(FONT_BOARDLARGE);
    for (int32_t k = 0; k < 4; k++)
        DrawShadowText(statx[k] - 10, 195, 60, 40, TypeText(t + STR_UNITSTAT + 100 * k), COLOUR_STAT, FORMAT_CENTREDLINE);
    EndText();
}

} // namespace

void DrawShopScreen()
{
    if (!candraw)
        return;
    if (hoveritem >= 0 && (size_t)hoveritem < buyable.size()) {
        DrawSelectedType(buyable[hoveritem].type);
        if (shoppicked)
            DrawTextButton(590, 400, "Buy This Unit", Buy, hoveritem, 0, buybutton, PANELLOOK);
    }
    BeginText(FONT_MEDIUM);
    DrawTextBox(5, 0, 795, 30, "Recruit Your Army", COLOUR_WHITE, FORMAT_CENTREDLINE);
    EndText();
    DrawTextButton(590, 465, "Done", Done, currplayer, 0, donebutton, PANELLOOK);
}
