// The seed search: one random candidate map per frame of the host's map-creation screen, each scored
// by how evenly its riches spread over a grid of divisions; the last call rebuilds the most even one
// from its seed and puts the mines on it.
#include <algorithm>

#include "game/model/mapgen.h"
#include "game/model/state.h"
#include "game/model/states.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/shell/debuglog.h"
#include "platform/clock.h"
#include "platform/random.h"

int32_t mapattempts = 0;
int32_t mapbalance = NOSCORE;
int32_t maxscore = 0;
int32_t minscore = NOSCORE;
uint32_t bestseed = 0;
int32_t roughfactor = 1;
int32_t treefactor = 1;

namespace {

int32_t SquareScore(const MapSquare& s)
{
    switch (s.terrain) {
    case TERRAIN_DEPOSIT:
        return (s.extra + 2) * 5;
    case TERRAIN_SITE:
        switch (s.extra) {
        case 0:     // Magic Node
        case 8:     // Statue
            return 30;
        case 2:     // Tome of the Wise
            return 7;
        case 4:     // Vial of Poison
            return 15;
        default:
            return 10;
        }
    case TERRAIN_SCORED:
        return 25;
    default:
        return 0;
    }
}

void TryCandidate()
{
    maxscore = 0;
    minscore = NOSCORE;
    const uint32_t seed = GetTicks();
    SeedRandom(seed);
    debuglog << "Seed " << seed << '\n';
    GenerateTerrain();

    // A division count of 0 would divide by zero, and one above the size would make empty divisions
    // by the million.
    const int32_t divisions = std::clamp(GetResNumber(STR_MAPDIVISIONS), 1, std::max(mapsize, 1));
    for (int32_t k = 0; k < divisions * divisions; k++) {
        const int32_t s = DivisionScore(k, divisions);
        debuglog << "Division " << k << ", score " << s << '\n';
        maxscore = std::max(maxscore, s);
        minscore = std::min(minscore, s);
    }
    // On a tie the earlier seed stays.
    if (maxscore - minscore < mapbalance) {
        mapbalance = maxscore - minscore;
        bestseed = seed;
    }
    debuglog << "MAX=" << maxscore << "\tMIN=" << minscore << "\tDIF=" << mapbalance << '\n';
}

} // namespace

int32_t DivisionScore(const int32_t k, const int32_t divisions)
{
    // The last mapsize mod divisions columns and rows belong to no division.
    const int32_t w = mapsize / divisions;
    const int32_t left = w * (k % divisions);
    const int32_t top = w * (k / divisions);
    int32_t score = 0;
    for (int32_t x = left; x < left + w; x++)
        for (int32_t y = top; y < top + w; y++)
            score += SquareScore(map[x][y]);
    return score;
}

void StartMapSearch()
{
    mapattempts = 0;
    maxscore = 0;
    minscore = NOSCORE;
    mapbalance = NOSCORE;
}

void GenerateMap()
{
    if (mapsize < 1) {
        debuglog << "ERROR: GenerateMap without a map.\n";
        return;
    }
    mapattempts++;
    const int32_t limit = GetResNumber(STR_MAPSEARCHTRIES);
    // One candidate per call: the screen calls again next frame and shows the progress meanwhile.
    if (mapattempts < limit) {
        TryCandidate();
        return;
    }
    debuglog << "Using seed " << bestseed << '\n';
    mapattempts = 0;
    SeedRandom(bestseed);
    GenerateTerrain();
    PlaceMines();
    gs = GAME_SENDMAP;
}
