#include "game/model/sight.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <vector>

#include "game/model/announce.h"
#include "game/model/catalogue.h"
#include "game/model/experience.h"
#include "game/model/localplayer.h"
#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/net/builders.h"
#include "game/net/routing.h"
#include "game/shell/debuglog.h"

namespace {

enum : int32_t { DAYALERT = 20, NIGHTALERT = 10 };
enum : int32_t { UNSEEN = std::numeric_limits<int32_t>::min() };

struct Step {
    int32_t dx, dy, cost;
};
const Step steps[8] = {
    { 1, 0, SIGHTSTEP }, { -1, 0, SIGHTSTEP }, { 0, 1, SIGHTSTEP }, { 0, -1, SIGHTSTEP },
    { 1, 1, SIGHTDIAGONAL }, { -1, 1, SIGHTDIAGONAL }, { 1, -1, SIGHTDIAGONAL }, { -1, -1, SIGHTDIAGONAL },
};

struct Pending {
    int32_t budget;
    int32_t x, y;
    bool operator<(const Pending& o) const { return budget < o.budget; }
};

// The best budget left on arriving at each square, and the flood's work list, kept between floods.
std::vector<int32_t> best;
std::vector<Pending> pending;

// The squares a flood from (x, y) reaches, each once: a square is taken up again only when reached
// with more budget left, and squares are settled largest budget first, so each is settled with the
// most it can get. That is the reach of the plain recursive flood (a square is reached when some
// on-map path gets there with -5 or more left) without its exponential revisits.
template <typename Visit>
void Flood(int32_t x, int32_t y, int32_t budget, Visit visit)
{
    if (budget < SIGHTREACH || !InBounds(x, y))
        return;
    best.assign(static_cast<size_t>(mapsize) * mapsize, UNSEEN);
    pending.clear();
    best[static_cast<size_t>(x) * mapsize + y] = budget;
    pending.push_back(Pending{ budget, x, y });
    while (!pending.empty()) {
        std::pop_heap(pending.begin(), pending.end());
        const Pending here = pending.back();
        pending.pop_back();
        if (here.budget < best[static_cast<size_t>(here.x) * mapsize + here.y])
            continue;   // settled already with more
        visit(here.x, here.y);
        for (const Step& step : steps) {
            const int32_t nx = here.x + step.dx;
            const int32_t ny = here.y + step.dy;
            const int32_t left = here.budget - step.cost;
            if (left < SIGHTREACH || !InBounds(nx, ny))
                continue;
            int32_t& seen = best[static_cast<size_t>(nx) * mapsize + ny];
            if (left <= seen)
                continue;
            seen = left;
            pending.push_back(Pending{ left, nx, ny });
            std::push_heap(pending.begin(), pending.end());
        }
    }
}

int32_t CountVisible()
{
    int32_t count = 0;
    for (const auto& column : map)
        for (const MapSquare& square : column)
            count += square.visible ? 1 : 0;
    return count;
}

} // namespace

std::map<int32_t, std::deque<int32_t>> unreportedlooks;

void RevealSquare(int32_t player, int32_t x, int32_t y)
{
    if (player != YouToInt() || !InBounds(x, y))
        return;
    map[x][y].explored = 1;
    map[x][y].visible = 1;
    needredraw = 1;
}

void RevealSight(int32_t player, int32_t x, int32_t y, int32_t budget)
{
    if (player != YouToInt())
        return;
    Flood(x, y, budget, [](int32_t sx, int32_t sy) {
        map[sx][sy].explored = 1;
        map[sx][sy].visible = 1;
        needredraw = 1;
    });
}

int32_t AlertCamps(int32_t x, int32_t y, int32_t budget)
{
    // The flood marks the squares it reached; then the first unit on each of them (players, then units,
    // in order, as UnitIdAt finds it) wakes its camp. Waking is the same whatever the order.
    std::vector<uint8_t> reached;
    int32_t count = 0;
    Flood(x, y, budget, [&](int32_t sx, int32_t sy) {
        if (reached.empty())
            reached.assign(static_cast<size_t>(mapsize) * mapsize, 0);
        reached[static_cast<size_t>(sx) * mapsize + sy] = 1;
        count++;
    });
    if (count == 0)
        return 0;
    for (size_t i = 0; i < p.size(); i++)
        for (size_t u = 0; u < p[i].units.size(); u++) {
            const Unit& unit = p[i].units[u];
            if (!InBounds(unit.x, unit.y))
                continue;
            uint8_t& square = reached[static_cast<size_t>(unit.x) * mapsize + unit.y];
            if (square != 1)
                continue;   // not reached, or an earlier unit there has been seen
            square = 2;
            WakeCamp(static_cast<int32_t>(i), static_cast<int32_t>(u));
        }
    return count;
}

