// Combat abilities: run by the phases of an attack with (owner player, owner unit, other player,
// other unit, damage, permit). Offensive and defensive ones answer with a new damage; those after the
// blow act on the two units and answer 0.
//
// Power, Stun and Heavy act by chance. Only the host draws, inside the attack it then sends; the
// clients replay the attack with the host's masks, which come back here as the permit word.
#include "game/magic/abilities.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "game/magic/spells.h"
#include "game/magic/wardslots.h"
#include "game/model/abilityslots.h"
#include "game/model/announce.h"
#include "game/model/catalogue.h"
#include "game/model/combat.h"
#include "game/model/damage.h"
#include "game/model/localplayer.h"
#include "game/model/mapgen.h"
#include "game/model/names.h"
#include "game/model/queries.h"
#include "game/model/sight.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/wards.h"
#include "platform/random.h"

namespace {

enum : int32_t { STUNWARD = 7, FROSTWARD = -1 };
enum : int32_t { LEECHMANA = 2, FLAMEDAMAGE = 2, STONEBLOCK = 2, MELEERANGE = 1 };
enum : int32_t { POISONTURNS = 3 };
enum : int32_t { ANIMDOUBLE = 260, ANIMSTUN = 141, ANIMPOISON = 14, ANIMPUSH = 8, ANIMPULSE = 142, ANIMHEAL = 2,
                 ANIMFLAME = 132, ANIMFROST = 5 };

bool IsUnit(int32_t player, int32_t unit)
{
    return player >= 0 && static_cast<size_t>(player) < p.size() && unit >= 0
        && static_cast<size_t>(unit) < p[player].units.size();
}

void Animate(int32_t player, int32_t unit, int32_t first, uint8_t reverse = 0)
{
    AnnounceEffect(player, unit, 0, first, reverse);
}

// The local player hears of what happens on a square he has explored.
bool YouSee(int32_t player, int32_t unit)
{
    const Unit& u = p[player].units[unit];
    return IsSquareExplored(YouToInt(), u.x, u.y);
}

void Tell(int32_t player, int32_t unit, const std::string& text, const char* sound)
{
    if (!YouSee(player, unit))
        return;
    const Unit& u = p[player].units[unit];
    PlaySoundAt(u.x, u.y, sound);
    AnnounceFeed(YouToInt(), text);
}

std::string TypeName(int32_t player, int32_t unit)
{
    return GetString(STR_UNITNAME + p[player].units[unit].type);
}

// A chance ability acts when the host's attack says it did (permit), or on the host by its own draw
// (numerator in denominator), made only inside the attack phase that is calling it, whose outcome the
// attack message carries. Anywhere else, and on a client with permit 0, it neither draws nor acts.
bool ChanceActs(int32_t player, int32_t unit, AbilityHandler self, int32_t permit, int numerator, int denominator)
{
    if (permit != 0)
        return true;
    return CombatMayRoll(player, unit, self) && Random() % denominator < numerator;
}

// Stun and Heavy: the other unit can neither move nor act in its next turn; a stun on a stunned unit
// lasts a turn longer.
void StunUnit(int32_t tp, int32_t tu)
{
    Tell(tp, tu, PlayerPossessive(tp) + " " + TypeName(tp, tu) + " stunned by the blow!", ".\\Sound\\ABStun.wav");
    Animate(tp, tu, ANIMSTUN);
    Animate(tp, tu, ANIMSTUN);
    if (HasWard(tp, tu, STUNWARD)) {
        p[tp].units[tu].wards[FindWard(tp, tu, STUNWARD)].turns++;
    } else {
        const int32_t moves = GetStat(tp, tu, STAT_MOVES);
        const int32_t actions = GetStat(tp, tu, STAT_ACTIONS);
        AddWard(tp, tu, 1, 0, 0, 0, -moves, 0, -actions, 0, 0, 0, STUNWARD, 1);
        AnnouncePicture(tp, tu);
    }
    handlerfired = 1;
}

int32_t ChanceStun(AbilityHandler self, int32_t op, int32_t ou, int32_t tp, int32_t tu, int32_t permit, int numerator,
                   int denominator)
{
    if (!IsUnit(tp, tu) || !ChanceActs(op, ou, self, permit, numerator, denominator))
        return 0;
    StunUnit(tp, tu);
    return 0;
}

// The defender's own defensive abilities against a blow passed on by the attacker (Pierce, Pulse),
// then tree damping; at least 1.
int32_t PassedOnDamage(int32_t tp, int32_t tu, int32_t ap, int32_t au, int32_t damage)
{
    int32_t d = damage;
    for (int32_t slot = 0; slot < MAXABILITIES; slot++)
        if (UnitHasAbilityKind(tp, tu, slot, ABILITY_DEFENSIVE))
            d = std::min(d, ExecuteAbilitySlot(tp, tu, slot, tp, tu, ap, au, d, 0));
    const Unit& t = p[tp].units[tu];
    if (InBounds(t.x, t.y) && map[t.x][t.y].terrain == TERRAIN_TREES && GetStat(ap, au, STAT_RANGE) != MELEERANGE)
        d--;
    return std::max(d, 1);
}

int32_t Sign(int32_t v)
{
    return (v > 0) - (v < 0);
}

// One step of the pierced line; struck holds the ids already hit by this blow.
bool PierceStep(int32_t fp, int32_t fu, int32_t cp, int32_t cu, int32_t ap, int32_t au, int32_t damage, bool hit,
                std::vector<int32_t>& struck)
{
    if (!IsUnit(fp, fu) || !IsUnit(cp, cu) || !IsUnit(ap, au))
        return false;
    const int32_t id = p[cp].units[cu].id;
    if (cp != ap && hit) {
        if (std::find(struck.begin(), struck.end(), id) != struck.end())
            return false;
        struck.push_back(id);
        DealSpellDamage(ap, au, cp, cu, PassedOnDamage(cp, cu, ap, au, damage));
    }
    if (cp == ap)
        return true;

    const Unit& f = p[fp].units[fu];
    const Unit& c = p[cp].units[cu];
    const int32_t dx = c.x - f.x;
    const int32_t dy = c.y - f.y;
    // Along a row, a column or a diagonal only; two units on one square give no direction.
    const bool line = (dx == 0) != (dy == 0) || (dx != 0 && (dx == dy || dx == -dy));
    if (!line)
        return false;
    const int32_t nx = c.x + Sign(dx);
    const int32_t ny = c.y + Sign(dy);
    const int32_t fid = f.id;
    for (size_t i = 0; i < p.size(); i++)
        for (size_t j = 0; j < p[i].units.size(); j++) {
            const Unit& u = p[i].units[j];
            if (u.id == id || u.x != nx || u.y != ny)
                continue;
            if (u.id == fid)
                return true;
            PierceStep(cp, cu, static_cast<int32_t>(i), static_cast<int32_t>(j), ap, au, damage, true, struck);
        }
    return false;
}

} // namespace

