#include "game/model/combat.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

#include "game/model/abilityslots.h"
#include "game/model/announce.h"
#include "game/model/damage.h"
#include "game/model/death.h"
#include "game/model/experience.h"
#include "game/model/localplayer.h"
#include "game/model/names.h"
#include "game/model/queries.h"
#include "game/model/rangemarks.h"
#include "game/model/sight.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/turns.h"
#include "game/net/builders.h"
#include "game/net/routing.h"
#include "game/shell/debuglog.h"

uint32_t triggermasks[COMBATPHASES] = { 0, 0, 0, 0 };
uint8_t handlerfired = 0;

namespace {

enum : int32_t { TREES = 1, MELEE = 1, ATTACKALERT = -4 };

// The slot DoCombat is calling right now; only its handler may draw a chance (CombatMayRoll).
struct RollingSlot {
    int32_t id = -1;                    // the owner's unit id; -1 outside a call
    int32_t slot = -1;
    int32_t kind = -1;                  // the phase's ability kind
};
RollingSlot rolling;

// The phases, with the kind of ability each runs and whose slots.
constexpr int32_t phasekinds[COMBATPHASES] = { ABILITY_OFFENSIVE, ABILITY_DEFENSIVE, ABILITY_AFTERATTACK,
                                               ABILITY_AFTERDEFENCE };

bool IsUnit(int32_t player, int32_t unit)
{
    return player >= 0 && static_cast<size_t>(player) < p.size() && unit >= 0
        && static_cast<size_t>(unit) < p[player].units.size();
}

// A handler may add, move or remove units: after it, a unit is named by its id again.
bool Refind(int32_t id, int32_t* player, int32_t* unit)
{
    const UnitRef found = FindUnit(id);
    *player = found.player;
    *unit = found.unit;
    return found.player >= 0;
}

void LogExecuting(int32_t player, int32_t unit, int32_t slot, int32_t damage)
{
    const Unit& u = p[player].units[unit];
    const AbilityInfo& ability = abilities[u.abilities[slot]];
    debuglog << "Executing ability " << GetString(STR_ABILITYTITLE + ability.number) << " for " << PlayerName(player)
             << "'s unit #" << unit << "(" << GetString(STR_UNITNAME + u.type) << ") sub=" << damage << '\n';
}

// Calls the handler of an offensive or defensive slot directly, as the damage phases do.
int32_t CallDamageHandler(int32_t player, int32_t unit, int32_t slot, int32_t other, int32_t otherunit, int32_t damage,
                          int32_t permit)
{
    LogExecuting(player, unit, slot, damage);
    const AbilityHandler handler = abilities[p[player].units[unit].abilities[slot]].handler;
    // An unbound record behaves as the default ability: it returns 0.
    return handler ? handler(player, unit, other, otherunit, damage, permit) : 0;
}

// One slot of a phase, with the slot marked as the one that may draw. Returns the handler's result.
int32_t RunPhaseSlot(int32_t phase, int32_t owner, int32_t ownerunit, int32_t slot, int32_t other, int32_t otherunit,
                     int32_t damage, int32_t mask)
{
    const int32_t permit = mask & (1 << slot);
    rolling = { p[owner].units[ownerunit].id, slot, phasekinds[phase] };
    handlerfired = 0;
    int32_t result = 0;
    if (phase == PHASE_OFFENSIVE || phase == PHASE_DEFENSIVE)
        result = CallDamageHandler(owner, ownerunit, slot, other, otherunit, damage, permit);
    else
        ExecuteAbilitySlot(owner, ownerunit, slot, owner, ownerunit, other, otherunit, damage, permit);
    rolling = RollingSlot{};
    if (handlerfired)
        triggermasks[phase] |= 1u << slot;
    return result;
}

bool OnTrees(int32_t x, int32_t y)
{
    return InBounds(x, y) && map[x][y].terrain == TREES;
}

} // namespace

bool CombatMayRoll(int32_t player, int32_t unit, AbilityHandler self)
{
    if (!ishost || rolling.id < 0 || !IsUnit(player, unit))
        return false;
    const Unit& u = p[player].units[unit];
    if (u.id != rolling.id)
        return false;
    const int32_t index = u.abilities[rolling.slot];
    return UnitHasAbilityKind(player, unit, rolling.slot, rolling.kind) && self && abilities[index].handler == self;
}

