// The unit panel's meters and figures.
#include "game/view/panelparts.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/images.h"
#include "game/view/drawing.h"
#include "game/view/text.h"
#include "game/view/unitpanel.h"

int32_t shownlife = 0;
int32_t shownmoves = 0;
int32_t shownmana = 0;
int32_t shownexp = 0;

namespace {

enum : int32_t { METERX = 350, MOVESY = 525, LIFEY = 550, MANAY = 575, METERHEIGHT = 20 };
constexpr int32_t EXPX = 570, EXPY = 525, EXPWIDTH = 30, EXPTOP = 60;
enum : int32_t { METERSTEP = 20, EXPSTEP = 4 };     // a meter moves a twentieth (a quarter) of its way a frame, and 1
enum : int32_t { FIGURESY = 500, FIGUREBOX = 80, FIGURESX = 80, FIGURESTEP = 50 };
enum : uint32_t { COLOUR_STATFIGURES = 0xFFFF80 };

// A length truncated and held to its meter whatever the figures: hit points above the unit's life, or
// below 0 before its death is dealt with, still give a meter that fits its strip.
int32_t Fit(const double length, const int32_t most)
{
    if (!(length > 0))
        return 0;
    return static_cast<int32_t>(std::min(std::trunc(length), static_cast<double>(most)));
}

// One step of a shown length toward its target: |d / divisor| + 1, never past it.
int32_t Glide(const int32_t shown, const int32_t target, const int32_t divisor)
{
    const int32_t d = shown - target;
    const int32_t step = std::abs(d / divisor) + 1;
    if (d > 0)
        return std::max(shown - step, target);
    if (d < 0)
        return std::min(shown + step, target);
    return shown;
}

// The experience an upgrade of the unit's type needs; 1 at least.
int32_t UpgradeThreshold(const int32_t type)
{
    const int32_t threshold = std::atoi(GetString(static_cast<uint32_t>(STR_UPGRADEEXP + type % TYPESPERLEVEL)));
    return std::max(threshold, 1);
}

void DrawMeter(const int32_t y, const int32_t row, const int32_t length)
{
    BltFastKeyed(METERX, y, imgmeters.GetSurface(), { 0, row, length, row + METERHEIGHT });
}

void DrawMeterText(const int32_t y, const std::string& text)
{
    DrawShadowText(METERX, y, METERLENGTH, METERHEIGHT, text, COLOUR_BODY, FORMAT_CENTREDLINE);
}

} // namespace

bool UpdatePanelBars(const int32_t player, const int32_t unit)
{
    if (player < 0 || static_cast<size_t>(player) >= p.size() || unit < 0
        || static_cast<size_t>(unit) >= p[player].units.size())
        return false;
    const Unit& u = p[player].units[unit];
    const int32_t life = GetStat(player, unit, STAT_LIFE);
    const int32_t moves = GetStat(player, unit, STAT_MOVES);
    // A unit of no life shows an empty life meter.
    const int32_t lifetarget = life > 0 ? Fit(static_cast<double>(u.hp) / life * METERLENGTH, METERLENGTH) : 0;
    const int32_t movestarget
        = Fit(static_cast<double>(std::min(u.moves, moves)) / std::max(moves, 1) * METERLENGTH, METERLENGTH);
    const int32_t manatarget = Fit(u.mana / static_cast<double>(MAXMANA) * METERLENGTH, METERLENGTH);
    const double expshare = static_cast<double>(u.experience) / UpgradeThreshold(u.type);
    const int32_t exptarget = Fit(EXPLENGTH - expshare * EXPLENGTH, EXPLENGTH);
    shownlife = Glide(shownlife, lifetarget, METERSTEP);
    shownmoves = Glide(shownmoves, movestarget, METERSTEP);
    shownmana = Glide(shownmana, manatarget, METERSTEP);
    shownexp = Glide(shownexp, exptarget, EXPSTEP);
    return false;
}

void DrawPanelMeters(const bool local)
{
    DrawSurface(300, 520, imgborder[BORDER_METERBOTTOM]);
    DrawMeter(MOVESY, 0, shownmoves);
    DrawMeter(LIFEY, METERHEIGHT, shownlife);
    if (local) {
        DrawMeter(MANAY, 2 * METERHEIGHT, shownmana);
        BltFastKeyed(EXPX, EXPY + shownexp, imgmeters.GetSurface(),
                     { 0, EXPTOP + shownexp, EXPWIDTH, EXPTOP + EXPLENGTH });
    }
    DrawSurface(300, 520, imgborder[BORDER_METERMIDDLE]);
}

void DrawPanelFigures(const int32_t player, const int32_t unit, const bool local)
{
    const Unit& u = p[player].units[unit];
    BeginText(FONT_BOARDLARGE);
    for (int32_t k = STAT_ATTACK; k <= STAT_RANGE; k++)
        DrawShadowText(FIGURESX + FIGURESTEP * k, FIGURESY, FIGUREBOX, FIGUREBOX,
                       std::to_string(GetStat(player, unit, k)), COLOUR_STATFIGURES, FORMAT_CENTREDLINE);
    SelectDCFont(textdc, fonts[FONT_MEDIUM]);
    DrawMeterText(MOVESY - 2, std::to_string(u.moves) + " / " + std::to_string(GetStat(player, unit, STAT_MOVES)));
    DrawMeterText(LIFEY - 2, std::to_string(u.hp) + " / " + std::to_string(GetStat(player, unit, STAT_LIFE)));
    DrawMeterText(MANAY - 2, local ? std::to_string(u.mana) + " / " + std::to_string(MAXMANA) : "? / ?");
    EndText();
}
