#include "game/magic/wardslots.h"

#include "game/model/records.h"
#include "game/model/state.h"

namespace {

int32_t WardSlot(int32_t player, int32_t unit, int32_t kind)
{
    const Unit& u = p[player].units[unit];
    for (int32_t slot = 0; slot < MAXWARDS; slot++)
        if (u.wards[slot].inuse && u.wards[slot].kind == kind)
            return slot;
    return -1;
}

} // namespace

int32_t FindWard(int32_t player, int32_t unit, int32_t kind)
{
    const int32_t slot = WardSlot(player, unit, kind);
    return slot < 0 ? 0 : slot;
}

bool HasWard(int32_t player, int32_t unit, int32_t kind)
{
    return WardSlot(player, unit, kind) >= 0;
}

bool ClampMana(int32_t player, int32_t unit, int32_t amount)
{
    int32_t& mana = p[player].units[unit].mana;
    mana -= amount;
    if (mana < 0)
        mana = 0;
    return false;
}
