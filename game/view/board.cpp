#include "game/view/board.h"

#include <algorithm>

#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/shell/debuglog.h"
#include "game/shell/display.h"
#include "game/shell/gdiobjects.h"
#include "game/shell/images.h"
#include "game/shell/shell.h"
#include "game/view/cells.h"
#include "game/view/drawing.h"
#include "game/view/frames.h"
#include "game/view/geometry.h"
#include "game/view/unitpicture.h"

uint8_t gridon = 0;

namespace {

enum : int32_t { TERRAINKINDS = 16, VARIANTS = 16, FORCEFIELDSTEPS = 3 };
enum : uint8_t { GOLDMINE = 3 };

// Calls draw(x, y, px, py) for every square of the view that lies on the map and on the board image,
// (px, py) being its top-left pixel; x outer, y inner.
template <typename Draw>
void ForEachViewSquare(Draw draw)
{
    for (int32_t x = view.left; x < view.right; x++)
        for (int32_t y = view.top; y < view.bottom; y++) {
            if (x - view.left >= BOARDCOLUMNS || y - view.top >= BOARDROWS || !InBounds(x, y))
                continue;
            const ScreenPoint at = SquareToScreen(x, y);
            draw(x, y, at.x, at.y);
        }
}

// The frame of the board's animated cells, each held three passes.
int32_t AnimationFrame()
{
    return static_cast<int32_t>(static_cast<uint32_t>(framecount) / 3 % ANIMATIONFRAMES);
}

bool Unexplored(const int32_t x, const int32_t y)
{
    return InBounds(x, y) && !map[x][y].explored;
}

// The square's own terrain, from the grey sheet on a voided square and the dimmed one on a dark square.
void DrawTerrainLayer()
{
    ForEachViewSquare([](const int32_t x, const int32_t y, const int32_t px, const int32_t py) {
        const MapSquare& s = map[x][y];
        if (!s.explored)
            return;
        if (s.terrain >= TERRAINKINDS || s.extra >= VARIANTS) {
            LogBadInput("ERROR: Square " + std::to_string(x) + ", " + std::to_string(y) + " has terrain " +
                        std::to_string(s.terrain) + " variant " + std::to_string(s.extra) + ", which no cell shows.");
            return;
        }
        const Surface& sheet = (s.bits & CLAIMMASK) != NOCLAIM ? imgterraingrey : s.dark >= 1 ? imgterraintint : imgterrain;
        DrawTileTo(px, py, s.terrain + TERRAINKINDS * s.extra, sheet, imgboard);
    });
}

// The forcefield's cell: fainter the fewer turns it has left. A counter below 0 still closes the
// square, and shows as the faintest.
int32_t ForcefieldCell(const int32_t counter)
{
    if (counter >= FORCEFIELDSTEPS)
        return TERRAIN_FORCEFIELD;
    const int32_t c = counter < 1 ? 1 : counter;
    return TERRAIN_FORCEFIELD + 16 * (FORCEFIELDSTEPS - c);
}

// What lies on a square: a timed effect and a forcefield.
void DrawObjectLayer()
{
    ForEachViewSquare([](const int32_t x, const int32_t y, const int32_t px, const int32_t py) {
        const MapSquare& s = map[x][y];
        if (!s.explored)
            return;
        if (s.timed)
            DrawTileTo(px, py, UNITS_TIMED, imgunits, imgboard);
        if (s.counter2 != 0)
            DrawTileTo(px, py, ForcefieldCell(s.counter2), imgterrain, imgboard);
    });
}

// The shading of an explored square along its unexplored neighbours on the map: an edge cell by the
// mask of the four sides (drawn for mask 0 too), and corner cells only when no side is unexplored.
void DrawShadingLayer()
{
    ForEachViewSquare([](const int32_t x, const int32_t y, const int32_t px, const int32_t py) {
        if (!map[x][y].explored)
            return;
        const int32_t mask = (Unexplored(x, y - 1) ? 1 : 0) | (Unexplored(x - 1, y) ? 2 : 0) |
                             (Unexplored(x + 1, y) ? 4 : 0) | (Unexplored(x, y + 1) ? 8 : 0);
        DrawTileTo(px, py, TERRAIN_EDGE + 16 * mask, imgterrain, imgboard);
        if (mask != 0)
            return;
        if (Unexplored(x - 1, y - 1))
            DrawTileTo(px, py, TERRAIN_CORNERUL, imgterrain, imgboard);
        if (Unexplored(x + 1, y - 1))
            DrawTileTo(px, py, TERRAIN_CORNERUR, imgterrain, imgboard);
        if (Unexplored(x - 1, y + 1))
            DrawTileTo(px, py, TERRAIN_CORNERDL, imgterrain, imgboard);
        if (Unexplored(x + 1, y + 1))
            DrawTileTo(px, py, TERRAIN_CORNERDR, imgterrain, imgboard);
    });
}

void DrawFogLayer()
{
    ForEachViewSquare([](const int32_t x, const int32_t y, const int32_t px, const int32_t py) {
        if (!map[x][y].explored)
            DrawTileTo(px, py, TERRAIN_UNEXPLORED, imgterrain, imgboard);
    });
}

// Per square, in this order: a gold mine's glint in unexplored land, the range mark, a hazard on
// explored land.
void DrawMarksLayer()
{
    const int32_t frame = AnimationFrame();
    ForEachViewSquare([frame](const int32_t x, const int32_t y, const int32_t px, const int32_t py) {
        const MapSquare& s = map[x][y];
        if (s.terrain == GOLDMINE && !s.explored)
            DrawSheetIcon(px, py, TERRAIN_GLINT + frame, imgterrain);
        if (s.mark)
            DrawSheetIcon(px, py, TERRAIN_RANGEMARK, imgterrain);
        if (s.hazard != 0 && s.explored)
            DrawSheetIcon(px, py, TERRAIN_HAZARD + frame, imgterrain);
    });
}

bool InView(const int32_t x, const int32_t y)
{
    return x >= view.left && x < view.right && y >= view.top && y < view.bottom;
}

bool ShowsUnit(const int32_t player, const int32_t unit, const int32_t viewer, const uint8_t hideselected)
{
    const Unit& u = p[player].units[unit];
    if (!InBounds(u.x, u.y) || !InView(u.x, u.y) || !map[u.x][u.y].explored)
        return false;
    if (player != viewer && GetStat(player, unit, STAT_STEALTH) + map[u.x][u.y].dark > 1)
        return false;
    const bool blinkedout = static_cast<uint32_t>(framecount) / 10 % 2 == 0;
    return !(hideselected && player == currplayer && unit == currunit && blinkedout);
}

// Every unit the viewer may see, players and units in order, and after each player's units the
// beacon of his first unit when it stands in unexplored land (not for the neutral side).
void DrawUnitsLayer(const uint8_t hideselected, const int32_t viewer)
{
    const int32_t frame = AnimationFrame();
    for (size_t i = 0; i < p.size(); i++) {
        const int32_t player = static_cast<int32_t>(i);
        const std::vector<Unit>& units = p[i].units;
        for (size_t k = 0; k < units.size(); k++) {
            const Surface* const picture = UnitPicture(units[k].id);
            if (!picture || !ShowsUnit(player, static_cast<int32_t>(k), viewer, hideselected))
                continue;
            const ScreenPoint at = SquareToScreen(units[k].x, units[k].y);
            DrawSurface(at.x, at.y, *picture);
        }
        if (p[i].neutral || units.empty())
            continue;
        const Unit& first = units.front();
        if (InBounds(first.x, first.y) && InView(first.x, first.y) && !map[first.x][first.y].explored) {
            const ScreenPoint at = SquareToScreen(first.x, first.y);
            DrawSheetIcon(at.x, at.y, TERRAIN_BEACON + frame, imgterrain);
        }
    }
}

void DrawGridLayer()
{
    GdiDC* const dc = OpenSurfaceDC(backbuffer);
    SelectDCPen(dc, dotpen);
    SetDCBackMode(dc, BACK_TRANSPARENT);
    for (int32_t i = 0; i < view.right - view.left; i++) {
        MoveDCTo(dc, SQUARESIZE * i, 0);
        DrawLineTo(dc, SQUARESIZE * i, BOARDHEIGHT);
    }
    for (int32_t j = 0; j < view.bottom - view.top; j++) {
        MoveDCTo(dc, 0, SQUARESIZE * j);
        DrawLineTo(dc, BOARDWIDTH, SQUARESIZE * j);
    }
    CloseDC(dc);
}

} // namespace

