#include "game/model/units.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "game/model/abilityslots.h"
#include "game/model/announce.h"
#include "game/model/catalogue.h"
#include "game/model/ids.h"
#include "game/model/localplayer.h"
#include "game/model/mapgen.h"
#include "game/model/names.h"
#include "game/model/powers.h"
#include "game/model/queries.h"
#include "game/model/squares.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/turns.h"
#include "game/model/wards.h"
#include "game/net/builders.h"
#include "game/net/routing.h"
#include "game/shell/debuglog.h"

namespace {

enum : int32_t { NOROCKLIMIT = 999999 };
enum : int32_t { SUMMONEDTURNS = 3, BRIEFTURNS = 2, SKELETONTURNS = 99999, FIREBALLACTIONS = 2 };

bool IsPlayer(int32_t player)
{
    return player >= 0 && static_cast<size_t>(player) < p.size();
}

// A summoned kind acts at once and is never paid for.
bool IsSummonedKind(int32_t type)
{
    return UnitHasFlag(type, '*') || UnitHasFlag(type, '+') || UnitHasFlag(type, '\'') || UnitHasFlag(type, '^');
}

bool Holds(const int32_t* slots, int count, int32_t index)
{
    for (int i = 0; i < count; i++)
        if (slots[i] == index)
            return true;
    return false;
}

void PutInFreeSlot(int32_t* slots, int count, int32_t index)
{
    if (index == -1 || Holds(slots, count, index))
        return;
    for (int i = 0; i < count; i++)
        if (slots[i] == -1) {
            slots[i] = index;
            return;
        }
}

bool FitsFilter(const Player& player, const Unit& u)
{
    for (int k = 0; k < NUMSTATS; k++)
        if (u.stat[k] < player.filtermin[k] || u.stat[k] > player.filtermax[k])
            return false;
    return true;
}

// The lifetime of a summoned unit, then its first actions and moves from its stats with the ward counted.
void GiveLifetime(int32_t player, int32_t unit, int32_t turns)
{
    AddWard(player, unit, turns, 0, 0, 0, 0, 0, 0, 0, 0, 0, LIFETIMEWARD, 1);
    Unit& u = p[player].units[unit];
    u.hits = GetStat(player, unit, STAT_ACTIONS);
    u.moves = GetStat(player, unit, STAT_MOVES);
}

// The index of the unit with that id in the player's list; -1 when it is gone.
int32_t Refind(int32_t player, int32_t id)
{
    for (size_t i = 0; i < p[player].units.size(); i++)
        if (p[player].units[i].id == id)
            return static_cast<int32_t>(i);
    return -1;
}

// Stored player index after record erased left: later records move down, his own names nobody.
int32_t Remapped(int32_t index, int32_t erased, int32_t nobody)
{
    if (index == erased)
        return nobody;
    return index > erased ? index - 1 : index;
}

} // namespace

