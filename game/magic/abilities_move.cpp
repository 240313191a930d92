// On-move abilities: asked for the cost of every step, with (old x, old y, new x, new y,
// player x 1000 + unit, cost only). The mover keeps the lowest of the square's cost and every answer
// and may not step when that is below 0. Some also change the map or the mover as it steps; asked for
// the cost only (the computer player weighing a step it may not take), they change nothing.
#include "game/magic/abilities.h"

#include <cstddef>
#include <string>

#include "game/model/announce.h"
#include "game/model/localplayer.h"
#include "game/model/mapgen.h"
#include "game/model/queries.h"
#include "game/model/sight.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/wards.h"

namespace {

enum : int32_t { SCOUTREACH = 3, SCOUTBUDGET = 20, STANDINGWARD = 99999 };
enum : int32_t { TREESHOTBONUS = 1, BOULDERBONUS = 2 };

struct Step {
    int32_t player, unit;               // the mover; -1, -1 when the word names no unit
    int32_t x, y;                       // the square stepped onto
    bool onmap;
    bool costonly;
};

Step ReadStep(int32_t nx, int32_t ny, int32_t mover, int32_t costonly)
{
    Step s{ -1, -1, nx, ny, InBounds(nx, ny), costonly == MOVECOSTONLY };
    const int32_t player = mover / MOVERPLAYER;
    const int32_t unit = mover % MOVERPLAYER;
    if (mover >= 0 && static_cast<size_t>(player) < p.size() && static_cast<size_t>(unit) < p[player].units.size()) {
        s.player = player;
        s.unit = unit;
    }
    return s;
}

// What a step onto the square costs when the ability has nothing to say; refused off the map.
int32_t SquareCost(const Step& s)
{
    return s.onmap ? map[s.x][s.y].cost : -1;
}

uint8_t TerrainOf(const Step& s)
{
    return s.onmap ? map[s.x][s.y].terrain : 0xFF;
}

// Standing on its terrain, the mover attacks harder until it moves on (a move ends flagged wards).
int32_t StandingBonus(const Step& s, uint8_t terrain, int32_t bonus)
{
    if (!s.onmap || TerrainOf(s) != terrain)
        return SquareCost(s);
    if (!s.costonly && s.unit >= 0)
        AddWard(s.player, s.unit, STANDINGWARD, 1, bonus, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    return 1;
}

} // namespace

int32_t AbilityFlying(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    return 1;
}

int32_t AbilityImmobile(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    return -1;
}

int32_t AbilityTwigwalk(int32_t, int32_t, int32_t nx, int32_t ny, int32_t mover, int32_t costonly)
{
    const Step s = ReadStep(nx, ny, mover, costonly);
    return TerrainOf(s) == TERRAIN_TREES ? 0 : SquareCost(s);
}

int32_t AbilityCragwalk(int32_t, int32_t, int32_t nx, int32_t ny, int32_t mover, int32_t costonly)
{
    const Step s = ReadStep(nx, ny, mover, costonly);
    return TerrainOf(s) == TERRAIN_ROUGH ? 0 : SquareCost(s);
}

int32_t AbilityRocks(int32_t, int32_t, int32_t nx, int32_t ny, int32_t mover, int32_t costonly)
{
    const Step s = ReadStep(nx, ny, mover, costonly);
    if (TerrainOf(s) != TERRAIN_ROUGH)
        return SquareCost(s);
    if (s.costonly || s.unit < 0)
        return 1;
    PlaySoundAt(s.x, s.y, ".\\Sound\\ABRocks.wav");
    p[s.player].units[s.unit].rocks += 2;
    MapSquare& square = map[s.x][s.y];
    square.terrain = TERRAIN_OPEN;
    square.cost = 1;
    AnnounceBoard();
    return 1;
}

int32_t AbilityTreeShot(int32_t, int32_t, int32_t nx, int32_t ny, int32_t mover, int32_t costonly)
{
    return StandingBonus(ReadStep(nx, ny, mover, costonly), TERRAIN_TREES, TREESHOTBONUS);
}

int32_t AbilityBoulder(int32_t, int32_t, int32_t nx, int32_t ny, int32_t mover, int32_t costonly)
{
    return StandingBonus(ReadStep(nx, ny, mover, costonly), TERRAIN_ROUGH, BOULDERBONUS);
}

int32_t AbilityDamper(int32_t, int32_t, int32_t nx, int32_t ny, int32_t mover, int32_t costonly)
{
    const Step s = ReadStep(nx, ny, mover, costonly);
    if (s.costonly || s.unit < 0 || !s.onmap)
        return SquareCost(s);
    bool drained = false;
    for (int32_t x = nx - 1; x <= nx + 1; x++)
        for (int32_t y = ny - 1; y <= ny + 1; y++)
            for (size_t i = 0; i < p.size(); i++) {
                if (static_cast<int32_t>(i) == s.player)
                    continue;
                for (Unit& u : p[i].units) {
                    if (u.x != x || u.y != y || u.mana == 0)
                        continue;
                    u.mana = 0;
                    if (!drained && IsSquareExplored(YouToInt(), nx, ny)) {
                        PlaySoundAt(nx, ny, ".\\Sound\\SPManaDrain.wav");
                        const std::string name = GetString(STR_UNITNAME + p[s.player].units[s.unit].type);
                        AnnounceFeed(YouToInt(), "The " + name + " depleted surrounding enemy units' mana!");
                    }
                    drained = true;
                }
            }
    return SquareCost(s);
}

int32_t AbilityScout(int32_t, int32_t, int32_t nx, int32_t ny, int32_t mover, int32_t costonly)
{
    const Step s = ReadStep(nx, ny, mover, costonly);
    if (s.costonly || s.unit < 0)
        return SquareCost(s);
    // ExploreFrom passes over a point off the map.
    const int32_t points[4][2] = { { nx, ny - SCOUTREACH }, { nx, ny + SCOUTREACH }, { nx - SCOUTREACH, ny }, { nx + SCOUTREACH, ny } };
    for (const auto& point : points)
        ExploreFrom(s.player, point[0], point[1], SCOUTBUDGET, s.unit);
    return SquareCost(s);
}
