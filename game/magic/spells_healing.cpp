// Healing, mana and control spells: hit points and mana restored or moved, moves added, gold from
// remains, and the two spells that take another player's unit: Overmaster wins it over, Possession
// moves the caster into its body.
#include <cstddef>

#include "game/magic/spells.h"
#include "game/magic/spellsteps.h"
#include "game/model/announce.h"
#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/model/units.h"

namespace {

enum : int32_t { HEALAMOUNT = 6, REJUVINATEAMOUNT = 12, ENERVATEMOVES = 4, RECHARGEMANA = 2, LOOTGOLD = 15 };
enum : int32_t { WARLORDINDEX = 0 };

bool Heal(int32_t a, int32_t b, int32_t amount)
{
    if (!IsUnitIndex(a, b))
        return false;
    RaiseToLife(a, b, amount);
    AnnouncePicture(a, b);
    return false;
}

// A unit another side may take: it exists, belongs to neither the caster's player nor (unless neutral)
// is its player's warlord, whose place as first unit decides the player's fall. Taking one's own unit
// or oneself would only shuffle indexes under the running cast.
bool CanTakeOver(int32_t cp, int32_t cu, int32_t a, int32_t b)
{
    if (!IsUnitIndex(cp, cu) || !IsUnitIndex(a, b) || a == cp)
        return false;
    return p[a].neutral || b != WARLORDINDEX;
}

} // namespace

bool SpellHeal(int32_t, int32_t, int32_t a, int32_t b, int32_t, int32_t)
{
    return Heal(a, b, HEALAMOUNT);
}

bool SpellRejuvinate(int32_t, int32_t, int32_t a, int32_t b, int32_t, int32_t)
{
    return Heal(a, b, REJUVINATEAMOUNT);
}

bool SpellFrantic(int32_t cp, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    if (cp < 0 || static_cast<size_t>(cp) >= p.size())
        return false;
    for (Unit& u : p[cp].units)
        u.moves += 1;
    AnnouncePictures();
    return false;
}

bool SpellEnervate(int32_t, int32_t, int32_t a, int32_t b, int32_t, int32_t)
{
    if (IsUnitIndex(a, b))
        p[a].units[b].moves += ENERVATEMOVES;
    return false;
}

bool SpellManaDrain(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    if (!IsUnitIndex(a, b) || !IsUnitIndex(cp, cu))
        return false;
    const int32_t taken = p[a].units[b].mana;
    p[a].units[b].mana = 0;
    AddMana(cp, cu, taken);
    AnimateUnit(cp, cu, 259, true);
    return false;
}

bool SpellRecharge(int32_t, int32_t, int32_t a, int32_t b, int32_t, int32_t)
{
    if (IsUnitIndex(a, b))
        AddMana(a, b, RECHARGEMANA);
    return false;
}

bool SpellLoot(int32_t cp, int32_t, int32_t x, int32_t y, int32_t, int32_t)
{
    if (!InBounds(x, y) || cp < 0 || static_cast<size_t>(cp) >= p.size())
        return false;
    map[x][y].timed = 0;
    p[cp].gold += LOOTGOLD;
    AnnounceBoard();
    return false;
}

bool SpellOvermaster(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    if (!CanTakeOver(cp, cu, a, b))
        return false;
    RaiseToLife(a, b, GetStat(a, b, STAT_LIFE) / 2);
    AnnouncePicture(a, b);
    Unit copy = p[a].units[b];
    copy.moves = 0;
    copy.hits = 0;
    p[cp].units.push_back(copy);
    RemoveUnit(a, b);
    AnnouncePictures();
    return false;
}

bool SpellPossession(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    if (!CanTakeOver(cp, cu, a, b))
        return false;
    p[cp].units[cu].picture = BLOWNUPPICTURE;
    AnnouncePicture(cp, cu);
    AnimateUnit(cp, cu, 140);
    Unit& caster = p[cp].units[cu];
    const Unit& body = p[a].units[b];
    for (int32_t k = 0; k < NUMSTATS; k++)
        caster.stat[k] = body.stat[k];
    for (int32_t k = 0; k < MAXSPELLS; k++)
        caster.spells[k] = body.spells[k];
    for (int32_t k = 0; k < MAXABILITIES; k++)
        caster.abilities[k] = body.abilities[k];
    for (int32_t k = 0; k < MAXWARDS; k++)
        caster.wards[k] = body.wards[k];
    caster.hp = body.hp;
    caster.picture = body.picture;
    caster.type = body.type;
    caster.rocks = body.rocks;
    caster.poison = body.poison;
    caster.x = body.x;
    caster.y = body.y;
    RemoveUnit(a, b);
    AnimateUnit(cp, cu, 259, true);
    return false;
}