int32_t CreateUnit(const int32_t player, const int32_t x, const int32_t y, const int32_t type, const int32_t id)
{
    if (!IsPlayer(player)) {
        debuglog << "ERROR: CreateUnit for player " << player << ", who does not exist.\n";
        return -1;
    }
    Player& owner = p[player];
    owner.units.push_back(BlankUnit());
    const int32_t u = static_cast<int32_t>(owner.units.size()) - 1;
    Unit& unit = owner.units[u];
    for (int k = 0; k < NUMSTATS; k++)
        unit.stat[k] = GetResNumber(static_cast<uint32_t>(type + STR_UNITSTAT + k * 100));
    unit.hits = 0;
    unit.moves = 0;
    // The neutral side's units start empty; everybody else's with his warlord's starting mana.
    unit.mana = owner.neutral ? 0 : GetResNumber(static_cast<uint32_t>(owner.warlordtype + STR_WARLORDMANA));
    unit.picture = GetResNumber(static_cast<uint32_t>(type + STR_UNITPICTURE));
    unit.x = x;
    unit.y = y;
    unit.type = type;
    unit.basetype = type;
    unit.rocks = UnitHasFlag(type, '!') ? 0 : NOROCKLIMIT;
    unit.poison = 0;
    unit.notwarlord = 1;
    unit.experience = 0;
    unit.group = NOGROUP;
    unit.alerted = 0;
    unit.turnflag = 0;
    unit.id = ishost ? NewUnitId() : id;
    unit.expreceiver = unit.id;
    for (Ward& ward : unit.wards)
        ward = Ward{};
    GetUnitPowers(type, unit.spells, unit.abilities);

    if (!owner.neutral && FitsFilter(owner, unit)) {
        int32_t wspells[MAXSPELLS], wabilities[MAXABILITIES];
        GetWarlordPowers(player, wspells, wabilities);
        for (int k = 0; k < MAXABILITIES; k++)
            PutInFreeSlot(unit.abilities, MAXABILITIES, wabilities[k]);
        for (int k = 0; k < MAXSPELLS; k++)
            PutInFreeSlot(unit.spells, MAXSPELLS, wspells[k]);
    }

    if (UnitHasFlag(type, '*')) {
        debuglog << "Summoned unit!\n";
        GiveLifetime(player, u, SUMMONEDTURNS);
    }
    if (UnitHasFlag(type, '+')) {
        debuglog << "Summoned unit!\n";
        GiveLifetime(player, u, BRIEFTURNS);
    }
    if (UnitHasFlag(type, '\'')) {
        debuglog << "Fireball!\n";
        owner.units[u].hits = FIREBALLACTIONS;
        owner.units[u].moves = owner.units[u].stat[STAT_MOVES];
    }
    if (UnitHasFlag(type, '^')) {
        debuglog << "Skeleton!\n";
        GiveLifetime(player, u, SKELETONTURNS);
    }

    const int32_t newid = owner.units[u].id;
    debuglog << "Just created a " << GetString(static_cast<uint32_t>(type + STR_UNITNAME)) << " for "
             << PlayerName(player) << " with id#" << newid << '\n';
    for (int k = 0; k < MAXSPELLS; k++)
        debuglog << "Spell #" << k << ": " << owner.units[u].spells[k] << '\n';
    for (int k = 0; k < MAXABILITIES; k++)
        debuglog << "Ability #" << k << ": " << owner.units[u].abilities[k] << '\n';

    owner.units[u].hp = GetStat(player, u, STAT_LIFE);

    // The handlers and the square may change the player's list: the unit is followed by its id.
    int32_t at = u;
    if (InBounds(x, y)) {
        for (int32_t slot = 0; slot < MAXABILITIES && at >= 0; slot++)
            if (UnitHasAbilityKind(player, at, slot, ABILITY_MOVE)) {
                ExecuteAbilitySlot(player, at, slot, x, y, x, y, player * 1000 + at, 0);
                at = Refind(player, newid);
            }
        if (at >= 0) {
            EnterSquare(player, at);
            at = Refind(player, newid);
        }
    }
    for (int32_t slot = 0; slot < MAXABILITIES && at >= 0; slot++)
        if (UnitHasAbilityKind(player, at, slot, ABILITY_CREATED)) {
            ExecuteAbilitySlot(player, at, slot, player, at, player, at, 0, 0);
            at = Refind(player, newid);
        }

    // The owner paid for his own units in the shop; every other machine charges them here. Summoned
    // kinds are free, and so is a warlord, which nobody buys.
    if (player != YouToInt() && !IsSummonedKind(type) && !UnitHasFlag(type, '~'))
        p[player].gold -= GetResNumber(static_cast<uint32_t>(type % TYPESPERLEVEL + STR_UNITCOST));

    if (at >= 0)
        AnnouncePicture(player, at);
    return at;
}

