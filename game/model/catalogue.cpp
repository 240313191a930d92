#include "game/model/catalogue.h"

#include <cstring>

#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/shell/debuglog.h"

int32_t unittypecount = 0;
std::vector<UnitListEntry> buyable;
int32_t warlordtypes[MAXWARLORDTYPES] = {};
int32_t warlordtypecount = 0;
std::vector<NeutralPoint> neutralpoints;
std::vector<SpellInfo> spells;
int32_t spellcount = 0;
std::vector<AbilityInfo> abilities;
int32_t abilitycount = 0;
int32_t expdivisor = 2;
int32_t expperdamage = 4;
int32_t spellexpfactor = 10;

// A count read from the module, kept to what its id range can hold: beyond it the ids of one entry
// run into those of the next field.
static int32_t ReadCount(const int32_t id, const char* what)
{
    const int32_t count = GetResNumber(id);
    if (count < 0) {
        debuglog << "ERROR: Negative number of " << what << ": " << count << '\n';
        return 0;
    }
    if (count > MAXCATALOGUEINDEX) {
        debuglog << "ERROR: Too many " << what << ": " << count << ", keeping " << int(MAXCATALOGUEINDEX) << '\n';
        return MAXCATALOGUEINDEX;
    }
    return count;
}

// Copies an internal name into its field; a longer one is cut (and could then bind to nothing).
static void CopyName(char (&field)[CATALOGUENAMESIZE], const char* name)
{
    if (std::strlen(name) >= CATALOGUENAMESIZE)
        debuglog << "ERROR: Name too long, cut to " << int(CATALOGUENAMESIZE - 1) << " characters: " << name << '\n';
    std::memset(field, 0, sizeof field);
    std::strncpy(field, name, sizeof field - 1);
}

bool UnitHasFlag(const int32_t type, const char c)
{
    for (const char* f = GetString(static_cast<uint32_t>(type + STR_UNITFLAGS)); *f && *f != ';'; f++)
        if (*f == c)
            return true;
    return false;
}

bool CacheUnits()
{
    buyable.clear();
    neutralpoints.clear();
    unittypecount = ReadCount(STR_UNITCOUNT, "unit types");
    warlordtypecount = 0;
    for (int32_t t = 1; t <= unittypecount; t++) {
        const int32_t picture = GetResNumber(t + STR_UNITPICTURE);
        debuglog << "Cached unit " << GetString(t + STR_UNITNAME) << "(pic: " << picture << ")\n";
        if (std::strcmp(GetString(t + STR_UNITFLAGS), ";") == 0) {
            buyable.push_back({ t, 0, 0, picture });
        } else if (UnitHasFlag(t, '~')) {
            if (warlordtypecount < MAXWARLORDTYPES)
                warlordtypes[warlordtypecount++] = t;
            else
                debuglog << "ERROR: No room for warlord type " << t << '\n';
        } else {
            for (char d = '1'; d <= '8'; d++) {
                if (UnitHasFlag(t, d)) {
                    neutralpoints.push_back({ t, d - '0' });
                    debuglog << "This neutral unit has point value " << d << '\n';
                }
            }
        }
    }
    return false;
}

bool CacheSpells()
{
    spells.clear();
    spellcount = ReadCount(STR_SPELLCOUNT, "spells");
    for (int32_t n = 1; n <= spellcount; n++) {
        SpellInfo spell{};
        spell.picture = GetResNumber(n + STR_SPELLPICTURE);
        spell.number = n;
        spell.anim = GetResNumber(n + STR_SPELLVALUE);
        spell.mana = GetResNumber(n + STR_SPELLMANA);
        spell.target = GetResNumber(n + STR_SPELLTARGET);
        spell.range = GetResNumber(n + STR_SPELLRANGE);
        spell.resist = GetResNumber(n + STR_SPELLRESIST);
        spell.castexp = GetResNumber(n + STR_SPELLPARAM);
        if (spell.castexp == -1)
            spell.castexp = GetResNumber(STR_SPELLCOSTFACTOR) * spell.mana;
        spell.power = GetResNumber(n + STR_SPELLPOWER);
        spell.hotkey = GetString(n + STR_SPELLKEY)[0];
        CopyName(spell.name, GetString(n + STR_SPELLNAME));
        spells.push_back(spell);
        debuglog << "Added spell " << spell.name << ".  Range: " << spell.range << " Mana: " << spell.mana
                 << " Shortcut: " << spell.hotkey << '\n';
    }
    debuglog << "Total spells: " << spellcount << '\n';
    return false;
}

bool CacheAbilities()
{
    abilities.clear();
    abilitycount = ReadCount(STR_ABILITYCOUNT, "abilities");
    for (int32_t n = 1; n <= abilitycount; n++) {
        AbilityInfo ability{};
        CopyName(ability.name, GetString(n + STR_ABILITYNAME));
        ability.picture = GetResNumber(n + STR_ABILITYPICTURE);
        ability.number = n;
        ability.kind = GetResNumber(n + STR_ABILITYKIND);
        abilities.push_back(ability);
        debuglog << "Added ability " << ability.name << '\n';
    }
    debuglog << "Total abilities: " << abilitycount << '\n';
    return false;
}

bool LoadTuningNumbers()
{
    expdivisor = GetResNumber(STR_EXPLOREDIVISOR);
    // The divisor of exploration experience: 0 or less would divide by zero on every look.
    if (expdivisor < 1) {
        debuglog << "ERROR: Exploration divisor " << expdivisor << " is below 1; using 1\n";
        expdivisor = 1;
    }
    expperdamage = GetResNumber(STR_EXPPERDAMAGE);
    spellexpfactor = GetResNumber(STR_SPELLCOSTFACTOR);
    return false;
}

bool LoadGameText()
{
    if (LoadStringModule())
        return true;
    return CacheUnits() || CacheSpells() || CacheAbilities() || LoadTuningNumbers();
}

void ResetCatalogue()
{
    unittypecount = 0;
    buyable.clear();
    std::memset(warlordtypes, 0, sizeof warlordtypes);
    warlordtypecount = 0;
    neutralpoints.clear();
    spells.clear();
    spellcount = 0;
    abilities.clear();
    abilitycount = 0;
    expdivisor = 2;
    expperdamage = 4;
    spellexpfactor = 10;
}
