#include "game/model/turnstart.h"

#include <string>

#include "game/model/abilityslots.h"
#include "game/model/announce.h"
#include "game/model/death.h"
#include "game/model/localplayer.h"
#include "game/model/names.h"
#include "game/model/stats.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/units.h"
#include "game/model/wards.h"
#include "game/shell/debuglog.h"

namespace {

enum : int32_t { POISONDAMAGE = 2, POISONFLOOR = 2 };

} // namespace

bool UpdateUnit(int32_t player, int32_t unit)
{
    const std::string name = GetString(STR_UNITNAME + p[player].units[unit].type);
    debuglog << "Updating " << PlayerPossessive(player) << " unit named " << name << '\n';

    // Killed and waiting for the death list, which pays its bounty and counts the kill: left alone. Only
    // the host lists kills; on a client a unit out of hit points is one the host listed.
    if (p[player].units[unit].hp < 1 && GetStat(player, unit, STAT_LIFE) >= 1 && (!ishost || IsUnitDying(player, unit)))
        return false;

    const int32_t id = p[player].units[unit].id;
    for (int32_t slot = 0; slot < MAXABILITIES; slot++)
        if (UnitHasAbilityKind(player, unit, slot, ABILITY_TURNSTART))
            ExecuteAbilitySlot(player, unit, slot, player, unit, 0, 0, turncount, 0);

    // A handler that removed units leaves this index naming another unit or none: stop here.
    if (static_cast<size_t>(unit) >= p[player].units.size() || p[player].units[unit].id != id)
        return true;

    for (int32_t slot = 0; slot < MAXWARDS; slot++) {
        Ward& ward = p[player].units[unit].wards[slot];
        if (!ward.inuse)
            continue;
        ward.turns--;
        if (ward.turns < 0)
            RemoveWard(player, unit, slot);
    }

    // Out of life (a summoned unit's lifetime ended above): gone at once, silently, on every machine.
    if (GetStat(player, unit, STAT_LIFE) < 1 || p[player].units[unit].hp < 1) {
        RemoveUnit(player, unit);
        return true;
    }

    Unit& u = p[player].units[unit];
    u.moves = GetStat(player, unit, STAT_MOVES);
    u.hits = GetStat(player, unit, STAT_ACTIONS);

    if (u.poison != 0 && u.hp > POISONFLOOR) {
        u.hp -= POISONDAMAGE;
        u.poison--;
        if (player == YouToInt())
            AnnounceFeed(player, u.poison <= 0 ? "Your " + name + " is rid of poison."
                                               : "Poison saps the strength of your " + name + ".");
    }

    u.mana += GetStat(player, unit, STAT_MANA);
    if (u.mana > MAXMANA)
        u.mana = MAXMANA;
    u.turnflag = 0;
    debuglog << "Unit #" << unit << "\nMoves: " << u.moves << "\nHits: " << u.hits << '\n';
    return false;
}

void UpdateUnits(int32_t player)
{
    if (player < 0 || static_cast<size_t>(player) >= p.size()) {
        debuglog << "ERROR: UpdateUnits for player " << player << ", who does not exist.\n";
        return;
    }
    debuglog << "UpdateUnits();\np[currplayer].units.size()=" << p[player].units.size() << '\n';
    for (size_t i = 0; i < p[player].units.size();)
        if (!UpdateUnit(player, static_cast<int32_t>(i)))
            i++;

    for (auto& column : map)
        for (MapSquare& square : column) {
            if ((square.bits & CLAIMMASK) == static_cast<uint32_t>(player))
                square.bits = (square.bits & ~CLAIMMASK) | NOCLAIM;
            if (square.lightowner == player) {
                square.dark = turncount == NIGHT ? 1 : 0;
                square.lightowner = -1;
            }
        }

    AnnouncePictures();
    AnnounceBoard();
    AnnounceMinimap(YouToInt());
}
