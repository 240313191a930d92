// The gold mines: of fifty random sets, the one whose mines lie nearest the camps, each mine kept out of
// every camp and away from the other mines.
#include <cmath>
#include <cstddef>
#include <vector>

#include "game/model/mapgen.h"
#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/shell/debuglog.h"
#include "platform/clock.h"
#include "platform/random.h"

namespace {

enum { MINETRIALS = 50, MINEDRAWS = 500 };
enum { CAMPGUARD = 6, MINEGUARD = 5 };  // half the side of the boxes kept free round camps and mines

struct Point {
    int32_t x, y;
};

struct Box {
    int32_t left, top, right, bottom;   // inclusive
    bool Holds(const Point pt) const { return pt.x >= left && pt.x <= right && pt.y >= top && pt.y <= bottom; }
};

Box BoxAround(int32_t x, int32_t y, int32_t reach)
{
    return { x - reach, y - reach, x + reach, y + reach };
}

// One trial's points: each drawn until it lies in no box, skipped after MINEDRAWS misses.
std::vector<Point> DrawMinePoints(int32_t count)
{
    std::vector<Box> forbidden;
    for (const Player& player : p)
        forbidden.push_back(BoxAround(player.startx, player.starty, CAMPGUARD));
    std::vector<Point> points;
    for (int32_t m = 0; m < count; m++) {
        for (int32_t draw = 0; draw < MINEDRAWS; draw++) {
            Point pt;
            pt.x = Random() % mapsize;
            pt.y = Random() % mapsize;
            bool free = true;
            for (const Box& box : forbidden)
                if (box.Holds(pt)) {
                    free = false;
                    break;
                }
            if (free) {
                points.push_back(pt);
                forbidden.push_back(BoxAround(pt.x, pt.y, MINEGUARD));
                break;
            }
        }
    }
    return points;
}

bool MineMayStand(const MapSquare& s)
{
    return s.terrain != TERRAIN_RIVER && s.terrain != TERRAIN_MINE && s.terrain != TERRAIN_CROSSING;
}

// The mine goes on the nearest square round the point that is no water and no other mine.
void SinkMine(const Point pt)
{
    for (int32_t r = 0; r <= mapsize; r++)
        for (int32_t x = pt.x - r; x <= pt.x + r; x++)
            for (int32_t y = pt.y - r; y <= pt.y + r; y++) {
                if (!InBounds(x, y) || !MineMayStand(map[x][y]))
                    continue;
                debuglog << "There is now a mine at (" << x << "," << y << ")\n";
                map[x][y].terrain = TERRAIN_MINE;
                map[x][y].extra = MINENOBODY;
                map[x][y].cost = COST_OPEN;
                return;
            }
}

} // namespace

int32_t MineCount(const int32_t size)
{
    if (size <= 30)
        return 4;
    if (size <= 40)
        return 9;
    if (size <= 60)
        return 16;
    if (size <= 70)
        return 25;
    return 5;
}

void PlaceMines()
{
    if (mapsize < 1)
        return;
    const int32_t count = MineCount(mapsize);
    uint32_t best = 0xFFFFFFFFu;
    std::vector<Point> kept;
    for (uint32_t t = 0; t < MINETRIALS; t++) {
        SeedRandom(best * GetTicks() * (t + 1));
        const std::vector<Point> points = DrawMinePoints(count);
        uint32_t total = 0;
        for (size_t i = 0; i < p.size(); i++) {
            for (const Point& pt : points) {
                const double dx = pt.x - p[i].startx;
                const double dy = pt.y - p[i].starty;
                total += static_cast<uint32_t>(std::sqrt(dx * dx + dy * dy));
            }
            debuglog << "Player " << i << ", mmax=" << total << '\n';
        }
        if (total < best) {
            best = total;
            kept = points;
        }
        debuglog << "pts.size()=" << points.size() << "\ndelta= " << best << '\n';
    }
    for (const Point& pt : kept)
        SinkMine(pt);
}
