#include "game/model/setup.h"

#include <cstddef>

#include "game/model/abilityslots.h"
#include "game/model/announce.h"
#include "game/model/catalogue.h"
#include "game/model/ids.h"
#include "game/model/localplayer.h"
#include "game/model/queries.h"
#include "game/model/rangemarks.h"
#include "game/model/state.h"
#include "game/model/states.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/units.h"
#include "game/net/builders.h"
#include "game/net/routing.h"
#include "game/shell/debuglog.h"

int32_t hoveritem = 0;

namespace {

enum { FILTERROWS = 3 };

bool IsWarlordType(int32_t type)
{
    for (int32_t i = 0; i < warlordtypecount && i < MAXWARLORDTYPES; i++)
        if (warlordtypes[i] == type)
            return true;
    return false;
}

int32_t LastId()
{
    return unitidhigh * 256 + unitidlow;
}

} // namespace

bool PlaceWarlord(int32_t warlord, int32_t player, int32_t id)
{
    // Once per player and game: a repeated choice would make a second warlord and pay the gold again.
    if (player < 0 || static_cast<size_t>(player) >= p.size() || p[player].neutral || !IsWarlordType(warlord)
        || !p[player].units.empty()) {
        debuglog << "ERROR: Refused warlord " << warlord << " for player " << player << ".\n";
        return true;
    }
    Player& pl = p[player];
    pl.warlordtype = warlord;
    CreateUnit(player, pl.startx, pl.starty, warlord, id);
    if (pl.units.empty()) {
        debuglog << "ERROR: The warlord of player " << player << " did not survive its creation.\n";
        return true;
    }
    pl.units[0].notwarlord = 0;
    for (int32_t i = 1; i <= FILTERROWS; i++)
        for (int32_t k = 0; k < NUMSTATS; k++) {
            const int32_t value = GetResNumber(static_cast<uint32_t>(warlord + i + STR_WARLORDFILTER + k * 100));
            int32_t* const row = i == 1 ? pl.bonus : i == 2 ? pl.filtermin : pl.filtermax;
            row[k] = value;
            debuglog << value << '\n';
        }
    pl.expbonus = static_cast<uint8_t>(GetResNumber(static_cast<uint32_t>(warlord + STR_WARLORDEXPBONUS)));
    pl.spellexpbonus = static_cast<uint8_t>(GetResNumber(static_cast<uint32_t>(warlord + STR_WARLORDSPELLEXPBONUS)));
    pl.sightbonus = static_cast<uint8_t>(GetResNumber(static_cast<uint32_t>(warlord + STR_WARLORDSIGHTBONUS)));
    pl.gold += GetResNumber(static_cast<uint32_t>(warlord + STR_WARLORDGOLD));
    // The first warlord on the field opens the first day, on every machine at the same message; each
    // later day begins at the end of the one before.
    if (daycount == 0)
        daycount = 1;
    return false;
}

int32_t CreateUnitAndAnnounce(int32_t player, int32_t x, int32_t y, int32_t type, int32_t id)
{
    // Only the host numbers units, and the message carries only squares on the map.
    if (!ishost || !InBounds(x, y)) {
        debuglog << "ERROR: Cannot create unit type " << type << " at " << x << ", " << y << " here.\n";
        return -1;
    }
    const int32_t u = CreateUnit(player, x, y, type, id);
    if (!UnitHasFlag(type, '~'))
        SendToPlayer(BuildCreateUnit(player, type, LastId(), x, y), -1);
    return u;
}

int32_t SendDeployMessage(int32_t player, int32_t x, int32_t y, int32_t type, int32_t extra)
{
    if (ishost) {
        CreateUnit(player, x, y, type, extra);
        AnnounceMinimap(YouToInt());
    }
    if (!UnitHasFlag(type, '~'))
        SendToPlayer(BuildDeployUnit(player, type, LastId(), x, y), -1);
    return -1;
}

bool PrepareDeploy(int32_t player)
{
    debuglog << "Finding the next undeployed unit.\n";
    if (player < 0 || static_cast<size_t>(player) >= p.size()) {
        debuglog << "ERROR: PrepareDeploy for player " << player << ", who does not exist.\n";
        return true;
    }
    // At every placement, for every unit already on the board; a handler may change the list, so it is
    // measured again at every step.
    for (size_t u = 0; u < p[player].units.size(); u++) {
        const int32_t unit = static_cast<int32_t>(u);
        for (int32_t slot = 0; slot < MAXABILITIES; slot++)
            if (UnitHasAbilityKind(player, unit, slot, ABILITY_DEPLOY))
                ExecuteAbilitySlot(player, unit, slot, player, unit, 0, 0, 0, 0);
        AnnounceMinimap(player);
    }
    if (!p[player].bought.empty()) {
        hoveritem = 0;
        return false;
    }
    if (ishost)
        turncount = -1;
    ClearRange();
    shoppers++;
    currunit = -1;
    if (ishost) {
        gs = GAME_WAITPLAYERS;
    } else {
        gs = GAME_STARTTURN;
        SendToPlayer(BuildDoneShopping(), -1);
    }
    return true;
}
