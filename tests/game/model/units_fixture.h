// Tests of units, squares, moves and set-up: the standard test catalogue grown by the unit kinds that
// creation treats apart (no rocks, three summoned kinds, a fireball, a skeleton), priced units, a
// warlord ("Lord") with powers, filter and bonuses, a few spells (two of resistance class 1) and abilities
// whose handlers the tests script: an on-move cost ("Wade"), a creation ability ("Birth") and a
// deployment ability ("Muster").
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "game/model/catalogue.h"
#include "game/model/strids.h"
#include "game/shell/shell.h"
#include "tests/game/model/rules_fixture.h"

constexpr int32_t T_SOLDIER = 1, T_WARLORD = 2, T_IMP = 3, T_ROCKER = 4, T_ELEMENTAL = 5, T_SPRITE = 6,
                  T_FIREBALL = 7, T_SKELETON = 8, T_LAST = 9, T_LORD = 10;
// Ability table indexes.
enum : int32_t { A_FLYING = 0, A_POISON = 1, A_TOUGH = 2, A_WADE = 3, A_BIRTH = 4, A_MUSTER = 5, A_STRIDE = 6 };
// Spell table indexes.
enum : int32_t { S_SPARK = 0, S_VIGILANCE = 1, S_INVISIBILITY = 2, S_GLOW = 3 };
enum : int32_t { WARLORDMANA = 3, WARLORDGOLD = 40 };

inline int32_t Price(int32_t type)
{
    return 10 * type;
}

struct SlotCall {
    int32_t kind;                       // which test handler
    int32_t a1, a2, a3, a4, a5, a6;
};
inline std::vector<SlotCall> slotcalls;
inline int32_t waderesult = 1;          // what "Wade" answers
inline int32_t strideresult = 1;        // what "Stride" answers

inline int32_t WadeHandler(int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5, int32_t a6)
{
    slotcalls.push_back({ A_WADE, a1, a2, a3, a4, a5, a6 });
    return waderesult;
}
inline int32_t StrideHandler(int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5, int32_t a6)
{
    slotcalls.push_back({ A_STRIDE, a1, a2, a3, a4, a5, a6 });
    return strideresult;
}
inline int32_t BirthHandler(int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5, int32_t a6)
{
    slotcalls.push_back({ A_BIRTH, a1, a2, a3, a4, a5, a6 });
    return 0;
}
inline int32_t MusterHandler(int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5, int32_t a6)
{
    slotcalls.push_back({ A_MUSTER, a1, a2, a3, a4, a5, a6 });
    return 0;
}

inline void PutUnitType(TestStrings& s, int32_t type, const char* name, const int32_t (&stats)[NUMSTATS],
                        const char* flags, const char* powers = ";")
{
    s[STR_UNITNAME + type] = name;
    for (int k = 0; k < NUMSTATS; k++)
        s[STR_UNITSTAT + type + k * 100] = std::to_string(stats[k]);
    s[STR_UNITPICTURE + type] = std::to_string(type);
    s[STR_UNITFLAGS + type] = flags;
    s[STR_UNITPOWERS + type] = powers;
    s[STR_UPGRADEEXP + type] = "40";
    s[STR_UNITHURTSOUND + type] = "3";
    s[STR_UNITMOVESOUND + type] = "2";
    s[STR_UNITCOST + type] = std::to_string(Price(type));
}

