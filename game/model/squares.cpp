#include "game/model/squares.h"

#include <cstddef>
#include <cstdio>
#include <string>

#include "game/magic/spells.h"
#include "game/model/abilityslots.h"
#include "game/model/announce.h"
#include "game/model/catalogue.h"
#include "game/model/damage.h"
#include "game/model/death.h"
#include "game/model/experience.h"
#include "game/model/localplayer.h"
#include "game/model/mapgen.h"
#include "game/model/queries.h"
#include "game/model/sight.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/shell/debuglog.h"

namespace {

constexpr int32_t PILLARSIGHT = 20;     // a pillar's own sight budget
enum : int32_t { STATUEANIM = 3, BEACONANIM = 135, SPELLSOUNDSIZE = 64 };

// A player's warlord is his first unit; the neutral side has none.
bool IsWarlord(int32_t player, int32_t unit)
{
    return unit == 0 && !p[player].neutral;
}

// Sounds of an arrival are heard only where the local player has looked.
bool Explored(int32_t x, int32_t y)
{
    return IsSquareExplored(YouToInt(), x, y);
}

void SoundIfExplored(int32_t x, int32_t y, const char* sound)
{
    if (Explored(x, y))
        AnnounceSound(sound);
}

bool SlotsFull(const int32_t* slots, int count)
{
    for (int i = 0; i < count; i++)
        if (slots[i] == -1)
            return false;
    return true;
}

bool KnowsSpell(const Unit& u, int32_t spell)
{
    for (const int32_t s : u.spells)
        if (s == spell)
            return true;
    return false;
}

template <typename Info>
bool PutNamed(const std::vector<Info>& table, int32_t* slots, int count, const std::string& name)
{
    for (size_t i = 0; i < table.size(); i++) {
        if (name != table[i].name)
            continue;
        for (int k = 0; k < count; k++)
            if (slots[k] == -1) {
                slots[k] = static_cast<int32_t>(i);
                return true;
            }
    }
    return false;
}

// The spell a scroll teaches: the first of resistance class 1 the unit does not know, looking from
// the one after (id + x + y), so that every machine picks the same one. -1 for none.
int32_t ScrollSpell(const Unit& u)
{
    const int64_t n = static_cast<int64_t>(spells.size());
    if (n == 0)
        return -1;
    const int64_t start = (static_cast<int64_t>(u.id) + u.x + u.y) % n;
    for (int64_t step = 1; step <= n; step++) {
        const int32_t i = static_cast<int32_t>(((start + step) % n + n) % n);
        if (spells[i].resist == 1 && !KnowsSpell(u, i))
            return i;
    }
    return -1;
}

void RevealPillars(int32_t player)
{
    for (int32_t x = 0; x < mapsize; x++)
        for (int32_t y = 0; y < mapsize; y++) {
            const MapSquare& s = map[x][y];
            if (s.terrain != TERRAIN_SITE || s.extra / 2 != SITE_PILLAR / 2)
                continue;
            RevealSquare(player, x, y);
            RevealSight(player, x + 1, y, PILLARSIGHT - SIGHTSTEP);
            RevealSight(player, x - 1, y, PILLARSIGHT - SIGHTSTEP);
            RevealSight(player, x, y + 1, PILLARSIGHT - SIGHTSTEP);
            RevealSight(player, x, y - 1, PILLARSIGHT - SIGHTSTEP);
            RevealSight(player, x + 1, y + 1, PILLARSIGHT - SIGHTDIAGONAL);
            RevealSight(player, x - 1, y + 1, PILLARSIGHT - SIGHTDIAGONAL);
            RevealSight(player, x + 1, y - 1, PILLARSIGHT - SIGHTDIAGONAL);
            RevealSight(player, x - 1, y - 1, PILLARSIGHT - SIGHTDIAGONAL);
        }
}

void UseSite(int32_t player, int32_t unit)
{
    Unit& u = p[player].units[unit];
    const int32_t x = u.x, y = u.y;
    MapSquare& s = map[x][y];
    switch (s.extra) {
    case SITE_NODE:
        AnnounceFeed(player, "Your unit visited a node and regained mana.");
        SoundIfExplored(x, y, ".\\Sound\\GSNode.wav");
        u.mana = MAXMANA;
        s.extra = SITE_NODE + 1;
        break;
    case SITE_TOME:
        if (IsWarlord(player, unit)) {
            AnnounceFeed(player, "Your warlord already knows the arcane contents of this tome.");
            return;
        }
        AnnounceFeed(player, "Your unit read this Tome of the Wise and gained experience.");
        PlaySoundAt(x, y, ".\\Sound\\GSConnect.wav");
        AddExperience(player, unit, GetResNumber(static_cast<uint32_t>(STR_UPGRADEEXP + u.type % TYPESPERLEVEL)) / 2);
        s.extra = SITE_TOME + 1;
        break;
    case SITE_VIAL:
        if (SlotsFull(u.abilities, MAXABILITIES)) {
            AnnounceFeed(player, "Your unit cannot use this item.");
            break;
        }
        if (HasAbilityNamed(u, "Poison"))
            return;
        debuglog << "Adding ability Poison to unit.\n";
        AddPowerNamed(player, unit, "Poison");
        AnnounceFeed(player, "Your unit's weapon is now poisoned.");
        s.extra = SITE_VIAL + 1;
        SoundIfExplored(x, y, ".\\Sound\\ABPoison.wav");
        break;
    case SITE_WEAPON:
        AnnounceFeed(player, "Your unit used this Ancient Weapon to enhance its attack.");
        u.stat[STAT_ATTACK]++;
        s.extra = SITE_WEAPON + 1;
        SoundIfExplored(x, y, ".\\Sound\\GSSword.wav");
        break;
    case SITE_STATUE:
        AnnounceFeed(player, "This statue raised your unit's stamina.");
        SpellVigilance(player, unit, player, unit, 0, 0);
        SoundIfExplored(x, y, ".\\Sound\\SPVigilance.wav");
        AnnounceEffect(player, unit, 0, STATUEANIM, 0);
        s.extra = SITE_STATUE + 1;
        break;
    case SITE_SCROLL: {
        if (SlotsFull(u.spells, MAXSPELLS)) {
            AnnounceFeed(player, "Your unit already knows the maximum number of spells.");
            break;
        }
        const int32_t spell = ScrollSpell(u);
        if (spell < 0)
            break;
        const std::string name = spells[spell].name;
        const int32_t number = spells[spell].number;
        debuglog << "Adding ability " << name << " to unit.\n";
        AddPowerNamed(player, unit, name.c_str());
        AnnounceFeed(player, std::string("Your unit learned the spell ") + GetString(STR_SPELLTITLE + number));
        char sound[SPELLSOUNDSIZE];
        std::snprintf(sound, sizeof sound, ".\\Sound\\SP%s.wav", GetString(STR_SPELLNAME + number));
        SoundIfExplored(x, y, sound);
        s.extra = 0;
        s.terrain = TERRAIN_OPEN;
        break;
    }
    case SITE_BEACON:
        if (IsWarlord(player, unit)) {
            AnnounceFeed(player, "The Beacon of Invisibility is too weak to mask your warlord's presence.");
            return;
        }
        AnnounceFeed(player, "This Beacon of Invisibility has shrouded your unit.");
        SpellInvisibility(player, unit, player, unit, 0, 0);
        SoundIfExplored(x, y, ".\\Sound\\SPInvisibility.wav");
        AnnounceEffect(player, unit, 0, BEACONANIM, 0);
        s.extra = SITE_BEACON + 1;
        break;
    case SITE_PILLAR:
        AnnounceFeed(player, "This Pillar of Lost Sights revealed distant portions of the world.");
        s.extra = SITE_PILLAR + 1;
        RevealPillars(player);
        SoundIfExplored(x, y, ".\\Sound\\GSPillar.wav");
        AnnounceMinimap(player);
        break;
    default:
        return;     // used up (odd), or no object
    }
    AnnounceBoard();
}

} // namespace

