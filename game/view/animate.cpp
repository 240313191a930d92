#include "game/view/animate.h"

#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/shell.h"
#include "game/view/board.h"
#include "game/view/drawing.h"
#include "game/view/feed.h"
#include "game/view/geometry.h"
#include "game/view/header.h"
#include "game/view/minimap.h"
#include "game/view/unitpanel.h"
#include "platform/clock.h"

namespace {

enum : int32_t { UNITKINDS = 3, CLIPPEDSIZE = 120, CLIPPEDINSET = 40 };

struct Target {
    int32_t x, y;
};

// Where the animation plays: a unit's square (kind 3 or less) or the square itself; false when the
// unit does not exist.
bool TargetSquare(const int32_t a, const int32_t b, const int32_t kind, Target* at)
{
    if (kind > UNITKINDS) {
        *at = { a, b };
        return true;
    }
    if (a < 0 || static_cast<size_t>(a) >= p.size() || b < 0 || static_cast<size_t>(b) >= p[a].units.size())
        return false;
    *at = { p[a].units[b].x, p[a].units[b].y };
    return true;
}

bool Explored(const Target& at)
{
    return InBounds(at.x, at.y) && map[at.x][at.y].explored;
}

void DrawFrame(const Target& at, const int32_t cell, const bool clipped)
{
    const int32_t local = YouToInt();
    ClearAndDrawBoard(0, local);
    const ScreenPoint px = SquareToScreen(at.x, at.y);
    if (clipped)
        DrawTileClipped(px.x - CLIPPEDINSET, px.y - CLIPPEDINSET, cell, imgspellanim, CLIPPEDSIZE);
    else
        DrawSheetIcon(px.x, px.y, cell, imgspellanim);
    DrawScreenBorder();
    DrawUnitPanel(currplayer, currunit);
    if (minimapon)
        DrawMinimap();
    DrawMessageFeed(local);
    FlipScreen();
    SleepMs(ANIMFRAMEMS);
}

// The play screen again without the effect, shown; then the next back buffer prepared.
void CloseSquareAnimation()
{
    const int32_t local = YouToInt();
    ClearAndDrawBoard(0, local);
    DrawScreenBorder();
    DrawUnitPanel(currplayer, currunit);
    FlipScreen();
    ClearAndDrawBoard(0, local);
    if (minimapon)
        DrawMinimap();
    DrawMessageFeed(local);
    DrawScreenBorder();
}

void CloseUnitAnimation()
{
    const int32_t local = YouToInt();
    ClearAndDrawBoard(0, local);
    if (minimapon)
        DrawMinimap();
    DrawScreenBorder();
    DrawUnitPanel(currplayer, currunit);
    DrawMessageFeed(local);
    FlipScreen();
    ClearAndDrawBoard(0, currplayer);
    DrawScreenBorder();
}

bool Animate(const int32_t a, const int32_t b, const int32_t kind, const int32_t first, const uint8_t reverse,
             const bool clipped)
{
    if (!candraw || !appactive)
        return false;
    Target at;
    if (!TargetSquare(a, b, kind, &at))
        return false;
    const bool onunit = kind <= UNITKINDS;
    if (onunit) {
        const ScreenPoint corner = SquareToScreen(at.x, at.y);
        if (!Explored(at) || !IsOnBoard(corner.x, corner.y))
            return false;
    }
    const int32_t step = reverse ? -ANIMCELLSTEP : ANIMCELLSTEP;
    int32_t cell = reverse ? first + ANIMCELLSTEP * (ANIMFRAMES - 1) : first;
    for (int32_t frame = 0; frame < ANIMFRAMES; frame++, cell += step) {
        if (onunit)
            TargetSquare(a, b, kind, &at);
        else if (!Explored(at))
            return false;
        DrawFrame(at, cell, clipped);
    }
    if (onunit)
        CloseUnitAnimation();
    else
        CloseSquareAnimation();
    return false;
}

} // namespace

bool AnimateOnUnit(const int32_t a, const int32_t b, const int32_t kind, const int32_t first, const uint8_t reverse)
{
    return Animate(a, b, kind, first, reverse, false);
}

bool AnimateOnUnitClipped(const int32_t a, const int32_t b, const int32_t kind, const int32_t first,
                          const uint8_t reverse)
{
    return Animate(a, b, kind, first, reverse, true);
}
