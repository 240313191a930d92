// Random terrain: open ground, rough ground, trees, gold deposits, sites, rivers and one pillar per
// quadrant. The draws come in a fixed order, so a seed always gives the same map: the seed search keeps
// only the best seed and rebuilds its map from it.
#include <cstdint>

#include "game/model/mapgen.h"
#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/shell/debuglog.h"
#include "platform/random.h"

namespace {

enum { SITEKINDS = 7 };                 // sites 0, 2, ..., 12 are strewn at random
enum { CROSSINGCHANCE = 15 };           // one straight river square in this many becomes a crossing
enum : uint8_t { CROSSINGFLAG = 16 };   // extra marks a square to become a crossing (16 + its direction)
enum { MAXPILLARDRAWS = 1 << 20 };      // a quadrant with open ground is hit long before this

struct Square {
    int32_t x, y;
};

// A random square: x drawn first, then y.
Square RandomSquare()
{
    const int32_t x = Random() % mapsize;
    const int32_t y = Random() % mapsize;
    return { x, y };
}

void SetSquare(const Square s, uint8_t terrain, uint8_t cost)
{
    map[s.x][s.y].terrain = terrain;
    map[s.x][s.y].cost = cost;
}

bool IsRiverLike(int32_t x, int32_t y)
{
    return InBounds(x, y) && (map[x][y].terrain == TERRAIN_RIVER || map[x][y].terrain == TERRAIN_CROSSING);
}

// Which neighbours are river or crossing; a river end also joins the map edges it touches.
uint8_t RiverMask(int32_t x, int32_t y)
{
    uint8_t mask = 0;
    if (IsRiverLike(x, y - 1))
        mask |= RIVER_UP;
    if (IsRiverLike(x, y + 1))
        mask |= RIVER_DOWN;
    if (IsRiverLike(x - 1, y))
        mask |= RIVER_LEFT;
    if (IsRiverLike(x + 1, y))
        mask |= RIVER_RIGHT;
    if (mask == RIVER_UP || mask == RIVER_DOWN || mask == RIVER_LEFT || mask == RIVER_RIGHT) {
        if (!InBounds(x, y - 1))
            mask |= RIVER_UP;
        if (!InBounds(x, y + 1))
            mask |= RIVER_DOWN;
        if (!InBounds(x - 1, y))
            mask |= RIVER_LEFT;
        if (!InBounds(x + 1, y))
            mask |= RIVER_RIGHT;
    }
    return mask;
}

// The squares a quadrant's pillar can be drawn on: half the side from the quadrant's corner.
bool QuadrantHasOpenGround(int32_t q)
{
    const int32_t n = mapsize;
    const int32_t left = (q % 2) * (n / 2);
    const int32_t top = (q / 2) * (n / 2);
    for (int32_t x = left; x <= left + (n - 1) / 2; x++)
        for (int32_t y = top; y <= top + (n - 1) / 2; y++)
            if (map[x][y].terrain == TERRAIN_OPEN)
                return true;
    return false;
}

void PlacePillar(int32_t q)
{
    const int32_t n = mapsize;
    // Drawing "until open ground" would never end in a quadrant without any.
    if (!QuadrantHasOpenGround(q)) {
        debuglog << "ERROR: No open ground for the pillar of quadrant " << q << ".\n";
        return;
    }
    for (int32_t tries = 0; tries < MAXPILLARDRAWS; tries++) {
        const int32_t x = (Random() % n) / 2 + (q % 2) * (n / 2);
        const int32_t y = (Random() % n) / 2 + (q / 2) * (n / 2);
        if (map[x][y].terrain == TERRAIN_OPEN) {
            SetSquare({ x, y }, TERRAIN_SITE, COST_OPEN);
            map[x][y].extra = SITE_PILLAR;
            return;
        }
    }
}

} // namespace