void DoCombat(int32_t ap, int32_t au, int32_t dp, int32_t du, int32_t m0, int32_t m1, int32_t m2, int32_t m3)
{
    if (!IsUnit(ap, au) || !IsUnit(dp, du) || (ap == dp && au == du)) {
        debuglog << "ERROR: Combat between player " << ap << "'s unit #" << au << " and player " << dp << "'s unit #"
                 << du << ", which are not two units.\n";
        return;
    }
    const int32_t local = YouToInt();
    const int32_t attackerid = p[ap].units[au].id;
    const int32_t defenderid = p[dp].units[du].id;

    // The victim sees where the blow came from.
    if (dp == local)
        RevealSquare(local, p[ap].units[au].x, p[ap].units[au].y);
    if ((ap == local || dp == local) && autofocus) {
        const Unit& a = p[ap].units[au];
        const Unit& d = p[dp].units[du];
        const int32_t ax = a.x, ay = a.y, dx = d.x, dy = d.y;
        if (IsSquareExplored(local, dx, dy))
            AnnounceCentre(dx, dy);
        if (IsSquareExplored(local, ax, ay))
            AnnounceCentre(ax, ay);
    }

    std::fill(std::begin(triggermasks), std::end(triggermasks), 0u);
    debuglog << "Combat beginning.\n";
    ClearRange();

    int32_t damage = GetStat(ap, au, STAT_ATTACK);
    debuglog << "Damage=" << damage << "\nBeginning offensive abilities\n";
    for (int32_t k = 0; k < MAXABILITIES && IsUnit(ap, au) && IsUnit(dp, du); k++) {
        if (!UnitHasAbilityKind(ap, au, k, ABILITY_OFFENSIVE))
            continue;
        debuglog << "Found an ability for the attacker.\n";
        damage = std::max(damage, RunPhaseSlot(PHASE_OFFENSIVE, ap, au, k, dp, du, damage, m0));
    }
    if (!Refind(attackerid, &ap, &au) || !Refind(defenderid, &dp, &du))
        return;

    debuglog << "Beginning defensive abilities.\n";
    for (int32_t k = 0; k < MAXABILITIES && IsUnit(ap, au) && IsUnit(dp, du); k++) {
        if (!UnitHasAbilityKind(dp, du, k, ABILITY_DEFENSIVE))
            continue;
        debuglog << "Found an ability for the defender.  Predamage=" << damage << '\n';
        damage = std::min(damage, RunPhaseSlot(PHASE_DEFENSIVE, dp, du, k, ap, au, damage, m1));
        debuglog << "Postdamage=" << damage << '\n';
    }
    if (!Refind(attackerid, &ap, &au) || !Refind(defenderid, &dp, &du))
        return;

    // A melee blow (range exactly 1) reaches into the trees undamped; anything else loses a point.
    if (OnTrees(p[dp].units[du].x, p[dp].units[du].y) && GetStat(ap, au, STAT_RANGE) != MELEE) {
        damage--;
        debuglog << "On tree, damaged damped.\n";
    }
    damage = std::clamp(damage, 1, static_cast<int32_t>(MAXCOMBATDAMAGE));
    debuglog << "Preparing to do " << damage << " damage to the target.\n";

    {
        const Unit& a = p[ap].units[au];
        const Unit& d = p[dp].units[du];
        if (IsSquareExplored(local, a.x, a.y) || IsSquareExplored(local, d.x, d.y)) {
            const int32_t sound = GetResNumber(STR_UNITATTACKSOUND + a.type % TYPESPERLEVEL);
            AnnounceSound(GetString(STR_ATTACKSOUNDFILE + sound));
        }
    }
    AnnounceEffect(dp, du, 0, 0, 0);
    HurtUnit(dp, du, damage);

    debuglog << "Beginning postcombat offensive abilities.\n";
    for (int32_t k = 0; k < MAXABILITIES; k++) {
        if (!Refind(attackerid, &ap, &au) || !Refind(defenderid, &dp, &du))
            break;
        if (!UnitHasAbilityKind(ap, au, k, ABILITY_AFTERATTACK))
            continue;
        debuglog << "Found an ability for the attacker..\n";
        RunPhaseSlot(PHASE_AFTERATTACK, ap, au, k, dp, du, damage, m2);
    }
    debuglog << "Beginning postcombat defensive abilities.\n";
    for (int32_t k = 0; k < MAXABILITIES; k++) {
        if (!Refind(attackerid, &ap, &au) || !Refind(defenderid, &dp, &du))
            break;
        if (!UnitHasAbilityKind(dp, du, k, ABILITY_AFTERDEFENCE))
            continue;
        debuglog << "Found an ability for the defender.\n";
        RunPhaseSlot(PHASE_AFTERDEFENCE, dp, du, k, ap, au, damage, m3);
    }

    // Units are only ever taken away by the death list, between main-loop passes; still, nothing below
    // touches a unit the handlers may have done away with.
    const bool attacker = Refind(attackerid, &ap, &au);
    const bool defender = Refind(defenderid, &dp, &du);
    if (defender && p[dp].units[du].hp < 1) {
        debuglog << "Killed the target.\n";
        if (attacker)
            AddExperience(ap, au, GetLifeStat(dp, du));
        if (ishost)
            KillUnit(dp, du, ap);
    }
    if (attacker) {
        Unit& a = p[ap].units[au];
        a.hits -= ATTACKACTIONS;
        if (a.hits == 0)
            a.moves = 0;
        AddExperience(ap, au, damage * expperdamage + p[ap].expbonus);
    }
    AnnounceCommandDone();
    if (attacker)
        p[ap].units[au].rocks--;
    AnnounceMinimap(YouToInt());
    if (defender)
        AlertCamps(p[dp].units[du].x, p[dp].units[du].y, ATTACKALERT);
    debuglog << "Finished combat.\n";
    if (attacker)
        AnnouncePicture(ap, au);
}

