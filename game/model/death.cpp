#include "game/model/death.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "game/model/abilityslots.h"
#include "game/model/announce.h"
#include "game/model/localplayer.h"
#include "game/model/names.h"
#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/model/states.h"
#include "game/model/stats.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/turns.h"
#include "game/model/units.h"
#include "game/net/builders.h"
#include "game/net/routing.h"
#include "game/shell/debuglog.h"

namespace {

enum { MAXBOUNTY = 100 };
enum : uint32_t { REMAINSTIMER = 3 << 4, TIMERMASK = 0xF0 };

bool IsUnit(int32_t player, int32_t unit)
{
    return player >= 0 && static_cast<size_t>(player) < p.size() && unit >= 0
        && static_cast<size_t>(unit) < p[player].units.size();
}

// A killer index not in p stands for the neutral side, the last record.
int32_t CreditedKiller(int32_t killer)
{
    const int32_t last = static_cast<int32_t>(p.size()) - 1;
    return killer < 0 || killer > last ? last : killer;
}

// What is left on the square for a few phases, unless the unit leaves nothing behind.
void LeaveRemains(int32_t player, int32_t unit)
{
    const Unit& u = p[player].units[unit];
    if (HasAbilityNamed(u, "Unstable") || !InBounds(u.x, u.y))
        return;
    MapSquare& s = map[u.x][u.y];
    s.timed = 1;
    s.bits = (s.bits & ~TIMERMASK) | REMAINSTIMER;
}

void RemoveDeadUnit(int32_t player, int32_t unit)
{
    RemoveUnit(player, unit);
}

// A warlord's fall takes his whole army: the player is out of the game.
void FallPlayer(int32_t player, int32_t killer)
{
    playersleft--;
    p[player].units.clear();
    AnnounceFeed(YouToInt(), PlayerPossessive(player) + " warlord has been slain by " + PlayerName(killer), FEEDWHITE);
}

// While the list is being resolved a warlord's fall only notes that the turn must end: the turn passes
// once every entry is resolved, or the next player's turn start would drop his dying units unpaid.
bool resolvingdeaths = false;
bool turnendpending = false;

} // namespace

bool IsUnitDying(const int32_t player, const int32_t unit)
{
    if (!IsUnit(player, unit))
        return false;
    const int32_t id = p[player].units[unit].id;
    return std::any_of(deathlist.begin(), deathlist.end(), [id](const DeathEntry& e) { return e.id == id; });
}

void KillUnit(const int32_t player, const int32_t unit, const int32_t killer)
{
    if (!IsUnit(player, unit) || IsUnitDying(player, unit))
        return;
    const Unit& u = p[player].units[unit];
    if (IsSquareExplored(YouToInt(), u.x, u.y)) {
        const int32_t sound = GetResNumber(STR_UNITHURTSOUND + u.type % TYPESPERLEVEL);
        AnnounceSound(GetString(STR_HURTSOUNDFILE + sound));
    }
    deathlist.push_back({ u.id, killer });
}

void ProcessDeaths()
{
    resolvingdeaths = true;
    while (!deathlist.empty()) {
        // Taken off first: the day's end, when the turn passes below, can add deaths at the back.
        const DeathEntry entry = deathlist.front();
        deathlist.erase(deathlist.begin());
        const UnitRef dead = FindUnit(entry.id);
        if (dead.player >= 0) {
            // Named by a real record on the wire too, which the clients check.
            const int32_t killer = CreditedKiller(entry.killer);
            if (ishost)
                SendToPlayer(BuildKillUnit(entry.id, killer), -1);
            ResolveKill(dead.player, dead.unit, killer);
        }
        AnnounceMinimap(YouToInt());
        AnnounceBoard();
        if (deathlist.empty() && turnendpending) {
            // The day's end may add deaths at the back: they are resolved in this same pass.
            turnendpending = false;
            EndTurn();
        }
    }
    resolvingdeaths = false;
}

void ResolveKill(const int32_t player, const int32_t unit, const int32_t killer)
{
    if (!IsUnit(player, unit)) {
        debuglog << "ERROR: ResolveKill for player " << player << "'s unit #" << unit << ", which does not exist.\n";
        return;
    }
    const int32_t credited = CreditedKiller(killer);
    if (credited != player)
        p[credited].gold += std::clamp(GetLifeStat(player, unit), 0, static_cast<int32_t>(MAXBOUNTY));

    const bool warlord = unit == 0 && !p[player].neutral;
    if (player == currplayer) {
        if (warlord) {
            const bool local = player == YouToInt() && you != NOSTAMP;
            FallPlayer(player, killer);
            currunit = -1;
            // Out of the unit turn first, or the next end-turn would end the next player's turn.
            if (local)
                gs = GAME_WATCH;
            if (ishost && resolvingdeaths)
                turnendpending = true;
            else if (ishost)
                EndTurn();
            return;
        }
        LeaveRemains(player, unit);
        RemoveDeadUnit(player, unit);
        currunit = p[player].units.empty() ? -1 : 0;
        return;
    }
    p[credited].kills++;
    LeaveRemains(player, unit);
    RemoveDeadUnit(player, unit);
    debuglog << "Just killed player " << player << "'s unit #" << unit << '\n';
    if (warlord)
        FallPlayer(player, killer);
}
