#include "game/model/wards.h"

#include <string>

#include "game/model/announce.h"
#include "game/model/death.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/shell/debuglog.h"

namespace {

// A summoned unit whose lifetime ran out: it falls apart, and the host puts it on the death list with
// the neutral side as killer; a client waits for the host's kill.
void EndSummonedUnit(int32_t player, int32_t unit)
{
    Unit& u = p[player].units[unit];
    AnnounceFeed(player, std::string("Your ") + GetString(STR_UNITNAME + u.type) + " broke apart and vanished.");
    u.stat[STAT_LIFE] = -9999;
    if (ishost)
        KillUnit(player, unit, static_cast<int32_t>(p.size()) - 1);
}

} // namespace

int32_t AddWard(int32_t player, int32_t unit, int32_t turns, int32_t flag, int32_t m0, int32_t m1, int32_t m2,
                int32_t m3, int32_t m4, int32_t m6, int32_t m7, int32_t m5, int32_t kind, int32_t announce)
{
    Unit& u = p[player].units[unit];
    for (Ward& ward : u.wards) {
        if (ward.inuse)
            continue;
        ward.inuse = 1;
        ward.flag = static_cast<uint8_t>(flag);
        ward.turns = turns;
        ward.kind = kind;
        ward.announce = static_cast<uint8_t>(announce);
        const int32_t mods[NUMSTATS] = { m0, m1, m2, m3, m4, m5, m6, m7 };
        for (int k = 0; k < NUMSTATS; k++)
            ward.mods[k] = mods[k];
        u.hits += m4;
        u.moves += m2;
        return 0;
    }
    debuglog << "Couldn't add ward!  No room remaining.\n";
    return 1;
}

bool RemoveWard(int32_t player, int32_t unit, int32_t slot)
{
    if (slot < 0 || slot >= MAXWARDS)
        return false;
    Unit& u = p[player].units[unit];
    Ward& ward = u.wards[slot];
    if (!ward.inuse)
        return false;
    ward.inuse = 0;
    u.hits -= ward.mods[STAT_ACTIONS];
    u.moves -= ward.mods[STAT_MOVES];
    if (ward.kind == LIFETIMEWARD)
        EndSummonedUnit(player, unit);
    else if (ward.announce == 1)
        AnnounceFeed(player, std::string("A ward vanished from your ") + GetString(STR_UNITNAME + u.type) + ".");
    return true;
}

void RemoveMoveWards(int32_t player, int32_t unit)
{
    for (int32_t slot = 0; slot < MAXWARDS; slot++) {
        const Ward& ward = p[player].units[unit].wards[slot];
        if (ward.inuse && ward.flag == 1)
            RemoveWard(player, unit, slot);
    }
}