void AttackAndAnnounce(int32_t ap, int32_t au, int32_t dp, int32_t du)
{
    if (!IsUnit(ap, au) || !IsUnit(dp, du))
        return;
    // Named before the combat, which may remove either.
    const int32_t attacker = p[ap].units[au].id;
    const int32_t target = p[dp].units[du].id;
    DoCombat(ap, au, dp, du, 0, 0, 0, 0);
    const int32_t masks[COMBATPHASES] = { static_cast<int32_t>(triggermasks[0]), static_cast<int32_t>(triggermasks[1]),
                                          static_cast<int32_t>(triggermasks[2]), static_cast<int32_t>(triggermasks[3]) };
    SendToPlayer(BuildAttack(attacker, target, masks), -1);
}

bool WithinRange(int32_t fx, int32_t fy, int32_t tx, int32_t ty, int32_t range)
{
    if (!InBounds(fx, fy) || !InBounds(tx, ty))
        return false;
    return WalkCost(fx, fy, tx, ty) <= static_cast<int64_t>(range) * RANGESTEP + RANGESLACK;
}

bool ValidateAttack(int32_t sender, int32_t ap, int32_t au, int32_t dp, int32_t du)
{
    if (!IsUnit(ap, au) || !IsUnit(dp, du)) {
        debuglog << "ERROR: Invalid unit pair.\n";
        return false;
    }
    if (ap != sender) {
        debuglog << "ERROR: Player " << sender << " attacked with a unit of player " << ap << ".\n";
        return false;
    }
    // The turn that runs, not the screen's idea of it: between days nobody holds one.
    if (ap != turnholder) {
        debuglog << "ERROR: Player " << ap << " attacked while the turn is player " << turnholder << "'s.\n";
        return false;
    }
    if (dp == ap) {
        debuglog << "ERROR: Player " << ap << " attacked his own unit.\n";
        return false;
    }
    const Unit& a = p[ap].units[au];
    const Unit& d = p[dp].units[du];
    if (a.hits < ATTACKACTIONS) {
        debuglog << "ERROR: The attacker has " << a.hits << " actions left.\n";
        return false;
    }
    if (a.rocks < 1) {
        debuglog << "ERROR: The attacker has no rock charges left.\n";
        return false;
    }
    if (IsUnitDying(ap, au)) {
        debuglog << "ERROR: The attacker is dying.\n";
        return false;
    }
    // Its kill is paid already; a second blow would pay it again.
    if (IsUnitDying(dp, du)) {
        debuglog << "ERROR: The target is dying already.\n";
        return false;
    }
    // A unit never attacks its own square.
    if ((a.x == d.x && a.y == d.y) || !WithinRange(a.x, a.y, d.x, d.y, GetStat(ap, au, STAT_RANGE))) {
        debuglog << "ERROR: The target is out of the attacker's range.\n";
        return false;
    }
    return true;
}