void GenerateTerrain()
{
    const int32_t n = mapsize;
    if (n < 1 || map.size() != static_cast<size_t>(n)) {
        debuglog << "ERROR: GenerateTerrain without a map.\n";
        return;
    }
    for (int32_t x = 0; x < n; x++)
        for (int32_t y = 0; y < n; y++) {
            map[x][y].cost = COST_OPEN;
            map[x][y].extra = static_cast<uint8_t>(Random() % 4);
            map[x][y].terrain = TERRAIN_OPEN;
        }
    for (int32_t i = (n * n / 15) * roughfactor; i > 0; i--)
        SetSquare(RandomSquare(), TERRAIN_ROUGH, COST_ROUGH);
    for (int32_t i = (n * n / 15) * treefactor; i > 0; i--)
        SetSquare(RandomSquare(), TERRAIN_TREES, COST_OPEN);
    for (int32_t i = n * n / 30; i > 0; i--)
        SetSquare(RandomSquare(), TERRAIN_DEPOSIT, COST_OPEN);
    for (int32_t i = n * n / 70; i > 0; i--) {
        const Square s = RandomSquare();
        SetSquare(s, TERRAIN_SITE, COST_OPEN);
        map[s.x][s.y].extra = static_cast<uint8_t>((Random() % SITEKINDS) * 2);
    }
    for (int32_t i = n / 20; i > 0; i--)
        AddRiver();
    ShapeRivers();
    for (int32_t q = 0; q < 4; q++)
        PlacePillar(q);
}

void AddRiver()
{
    const int32_t n = mapsize;
    const int32_t side = Random() % 4;
    int32_t x = 0, y = 0, dx = 0, dy = 0, xdir = 0, ydir = 0;
    switch (side) {
    case 0:
        x = n - 1;
        y = Random() % n;
        xdir = dx = -1;
        ydir = y <= n / 2 ? 1 : -1;
        break;
    case 1:
        y = n - 1;
        x = Random() % n;
        ydir = dy = -1;
        xdir = x <= n / 2 ? 1 : -1;
        break;
    case 2:
        x = 0;
        y = Random() % n;
        xdir = dx = 1;
        ydir = y <= n / 2 ? 1 : -1;
        break;
    default:
        y = 0;
        x = Random() % n;
        ydir = dy = 1;
        xdir = x <= n / 2 ? 1 : -1;
        break;
    }
    // Both directions keep their sign, so every step gains ground and the river leaves the map.
    while (InBounds(x, y) && map[x][y].terrain != TERRAIN_RIVER) {
        map[x][y].terrain = TERRAIN_RIVER;
        map[x][y].cost = COST_RIVER;
        x += dx;
        y += dy;
        if (Random() % 3 == 0) {
            if (Random() % 2 == 0) {
                dx = xdir;
                dy = 0;
            } else {
                dx = 0;
                dy = ydir;
            }
        }
    }
}

void ShapeRivers()
{
    const int32_t n = mapsize;
    for (int32_t x = 0; x < n; x++)
        for (int32_t y = 0; y < n; y++) {
            MapSquare& s = map[x][y];
            if (s.terrain != TERRAIN_RIVER)
                continue;
            const uint8_t mask = RiverMask(x, y);
            s.extra = mask;
            if (mask == (RIVER_UP | RIVER_DOWN) && Random() % CROSSINGCHANCE == 0) {
                s.cost = COST_OPEN;
                s.extra = CROSSINGFLAG + 1;
            } else if (mask == (RIVER_LEFT | RIVER_RIGHT) && Random() % CROSSINGCHANCE == 0) {
                s.cost = COST_OPEN;
                s.extra = CROSSINGFLAG;
            }
        }
    for (int32_t x = 0; x < n; x++)
        for (int32_t y = 0; y < n; y++) {
            MapSquare& s = map[x][y];
            if (s.terrain == TERRAIN_RIVER && s.extra >= CROSSINGFLAG) {
                s.terrain = TERRAIN_CROSSING;
                s.extra = s.extra % CROSSINGFLAG;
            }
        }
}

void JoinRiverEdges()
{
    for (int32_t x = 0; x < mapsize; x++)
        for (int32_t y = 0; y < mapsize; y++)
            if (map[x][y].terrain == TERRAIN_RIVER)
                map[x][y].extra = RiverMask(x, y);
}