bool RebuildBoardImage()
{
    if (!candraw)
        return true;
    ClearPicture(imgboard);
    DrawTerrainLayer();
    DrawObjectLayer();
    DrawShadingLayer();
    DrawFogLayer();
    return false;
}

bool DrawBoard(const uint8_t hideselected, int32_t viewer)
{
    if (!candraw || !appactive)
        return true;
    if (viewer == VIEWER_CURRENT)
        viewer = currplayer;
    // Every caller clears the back buffer first, so the image copied whole shows what a copy keyed on
    // its black would, at the cost of a plain copy.
    if (imgboard.GetSurface() && backbuffer)
        CopySurface(backbuffer, 0, 0, imgboard.GetSurface(), imgboard.Rect(), false);
    DrawMarksLayer();
    DrawUnitsLayer(hideselected, viewer);
    if (gridon)
        DrawGridLayer();
    return false;
}

bool ClearAndDrawBoard(const uint8_t hideselected, const int32_t viewer)
{
    // The board image is copied whole over the cleared buffer, so only what lies outside it needs the
    // clear: a full-screen fill is a good part of an idle board frame's cost.
    const SysSurface* const image = imgboard.GetSurface();
    if (!candraw || !appactive || !image || !backbuffer) {
        ClearBackBuffer();
        return DrawBoard(hideselected, viewer);
    }
    const int32_t right = std::min(image->width, backbuffer->width);
    const int32_t bottom = std::min(image->height, backbuffer->height);
    const PixelRect beside = { right, 0, backbuffer->width, bottom };
    const PixelRect below = { 0, bottom, backbuffer->width, backbuffer->height };
    FillSurface(backbuffer, &beside, 0);
    FillSurface(backbuffer, &below, 0);
    return DrawBoard(hideselected, viewer);
}