void WakeCamp(int32_t player, int32_t unit)
{
    if (player < 0 || static_cast<size_t>(player) >= p.size() || unit < 0
        || static_cast<size_t>(unit) >= p[player].units.size())
        return;
    Player& owner = p[player];
    const uint8_t group = owner.units[unit].group;
    if (group == NOCAMP || group == NOGROUP)
        return;
    for (Unit& u : owner.units)
        if (u.group == group)
            u.alerted = 1;
}

void ExploreFrom(int32_t player, int32_t x, int32_t y, int32_t budget, int32_t unit)
{
    if (budget == DEFAULTSIGHT)
        budget = GetResNumber(STR_SIGHTDAY);
    if (player < 0 || static_cast<size_t>(player) >= p.size())
        return;
    if (unit >= 0 && static_cast<size_t>(unit) >= p[player].units.size())
        unit = NOEXPERIENCE;
    // Whether this look revealed anything decides the rebuild below; a rebuild another rule asked for
    // stays asked for.
    const uint8_t asked = needredraw;
    needredraw = 0;
    const int32_t before = unit >= 0 ? CountVisible() : 0;

    RevealSight(player, x, y, budget);
    const int32_t reached = AlertCamps(x, y, budget);

    if (unit >= 0) {
        const int32_t divisor = expdivisor > 0 ? expdivisor : 1;
        const int32_t id = p[player].units[unit].id;
        // Only the owner's machine sees what a look reveals, so only it knows the gain: it adds it and
        // tells the others (a client the host, which passes it on; the host every client). A client
        // reports every look, also one that earned nothing, so the host can count them.
        if (player == YouToInt() && you != NOSTAMP) {
            const int32_t gain = std::clamp((CountVisible() - before) / divisor, 0, static_cast<int32_t>(MAXSENTGAIN));
            AddExperience(player, unit, gain);
            if (gain > 0 || !ishost)
                SendToPlayer(BuildAddExperience(id, gain), -1);
        } else if (ishost && !p[player].hostplayer && !p[player].neutral) {
            std::deque<int32_t>& looks = unreportedlooks[id];
            if (looks.size() >= MAXUNREPORTEDLOOKS)
                looks.pop_front();
            looks.push_back(std::min(reached / divisor, static_cast<int32_t>(MAXSENTGAIN)));
        }
    }
    if (needredraw)
        AnnounceBoard();
    needredraw |= asked;
}

bool TakeLook(int32_t id, int32_t gain)
{
    const auto found = unreportedlooks.find(id);
    if (found == unreportedlooks.end() || gain > found->second.front())
        return false;
    found->second.pop_front();
    if (found->second.empty())
        unreportedlooks.erase(found);
    return true;
}

int32_t LookBudget(int32_t player)
{
    const int32_t sight = GetResNumber(turncount == NIGHT ? STR_SIGHTNIGHT : STR_SIGHTDAY);
    return sight + p[player].sightbonus;
}

int32_t AlertBudget(int32_t player)
{
    return (turncount == NIGHT ? NIGHTALERT : DAYALERT) + p[player].sightbonus;
}

bool YouCanSeeUnit(int32_t player, int32_t unit)
{
    if (player < 0 || static_cast<size_t>(player) >= p.size())
        return false;
    if (unit < 0 || static_cast<size_t>(unit) >= p[player].units.size())
        return false;
    const Unit& u = p[player].units[unit];
    if (!InBounds(u.x, u.y) || !map[u.x][u.y].explored)
        return false;
    return player == YouToInt() || GetStat(player, unit, STAT_STEALTH) + map[u.x][u.y].dark <= 1;
}

void PlaySoundAt(int32_t x, int32_t y, const char* sound)
{
    if (InBounds(x, y) && map[x][y].explored)
        AnnounceSound(sound);
}
