#include "game/view/damagefigure.h"

#include <cstddef>
#include <string>

#include "game/model/localplayer.h"
#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/shell.h"
#include "game/view/board.h"
#include "game/view/cells.h"
#include "game/view/drawing.h"
#include "game/view/feed.h"
#include "game/view/geometry.h"
#include "game/view/header.h"
#include "game/view/minimap.h"
#include "game/view/text.h"
#include "game/view/unitpanel.h"
#include "platform/clock.h"

namespace {

enum : int32_t { NUMBERBOX = 80, NUMBERINSET = 20 };
enum : uint32_t { YELLOW = 0x0000FFFF };    // COLORREF of RGB(255, 255, 0)

} // namespace

void ShowDamage(int32_t player, int32_t unit, int32_t number)
{
    if (!candraw || player < 0 || static_cast<size_t>(player) >= p.size() || unit < 0
        || static_cast<size_t>(unit) >= p[player].units.size())
        return;
    const int32_t local = YouToInt();
    const Unit& u = p[player].units[unit];
    if (!IsSquareExplored(local, u.x, u.y))
        return;
    const ScreenPoint at = SquareToScreen(u.x, u.y);
    if (!IsOnBoard(at.x, at.y))
        return;
    ClearAndDrawBoard(0, local);
    DrawScreenBorder();
    DrawSheetIcon(at.x, at.y, DAMAGEICON, imgunits);
    BeginText(FONT_BOARDLARGE);
    DrawShadowText(at.x - NUMBERINSET, at.y - NUMBERINSET, NUMBERBOX, NUMBERBOX, std::to_string(number), YELLOW,
                   TEXT_CENTRE | TEXT_VCENTRE | TEXT_SINGLELINE);
    EndText();
    if (minimapon)
        DrawMinimap();
    DrawUnitPanel(currplayer, currunit);
    DrawMessageFeed(local);
    FlipScreen();
    SleepMs(DAMAGESHOWMS);
}
