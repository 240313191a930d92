// Ability tests: the standard test catalogue with every bound ability, each of the kind the shipped
// content gives it, bound through the real binding table; players 0 and 1 and the neutral side on a
// 20 x 20 map, this machine the host playing player 0.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "game/magic/binding.h"
#include "game/model/catalogue.h"
#include "game/model/digest.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/net/sendqueue.h"
#include "game/shell/debuglog.h"
#include "tests/game/support/gametest.h"
#include "game/shell/shell.h"
#include "tests/game/support/machines.h"
#include "tests/game/support/world.h"

// Type 4 "Bowman": attack 2, life 8, moves 3, range 3, actions 2 (a ranged attacker).
constexpr int32_t SOLDIER = 1, WARLORD = 2, IMP = 3, BOWMAN = 4;

inline TestStrings AbilityTestStrings()
{
    TestStrings s = StandardTestStrings();
    s[STR_UNITCOUNT] = "4";
    s[STR_UNITNAME + BOWMAN] = "Bowman";
    const int32_t bowman[NUMSTATS] = { 2, 8, 3, 3, 2, 0, 0, 0 };
    for (int k = 0; k < NUMSTATS; k++)
        s[STR_UNITSTAT + BOWMAN + k * 100] = std::to_string(bowman[k]);
    s[STR_UNITPICTURE + BOWMAN] = "4";
    s[STR_UNITFLAGS + BOWMAN] = ";";
    s[STR_UNITPOWERS + BOWMAN] = ";";
    s[STR_UPGRADEEXP + BOWMAN] = "100";
    s[STR_UNITHURTSOUND + BOWMAN] = "3";
    // Every bound name with its shipped kind, and the standard catalogue's "Tough".
    const struct {
        const char* name;
        int32_t kind;
    } list[] = {
        { "Power", 0 }, { "Stun", 1 }, { "Archer", 2 }, { "Flying", 4 }, { "Daylight", 7 }, { "Poison", 1 },
        { "Shockwave", 1 }, { "Lifebond", 1 }, { "Rocks", 4 }, { "TreeShot", 4 }, { "Scout", 4 }, { "Flaming", 3 },
        { "Tactician", 9 }, { "Savior", 7 }, { "Damper", 4 }, { "Haze", 7 }, { "Warrior_Prince", 7 },
        { "Explosive", 7 }, { "Unstable", 7 }, { "Pulse", 1 }, { "Pierce", 1 }, { "Twigwalk", 4 }, { "Immobile", 4 },
        { "Energylink", 1 }, { "Stone", 2 }, { "Heavy", 3 }, { "Frozen", 3 }, { "Wizard", 7 }, { "Knight", 7 },
        { "Cragwalk", 4 }, { "Boulder", 4 }, { "Tough", 7 },
    };
    const int32_t count = static_cast<int32_t>(sizeof list / sizeof list[0]);
    s[STR_ABILITYCOUNT] = std::to_string(count);
    for (int32_t n = 1; n <= count; n++) {
        s[STR_ABILITYTITLE + n] = list[n - 1].name;
        s[STR_ABILITYNAME + n] = list[n - 1].name;
        s[STR_ABILITYKIND + n] = std::to_string(list[n - 1].kind);
        s[STR_ABILITYPICTURE + n] = std::to_string(n);
    }
    return s;
}

class AbilityTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        Load(2);
    }
    // Starts again with that many human players.
    void Load(int32_t humans)
    {
        ASSERT_FALSE(LoadTestStrings(AbilityTestStrings()));
        CreateSpells();
        MakeWorld(humans, 20);
        CaptureLog();
    }
    static int32_t AbilityIndex(const char* name)
    {
        for (size_t i = 0; i < abilities.size(); i++)
            if (std::strcmp(abilities[i].name, name) == 0)
                return static_cast<int32_t>(i);
        ADD_FAILURE() << "no ability " << name;
        return -1;
    }
    // Puts the ability in the unit's first free slot.
    static void Give(int32_t player, int32_t unit, const char* name)
    {
        for (int32_t& slot : p[player].units[unit].abilities)
            if (slot == -1) {
                slot = AbilityIndex(name);
                return;
            }
        ADD_FAILURE() << "no free ability slot";
    }
    // A unit of type for player on (x, y) holding the named abilities.
    static int32_t Put(int32_t player, int32_t x, int32_t y, int32_t type = SOLDIER,
                       std::initializer_list<const char*> names = {})
    {
        const int32_t unit = AddTestUnit(player, x, y, type);
        for (const char* name : names)
            Give(player, unit, name);
        return unit;
    }
    static Unit& U(int32_t player, int32_t unit) { return p[player].units[unit]; }
    static void Explore()
    {
        for (auto& column : map)
            for (MapSquare& square : column)
                square.explored = 1;
    }
};
