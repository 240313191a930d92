// Spell tests: the standard test catalogue plus every bound spell (with the target kind and the
// resistance class the shipped content gives it, 1 mana, no casting experience), a wagon that unpacks
// into a catapult, and the six summoned creatures; players 0 and 1 and the neutral side on a 12 x 12
// map, this machine the host playing player 0. Casts go through the real ResolveSpell on the host and
// are replayed on a client playing player 1 from the host's messages.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "game/magic/binding.h"
#include "game/model/cast.h"
#include "game/model/catalogue.h"
#include "game/model/death.h"
#include "game/model/digest.h"
#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/net/sendqueue.h"
#include "game/shell/debuglog.h"
#include "game/shell/shell.h"
#include "tests/game/support/gametest.h"
#include "tests/game/support/machines.h"
#include "tests/game/support/world.h"

enum : int32_t { SOLDIER = 1, WARLORD = 2, IMP = 3, WAGON = 4, CATAPULT = 5, FIREBALL = 6, SKELETON = 7, AIRELEMENTAL = 8 };
enum : int32_t { SPELLMAP = 12, NEUTRAL = 2 };

struct SpellEntry {
    const char* name;
    int32_t target;
    int32_t resist;
};
// The shipped target kind and resistance class of every bound spell.
inline const std::vector<SpellEntry>& ShippedSpellKinds()
{
    static const std::vector<SpellEntry> kinds = {
        { "Sparks", 1, 1 }, { "Teleport", 4, 4 }, { "Repel", 1, 1 }, { "Invisibility", 0, 4 }, { "Loot", 10, 4 },
        { "Heal", -1, 4 }, { "Exorcize", 2, 4 }, { "Rejuvinate", -1, 4 }, { "Vigilance", 0, 4 },
        { "DoubleStrike", 0, 4 }, { "DrainLife", 1, 1 }, { "Curse", 1, 1 }, { "Petrify", 1, 2 },
        { "EnergyArc", 1, 2 }, { "Frantic", 6, 4 }, { "ManaDrain", -3, 2 }, { "Enervate", -5, 4 },
        { "Sluggishness", 1, 1 }, { "Ice", 1, 1 }, { "Forcefield", 4, 4 }, { "Deluge", 1, 2 },
        { "PowerDrain", 1, 2 }, { "Pack", 6, 4 }, { "Unpack", 6, 4 }, { "Earth", 4, 4 }, { "Fire", 4, 4 },
        { "Air", 4, 4 }, { "Water", 4, 4 }, { "Selfdestruct", 6, 4 }, { "Possession", 3, 3 }, { "Skeleton", 5, 4 },
        { "Ultra", 1, 2 }, { "Overmaster", -2, 3 }, { "Starlight", 6, 4 }, { "Solar", 2, 4 }, { "Phasewarp", 4, 4 },
        { "Void", 1, 2 }, { "Discharge", -3, 2 }, { "Plague", 9, 4 }, { "Recharge", 0, 4 }, { "Fireball", 4, 4 },
        { "Darkness", 9, 4 }, { "Raze", 9, 4 }, { "Moat", 2, 4 }, { "Illusion", 4, 4 }, { "Psychic", 6, 4 },
        { "Roughen", 9, 4 }, { "Conflageration", 9, 4 }, { "Light", 6, 4 }, { "Subdual", 1, 2 },
        { "Transfer", 2, 4 }, { "Vitality", 1, 2 }, { "Freezing", 1, 2 }, { "Storm", 1, 2 }, { "Pounce", 4, 4 },
        { "VSpirit", 10, 4 }, { "Burst", 9, 4 }, { "Meteor", 9, 4 }, { "Earthquake", 9, 4 }, { "Will", 6, 4 },
    };
    return kinds;
}

inline void PutTestType(TestStrings& s, int32_t type, const char* name, const int32_t (&stats)[NUMSTATS],
                        const char* flags, const char* powers = ";")
{
    s[STR_UNITNAME + type] = name;
    for (int k = 0; k < NUMSTATS; k++)
        s[STR_UNITSTAT + type + k * 100] = std::to_string(stats[k]);
    s[STR_UNITPICTURE + type] = std::to_string(type + 10);
    s[STR_UNITFLAGS + type] = flags;
    s[STR_UNITPOWERS + type] = powers;
    s[STR_UPGRADEEXP + type] = "100";
    s[STR_UNITHURTSOUND + type] = "3";
}

