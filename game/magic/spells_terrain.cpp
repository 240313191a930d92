// Terrain, light and darkness spells: forcefields, bare, rough and flooded ground, fire, darkness,
// light and claims on squares. The floods share one rule: a square is worked when a path of
// orthogonal steps (10) and diagonal steps (14) from the centre costs at most the strength + 5.
#include <algorithm>
#include <cstdlib>
#include <cstddef>
#include <cstdint>

#include "game/magic/spells.h"
#include "game/magic/spellsteps.h"
#include "game/model/announce.h"
#include "game/model/localplayer.h"
#include "game/model/mapgen.h"
#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/model/wards.h"

namespace {

enum : int32_t { FLOODSTEP = 10, FLOODDIAGONAL = 14, FLOODSLACK = 5 };
enum : int32_t { FORCEFIELDTURNS = 3, FIRETURNS = 3, MAXCOUNTER = 127 };
enum : int32_t { DARKNESSSTRENGTH = 20, STARLIGHTSTRENGTH = 30, VOIDSTRENGTH = 10, RAZESTRENGTH = 20 };
enum : int32_t { MOATSTEPS = 500, ROUGHVARIANTS = 4 };
enum : int8_t { LIT = -1, DARK = 1, PLAIN = 0 };

// The squares a flood of that strength from (x, y) works, x-major. On a square map every shortest
// path of such steps between two squares on it stays on it, so the reach is the octile distance.
template <typename Work>
void Flood(int32_t x, int32_t y, int32_t strength, Work work)
{
    const int32_t limit = strength + FLOODSLACK;
    if (limit < 0 || !InBounds(x, y))
        return;
    const int32_t reach = limit / FLOODSTEP;
    for (int32_t sx = x - reach; sx <= x + reach; sx++)
        for (int32_t sy = y - reach; sy <= y + reach; sy++) {
            if (!InBounds(sx, sy))
                continue;
            const int32_t ax = std::abs(sx - x);
            const int32_t ay = std::abs(sy - y);
            const int32_t diagonal = std::min(ax, ay);
            const int32_t cost = FLOODDIAGONAL * diagonal + FLOODSTEP * (std::max(ax, ay) - diagonal);
            if (cost <= limit)
                work(sx, sy);
        }
}

// Raising a forcefield or a fire stops at the counter's top instead of wrapping to a negative count.
void RaiseCounter(int8_t& counter, int32_t amount)
{
    counter = static_cast<int8_t>(std::min<int32_t>(counter + amount, MAXCOUNTER));
}

// A changed square ends the move-bound wards of the unit standing on it.
void EndMoveWardsAt(int32_t x, int32_t y)
{
    const UnitRef unit = FirstUnitAt(x, y);
    if (unit.player >= 0)
        RemoveMoveWards(unit.player, unit.unit);
}

// The few random choices of the terrain spells come from a generator every machine seeds alike from
// the state they share (the cast and the time of the game), so every machine digs the same moat and
// roughens alike without a word on the wire; the game's own random sequence is not touched.
struct SharedRandom {
    uint32_t state;

    int32_t Next()
    {
        state = state * 1103515245u + 12345u;
        return static_cast<int32_t>((state >> 16) & 0x7FFF);
    }
};

uint32_t SharedSeed(int32_t caster, int32_t x, int32_t y, uint32_t salt)
{
    uint32_t h = 2166136261u ^ salt;
    const int32_t parts[] = { caster, x, y, daycount, turncount, currplayer };
    for (const int32_t part : parts) {
        h ^= static_cast<uint32_t>(part);
        h *= 16777619u;
    }
    return h;
}

int32_t Sign(int32_t v)
{
    return (v > 0) - (v < 0);
}

// A direction component that came out 0 is drawn as -1 or 1.
int32_t NonZero(int32_t v, SharedRandom& random)
{
    while (v == 0)
        v = random.Next() % 3 - 1;
    return v;
}

void DigWater(int32_t x, int32_t y)
{
    MapSquare& square = map[x][y];
    square.terrain = TERRAIN_RIVER;
    square.extra = 0;
    square.cost = COST_RIVER;
    EndMoveWardsAt(x, y);
}

} // namespace

int32_t TerrainAt(int32_t x, int32_t y)
{
    return InBounds(x, y) ? map[x][y].terrain : -1;
}

