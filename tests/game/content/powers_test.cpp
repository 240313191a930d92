// The spells and abilities of the shipped catalogue: names that bind to handlers, records the spell
// command can use, and the power lists of the types (the abilities' kinds: abilities_test.cpp).
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/magic/binding.h"
#include "game/magic/targets.h"
#include "game/model/catalogue.h"
#include "game/model/powers.h"
#include "game/model/records.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/shell/debuglog.h"
#include "shipped.h"

namespace {

enum { LONGESTTEXT = 499 };     // the catalogue reads no more of a text

bool OneOf(const std::string& name, const std::vector<std::string>& names)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool Holds(const int32_t (&slots)[5], const int32_t index)
{
    return std::find(std::begin(slots), std::end(slots), index) != std::end(slots);
}

void PutInFreeSlot(int32_t (&slots)[5], const int32_t index)
{
    for (int32_t& slot : slots) {
        if (slot == -1) {
            slot = index;
            return;
        }
    }
}

// What unit creation adds for a unit inside the warlord's bonus table.
void AddWarlordPowers(const int32_t warlord, int32_t (&spellslots)[MAXSPELLS], int32_t (&abilityslots)[MAXABILITIES])
{
    int32_t ws[MAXSPELLS], wa[MAXABILITIES];
    GetUnitPowers(warlord + STR_WARLORDPOWERS - STR_UNITPOWERS, ws, wa);
    for (int k = 0; k < MAXABILITIES; k++)
        if (wa[k] != -1 && !Holds(abilityslots, wa[k]))
            PutInFreeSlot(abilityslots, wa[k]);
    for (int k = 0; k < MAXSPELLS; k++)
        if (ws[k] != -1 && !Holds(spellslots, ws[k]))
            PutInFreeSlot(spellslots, ws[k]);
}

bool FitsBonusTable(const int32_t type, const int32_t warlord)
{
    for (int32_t k = 0; k < NUMSTATS; k++) {
        const int32_t value = GetResNumber(type + (k + 1) * 100);
        if (value < GetResNumber(warlord + 2 + (k + 1) * 100) || value > GetResNumber(warlord + 3 + (k + 1) * 100))
            return false;
    }
    return true;
}

// Every power list string of the type: its own, its upgrades', and a warlord's list for his units.
std::vector<int32_t> PowerListIds(const int32_t type)
{
    if (KindOfType(type) == KIND_WARLORD)
        return { type + STR_UNITPOWERS, type + STR_WARLORDPOWERS };
    return { type + STR_UNITPOWERS, type + 10000 + STR_UNITPOWERS, type + 20000 + STR_UNITPOWERS };
}

} // namespace

TEST_F(Shipped, InternalNamesMatchTheBindingTable)
{
    std::map<std::string, int> spellnames, abilitynames;
    for (int32_t n = 1; n <= spellcount; n++) {
        const std::string name = RawString(STR_SPELLNAME + n);
        EXPECT_LE(name.size(), size_t(CATALOGUENAMESIZE - 1)) << name;
        EXPECT_EQ(name, spells[n - 1].name);
        EXPECT_TRUE(OneOf(name, boundspellnames)) << "spell " << n << " \"" << name << "\" has no handler";
        spellnames[name]++;
    }
    for (const std::string& name : boundspellnames) {
        EXPECT_EQ(spellnames[name], 1) << "spell " << name;
    }
    for (int32_t n = 1; n <= abilitycount; n++) {
        const std::string name = RawString(STR_ABILITYNAME + n);
        EXPECT_LE(name.size(), size_t(CATALOGUENAMESIZE - 1)) << name;
        EXPECT_EQ(name, abilities[n - 1].name);
        EXPECT_TRUE(OneOf(name, boundabilitynames) || OneOf(name, panelabilitynames)) << "ability " << n << " \"" << name << "\" has no handler";
        abilitynames[name]++;
    }
    for (const std::string& name : boundabilitynames) {
        EXPECT_EQ(abilitynames[name], 1) << "ability " << name;
    }
    for (const std::string& name : panelabilitynames) {
        EXPECT_EQ(abilitynames[name], 1) << "ability " << name;
    }
}

