#include "game/model/abilityslots.h"

#include <cstddef>
#include <cstring>

#include "game/model/catalogue.h"
#include "game/model/names.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/shell/debuglog.h"

namespace {

// The ability record in a unit's slot; null for an index out of range, an empty slot, or a slot
// naming no record (a slot is written from content and upgrades, never trusted blindly).
const AbilityInfo* SlotAbility(int32_t player, int32_t unit, int32_t slot)
{
    if (player < 0 || static_cast<size_t>(player) >= p.size())
        return nullptr;
    if (unit < 0 || static_cast<size_t>(unit) >= p[player].units.size())
        return nullptr;
    if (slot < 0 || slot >= MAXABILITIES)
        return nullptr;
    const int32_t index = p[player].units[unit].abilities[slot];
    if (index < 0 || static_cast<size_t>(index) >= abilities.size())
        return nullptr;
    return &abilities[index];
}

} // namespace

bool UnitHasAbilityKind(int32_t player, int32_t unit, int32_t slot, int32_t kind)
{
    const AbilityInfo* const ability = SlotAbility(player, unit, slot);
    return ability && ability->kind == kind;
}

int32_t ExecuteAbilitySlot(int32_t player, int32_t unit, int32_t slot, int32_t a1, int32_t a2, int32_t a3, int32_t a4,
                           int32_t a5, int32_t a6)
{
    const AbilityInfo* const ability = SlotAbility(player, unit, slot);
    if (!ability)
        return 0;
    debuglog << "Executing ability " << GetString(STR_ABILITYTITLE + ability->number) << " for " << PlayerName(player)
             << "'s unit #" << unit << "(" << p[player].units[unit].type << ") sub=" << a5 << '\n';
    if (!ability->handler)
        return 0;
    return ability->handler(a1, a2, a3, a4, a5, a6);
}

bool HasAbilityNamed(const Unit& unit, const char* name)
{
    for (size_t i = 0; i < abilities.size(); i++) {
        if (std::strncmp(abilities[i].name, name, CATALOGUENAMESIZE) != 0)
            continue;
        for (const int32_t slot : unit.abilities)
            if (slot == static_cast<int32_t>(i))
                return true;
    }
    return false;
}