void SpreadDarkness(int32_t x, int32_t y, int32_t strength, int32_t owner)
{
    Flood(x, y, strength, [owner](int32_t sx, int32_t sy) {
        map[sx][sy].dark = DARK;
        map[sx][sy].lightowner = static_cast<int8_t>(owner);
    });
}

void SpreadStarlight(int32_t player, int32_t x, int32_t y, int32_t strength)
{
    const bool local = player == YouToInt();
    Flood(x, y, strength, [local](int32_t sx, int32_t sy) {
        if (local) {
            map[sx][sy].explored = 1;
            map[sx][sy].visible = 1;
            needredraw = 1;
        }
        map[sx][sy].dark = PLAIN;
    });
}

void SpreadVoid(int32_t player, int32_t x, int32_t y, int32_t strength, int32_t owner, int32_t set)
{
    const bool local = player == YouToInt();
    const uint32_t claim = static_cast<uint32_t>(owner) & CLAIMMASK;
    Flood(x, y, strength, [local, claim, set](int32_t sx, int32_t sy) {
        MapSquare& square = map[sx][sy];
        if (local) {
            square.explored = 1;
            square.visible = 1;
            needredraw = 1;
        }
        if (set == 1)
            square.bits = (square.bits & ~CLAIMMASK) | claim;
        else if (set == 0 && (square.bits & CLAIMMASK) == claim)
            square.bits |= NOCLAIM;
    });
}

void RazeSquares(int32_t x, int32_t y, int32_t strength)
{
    Flood(x, y, strength, [](int32_t sx, int32_t sy) {
        MapSquare& square = map[sx][sy];
        if (square.terrain != TERRAIN_MINE) {
            square.terrain = TERRAIN_OPEN;
            square.extra = 0;
            square.cost = COST_OPEN;
            EndMoveWardsAt(sx, sy);
        }
        square.timed = 0;
        square.hazard = 0;
        square.counter2 = 0;
    });
}

void DigMoat(int32_t x, int32_t y, int32_t cx, int32_t cy, int32_t dx, int32_t dy, int32_t px, int32_t py,
             int32_t steps, int32_t turned, uint32_t seed)
{
    SharedRandom random{ seed };
    // One pass per step of the walk; every pass uses a step up, so the walk ends.
    for (; steps >= 1; steps--) {
        if (TerrainAt(x, y) == TERRAIN_MINE || (x == cx && y == cy)) {
            // Turned away: back to the previous square, to leave it in the new direction.
            if (dx == 0) {
                dx = NonZero(Sign(x - cx), random);
                dy = 0;
            } else {
                dy = NonZero(Sign(y - cy), random);
                dx = 0;
            }
            x = px;
            y = py;
            turned = 1;
            continue;
        }
        if (InBounds(x, y))
            DigWater(x, y);
        if (turned == 0) {
            if (random.Next() % 2 == 0) {
                dx = 0;
                dy = NonZero(Sign(cy - y), random);
            } else {
                dy = 0;
                dx = NonZero(Sign(cx - x), random);
            }
        }
        px = x;
        py = y;
        x += dx;
        y += dy;
        turned = 0;
    }
}

bool SpellForcefield(int32_t, int32_t, int32_t x, int32_t y, int32_t, int32_t)
{
    if (!InBounds(x, y))
        return false;
    RaiseCounter(map[x][y].counter2, FORCEFIELDTURNS);
    AnnounceBoard();
    return false;
}

bool SpellIllusion(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t, int32_t)
{
    if (!IsUnitIndex(cp, cu))
        return false;
    AnimateSquareClipped(x, y, 134);
    const int32_t ddx = x - p[cp].units[cu].x;
    const int32_t ddy = y - p[cp].units[cu].y;
    int32_t a, b;
    if (std::abs(ddx) == std::abs(ddy)) {
        a = ddx / std::max(std::abs(ddx), 1);
        b = -(ddy / std::max(std::abs(ddy), 1));
    } else if (std::abs(ddy) < std::abs(ddx)) {
        a = Sign(ddx);
        b = 0;
    } else {
        a = 0;
        b = Sign(ddy);
    }
    // A wall across the line from the caster, centred on the target square.
    const int32_t wall[3][2] = { { x + b, y + a }, { x, y }, { x - b, y - a } };
    for (const auto& square : wall)
        if (InBounds(square[0], square[1]))
            RaiseCounter(map[square[0]][square[1]].counter2, FORCEFIELDTURNS);
    AnnounceBoard();
    return false;
}

