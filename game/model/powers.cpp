#include "game/model/powers.h"

#include <cstddef>
#include <string>

#include "game/model/catalogue.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"

namespace {

template <typename Info>
int32_t FindByName(const std::vector<Info>& table, const std::string& name)
{
    for (size_t i = 0; i < table.size(); i++)
        if (name == table[i].name)
            return static_cast<int32_t>(i);
    return -1;
}

void ClearSlots(int32_t* slots, const int count)
{
    for (int i = 0; i < count; i++)
        slots[i] = -1;
}

bool Holds(const int32_t* slots, const int count, const int32_t index)
{
    for (int i = 0; i < count; i++)
        if (slots[i] == index)
            return true;
    return false;
}

// Fresh lists fill their places in order and drop what does not fit; an upgrade's list goes into the
// first free place of the unit's arrays.
void Place(int32_t* slots, const int count, int& stored, const int32_t index, const bool adding)
{
    if (adding) {
        for (int i = 0; i < count; i++) {
            if (slots[i] == -1) {
                slots[i] = index;
                return;
            }
        }
        return;
    }
    if (stored < count)
        slots[stored++] = index;
}

bool ParsePowers(const char* list, int32_t (&spellslots)[MAXSPELLS], int32_t (&abilityslots)[MAXABILITIES],
    const bool adding)
{
    int storedspells = 0;
    int storedabilities = 0;
    std::string name;
    for (const char* c = list;; c++) {
        if (*c && *c != ',' && *c != ';') {
            name += *c;
            continue;
        }
        // An empty name (",," or a bare ";") names nothing, not an entry whose name is missing.
        if (!name.empty()) {
            const int32_t ability = FindByName(abilities, name);
            if (ability != -1) {
                if (!(adding && Holds(abilityslots, MAXABILITIES, ability)))
                    Place(abilityslots, MAXABILITIES, storedabilities, ability, adding);
            } else {
                const int32_t spell = FindByName(spells, name);
                if (spell != -1)
                    Place(spellslots, MAXSPELLS, storedspells, spell, adding);
            }
            name.clear();
        }
        if (*c == ';')
            return false;
        if (!*c)
            return true;
    }
}

} // namespace

bool GetUnitPowers(const int32_t type, int32_t (&spellslots)[MAXSPELLS], int32_t (&abilityslots)[MAXABILITIES])
{
    ClearSlots(spellslots, MAXSPELLS);
    ClearSlots(abilityslots, MAXABILITIES);
    return ParsePowers(GetString(static_cast<uint32_t>(type + STR_UNITPOWERS)), spellslots, abilityslots, false);
}

bool GetWarlordPowers(const int32_t player, int32_t (&spellslots)[MAXSPELLS], int32_t (&abilityslots)[MAXABILITIES])
{
    ClearSlots(spellslots, MAXSPELLS);
    ClearSlots(abilityslots, MAXABILITIES);
    if (player < 0 || static_cast<size_t>(player) >= p.size())
        return true;
    const int32_t id = p[player].warlordtype + STR_WARLORDPOWERS;
    return ParsePowers(GetString(static_cast<uint32_t>(id)), spellslots, abilityslots, false);
}

bool AddUnitPowers(const int32_t type, int32_t (&spellslots)[MAXSPELLS], int32_t (&abilityslots)[MAXABILITIES])
{
    return ParsePowers(GetString(static_cast<uint32_t>(type + STR_UNITPOWERS)), spellslots, abilityslots, true);
}
