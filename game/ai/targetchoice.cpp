#include "game/ai/targetchoice.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

#include "game/ai/aistate.h"
#include "game/model/death.h"
#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/shell/debuglog.h"
#include "platform/random.h"

namespace {

enum : int32_t { HIDDEN = 2 };  // stealth plus darkness from which a unit cannot be seen

bool Visible(int32_t player, int32_t unit)
{
    const Unit& u = p[player].units[unit];
    return InBounds(u.x, u.y) && GetStat(player, unit, STAT_STEALTH) + map[u.x][u.y].dark < HIDDEN;
}

bool IsBlocked(int32_t id)
{
    return std::find(blockedtargets.begin(), blockedtargets.end(), id) != blockedtargets.end();
}

// The candidate of greatest value among those that pass; -1 none. Each better one is logged.
template <typename Test>
int32_t MostValuable(const std::vector<int32_t>& candidates, Test passes, const char* found)
{
    int32_t best = -1, chosen = -1;
    for (const int32_t id : candidates) {
        const UnitRef c = FindUnit(id);
        if (c.player < 0 || !passes(c))
            continue;
        const int32_t value = UnitValue(p[c.player].units[c.unit].type);
        if (value > best) {
            best = value;
            chosen = id;
            debuglog << found << id << '\n';
        }
    }
    return chosen;
}

bool IsHurt(const UnitRef& c)
{
    return p[c.player].units[c.unit].hp < GetStat(c.player, c.unit, STAT_LIFE);
}

} // namespace

int32_t UnitDistance(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    const int32_t dx = std::abs(x1 - x2), dy = std::abs(y1 - y2);
    return dx != 0 && dy != 0 ? dx + dy - 1 : dx + dy;
}

int32_t UnitValue(int32_t type)
{
    if (type < 0)
        return 0;
    return GetResNumber(static_cast<uint32_t>(STR_UNITCOST + type % TYPESPERLEVEL));
}

std::vector<int32_t> FindCandidates(int32_t player, int32_t unit, int32_t range)
{
    std::vector<int32_t> candidates;
    const Unit& self = p[player].units[unit];
    const int32_t moves = std::max(self.moves, 0);
    for (int32_t pass = 1; pass <= 2 && candidates.empty(); pass++) {
        range += moves;
        for (size_t tp = 0; tp < p.size(); tp++) {
            if (static_cast<int32_t>(tp) == player)
                continue;
            for (size_t tu = 0; tu < p[tp].units.size(); tu++) {
                const Unit& other = p[tp].units[tu];
                if (UnitDistance(self.x, self.y, other.x, other.y) > range
                    || !Visible(static_cast<int32_t>(tp), static_cast<int32_t>(tu))
                    || IsUnitDying(static_cast<int32_t>(tp), static_cast<int32_t>(tu)))
                    continue;
                candidates.push_back(other.id);
                debuglog << "Unit with ID " << other.id << " is in range " << pass << '\n';
            }
        }
        const auto blocked = std::remove_if(candidates.begin(), candidates.end(), [](int32_t id) {
            if (!IsBlocked(id))
                return false;
            debuglog << "Erased ID " << id << '\n';
            return true;
        });
        candidates.erase(blocked, candidates.end());
    }
    return candidates;
}

int32_t ChooseTarget(int32_t player, const std::vector<int32_t>& candidates, int32_t damage)
{
    for (const int32_t id : candidates) {
        const UnitRef c = FindUnit(id);
        if (c.player >= 0 && IsHurt(c)) {
            debuglog << "Unit with ID " << id << " is hurt.\n";
            if (p[c.player].units[c.unit].hp <= damage)
                debuglog << "Unit with ID " << id << " can be killed.\n";
        }
    }
    const int32_t death = MostValuable(
        candidates, [damage](const UnitRef& c) { return IsHurt(c) && p[c.player].units[c.unit].hp <= damage; },
        "Found death target ");
    if (death >= 0)
        return death;
    const int32_t hurt = MostValuable(candidates, IsHurt, "Found hurt target ");
    if (hurt >= 0)
        return hurt;
    if (comptarget != -1) {
        const UnitRef remembered = FindUnit(comptarget);
        if (remembered.player >= 0 && remembered.player != player && !IsUnitDying(remembered.player, remembered.unit))
            return comptarget;
        debuglog << "Target with ID " << comptarget << " is gone.\n";
        comptarget = -1;
    }
    comptarget = candidates[static_cast<size_t>(Random()) % candidates.size()];
    debuglog << "Found random target " << comptarget << '\n';
    return comptarget;
}