inline TestStrings UnitStrings()
{
    TestStrings s = StandardTestStrings();
        PutUnitType(s, T_SOLDIER, "Soldier", { 3, 10, 3, 1, 2, 1, 0, 0 }, ";");
    PutUnitType(s, T_WARLORD, "Warlord", { 4, 20, 2, 1, 2, 1, 0, 0 }, "~;");
    PutUnitType(s, T_IMP, "Imp", { 1, 4, 4, 1, 1, 0, 0, 0 }, ";");
    PutUnitType(s, T_ROCKER, "Rocker", { 2, 6, 2, 2, 2, 0, 0, 0 }, "!;");
    PutUnitType(s, T_ELEMENTAL, "Elemental", { 5, 12, 3, 1, 3, 0, 0, 0 }, "*;");
    PutUnitType(s, T_SPRITE, "Sprite", { 1, 3, 5, 1, 2, 0, 0, 0 }, "+;");
    PutUnitType(s, T_FIREBALL, "Fireball", { 6, 1, 4, 1, 4, 0, 0, 0 }, "';");
    PutUnitType(s, T_SKELETON, "Skeleton", { 2, 5, 2, 1, 2, 0, 0, 0 }, "^;");
    PutUnitType(s, T_LAST, "Last Of All", { 1, 1, 1, 1, 1, 0, 0, 0 }, ";");
    // The warlord with powers comes last: his filter rows share their string ids with the stats of the
    // three type numbers after his.
    PutUnitType(s, T_LORD, "Lord", { 4, 20, 2, 1, 2, 1, 0, 0 }, "~;");
    s[STR_UNITCOUNT] = std::to_string(T_LORD);
    s[STR_UNITCOST + T_WARLORD] = "300";

    // The warlord: Flying and Spark for units that fit his filter (attack 3..5, every other stat 0..50).
    const int32_t w = T_LORD;
    s[STR_WARLORDPOWERS + w] = "Flying,Spark;";
    for (int k = 0; k < NUMSTATS; k++) {
        s[w + 1 + STR_WARLORDFILTER + k * 100] = std::to_string(k + 1);          // bonus
        s[w + 2 + STR_WARLORDFILTER + k * 100] = k == STAT_ATTACK ? "3" : "0";    // minimum
        s[w + 3 + STR_WARLORDFILTER + k * 100] = k == STAT_ATTACK ? "5" : "50";   // maximum
    }
    s[w + STR_WARLORDEXPBONUS] = "7";
    s[w + STR_WARLORDSPELLEXPBONUS] = "8";
    s[w + STR_WARLORDSIGHTBONUS] = "2";
    s[w + STR_WARLORDGOLD] = std::to_string(WARLORDGOLD);
    s[w + STR_WARLORDMANA] = std::to_string(WARLORDMANA);

    const char* const spellnames[4] = { "Spark", "Vigilance", "Invisibility", "Glow" };
    const int32_t resist[4] = { 1, 4, 4, 1 };
    s[STR_SPELLCOUNT] = "4";
    for (int n = 1; n <= 4; n++) {
        s[STR_SPELLTITLE + n] = std::string("The ") + spellnames[n - 1];
        s[STR_SPELLNAME + n] = spellnames[n - 1];
        s[STR_SPELLRESIST + n] = std::to_string(resist[n - 1]);
        s[STR_SPELLMANA + n] = "2";
        s[STR_SPELLTARGET + n] = "0";
    }

    const char* const names[7] = { "Flying", "Poison", "Tough", "Wade", "Birth", "Muster", "Stride" };
    const int32_t kinds[7] = { 4, 1, 7, 4, 9, 6, 4 };
    s[STR_ABILITYCOUNT] = "7";
    for (int n = 1; n <= 7; n++) {
        s[STR_ABILITYTITLE + n] = names[n - 1];
        s[STR_ABILITYNAME + n] = names[n - 1];
        s[STR_ABILITYKIND + n] = std::to_string(kinds[n - 1]);
        s[STR_ABILITYPICTURE + n] = std::to_string(n);
    }
    s[STR_MOVESOUNDFILE + 2] = "Step2.wav";
    return s;
}

class UnitsTest : public RulesTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        Load(UnitStrings());
        abilities[A_WADE].handler = WadeHandler;
        abilities[A_STRIDE].handler = StrideHandler;
        abilities[A_BIRTH].handler = BirthHandler;
        abilities[A_MUSTER].handler = MusterHandler;
        slotcalls.clear();
        waderesult = 1;
        strideresult = 1;
    }
    std::vector<SlotCall> CallsOf(int32_t kind) const
    {
        std::vector<SlotCall> calls;
        for (const SlotCall& c : slotcalls)
            if (c.kind == kind)
                calls.push_back(c);
        return calls;
    }
    static bool Sent(const std::vector<SentFrame>& frames, const std::string& body)
    {
        for (const SentFrame& f : frames)
            if (f.Body() == body)
                return true;
        return false;
    }
};
