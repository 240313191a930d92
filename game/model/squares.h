// What a square does to a unit that arrives on it: a brushfire burns it, gold is picked up, a gold mine
// changes hands and a map object gives its gift once. Every machine runs it by itself for every
// arrival; nothing here is random and nothing is sent (a death is recorded by the host alone).
#pragma once
#include <cstdint>

// The map objects (terrain 8), by their square's variant byte; the byte + 1 is the object used up.
enum : uint8_t {
    SITE_NODE = 0,              // "Magic Node": mana to 10
    SITE_TOME = 2,              // "Tome of the Wise": half an upgrade's experience; not for a warlord
    SITE_VIAL = 4,              // "Vial of Poison": the "Poison" ability
    SITE_WEAPON = 6,            // "Ancient Weapon": attack + 1
    SITE_STATUE = 8,            // "Statue": the Vigilance spell's effect
    SITE_SCROLL = 10,           // "Spell Scroll": a spell of resistance class 1; the square becomes ground
    SITE_BEACON = 12,           // "Beacon of Invisibility": the Invisibility spell's effect; not for a warlord
    SITE_LASTKIND = 14,         // "Pillar of Lost Sights" (SITE_PILLAR): reveals every pillar
};
enum : int8_t { BRUSHFIREDAMAGE = 5 };

// Applies the unit's square (its x, y, set by the caller) to it. A unit off the map is left alone.
void EnterSquare(int32_t player, int32_t unit);
// Gives the unit the spell named name, or failing that the ability, in its first free slot. True (and
// an "ERROR: ..." line) when neither table has it in a slot the unit can take.
bool AddPowerNamed(int32_t player, int32_t unit, const char* name);