bool AddPowerNamed(int32_t player, int32_t unit, const char* name)
{
    Unit& u = p[player].units[unit];
    if (PutNamed(spells, u.spells, MAXSPELLS, name) || PutNamed(abilities, u.abilities, MAXABILITIES, name))
        return false;
    debuglog << "ERROR: Cannot find a spell or ability named " << name << '\n';
    return true;
}

void EnterSquare(int32_t player, int32_t unit)
{
    if (player < 0 || static_cast<size_t>(player) >= p.size() || unit < 0
        || static_cast<size_t>(unit) >= p[player].units.size()) {
        debuglog << "ERROR: EnterSquare for player " << player << "'s unit #" << unit << ", which does not exist.\n";
        return;
    }
    const int32_t x = p[player].units[unit].x, y = p[player].units[unit].y;
    if (!InBounds(x, y))
        return;
    AnnouncePicture(player, unit);
    const bool neutral = p[player].neutral != 0;

    if (map[x][y].hazard > 0 && !HasAbilityNamed(p[player].units[unit], "Flying")) {
        HurtUnit(player, unit, BRUSHFIREDAMAGE);
        if (p[player].units[unit].hp < 1 && ishost)
            KillUnit(player, unit, static_cast<int32_t>(p.size()) - 1);
    }

    MapSquare& s = map[x][y];
    const Unit& u = p[player].units[unit];
    switch (s.terrain) {
    case TERRAIN_RIVER:
        if (!HasAbilityNamed(u, "Flying"))
            SoundIfExplored(x, y, ".\\Sound\\GSWater.wav");
        break;
    case TERRAIN_DEPOSIT: {
        if (neutral)
            break;
        const int32_t amount = (s.extra + 2) * 5;
        AnnounceFeed(player, std::string("Your ") + GetString(static_cast<uint32_t>(STR_UNITNAME + u.type)) + " found "
                                 + std::to_string(amount) + " gold.");
        p[player].gold += amount;
        s.terrain = TERRAIN_OPEN;
        SoundIfExplored(x, y, ".\\Sound\\GSGold.wav");
        AnnounceBoard();
        break;
    }
    case TERRAIN_MINE: {
        // The owner byte holds a player's number, which outlives other records leaving; the neutral
        // side's number is "nobody", so its units free the mines they step on. A mine changes hands
        // whenever its previous owner is not the one arriving, and the neutral side owns none: it
        // frees a mine again, line and sound, however often it steps on it.
        const int32_t owner = neutral ? MINENOBODY : p[player].code - FIRSTCODE;
        if (!neutral && s.extra == owner)
            break;
        AnnounceFeed(player, "Your unit claimed this gold mine.");
        s.extra = static_cast<uint8_t>(owner);
        SoundIfExplored(x, y, ".\\Sound\\GSGold.wav");
        AnnounceBoard();
        break;
    }
    case TERRAIN_SITE:
        if (!neutral && s.extra % 2 == 0 && s.extra <= SITE_LASTKIND)
            UseSite(player, unit);
        break;
    default:
        break;
    }
}