TEST_F(Shipped, EveryRecordBindsToAHandler)
{
    // The real start-up step: every spell gets its effect and the target test of its kind, every
    // ability but the panel's its handler, and no name in the tables misses its record.
    std::string log;
    CaptureDebugLog(&log);
    EXPECT_FALSE(CreateSpells());
    CaptureDebugLog(nullptr);
    EXPECT_EQ(log.find("Couldn't find"), std::string::npos) << log;
    for (const SpellInfo& spell : spells) {
        EXPECT_NE(spell.effect, nullptr) << spell.name;
        EXPECT_NE(spell.effect, DefaultSpell) << spell.name;
        EXPECT_NE(spell.test, DefaultSpellTarget) << spell.name << " has target kind " << spell.target;
    }
    for (const AbilityInfo& ability : abilities) {
        if (OneOf(ability.name, panelabilitynames))
            continue;
        EXPECT_NE(ability.handler, DefaultAbility) << ability.name;
    }
}

TEST_F(Shipped, SpellRecordsSuitTheirHandlers)
{
    // Handlers that act on the unit named by the target, on the square named by it, or on the caster.
    const std::vector<std::string> unitspells = {
        "Sparks", "Ultra", "EnergyArc", "DrainLife", "Vitality", "Discharge", "Ice", "Deluge", "Storm", "Freezing",
        "Transfer", "Invisibility", "Vigilance", "DoubleStrike", "Curse", "Sluggishness", "PowerDrain", "Petrify",
        "Solar", "Subdual", "Exorcize", "Heal", "Rejuvinate", "Enervate", "ManaDrain", "Recharge", "Overmaster",
        "Possession", "Repel", "Moat", "Void",
    };
    const std::vector<std::string> casterspells = { "Selfdestruct", "Psychic", "Pack", "Unpack", "Starlight", "Light", "Will", "Frantic" };
    // Spells that put a unit on the target square need it empty, or units would stack.
    const std::vector<std::string> placingspells = { "Teleport", "Pounce", "Phasewarp", "Fireball", "Skeleton", "Air", "Water", "Earth", "Fire" };
    std::set<int32_t> icons;
    int scrollspells = 0;
    for (const SpellInfo& spell : spells) {
        SCOPED_TRACE(spell.name);
        const int32_t n = spell.number;
        EXPECT_GE(spell.target, -6);
        EXPECT_LE(spell.target, 11);
        if (OneOf(spell.name, unitspells)) {
            EXPECT_LT(spell.target, 4);
        } else if (OneOf(spell.name, casterspells)) {
            EXPECT_EQ(spell.target, 6);
            EXPECT_EQ(spell.range, 0);
        } else {
            EXPECT_GE(spell.target, 4);
        }
        if (OneOf(spell.name, placingspells)) {
            EXPECT_TRUE(spell.target == 4 || spell.target == 5);
        }
        // Taking a unit over must refuse the caster's own side, whose indexes it would shift.
        if (std::string(spell.name) == "Overmaster" || std::string(spell.name) == "Possession") {
            EXPECT_TRUE(spell.target == -2 || spell.target == 3);
        }
        // A spell on one's own units must not be resisted by them.
        if (spell.target == -6 || spell.target == -5 || spell.target == -4 || spell.target == -1 || spell.target == 0) {
            EXPECT_GE(spell.resist, 4);
        }
        if (spell.resist == 1 && spell.target < 4)
            scrollspells++;
        // Mana is kept up to 10: a dearer spell could never be cast.
        EXPECT_GE(spell.mana, 0);
        EXPECT_LE(spell.mana, 10);
        EXPECT_GE(spell.range, 0);
        EXPECT_GE(spell.castexp, 0);
        EXPECT_GE(spell.power, 0);
        EXPECT_EQ(RawString(STR_SPELLKEY + n).size(), 1u);
        EXPECT_TRUE(spell.hotkey >= 'A' && spell.hotkey <= 'Z') << "shortcut " << spell.hotkey;
        // An animation is 8 cells down one column of the 16 x 24 sheet, in one of its three bands.
        EXPECT_TRUE(spell.anim >= 0 && spell.anim % 128 < 16 && spell.anim < 384) << "animation " << spell.anim;
        EXPECT_GE(spell.picture, 0);
        EXPECT_TRUE(icons.insert(spell.picture).second) << "icon " << spell.picture << " is shared";
        for (const int32_t id : { STR_SPELLTITLE + n, STR_SPELLHELP + n }) {
            EXPECT_TRUE(HasString(id)) << "string " << id;
            EXPECT_LE(RawString(id).size(), size_t(LONGESTTEXT)) << "string " << id;
        }
    }
    // Spell Scrolls teach class-1 unit spells.
    EXPECT_GE(scrollspells, 1);
    for (const AbilityInfo& ability : abilities) {
        EXPECT_GE(ability.picture, 0);
        EXPECT_TRUE(icons.insert(ability.picture).second) << ability.name << ": icon " << ability.picture << " is shared";
        for (const int32_t id : { STR_ABILITYTITLE + ability.number, STR_ABILITYHELP + ability.number }) {
            EXPECT_TRUE(HasString(id)) << "string " << id;
            EXPECT_LE(RawString(id).size(), size_t(LONGESTTEXT)) << "string " << id;
        }
    }
}

