// The content catalogue, built once at start-up from the numbered strings: unit types that can be
// recruited, chosen as warlord or placed as neutral guards, the spell and ability tables and the
// tuning numbers.
#pragma once
#include <cstdint>
#include <vector>

#include "game/model/records.h"

enum { CATALOGUENAMESIZE = 20 };        // internal names, NUL included
enum { MAXWARLORDTYPES = 15 };
enum { MAXCATALOGUEINDEX = 99 };        // unit types, spells and abilities each number 1..99 at most

// (caster player, caster unit, a, b, extra) -> a valid target
typedef bool (*TargetTest)(int32_t, int32_t, int32_t, int32_t, int32_t);
// (caster player, caster unit, a, b, unused, unused) -> true when a ward found no room
typedef bool (*SpellHandler)(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);
// six words whose meaning depends on the ability's kind -> a result of that kind
typedef int32_t (*AbilityHandler)(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);

struct SpellInfo {
    char name[CATALOGUENAMESIZE];       // internal name: its handler is bound by it
    int32_t picture;
    int32_t number;                     // 1-based; table index + 1
    int32_t anim;                       // first cell of its effect animation
    int32_t mana;
    int32_t target;                     // target kind
    int32_t range;
    int32_t resist;                     // the target may resist at 3 or less
    int32_t castexp;                    // experience the caster gains
    int32_t power;                      // how strong the computer player rates it
    char hotkey;                        // shortcut letter
    TargetTest test;                    // null until bound
    SpellHandler effect;                // null until bound
};

struct AbilityInfo {
    char name[CATALOGUENAMESIZE];
    int32_t picture;
    int32_t number;                     // 1-based; table index + 1
    int32_t kind;                       // when it runs
    AbilityHandler handler;             // null until bound
};

struct NeutralPoint {
    int32_t type;                       // a unit type that guards gold mines
    int32_t points;                     // its value, 1..8
};

extern int32_t unittypecount;           // unit types are 1..unittypecount
extern std::vector<UnitListEntry> buyable;
extern int32_t warlordtypes[MAXWARLORDTYPES];
extern int32_t warlordtypecount;
extern std::vector<NeutralPoint> neutralpoints;
extern std::vector<SpellInfo> spells;
extern int32_t spellcount;
extern std::vector<AbilityInfo> abilities;
extern int32_t abilitycount;
extern int32_t expdivisor;              // newly explored squares per point of experience
extern int32_t expperdamage;            // experience per point of combat damage
extern int32_t spellexpfactor;          // casting experience per mana point by default

bool LoadGameText();                    // the string module and the whole catalogue; true on failure
bool CacheUnits();                      // the unit-type lists; false
bool CacheSpells();                     // the spell table; false
bool CacheAbilities();                  // the ability table; false
bool LoadTuningNumbers();               // false
bool UnitHasFlag(int32_t type, char c); // c stands in the type's flag string before its first ';'
void ResetCatalogue();                  // empty tables and the tuning numbers' start values (tests)
