#include "game/ai/actionchoice.h"

#include <cstddef>

#include "game/ai/aistate.h"
#include "game/model/cast.h"
#include "game/model/catalogue.h"
#include "game/model/combat.h"
#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "platform/random.h"

namespace {

// The rules would let the unit cast the spell in the slot now (the target aside).
bool CanCast(int32_t player, int32_t unit, int32_t slot)
{
    const Unit& u = p[player].units[unit];
    const int32_t spell = u.spells[slot];
    if (spell < 0 || static_cast<size_t>(spell) >= spells.size() || (refusedactions & (1u << slot)) != 0)
        return false;
    if (u.mana < spells[spell].mana || u.hits < CASTACTIONS || !InBounds(u.x, u.y))
        return false;
    return (map[u.x][u.y].bits & CLAIMMASK) == NOCLAIM;
}

} // namespace

ComputerAction ChooseAction(int32_t player, int32_t unit)
{
    const Unit& u = p[player].units[unit];
    // An attack the unit cannot make is no choice: then the first spell it can cast is taken whatever
    // its power, and the later ones are weighed against that spell.
    const bool canattack = u.hits >= ATTACKACTIONS && u.rocks >= 1;
    ComputerAction choice{ canattack ? ACTION_ATTACK : ACTION_NONE, GetStat(player, unit, STAT_ATTACK),
                           GetStat(player, unit, STAT_RANGE), 0 };
    for (int32_t slot = 0; slot < MAXSPELLS; slot++) {
        if (!CanCast(player, unit, slot))
            continue;
        const SpellInfo& spell = spells[u.spells[slot]];
        // The draw is made only for a tie, as every choice before it was.
        if (choice.action == ACTION_NONE || spell.power > choice.damage
            || (spell.power == choice.damage && (Random() & 1) != 0))
            choice = ComputerAction{ slot, spell.power, spell.range, spell.target };
    }
    return choice;
}