TEST_F(Shipped, PowerListsNameKnownPowersThatFitTheSlots)
{
    for (const int32_t t : RealTypes()) {
        SCOPED_TRACE("type " + std::to_string(t) + " " + RawString(t));
        std::vector<std::string> spellnames, abilitynames;
        for (const int32_t id : PowerListIds(t)) {
            bool ended;
            for (const std::string& name : PowerNames(RawString(id), &ended)) {
                // The parser skips a name it does not know, so a misspelt power is silently lost.
                const bool ability = AbilityNamed(name) != -1;
                EXPECT_TRUE(ability || SpellNamed(name) != -1) << "string " << id << " names unknown power " << name;
                if (id == t + STR_WARLORDPOWERS)
                    continue;
                if (ability && !OneOf(name, abilitynames))
                    abilitynames.push_back(name);
                else if (!ability)
                    spellnames.push_back(name);
            }
            EXPECT_TRUE(ended) << "string " << id << " lacks its ';'";
        }
        // Beyond five a power is dropped: every level's powers must fit.
        EXPECT_LE(spellnames.size(), size_t(MAXSPELLS));
        EXPECT_LE(abilitynames.size(), size_t(MAXABILITIES));
    }
}

TEST_F(Shipped, ShortcutLettersDifferWithinEachUnit)
{
    for (const int32_t t : RealTypes()) {
        const TypeKind kind = KindOfType(t);
        // Without a warlord's powers, and with those of each warlord whose bonus table takes the type.
        std::vector<int32_t> warlords = { 0 };
        for (int32_t i = 0; i < warlordtypecount && kind != KIND_NEUTRAL; i++)
            if (FitsBonusTable(t, warlordtypes[i]))
                warlords.push_back(warlordtypes[i]);
        for (const int32_t w : warlords) {
            int32_t spellslots[MAXSPELLS], abilityslots[MAXABILITIES];
            GetUnitPowers(t, spellslots, abilityslots);
            if (w)
                AddWarlordPowers(w, spellslots, abilityslots);
            if (kind != KIND_WARLORD) {
                AddUnitPowers(t + 10000, spellslots, abilityslots);
                AddUnitPowers(t + 20000, spellslots, abilityslots);
            }
            std::set<char> letters;
            for (const int32_t s : spellslots) {
                if (s != -1) {
                    EXPECT_TRUE(letters.insert(spells[s].hotkey).second)
                        << RawString(t) << (w ? " under " + RawString(w) : "") << ": two spells on CTRL+" << spells[s].hotkey;
                }
            }
        }
    }
}