bool SpellRaze(int32_t, int32_t, int32_t x, int32_t y, int32_t, int32_t)
{
    if (!InBounds(x, y))
        return false;
    AnimateSquareClipped(x, y, 266);
    RazeSquares(x, y, RAZESTRENGTH);
    JoinRiverEdges();
    AnnounceBoard();
    AnimateSquareClipped(x, y, 266, true);
    return false;
}

bool SpellMoat(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    if (!IsUnitIndex(a, b) || !IsUnitIndex(cp, cu))
        return false;
    const Unit& target = p[a].units[b];
    const int32_t cx = target.x;
    const int32_t cy = target.y;
    const uint32_t seed = SharedSeed(p[cp].units[cu].id, cx, cy, static_cast<uint32_t>(target.id));
    DigMoat(cx - 1, cy - 1, cx, cy, 1, 0, cx - 2, cy - 1, MOATSTEPS, 0, seed);
    JoinRiverEdges();
    AnnounceBoard();
    return false;
}

bool SpellRoughen(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t, int32_t)
{
    if (!IsUnitIndex(cp, cu))
        return false;
    AnimateSquareClipped(x, y, 266);
    SharedRandom random{ SharedSeed(p[cp].units[cu].id, x, y, 0) };
    for (int32_t sx = x - 1; sx <= x + 1; sx++)
        for (int32_t sy = y - 1; sy <= y + 1; sy++) {
            if (!InBounds(sx, sy))
                continue;
            MapSquare& square = map[sx][sy];
            if (square.terrain != TERRAIN_MINE) {
                square.terrain = TERRAIN_ROUGH;
                square.extra = static_cast<uint8_t>(random.Next() % ROUGHVARIANTS);
                square.cost = COST_ROUGH;
            }
            EndMoveWardsAt(sx, sy);
        }
    JoinRiverEdges();
    AnnounceBoard();
    AnimateSquareClipped(x, y, 266, true);
    return false;
}

bool SpellConflageration(int32_t, int32_t, int32_t x, int32_t y, int32_t, int32_t)
{
    AnimateSquareClipped(x, y, 264);
    for (int32_t sx = x - 1; sx <= x + 1; sx++)
        for (int32_t sy = y - 1; sy <= y + 1; sy++)
            if (InBounds(sx, sy))
                RaiseCounter(map[sx][sy].hazard, FIRETURNS);
    return false;
}

bool SpellDarkness(int32_t cp, int32_t, int32_t x, int32_t y, int32_t, int32_t)
{
    SpreadDarkness(x, y, DARKNESSSTRENGTH, cp);
    AnnouncePictures();
    AnnounceBoard();
    return false;
}

bool SpellStarlight(int32_t cp, int32_t cu, int32_t, int32_t, int32_t, int32_t)
{
    if (!IsUnitIndex(cp, cu))
        return false;
    if (turncount == NIGHT)
        SpreadStarlight(cp, p[cp].units[cu].x, p[cp].units[cu].y, STARLIGHTSTRENGTH);
    else
        SpellHeal(cp, cu, cp, cu, 0, 0);
    AnnouncePictures();
    AnnounceBoard();
    return false;
}

bool SpellLight(int32_t cp, int32_t cu, int32_t, int32_t, int32_t, int32_t)
{
    if (IsUnitIndex(cp, cu))
        AnimateUnitClipped(cp, cu, 129);
    for (auto& column : map)
        for (MapSquare& square : column)
            square.dark = LIT;
    AnnouncePictures();
    AnnounceBoard();
    return false;
}

bool SpellVoid(int32_t cp, int32_t, int32_t a, int32_t b, int32_t, int32_t)
{
    if (!IsUnitIndex(a, b))
        return false;
    const int32_t x = p[a].units[b].x;
    const int32_t y = p[a].units[b].y;
    SpreadVoid(cp, x, y, VOIDSTRENGTH, cp, 1);
    for (const UnitRef& unit : UnitsAround(x, y, -1))
        AnnouncePicture(unit.player, unit.unit);
    AnnounceBoard();
    return false;
}
