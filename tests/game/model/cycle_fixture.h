// Tests of the turn cycle, the day and the death list: the standard test catalogue plus the tuning
// numbers of the map and the mines, and abilities that run at a turn's end ("Vigil"), at the day's end
// ("Dusk") and one that leaves no remains ("Unstable"). Vigil and Dusk each give the unit one mana, so
// that running them on one machine and not on another shows in the state.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "game/model/catalogue.h"
#include "game/model/strids.h"
#include "tests/game/model/rules_fixture.h"

enum { VIGIL = 3, DUSK = 4, UNSTABLE = 5 };   // ability table indexes
enum { TESTMINEINCOME = 15 };

struct AbilityCall {
    int32_t a1, a2, a3, a4, a5, a6;
};

inline std::vector<AbilityCall> abilitycalls;

inline int32_t RecordAbility(int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5, int32_t a6)
{
    abilitycalls.push_back({ a1, a2, a3, a4, a5, a6 });
    p[a1].units[a2].mana++;
    return 0;
}

inline TestStrings CycleStrings()
{
    TestStrings s = StandardTestStrings();
    s[STR_ABILITYCOUNT] = "6";
    const char* const names[3] = { "Vigil", "Dusk", "Unstable" };
    const int32_t kinds[3] = { 8, 10, 1 };
    for (int32_t n = 4; n <= 6; n++) {
        s[STR_ABILITYTITLE + n] = names[n - 4];
        s[STR_ABILITYNAME + n] = names[n - 4];
        s[STR_ABILITYKIND + n] = std::to_string(kinds[n - 4]);
        s[STR_ABILITYPICTURE + n] = std::to_string(n);
    }
    s[STR_MINEINCOME] = std::to_string(TESTMINEINCOME);
    s[STR_MAPSEARCHTRIES] = "6";
    s[STR_MAPDIVISIONS] = "3";
    return s;
}

class CycleTest : public RulesTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        Load(CycleStrings());
        abilities[VIGIL].handler = RecordAbility;
        abilities[DUSK].handler = RecordAbility;
        abilitycalls.clear();
    }
};
