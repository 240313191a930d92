// Pages of the spells and abilities: the catalogue's own description, then the figures the game
// reads and which creatures know the power.
#include <string>

#include "cataloguepages.h"
#include "game/model/catalogue.h"
#include "game/model/powers.h"
#include "game/model/records.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/screens/help.h"

namespace {

// A class up to 3 aimed at a unit may be resisted; class 1 is what Spell Scrolls teach.
enum : int32_t { RESISTIBLECLASS = 3, SCROLLCLASS = 1, FIRSTSQUAREKIND = 4 };

// What a spell of each target kind (-6..11) is aimed at.
const char* const targettexts[] = {
    "one of your units other than your warlord",    // -6
    "one of your units that can move",              // -5
    "one of your units",                            // -4
    "an enemy unit that has mana",                  // -3
    "an enemy unit, not a warlord, with less than 6 life",  // -2
    "one of your wounded units",                    // -1
    "one of your units",                            // 0
    "an enemy unit",                                // 1
    "any unit",                                     // 2
    "an enemy unit that is not a warlord",          // 3
    "an empty square",                              // 4
    "an empty square with remains",                 // 5
    "any square",                                   // 6
    "an empty square of trees",                     // 7
    "an empty square of rough ground",              // 8
    "a square away from the edge of the map",       // 9
    "a square with remains",                        // 10
    "a square of trees",                            // 11
};
const int32_t firsttargetkind = -6;

// When an ability of each kind works.
std::string KindText(int32_t kind)
{
    switch (kind) {
    case 0: return "when the unit attacks";
    case 1: return "after the unit has attacked";
    case 2: return "when the unit is attacked";
    case 3: return "after the unit has been attacked";
    case 4: return "whenever the unit moves";
    case 6: return "while its owner deploys his army";
    case 7: return "at the start of its owner's turn";
    case 8: return "at the end of its owner's turn";
    case 10: return "at the end of every day";
    default: return "at all times";
    }
}

bool Holds(const int32_t* slots, int count, int32_t index)
{
    for (int i = 0; i < count; i++)
        if (slots[i] == index)
            return true;
    return false;
}

// The creatures that know the power, by the name of the rank that brings it; a warlord's army for
// the powers his bonus table teaches.
std::string KnownBy(bool spell, int32_t index)
{
    std::vector<std::string> names;
    auto look = [&](int32_t list, const std::string& name) {
        int32_t s[MAXSPELLS], a[MAXABILITIES];
        GetUnitPowers(list, s, a);
        if (spell ? Holds(s, MAXSPELLS, index) : Holds(a, MAXABILITIES, index))
            names.push_back(name);
    };
    for (int32_t t = 1; t <= unittypecount && t <= MAXCATALOGUEINDEX; t++) {
        const TypeKind kind = KindOfType(t);
        if (kind == TYPE_NONE)
            continue;
        for (int32_t level = 0; level < 3; level++) {
            if (level > 0 && kind == TYPE_WARLORD)
                break;
            look(t + level * TYPESPERLEVEL, GetString((uint32_t)(STR_UNITNAME + t + level * TYPESPERLEVEL)));
        }
        if (kind == TYPE_WARLORD)
            look(t + STR_WARLORDPOWERS - STR_UNITPOWERS, std::string("the army of the ") + GetString((uint32_t)t));
    }
    std::string text;
    for (size_t i = 0; i < names.size(); i++)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

} // namespace

void SpellPages(std::vector<HelpPage>& pages)
{
    for (size_t i = 0; i < spells.size(); i++) {
        const SpellInfo& spell = spells[i];
        const uint32_t n = (uint32_t)spell.number;
        std::string body = GetString(STR_SPELLHELP + n);
        body += "\n\nMana " + std::to_string(spell.mana) + ", range " + std::to_string(spell.range) + ".";
        const int32_t kind = spell.target - firsttargetkind;
        if (kind >= 0 && kind < (int32_t)(sizeof targettexts / sizeof targettexts[0]))
            body += std::string(" Cast at ") + (spell.range == 0 && spell.target >= FIRSTSQUAREKIND ? "the caster's own square"
                                                                                                  : targettexts[kind]) + ".";
        if (spell.target < FIRSTSQUAREKIND)
            body += spell.resist <= RESISTIBLECLASS ? " A unit's resistance may turn it aside." : " It cannot be resisted.";
        if (spell.hotkey >= 'A' && spell.hotkey <= 'Z')
            body += std::string("\nShortcut: CTRL+") + spell.hotkey + " while the caster acts.";
        const std::string known = KnownBy(true, (int32_t)i);
        if (!known.empty())
            body += "\nKnown by " + known + ".";
        if (spell.resist == SCROLLCLASS)
            body += "\nSpell Scrolls found on the map teach it.";
        pages.push_back(HelpPage{ SpellDisplayName((int32_t)i), body, HELPSHEET_SPELLS, spell.picture,
                                  std::string("the catalogue's spell ") + spell.name });
    }
}

void AbilityPages(std::vector<HelpPage>& pages)
{
    for (size_t i = 0; i < abilities.size(); i++) {
        const AbilityInfo& ability = abilities[i];
        std::string body = GetString(STR_ABILITYHELP + (uint32_t)ability.number);
        body += "\n\nIt works " + KindText(ability.kind) + ".";
        const std::string known = KnownBy(false, (int32_t)i);
        if (!known.empty())
            body += "\nHeld by " + known + ".";
        pages.push_back(HelpPage{ AbilityDisplayName((int32_t)i), body, HELPSHEET_SPELLS, ability.picture,
                                  std::string("the catalogue's ability ") + ability.name });
    }
}