int32_t SummonUnitNamed(const int32_t player, const int32_t x, const int32_t y, const char* name, const int32_t id)
{
    if (!ishost || !name)
        return -1;
    for (int32_t t = 1; t <= unittypecount; t++) {
        if (std::strcmp(GetString(static_cast<uint32_t>(t + STR_UNITNAME)), name) != 0)
            continue;
        // The clients learn of the unit by a message that can only carry a square on the map.
        if (!InBounds(x, y) || !IsPlayer(player)) {
            debuglog << "ERROR: Cannot summon a " << name << " for player " << player << " at " << x << ", " << y << '\n';
            return -1;
        }
        const int32_t u = CreateUnit(player, x, y, t, id);
        if (!UnitHasFlag(t, '~'))
            SendToPlayer(BuildCreateUnit(player, t, unitidhigh * 256 + unitidlow, x, y), -1);
        return u;
    }
    return -1;
}

bool RemoveUnit(const int32_t player, const int32_t unit)
{
    if (!IsPlayer(player) || unit < 0 || static_cast<size_t>(unit) >= p[player].units.size()) {
        debuglog << "ERROR: RemoveUnit for player " << player << "'s unit #" << unit << ", which does not exist.\n";
        return false;
    }
    std::vector<Unit>& units = p[player].units;
    AnnounceUnitGone(units[unit].id);
    units.erase(units.begin() + unit);
    return false;
}

int32_t DropPlayerUnits(const int32_t player)
{
    if (!IsPlayer(player)) {
        debuglog << "ERROR: DropPlayerUnits for player " << player << ", who does not exist.\n";
        return currplayer;
    }
    // A player whose warlord fell was counted out then, with his army.
    const bool fallen = p[player].warlordtype != 0 && p[player].units.empty();
    if (!fallen)
        playersleft--;
    // His turn passes on at once, only while it is his turn (not while the players shop or read the
    // day's summary), and while his units are still there: the clients end his turn on the next-turn
    // message, before they hear that he left, so his end-of-turn abilities run with his army on every
    // machine alike.
    if (ishost && turnholder == player && !p[player].units.empty())
        ServerNextTurn(player);
    Player& leaver = p[player];
    for (Unit& u : leaver.units)
        AnnounceUnitGone(u.id);
    leaver.units.clear();
    return currplayer;
}

bool ErasePlayerRecord(const int32_t player)
{
    if (!IsPlayer(player)) {
        debuglog << "ERROR: ErasePlayerRecord for player " << player << ", who does not exist.\n";
        return true;
    }
    const int32_t number = p[player].code - FIRSTCODE;
    const bool washolding = currplayer == player;
    p.erase(p.begin() + player);
    DropLocalPlayerCache();

    // The record after his takes his place; with none after, the first.
    if (washolding) {
        currplayer = static_cast<size_t>(player) < p.size() ? player : 0;
        currunit = -1;
    } else if (currplayer > player) {
        currplayer--;
    }
    turnholder = Remapped(turnholder, player, -1);
    for (DeathEntry& entry : deathlist)
        entry.killer = Remapped(entry.killer, player, -1);   // -1: the neutral side is credited

    for (std::vector<MapSquare>& column : map)
        for (MapSquare& s : column) {
            if (s.terrain == TERRAIN_MINE && s.extra == number)
                s.extra = MINENOBODY;
            const uint32_t claim = s.bits & CLAIMMASK;
            if (claim != NOCLAIM) {
                const int32_t now = Remapped(static_cast<int32_t>(claim), player, NOCLAIM);
                s.bits = (s.bits & ~CLAIMMASK) | static_cast<uint32_t>(now);
            }
            if (s.lightowner == player)
                s.dark = turncount == NIGHT ? 1 : 0;
            if (s.lightowner >= 0)
                s.lightowner = static_cast<int8_t>(Remapped(s.lightowner, player, -1));
        }

    // Before the game has a map nothing holds a player's number yet: the numbers follow the places
    // again, as a newcomer building the table afresh numbers them.
    if (map.empty())
        for (size_t i = 0; i < p.size(); i++)
            if (!p[i].neutral)
                p[i].code = static_cast<uint8_t>(FIRSTCODE + i);
    debuglog << "Erased player " << player << "; there are now " << p.size() << " players.\n";
    return false;
}