inline TestStrings SpellTestStrings()
{
    TestStrings s = StandardTestStrings();
    s[STR_UNITCOUNT] = "11";
    PutTestType(s, WAGON, "Wagon", { 0, 16, 2, 0, 2, 0, 0, 0 }, ";", "Unpack;");
    PutTestType(s, CATAPULT, "Catapult", { 9, 16, 0, 4, 2, 0, 0, 0 }, "!;", "Pack;");
    // The upgraded levels differ, so that changing form at level 2 moves the stats of both levels.
    for (int k = 0; k < NUMSTATS; k++) {
        s[int32_t(STR_UPGRADESTAT) + WAGON + k * 100] = k == STAT_LIFE ? "3" : "0";
        s[int32_t(STR_UPGRADESTAT) + CATAPULT + k * 100] = k == STAT_ATTACK ? "2" : k == STAT_LIFE ? "3" : "0";
    }
    PutTestType(s, FIREBALL, "Fireball", { 8, 6, 6, 1, 2, 0, 0, 0 }, "';");
    PutTestType(s, SKELETON, "Skeleton", { 4, 12, 3, 1, 2, 0, 0, 0 }, "^;");
    PutTestType(s, AIRELEMENTAL, "Air Elemental", { 5, 14, 7, 1, 2, 0, 0, 1 }, "+;");
    PutTestType(s, 9, "Water Elemental", { 5, 16, 4, 1, 2, 0, 0, 1 }, "*;");
    PutTestType(s, 10, "Earth Elemental", { 6, 20, 3, 1, 2, 0, 0, 1 }, "*;");
    PutTestType(s, 11, "Fire Elemental", { 6, 14, 4, 1, 2, 0, 0, 1 }, "+;");
    const std::vector<SpellEntry>& kinds = ShippedSpellKinds();
    s[STR_SPELLCOUNT] = std::to_string(kinds.size());
    for (size_t i = 0; i < kinds.size(); i++) {
        const int32_t n = static_cast<int32_t>(i) + 1;
        s[STR_SPELLTITLE + n] = std::string("Spell ") + kinds[i].name;
        s[STR_SPELLNAME + n] = kinds[i].name;
        s[STR_SPELLTARGET + n] = std::to_string(kinds[i].target);
        s[STR_SPELLRESIST + n] = std::to_string(kinds[i].resist);
        s[STR_SPELLMANA + n] = "1";
        s[STR_SPELLRANGE + n] = "9";
        s[STR_SPELLVALUE + n] = "1";
        s[STR_SPELLPARAM + n] = "0";
        s[STR_SPELLKEY + n] = "A";
    }
    return s;
}

class SpellTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        ASSERT_FALSE(LoadTestStrings(SpellTestStrings()));
        CreateSpells();
        MakeWorld(2, SPELLMAP);
        CaptureLog();
    }

    static int32_t SpellIndex(const char* name)
    {
        for (size_t i = 0; i < spells.size(); i++)
            if (std::strcmp(spells[i].name, name) == 0)
                return static_cast<int32_t>(i);
        ADD_FAILURE() << "no spell " << name;
        return -1;
    }
    // Calls the spell's handler directly, as the resolution would.
    static bool Effect(const char* name, int32_t cp, int32_t cu, int32_t a, int32_t b)
    {
        return spells[SpellIndex(name)].effect(cp, cu, a, b, 0, 0);
    }
    // A unit with mana, on (x, y); its index.
    static int32_t Put(int32_t player, int32_t x, int32_t y, int32_t type = SOLDIER)
    {
        const int32_t unit = AddTestUnit(player, x, y, type);
        p[player].units[unit].mana = 5;
        return unit;
    }
    static Unit& U(int32_t player, int32_t unit) { return p[player].units[unit]; }
    // The unit of that id; a blank stand-in (and a failure) when there is none.
    static Unit& Id(int32_t id)
    {
        static Unit missing;
        const UnitRef ref = FindUnit(id);
        if (ref.player < 0) {
            ADD_FAILURE() << "no unit " << id;
            missing = BlankUnit();
            return missing;
        }
        return p[ref.player].units[ref.unit];
    }
    static bool Exists(int32_t id) { return FindUnit(id).player >= 0; }
    static bool Dying(int32_t id)
    {
        for (const DeathEntry& e : deathlist)
            if (e.id == id)
                return true;
        return false;
    }
    static void Explore()
    {
        for (auto& column : map)
            for (MapSquare& square : column)
                square.explored = 1;
    }

    // The cast on the host through ResolveSpell (true when it was resolved), the host's deaths, then
    // everything the host sent replayed on a client playing player 1. Both end with the same state; the
    // host's machine is current afterwards. hostdigest and clientdigest hold the two digests.
    bool CastAndReplay(const char* name, int32_t cp, int32_t cu, int32_t a, int32_t b)
    {
        HostAndClient machines(1);
        machines.UseHost();
        const bool resolved = ResolveSpell(cp, cu, a, b, 0, SpellIndex(name));
        ProcessDeaths();
        hostdigest = GameStateDigest();
        sent = machines.HostToClient();
        ProcessDeaths();
        clientdigest = GameStateDigest();
        machines.UseHost();
        return resolved;
    }

    // A fresh world for the next case: each human's warlord in a corner (so that a case's units are
    // never a player's first unit, whose death ends the player), and every square seen already, so no
    // look earns experience on one machine only (the fog is each machine's own).
    void Reset()
    {
        MakeWorld(2, SPELLMAP);
        Put(0, 0, 0, WARLORD);
        Put(1, SPELLMAP - 1, SPELLMAP - 1, WARLORD);
        for (auto& column : map)
            for (MapSquare& square : column)
                square.explored = square.visible = 1;
        log.clear();
    }

    struct Target {
        int32_t cp, cu, a, b;
    };
    typedef std::vector<int32_t> Ids;  // unit ids a case notes while setting up, for its check
    struct Case {
        const char* what;
        const char* spell;
        std::function<Target(Ids&)> setup;
        std::function<void(const Ids&)> check;
    };
    // Each case on a fresh world: set up, cast through the resolution and replay on the client, then the
    // check on the host's state, which the client's equals.
    void Run(const std::vector<Case>& cases)
    {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.spell) + ": " + c.what);
            Reset();
            Ids ids;
            const Target t = c.setup(ids);
            ASSERT_TRUE(CastAndReplay(c.spell, t.cp, t.cu, t.a, t.b)) << log;
            EXPECT_EQ(hostdigest, clientdigest);
            c.check(ids);
        }
    }
    // A unit put for a case, its id noted.
    static int32_t Note(Ids& ids, int32_t player, int32_t x, int32_t y, int32_t type = SOLDIER)
    {
        const int32_t unit = Put(player, x, y, type);
        ids.push_back(U(player, unit).id);
        return unit;
    }

    uint64_t hostdigest = 0, clientdigest = 0;
    std::vector<SentFrame> sent;
};
