#include "game/view/names.h"

#include <cstddef>
#include <string>

#include "game/model/state.h"
#include "game/view/drawing.h"
#include "game/view/text.h"

static bool IsPlayer(const int32_t player)
{
    return player >= 0 && static_cast<size_t>(player) < p.size();
}

bool DrawPlayerGold()
{
    if (p.empty())
        return true;
    if (!IsPlayer(currplayer)) {
        LogBadInput("ERROR: The shop heading names player " + std::to_string(currplayer) + ", who does not exist.");
        return true;
    }
    BeginText(FONT_BOARDLARGE);
    SetDCTextColour(textdc, COLOUR_YELLOW);
    DrawDCText(textdc, PlayerName(currplayer), { 5, 30, 795, 90 }, TEXT_RIGHT);
    DrawDCText(textdc, GoldText(p[currplayer].gold), { 5, 90, 795, 190 }, TEXT_RIGHT);
    EndText();
    return false;
}