bool PierceChain(int32_t fp, int32_t fu, int32_t cp, int32_t cu, int32_t ap, int32_t damage, bool hit, int32_t au)
{
    std::vector<int32_t> struck;
    return PierceStep(fp, fu, cp, cu, ap, au, damage, hit, struck);
}

int32_t AbilityPower(int32_t ap, int32_t au, int32_t, int32_t, int32_t damage, int32_t permit)
{
    if (!IsUnit(ap, au) || !ChanceActs(ap, au, AbilityPower, permit, 1, 4))
        return damage;
    Tell(ap, au, PlayerPossessive(ap) + " " + TypeName(ap, au) + " inflicts double damage!", ".\\Sound\\ABStun.wav");
    Animate(ap, au, ANIMDOUBLE);
    Animate(ap, au, ANIMDOUBLE);
    handlerfired = 1;
    return damage * 2;
}

int32_t AbilityStun(int32_t op, int32_t ou, int32_t tp, int32_t tu, int32_t, int32_t permit)
{
    return ChanceStun(AbilityStun, op, ou, tp, tu, permit, 1, 4);
}

int32_t AbilityHeavy(int32_t op, int32_t ou, int32_t tp, int32_t tu, int32_t, int32_t permit)
{
    return ChanceStun(AbilityHeavy, op, ou, tp, tu, permit, 3, 20);
}

int32_t AbilityArcher(int32_t, int32_t, int32_t ap, int32_t au, int32_t damage, int32_t)
{
    if (!IsUnit(ap, au) || GetStat(ap, au, STAT_RANGE) == MELEERANGE)
        return damage;
    return damage - damage / 4;
}

int32_t AbilityStone(int32_t, int32_t, int32_t, int32_t, int32_t damage, int32_t)
{
    return std::max(damage - STONEBLOCK, 1);
}

