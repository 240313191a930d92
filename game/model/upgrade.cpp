#include "game/model/upgrade.h"

#include <string>

#include "game/model/announce.h"
#include "game/model/catalogue.h"
#include "game/model/names.h"
#include "game/model/powers.h"
#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/net/builders.h"
#include "game/net/routing.h"
#include "game/shell/debuglog.h"

namespace {

enum : int32_t { LASTLEVEL = 2 * TYPESPERLEVEL };

// The order the upgrade adds the stats in.
const int32_t upgradeorder[NUMSTATS] = { 0, 1, 2, 3, 5, 6, 4, 7 };

bool Upgrade(int32_t player, int32_t unit)
{
    Unit& u = p[player].units[unit];
    const int32_t t0 = u.type;
    debuglog << "Attempting to upgrade " << PlayerPossessive(player) << " " << GetString(STR_UNITNAME + t0) << " (unit #"
             << unit << ", type " << t0 << ")\n";
    if (t0 > LASTLEVEL || UnitHasFlag(t0, '~')) {
        debuglog << "This unit cannot be upgraded.\n";
        return false;
    }
    if (IsSquareExplored(YouToInt(), u.x, u.y))
        AnnounceSound(".\\Sound\\GSUpgrade.wav");
    debuglog << "Upgrading a unit!\n";
    AnnounceFeed(player, std::string("Your ") + GetString(STR_UNITNAME + t0) + " has upgraded!");
    for (const int32_t k : upgradeorder)
        u.stat[k] += GetResNumber(STR_UPGRADESTAT + t0 + k * 100);
    AddUnitPowers(t0 + TYPESPERLEVEL, u.spells, u.abilities);
    u.hp = GetStat(player, unit, STAT_LIFE);
    u.picture += PICTURESPERLEVEL;
    u.type = t0 + TYPESPERLEVEL;
    AnnouncePictures();
    return true;
}

} // namespace

bool QueueUpgrade(int32_t player, int32_t unit)
{
    if (!ishost)
        return false;
    // Each crossing is one level: a unit queued twice before the next pass rises two, one by one.
    upgradequeue.push_back(p[player].units[unit].id);
    return true;
}

bool UpgradeUnit(int32_t player, int32_t unit)
{
    return Upgrade(player, unit);
}

void ProcessUpgrades()
{
    if (!ishost) {
        upgradequeue.clear();
        return;
    }
    while (!upgradequeue.empty()) {
        const int32_t id = upgradequeue.front();
        upgradequeue.pop_front();
        const UnitRef found = FindUnit(id);
        if (found.player < 0)
            continue;
        // Sent also when refused: each client refuses it by the same rules.
        Upgrade(found.player, found.unit);
        SendToPlayer(BuildUpgradeUnit(id), -1);
    }
}
