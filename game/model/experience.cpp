#include "game/model/experience.h"

#include <cstdint>
#include <limits>

#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/upgrade.h"
#include "game/shell/debuglog.h"

int32_t UpgradeExperience(int32_t player, int32_t unit)
{
    return GetResNumber(STR_UPGRADEEXP + p[player].units[unit].type % 10000);
}

bool AddExperience(int32_t player, int32_t unit, int32_t amount)
{
    // Nothing earns negative experience: a non-positive amount (a kill worth nothing, a bad message)
    // must neither take experience away nor, through a negative remainder, queue an upgrade.
    if (amount <= 0)
        return false;
    const UnitRef receiver = FindUnit(p[player].units[unit].expreceiver);
    if (receiver.player < 0)
        return false;
    Unit& u = p[receiver.player].units[receiver.unit];
    const int64_t total = static_cast<int64_t>(u.experience) + amount;
    u.experience = static_cast<int32_t>(total < std::numeric_limits<int32_t>::max() ? total
                                                                                    : std::numeric_limits<int32_t>::max());
    debuglog << "Added " << amount << "experience to player " << receiver.player << "'s unit #" << receiver.unit << "("
             << u.experience << " total)\n";
    // A type without a positive threshold never upgrades (the content validator rejects one).
    const int32_t threshold = UpgradeExperience(receiver.player, receiver.unit);
    if (threshold <= 0 || u.experience < threshold)
        return false;
    u.experience %= threshold;
    return QueueUpgrade(receiver.player, receiver.unit);
}