int32_t AbilityPoison(int32_t, int32_t, int32_t tp, int32_t tu, int32_t, int32_t)
{
    if (!IsUnit(tp, tu) || p[tp].units[tu].poison >= 1)
        return 0;
    if (YouSee(tp, tu)) {
        Tell(tp, tu, PlayerPossessive(tp) + " unit was poisoned!", ".\\Sound\\ABPoison.wav");
        Animate(tp, tu, ANIMPOISON);
    }
    p[tp].units[tu].poison = POISONTURNS;
    AnnouncePicture(tp, tu);
    return 0;
}

int32_t AbilityPierce(int32_t ap, int32_t au, int32_t dp, int32_t du, int32_t damage, int32_t)
{
    PierceChain(ap, au, dp, du, ap, damage, false, au);
    return 0;
}

int32_t AbilityShockwave(int32_t ap, int32_t au, int32_t dp, int32_t du, int32_t damage, int32_t)
{
    if (!IsUnit(ap, au) || !IsUnit(dp, du))
        return 0;
    const Unit& d = p[dp].units[du];
    PlaySoundAt(d.x, d.y, ".\\Sound\\SPRepel.wav");
    Animate(dp, du, ANIMPUSH);
    SpellRepel(ap, au, dp, du, damage, 0);
    return 0;
}

int32_t AbilityPulse(int32_t ap, int32_t au, int32_t dp, int32_t du, int32_t damage, int32_t)
{
    if (!IsUnit(ap, au) || !IsUnit(dp, du))
        return 0;
    AnnounceEffect(dp, du, 0, ANIMPULSE, 0, 1);
    const int32_t did = p[dp].units[du].id;
    const int32_t tx = p[dp].units[du].x;
    const int32_t ty = p[dp].units[du].y;
    for (int32_t x = tx - 1; x <= tx + 1; x++)
        for (int32_t y = ty - 1; y <= ty + 1; y++) {
            const int32_t id = UnitIdAt(x, y);
            if (id < 0 || id == did)
                continue;
            const UnitRef u = FindUnit(id);
            DealSpellDamage(ap, au, u.player, u.unit, PassedOnDamage(u.player, u.unit, ap, au, damage / 4));
        }
    return 0;
}

int32_t AbilityLifebond(int32_t ap, int32_t au, int32_t, int32_t, int32_t damage, int32_t)
{
    if (!IsUnit(ap, au))
        return 0;
    Unit& a = p[ap].units[au];
    PlaySoundAt(a.x, a.y, ".\\Sound\\SPHeal.wav");
    Animate(ap, au, ANIMHEAL);
    a.hp += damage / 2;
    const int32_t life = GetStat(ap, au, STAT_LIFE);
    if (a.hp > life)
        a.hp = life;
    AnnouncePicture(ap, au);
    return 0;
}

int32_t AbilityFlaming(int32_t op, int32_t ou, int32_t tp, int32_t tu, int32_t, int32_t)
{
    if (!IsUnit(op, ou) || !IsUnit(tp, tu) || GetStat(tp, tu, STAT_RANGE) != MELEERANGE)
        return 0;
    Tell(op, ou, PlayerPossessive(op) + " unit's flaming aura burns " + PlayerPossessive(tp) + " unit!",
         ".\\Sound\\SPFireblast.wav");
    Animate(op, ou, ANIMFLAME);
    DealSpellDamage(op, ou, tp, tu, FLAMEDAMAGE);
    return 0;
}

int32_t AbilityFrozen(int32_t op, int32_t ou, int32_t tp, int32_t tu, int32_t, int32_t)
{
    if (!IsUnit(op, ou) || !IsUnit(tp, tu))
        return 0;
    Tell(op, ou, PlayerPossessive(tp) + " unit slowed by frost!", ".\\Sound\\SPBubble.wav");
    Animate(tp, tu, ANIMFROST);
    Animate(tp, tu, ANIMFROST, 1);
    AddWard(tp, tu, 1, 0, 0, 0, -1, 0, 0, 0, 0, 0, FROSTWARD, 1);
    return 0;
}

int32_t AbilityEnergylink(int32_t op, int32_t ou, int32_t tp, int32_t tu, int32_t, int32_t)
{
    if (!IsUnit(op, ou) || !IsUnit(tp, tu))
        return 0;
    Unit& t = p[tp].units[tu];
    t.mana = std::max(t.mana - LEECHMANA, 0);
    Unit& o = p[op].units[ou];
    o.mana = std::min(o.mana + LEECHMANA, static_cast<int32_t>(MAXMANA));
    return 0;
}
