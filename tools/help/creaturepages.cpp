// Pages of the unit types, warlords, guards and summoned creatures: the author's text, then the
// figures the game reads, written out from the loaded catalogue.
#include "cataloguepages.h"

#include <string>

#include "game/model/catalogue.h"
#include "game/model/powers.h"
#include "game/model/records.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/screens/help.h"

namespace {

enum : int32_t { STR_WARLORDTEXT = 10400, STR_WARLORDMORETEXT = 10500 };   // + W: the two paragraphs

const char* const statnames[NUMSTATS] = { "attack", "life", "moves", "range", "actions", "mana gain", "stealth",
                                          "resistance" };

std::string Capitalised(std::string s)
{
    if (!s.empty() && s[0] >= 'a' && s[0] <= 'z')
        s[0] = (char)(s[0] - 'a' + 'A');
    return s;
}

std::string Name(int32_t type)
{
    return GetString((uint32_t)(STR_UNITNAME + type));
}

int32_t Stat(int32_t type, int32_t k)
{
    return GetResNumber((uint32_t)(STR_UNITSTAT + type + k * 100));
}

// "Attack 3, life 10, moves 3, range 1, actions 2, mana gain 0, stealth 0, resistance 0."
std::string StatLine(int32_t type)
{
    std::string line;
    for (int32_t k = 0; k < NUMSTATS; k++)
        line += (k ? ", " : "") + std::string(k ? statnames[k] : "Attack") + " " + std::to_string(Stat(type, k));
    return line + ".";
}

// "+1 attack, +3 life" for an upgrade's (or a bonus row's) non-zero amounts; empty when there are none.
std::string Amounts(int32_t first)
{
    std::string text;
    for (int32_t k = 0; k < NUMSTATS; k++) {
        const int32_t v = GetResNumber((uint32_t)(first + k * 100));
        if (v)
            text += (text.empty() ? "" : ", ") + std::string(v > 0 ? "+" : "") + std::to_string(v) + " " + statnames[k];
    }
    return text;
}

// The spells and abilities of a power list read as the game reads it (string type + 900).
struct Powers {
    std::vector<std::string> spells, abilities;
    bool Empty() const { return spells.empty() && abilities.empty(); }
};

Powers PowersOf(int32_t type)
{
    int32_t s[MAXSPELLS], a[MAXABILITIES];
    GetUnitPowers(type, s, a);
    Powers powers;
    for (const int32_t i : s)
        if (i >= 0 && (size_t)i < spells.size())
            powers.spells.push_back(SpellDisplayName(i));
    for (const int32_t i : a)
        if (i >= 0 && (size_t)i < abilities.size())
            powers.abilities.push_back(AbilityDisplayName(i));
    return powers;
}

std::string Join(const std::vector<std::string>& names)
{
    std::string text;
    for (size_t i = 0; i < names.size(); i++)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

// "Abilities: Missile Guard. Spells: Mend, Cleanse." (either part left out when empty)
std::string PowerLine(const Powers& powers)
{
    std::string line;
    if (!powers.abilities.empty())
        line += "Abilities: " + Join(powers.abilities) + ".";
    if (!powers.spells.empty())
        line += std::string(line.empty() ? "" : " ") + "Spells: " + Join(powers.spells) + ".";
    return line;
}

// "learns Missile Guard and Mend" for what an upgrade adds.
std::string LearnText(const Powers& powers)
{
    std::vector<std::string> names = powers.abilities;
    names.insert(names.end(), powers.spells.begin(), powers.spells.end());
    return names.empty() ? "" : "learns " + Join(names);
}

std::string LevelText(int32_t type, int32_t level)
{
    const int32_t t = type + level * TYPESPERLEVEL;
    std::string text = Amounts(STR_UPGRADESTAT + type + (level - 1) * TYPESPERLEVEL);
    const std::string learns = LearnText(PowersOf(t));
    if (!learns.empty())
        text += (text.empty() ? "" : "; ") + learns;
    return Name(t) + (text.empty() ? "" : " (" + text + ")");
}

std::string UpgradeLine(int32_t type)
{
    const int32_t threshold = GetResNumber((uint32_t)(STR_UPGRADEEXP + type));
    if (threshold <= 0 || Name(type + TYPESPERLEVEL).empty())
        return "It never rises in rank.";
    return "Every " + std::to_string(threshold) + " experience it rises a rank: first to " + LevelText(type, 1)
        + ", then to " + LevelText(type, 2) + ".";
}

bool IsBuyable(int32_t type)
{
    for (const UnitListEntry& entry : buyable)
        if (entry.type == type)
            return true;
    return false;
}

bool AboutText(const Manual& manual, const std::string& name, std::string& text, std::string& error)
{
    const auto found = manual.about.find(name);
    if (found == manual.about.end()) {
        error = "creatures.txt: \"" + name + "\" has no @about text";
        return false;
    }
    text = found->second;
    return true;
}

HelpPage CreaturePage(int32_t type, const std::string& about, const std::string& facts)
{
    const std::string powers = PowerLine(PowersOf(type));
    std::string body = about + "\n\n" + StatLine(type);
    if (!powers.empty())
        body += "\n" + powers;
    body += "\n" + facts;
    return HelpPage{ Name(type), body, HELPSHEET_UNITS, GetResNumber((uint32_t)(STR_UNITPICTURE + type)),
                     "the catalogue's " + Name(type) };
}

// How a warlord's page speaks of the warlord.
struct Pronoun {
    const char* subject;    // "he": "he falls"
    const char* possessive; // "his player"
    const char* own;        // "every unit of his"
};
const Pronoun him = { "he", "his", "his" };
const Pronoun her = { "she", "her", "hers" };

// What a warlord's bonus table gives: "+1 attack for every unit of his with range 1".
std::string BonusLine(int32_t warlord, const Pronoun& pronoun)
{
    const std::string bonus = Amounts(STR_WARLORDFILTER + warlord + 1);
    if (bonus.empty())
        return "";
    std::string within;
    for (int32_t k = 0; k < NUMSTATS; k++) {
        const int32_t low = GetResNumber((uint32_t)(STR_WARLORDFILTER + warlord + 2 + k * 100));
        const int32_t high = GetResNumber((uint32_t)(STR_WARLORDFILTER + warlord + 3 + k * 100));
        if (low <= 0 && high >= 99)
            continue;
        const std::string range = low == high ? std::to_string(low) : std::to_string(low) + " to " + std::to_string(high);
        within += (within.empty() ? "" : " and ") + std::string(statnames[k]) + " " + range;
    }
    return "Bonus: " + bonus + " for every unit of " + pronoun.own + " with " + (within.empty() ? "any stats" : within)
        + ".";
}

std::string WarlordFacts(int32_t w, const Pronoun& pronoun)
{
    std::string facts;
    const std::string bonus = BonusLine(w, pronoun);
    if (!bonus.empty())
        facts += bonus + "\n";
    const Powers learnt = PowersOf(w + STR_WARLORDPOWERS - STR_UNITPOWERS);
    if (!learnt.Empty())
        facts += "Those units also " + LearnText(learnt) + ".\n";
    std::vector<std::string> gifts;
    const int32_t gold = GetResNumber((uint32_t)(STR_WARLORDGOLD + w));
    const int32_t mana = GetResNumber((uint32_t)(STR_WARLORDMANA + w));
    const int32_t exp = GetResNumber((uint32_t)(STR_WARLORDEXPBONUS + w));
    const int32_t spellexp = GetResNumber((uint32_t)(STR_WARLORDSPELLEXPBONUS + w));
    const int32_t sight = GetResNumber((uint32_t)(STR_WARLORDSIGHTBONUS + w));
    if (gold)
        gifts.push_back(std::to_string(gold) + " extra gold");
    if (mana)
        gifts.push_back("units that start with " + std::to_string(mana) + " mana");
    if (exp)
        gifts.push_back("+" + std::to_string(exp) + " experience for every attack");
    if (spellexp)
        gifts.push_back("+" + std::to_string(spellexp) + " experience for every spell");
    if (sight)
        gifts.push_back("+" + std::to_string(sight) + " sight");
    if (!gifts.empty())
        facts += Capitalised(pronoun.subject) + " brings " + Join(gifts) + ".\n";
    return facts + "A warlord costs nothing and never rises in rank; when " + pronoun.subject + " falls, "
        + pronoun.possessive + " player is out.";
}

} // namespace

std::string SpellDisplayName(int32_t index)
{
    return GetString((uint32_t)(STR_SPELLTITLE + spells[index].number));
}

std::string AbilityDisplayName(int32_t index)
{
    return GetString((uint32_t)(STR_ABILITYTITLE + abilities[index].number));
}

TypeKind KindOfType(int32_t type)
{
    if (Name(type).empty())
        return TYPE_NONE;
    if (UnitHasFlag(type, '~'))
        return TYPE_WARLORD;
    for (const NeutralPoint& guard : neutralpoints)
        if (guard.type == type)
            return TYPE_GUARD;
    if (UnitHasFlag(type, '*') || UnitHasFlag(type, '+') || UnitHasFlag(type, '^') || UnitHasFlag(type, '\''))
        return TYPE_SUMMONED;
    return TYPE_UNIT;
}

bool CreaturePages(TypeKind kind, const Manual& manual, std::vector<HelpPage>& pages, std::string& error)
{
    for (int32_t t = 1; t <= unittypecount && t <= MAXCATALOGUEINDEX; t++) {
        if (KindOfType(t) != kind)
            continue;
        std::string about;
        if (kind == TYPE_WARLORD) {
            about = std::string(GetString((uint32_t)(STR_WARLORDTEXT + t))) + "\n\n"
                + GetString((uint32_t)(STR_WARLORDMORETEXT + t));
            pages.push_back(CreaturePage(t, about, WarlordFacts(t, manual.she.count(Name(t)) ? her : him)));
            continue;
        }
        if (!AboutText(manual, Name(t), about, error))
            return false;
        std::string facts;
        if (kind == TYPE_UNIT)
            facts = (IsBuyable(t) ? "Price: " + std::to_string(GetResNumber((uint32_t)(STR_UNITCOST + t))) + " gold."
                                  : std::string("Not sold in the shop."))
                + " " + UpgradeLine(t);
        else if (kind == TYPE_GUARD) {
            for (const NeutralPoint& guard : neutralpoints)
                if (guard.type == t)
                    facts = "Worth " + std::to_string(guard.points) + " guard points. ";
            facts += UpgradeLine(t);
        } else {
            facts = "Summoned creatures cost nothing and give their experience to their summoner.";
        }
        pages.push_back(CreaturePage(t, about, Capitalised(facts)));
    }
    if (kind == TYPE_WARLORD)
        for (const std::string& name : manual.she) {
            bool found = false;
            for (int32_t t = 1; t <= unittypecount && t <= MAXCATALOGUEINDEX && !found; t++)
                found = KindOfType(t) == TYPE_WARLORD && Name(t) == name;
            if (!found) {
                error = "creatures.txt: @she " + name + ": no warlord of that name";
                return false;
            }
        }
    return true;
}
