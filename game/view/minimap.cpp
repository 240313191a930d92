#include "game/view/minimap.h"

#include <algorithm>
#include <string>

#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/shell/display.h"
#include "game/shell/gdiobjects.h"
#include "game/shell/images.h"
#include "game/shell/shell.h"
#include "game/view/drawing.h"
#include "game/view/geometry.h"

namespace {

enum : uint8_t { GOLDMINE = 3, SITE = 8 };

// Square (x, y) covers the 5 x 5 block at (4x, 4y): neighbouring blocks overlap by a pixel, the later
// painted over the earlier.
PixelRect Block(const int32_t x, const int32_t y)
{
    return { MINIMAPSCALE * x, MINIMAPSCALE * y, MINIMAPSCALE * x + 5, MINIMAPSCALE * y + 5 };
}

PixelRect Core(const int32_t x, const int32_t y)
{
    return { MINIMAPSCALE * x + 1, MINIMAPSCALE * y + 1, MINIMAPSCALE * x + 4, MINIMAPSCALE * y + 4 };
}

// Unexplored land is dark grey, but a gold mine shows wherever it is; then a forcefield, a used site
// (in the first terrain colour), or the terrain's colour.
const GdiBrush* SquareBrush(const int32_t x, const int32_t y)
{
    const MapSquare& s = map[x][y];
    if (!s.explored && s.terrain != GOLDMINE)
        return darkgreybrush;
    if (s.counter2 != 0)
        return palecyanbrush;
    const size_t kind = s.terrain == SITE && (s.extra & 1) ? 0 : s.terrain;
    if (kind >= terrainbrushes.size()) {
        LogBadInput("ERROR: Terrain " + std::to_string(kind) + " has no minimap colour.");
        return nullptr;
    }
    return terrainbrushes[kind];
}

const GdiBrush* PlayerBrush(const Player& player)
{
    const int32_t number = player.code - FIRSTCODE;
    if (number < 0 || static_cast<size_t>(number) >= playerbrushes.size()) {
        LogBadInput("ERROR: Player code " + std::to_string(player.code) + " has no colour.");
        return nullptr;
    }
    return playerbrushes[number];
}

} // namespace

int32_t MinimapLeft()
{
    return MINIMAPRIGHT - MINIMAPSCALE * mapsize;
}

bool RebuildMinimap(const int32_t viewer, const uint8_t force)
{
    if (!appactive || !candraw || (!minimapon && !force) || !imgminimap.IsCreated())
        return true;
    GdiDC* const dc = OpenSurfaceDC(imgminimap.GetSurface());
    SetDCBackMode(dc, BACK_TRANSPARENT);
    FillDCRect(dc, imgminimap.Rect(), StockBrush(STOCK_BLACKBRUSH));
    for (int32_t x = 0; x < mapsize; x++)
        for (int32_t y = 0; y < mapsize; y++)
            FillDCRect(dc, Block(x, y), SquareBrush(x, y));
    CloseDC(dc);
    DrawMinimapUnits(viewer);
    return false;
}

bool DrawMinimapUnits(const int32_t viewer)
{
    if (!imgminimap.IsCreated())
        return false;
    GdiDC* const dc = OpenSurfaceDC(imgminimap.GetSurface());
    SetDCBackMode(dc, BACK_TRANSPARENT);
    const int32_t local = YouToInt();
    for (size_t i = 0; i < p.size(); i++) {
        const int32_t player = static_cast<int32_t>(i);
        const std::vector<Unit>& units = p[i].units;
        for (size_t k = 0; k < units.size(); k++) {
            const Unit& u = units[k];
            if (!InBounds(u.x, u.y) || !map[u.x][u.y].explored)
                continue;
            if (GetStat(player, static_cast<int32_t>(k), STAT_STEALTH) + map[u.x][u.y].dark > 1 && player != local)
                continue;
            FillDCRect(dc, Block(u.x, u.y), StockBrush(STOCK_BLACKBRUSH));
            FillDCRect(dc, Core(u.x, u.y), PlayerBrush(p[i]));
        }
        // Every other player's first unit is marked, explored or not; the neutral side's is not.
        if (player == viewer || p[i].neutral || units.empty() || !InBounds(units[0].x, units[0].y))
            continue;
        FillDCRect(dc, Block(units[0].x, units[0].y), StockBrush(STOCK_BLACKBRUSH));
        FillDCRect(dc, Core(units[0].x, units[0].y), StockBrush(STOCK_WHITEBRUSH));
    }
    CloseDC(dc);
    return false;
}

bool DrawMinimap()
{
    if (!candraw || !backbuffer || mapsize <= 0)
        return true;
    const int32_t left = MinimapLeft();
    const int32_t side = MINIMAPSCALE * mapsize;
    if (imgminimap.GetSurface())
        CopySurface(backbuffer, left, MINIMAPTOP, imgminimap.GetSurface(), { 0, 0, side, side }, false);
    BeginText(FONT_SMALL);
    SelectDCBrush(textdc, StockBrush(STOCK_NULLBRUSH));
    SelectDCPen(textdc, StockPen(STOCK_WHITEPEN));
    DrawRectangle(textdc, left + MINIMAPSCALE * std::max(0, view.left), MINIMAPTOP + MINIMAPSCALE * std::max(0, view.top),
                  std::min<int32_t>(MINIMAPRIGHT, left + MINIMAPSCALE * view.right),
                  MINIMAPTOP + MINIMAPSCALE * std::min(mapsize, view.bottom));
    EndText();
    return false;
}
