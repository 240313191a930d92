// Binding: every spell and ability record gets its handler by its internal name, and each spell the
// target test of its kind; names that bind to nothing cost a log line and nothing else.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "game/magic/abilities.h"
#include "game/magic/binding.h"
#include "game/magic/spells.h"
#include "game/magic/targets.h"
#include "spells_fixture.h"

TEST_F(SpellTest, EverySpellRecordIsBoundByNameWithTheTestOfItsKind)
{
    CreateSpells();
    ASSERT_EQ(spellbindingcount, 60);
    ASSERT_EQ(spells.size(), 60u);
    for (int32_t i = 0; i < spellbindingcount; i++) {
        const SpellInfo& spell = spells[SpellIndex(spellbindings[i].name)];
        EXPECT_EQ(spell.effect, spellbindings[i].handler) << spell.name;
        EXPECT_EQ(spell.test, TargetTestForKind(spell.target)) << spell.name;
        EXPECT_TRUE(Logged(std::string("Created spell \"") + spell.name + ".\"\n")) << spell.name;
    }
    EXPECT_EQ(spells[SpellIndex("Storm")].effect, SpellStorm);
    EXPECT_EQ(spells[SpellIndex("Heal")].test, TargetOwnHurtUnit);
}

TEST_F(SpellTest, BindingTablesNameEachRecordOnce)
{
    std::set<std::string> names;
    for (int32_t i = 0; i < spellbindingcount; i++)
        EXPECT_TRUE(names.insert(spellbindings[i].name).second) << spellbindings[i].name;
    names.clear();
    for (int32_t i = 0; i < abilitybindingcount; i++)
        EXPECT_TRUE(names.insert(abilitybindings[i].name).second) << abilitybindings[i].name;
    EXPECT_EQ(abilitybindingcount, 31);
    // The two names of one handler.
    int32_t explosive = 0;
    for (int32_t i = 0; i < abilitybindingcount; i++)
        explosive += abilitybindings[i].handler == AbilityExplosive ? 1 : 0;
    EXPECT_EQ(explosive, 2);
}

TEST_F(SpellTest, AbilitiesBindByNameAndUnknownNamesOnlyLog)
{
    CreateSpells();
    // The standard catalogue has "Flying", "Poison" and the unbound "Tough".
    EXPECT_EQ(abilities[0].handler, AbilityFlying);
    EXPECT_EQ(abilities[1].handler, AbilityPoison);
    EXPECT_EQ(abilities[2].handler, DefaultAbility);
    EXPECT_TRUE(Logged("Created ability \"Flying.\"\n"));
    EXPECT_TRUE(Logged("Couldn't find ability named Stun.\n"));
    EXPECT_TRUE(BindSpell("Nothing", SpellSparks));
    EXPECT_TRUE(Logged("Couldn't find spell named Nothing.\n"));
    EXPECT_FALSE(CreateSpells());
}

TEST_F(SpellTest, OnlyTheFirstOfTwoRecordsOfOneNameIsBoundAndOddKindsAcceptNothing)
{
    TestStrings s = SpellTestStrings();
    s[STR_SPELLCOUNT] = "62";
    s[STR_SPELLNAME + 61] = "Sparks";
    s[STR_SPELLTARGET + 61] = "1";
    s[STR_SPELLNAME + 62] = "Odd";
    s[STR_SPELLTARGET + 62] = "12";
    ASSERT_FALSE(LoadTestStrings(s));
    BindSpell("Odd", SpellSparks);
    CreateSpells();
    EXPECT_EQ(spells[0].effect, SpellSparks);
    EXPECT_EQ(spells[60].effect, DefaultSpell);
    EXPECT_EQ(spells[60].test, DefaultSpellTarget);
    EXPECT_TRUE(spells[60].effect(0, 0, 0, 0, 0, 0));
    // A kind outside -6..11 keeps the test that refuses everything.
    EXPECT_EQ(spells[61].test, DefaultSpellTarget);
    EXPECT_FALSE(spells[61].test(0, 0, 1, 1, 0));
}
