// The blank map and the camp squares. The camps come from the player table and the size alone, with
// no random draw, so every machine that creates the map with the same table gets the same squares.
#include <cmath>
#include <cstddef>
#include <ios>
#include <new>
#include <utility>
#include <vector>

#include "game/model/mapgen.h"
#include "game/model/state.h"
#include "game/shell/debuglog.h"

namespace {

const double FULLCIRCLE = 6.283185307;
const double FIRSTANGLE = 2.356194490125;   // the first camp sits bottom left of the centre

bool CampFits(int32_t x, int32_t y, int32_t size)
{
    return x - CAMPREACH >= 0 && y - CAMPREACH >= 0 && x + CAMPREACH + 1 <= size && y + CAMPREACH + 1 <= size;
}

// The camps on a circle round the centre, shrinking the circle until every camp lies on the map. At
// radius 0 every camp is the centre, which fits from MINMAPSIZE on, so the shrinking always ends.
void PlaceCamps(int32_t size)
{
    const size_t n = p.empty() ? 1 : p.size();
    const double step = FULLCIRCLE / static_cast<double>(n);
    const int32_t c = size / 2;
    int32_t r = static_cast<int32_t>((c - 6) * 1.5);
    for (;;) {
        double a = FIRSTANGLE;
        bool fits = true;
        for (size_t i = 0; i < p.size(); i++) {
            const int32_t x = static_cast<int32_t>(std::cos(a) * r + c);
            const int32_t y = static_cast<int32_t>(std::sin(a) * r + c);
            if (!CampFits(x, y, size)) {
                fits = false;
                break;
            }
            p[i].startx = x;
            p[i].starty = y;
            debuglog << "Player #" << i + 1 << "'s camp will be located at (" << x << ", " << y << ").\n";
            debuglog << "p[j].flag=" << std::hex << int(p[i].code) << std::dec << '\n';
            a += step;
        }
        if (fits || r <= 0)
            return;
        debuglog << "REPLACING CAMPS\n";
        r--;
    }
}

} // namespace

bool CreateBlankMap(const int32_t size)
{
    debuglog << "===CreateBlankMap===\nSize=" << size << '\n';
    if (size < MINMAPSIZE || size > MAXMAPSIZE) {
        debuglog << "ERROR: Nonsensical parameter to CreateBlankMap.\n";
        debuglog << "ERROR: A map is " << int(MINMAPSIZE) << " to " << int(MAXMAPSIZE) << " squares on a side, not "
                 << size << ".\n";
        return true;
    }
    const bool replacing = !map.empty();
    if (replacing) {
        debuglog << "WARNING: CreateBlankMap called when map exists.  Deleting and replacing map.\n";
        map.clear();
        mapsize = 0;
    } else {
        PlaceCamps(size);
    }

    MapSquare blank{};
    blank.bits = 0xF;                   // claimed by nobody
    blank.lightowner = -1;
    // Built aside and swapped in whole, so that a failure leaves no half-built map behind.
    std::vector<std::vector<MapSquare>> fresh;
    try {
        fresh.assign(static_cast<size_t>(size), std::vector<MapSquare>(static_cast<size_t>(size), blank));
    } catch (const std::bad_alloc&) {
        debuglog << "ERROR: Couldn't allocate memory for map.\n";
        return true;
    }
    map = std::move(fresh);
    mapsize = size;
    return false;
}
