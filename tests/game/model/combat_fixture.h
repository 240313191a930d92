// Tests of combat and spell resolution: the standard test catalogue plus combat abilities and spells
// bound to stub handlers. The plain stubs record their calls and return a scripted result (the damage
// unchanged when none is scripted); "Lucky" and "Dodge" act by chance the way the real chance abilities
// do (a draw on the host only while the combat may roll, or the host's permit), "Echo" runs its owner's
// defensive abilities and an ability hit on the other unit, as Pulse and Pounce do.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "game/model/abilityslots.h"
#include "game/model/catalogue.h"
#include "game/model/combat.h"
#include "game/model/damage.h"
#include "game/model/queries.h"
#include "game/model/strids.h"
#include "platform/random.h"
#include "tests/game/model/rules_fixture.h"

// Ability table indexes.
enum { BOOST = 3, BOOST2, GUARD, FOLLOW, ANSWER, LUCKY, DODGE, ECHO };
// Spell table indexes.
enum { BOLT = 0, QUAKE, STEAL, ABSORB, SELF };

struct StubCall {
    std::string name;
    int32_t w[6];
};

inline std::vector<StubCall> stubcalls;
inline std::map<std::string, int32_t> stubresults;  // by name; none: the damage unchanged
inline std::map<std::string, bool> stubfires;       // by name: sets handlerfired
inline int32_t dodgerolls = 0;                      // draws Dodge made

inline int32_t RecordStub(const char* name, int32_t a, int32_t b, int32_t c, int32_t d, int32_t e, int32_t f)
{
    stubcalls.push_back({ name, { a, b, c, d, e, f } });
    if (stubfires[name])
        handlerfired = 1;
    const auto found = stubresults.find(name);
    return found == stubresults.end() ? e : found->second;
}

#define COMBAT_STUB(fn, name) \
    inline int32_t fn(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e, int32_t f) \
    { \
        return RecordStub(name, a, b, c, d, e, f); \
    }
COMBAT_STUB(StubBoost, "Boost")
COMBAT_STUB(StubBoost2, "Boost2")
COMBAT_STUB(StubGuard, "Guard")
COMBAT_STUB(StubFollow, "Follow")
COMBAT_STUB(StubAnswer, "Answer")
#undef COMBAT_STUB

inline int32_t StubLucky(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e, int32_t f)
{
    stubcalls.push_back({ "Lucky", { a, b, c, d, e, f } });
    if (f == 0 && !(CombatMayRoll(a, b, StubLucky) && Random() % 2 == 0))
        return e;
    handlerfired = 1;
    return e * 2;
}

inline int32_t StubDodge(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e, int32_t f)
{
    stubcalls.push_back({ "Dodge", { a, b, c, d, e, f } });
    bool acts = f != 0;
    if (!acts && CombatMayRoll(a, b, StubDodge)) {
        dodgerolls++;
        acts = Random() % 3 == 0;
    }
    if (!acts)
        return e;
    handlerfired = 1;
    return e / 2;
}

inline int32_t StubEcho(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e, int32_t f)
{
    stubcalls.push_back({ "Echo", { a, b, c, d, e, f } });
    for (int32_t k = 0; k < MAXABILITIES; k++)
        if (UnitHasAbilityKind(a, b, k, ABILITY_DEFENSIVE))
            ExecuteAbilitySlot(a, b, k, a, b, c, d, e, 0);
    DealAbilityDamage(a, b, c, d, 1);
    return 0;
}

inline bool IsTestUnit(int32_t player, int32_t unit)
{
    return player >= 0 && static_cast<size_t>(player) < p.size() && unit >= 0
        && static_cast<size_t>(unit) < p[player].units.size();
}

// Spell stubs. Bolt hurts a unit, Quake every other player's unit around a square, Steal takes the
// target over to the caster's side (its record leaves its list), Absorb removes the target, Self
// gives the caster a mana.
inline bool SpellBolt(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t, int32_t)
{
    DealSpellDamage(cp, cu, a, b, 3);
    return false;
}

inline bool SpellQuake(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t, int32_t)
{
    for (size_t i = 0; i < p.size(); i++)
        for (size_t u = 0; u < p[i].units.size(); u++) {
            const Unit& unit = p[i].units[u];
            if (static_cast<int32_t>(i) != cp && std::abs(unit.x - x) <= 1 && std::abs(unit.y - y) <= 1)
                DealAbilityDamage(cp, cu, static_cast<int32_t>(i), static_cast<int32_t>(u), 2);
        }
    return false;
}

inline bool SpellSteal(int32_t cp, int32_t, int32_t a, int32_t b, int32_t, int32_t)
{
    Unit copy = p[a].units[b];
    copy.hits = 0;
    copy.moves = 0;
    p[cp].units.push_back(copy);
    p[a].units.erase(p[a].units.begin() + b);
    return false;
}

inline bool SpellAbsorb(int32_t, int32_t, int32_t a, int32_t b, int32_t, int32_t)
{
    p[a].units.erase(p[a].units.begin() + b);
    return false;
}

inline bool SpellSelf(int32_t cp, int32_t cu, int32_t, int32_t, int32_t, int32_t)
{
    p[cp].units[cu].mana++;
    return false;
}

// Target tests: a unit of another side (never a human's first unit, his warlord), a unit of one's own
// side other than the caster and his warlord, any square, the caster himself.
inline bool TestEnemy(int32_t cp, int32_t, int32_t a, int32_t b, int32_t)
{
    return IsTestUnit(a, b) && a != cp && (b != 0 || p[a].neutral);
}

inline bool TestOwnOther(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t)
{
    return IsTestUnit(a, b) && a == cp && b != cu && b != 0;
}

inline bool TestSquare(int32_t, int32_t, int32_t x, int32_t y, int32_t)
{
    return InBounds(x, y);
}

inline bool TestCaster(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t)
{
    return a == cp && b == cu;
}

inline TestStrings CombatStrings()
{
    TestStrings s = StandardTestStrings();
    struct Ability {
        const char* name;
        int32_t kind;
    };
    const Ability added[] = { { "Boost", 0 }, { "Boost2", 0 }, { "Guard", 2 }, { "Follow", 1 },
                              { "Answer", 3 }, { "Lucky", 0 }, { "Dodge", 2 }, { "Echo", 1 } };
    int32_t n = 4;
    for (const Ability& a : added) {
        s[STR_ABILITYTITLE + n] = a.name;
        s[STR_ABILITYNAME + n] = a.name;
        s[STR_ABILITYKIND + n] = std::to_string(a.kind);
        s[STR_ABILITYPICTURE + n] = std::to_string(n);
        n++;
    }
    s[STR_ABILITYCOUNT] = std::to_string(n - 1);
    struct Spell {
        const char* name;
        int32_t target, range, mana, resist, castexp, anim;
    };
    const Spell spelllist[] = { { "Bolt", 1, 3, 2, 3, 5, 7 },
                                { "Quake", 4, 3, 1, 0, 3, 8 },
                                { "Steal", 1, 3, 3, 4, 6, 9 },
                                { "Absorb", 0, 3, 1, 4, 2, 10 },
                                { "Self", 0, 0, 1, 4, 1, 11 } };
    n = 1;
    for (const Spell& sp : spelllist) {
        s[STR_SPELLTITLE + n] = std::string(sp.name) + " Spell";
        s[STR_SPELLNAME + n] = sp.name;
        s[STR_SPELLTARGET + n] = std::to_string(sp.target);
        s[STR_SPELLRANGE + n] = std::to_string(sp.range);
        s[STR_SPELLMANA + n] = std::to_string(sp.mana);
        s[STR_SPELLRESIST + n] = std::to_string(sp.resist);
        s[STR_SPELLPARAM + n] = std::to_string(sp.castexp);
        s[STR_SPELLVALUE + n] = std::to_string(sp.anim);
        n++;
    }
    s[STR_SPELLCOUNT] = std::to_string(n - 1);
    s[STR_UNITATTACKSOUND + 1] = "2";
    s[STR_ATTACKSOUNDFILE + 2] = "Swing2.wav";
    return s;
}

class CombatTest : public RulesTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        Load(CombatStrings());
        BindStubs();
        stubcalls.clear();
        stubresults.clear();
        stubfires.clear();
        dodgerolls = 0;
        SeedRandom(1);
    }
    static void BindStubs()
    {
        const AbilityHandler handlers[] = { StubBoost, StubBoost2, StubGuard, StubFollow,
                                            StubAnswer, StubLucky, StubDodge, StubEcho };
        for (size_t i = 0; i < std::size(handlers); i++)
            abilities[BOOST + i].handler = handlers[i];
        const SpellHandler effects[] = { SpellBolt, SpellQuake, SpellSteal, SpellAbsorb, SpellSelf };
        const TargetTest tests[] = { TestEnemy, TestSquare, TestEnemy, TestOwnOther, TestCaster };
        for (size_t i = 0; i < std::size(effects); i++) {
            spells[i].effect = effects[i];
            spells[i].test = tests[i];
        }
    }
    // A unit ready to fight: actions and rocks to spare, mana for every spell.
    int32_t Fighter(int32_t player, int32_t x, int32_t y)
    {
        const int32_t u = AddTestUnit(player, x, y);
        U(player, u).rocks = 999999;
        U(player, u).mana = 10;
        return u;
    }
    std::vector<std::string> CallNames() const
    {
        std::vector<std::string> names;
        for (const StubCall& c : stubcalls)
            names.push_back(c.name);
        return names;
    }
};
