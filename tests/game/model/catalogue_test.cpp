// The catalogue built from the fixture module.
#include "catalogue_fixture.h"

#include <cstring>

#include "common/module.h"

namespace {

TEST_F(CatalogueTest, FlagStringsSortTheUnitTypes)
{
    EXPECT_EQ(unittypecount, 6);
    // ";" exactly: recruitable. ";~": nothing. "~;": warlord. "25;": neutral worth 2 and 5.
    ASSERT_EQ(buyable.size(), 1u);
    EXPECT_EQ(buyable[0].type, 1);
    EXPECT_EQ(buyable[0].picture, 12);
    ASSERT_EQ(warlordtypecount, 1);
    EXPECT_EQ(warlordtypes[0], 3);
    ASSERT_EQ(neutralpoints.size(), 2u);
    EXPECT_EQ(neutralpoints[0].type, 4);
    EXPECT_EQ(neutralpoints[0].points, 2);
    EXPECT_EQ(neutralpoints[1].type, 4);
    EXPECT_EQ(neutralpoints[1].points, 5);
    EXPECT_TRUE(Logged("Cached unit Archer(pic: 12)"));
    EXPECT_TRUE(Logged("This neutral unit has point value 5"));
}

TEST_F(CatalogueTest, UnitHasFlagLooksOnlyBeforeTheFirstSemicolon)
{
    struct Case {
        int32_t type;
        char flag;
        bool has;
    };
    const Case cases[] = {
        { 2, '~', false },      // ";~"
        { 3, '~', true },       // "~;"
        { 4, '5', true },       // "25;"
        { 4, ';', false },
        { 5, '!', true },       // "!" without ';'
        { 6, '~', false },      // no flag string
        { 10004, '2', false },  // an upgraded level reads its own flag string
    };
    for (const Case& c : cases)
        EXPECT_EQ(UnitHasFlag(c.type, c.flag), c.has) << c.type << " " << c.flag;
}

TEST_F(CatalogueTest, SpellsAndAbilitiesComeFromTheirStrings)
{
    ASSERT_EQ(spellcount, 7);
    ASSERT_EQ(spells.size(), 7u);
    const SpellInfo& sparks = spells[0];
    EXPECT_STREQ(sparks.name, "Sparks");
    EXPECT_EQ(sparks.number, 1);
    EXPECT_EQ(sparks.mana, 3);
    EXPECT_EQ(sparks.range, 4);
    EXPECT_EQ(sparks.picture, 21);
    EXPECT_EQ(sparks.anim, 48);
    EXPECT_EQ(sparks.resist, 2);
    EXPECT_EQ(sparks.castexp, 3 * 7);   // -1: the cost factor times the mana
    EXPECT_EQ(sparks.power, 40);
    EXPECT_EQ(sparks.hotkey, 'S');
    EXPECT_EQ(sparks.test, nullptr);
    EXPECT_EQ(sparks.effect, nullptr);
    EXPECT_EQ(spells[1].castexp, 5);
    EXPECT_EQ(spells[2].hotkey, '\0');  // no shortcut string
    EXPECT_STREQ(spells[6].name, "AnExtremelyLongSpel");
    EXPECT_TRUE(Logged("Added spell Sparks.  Range: 4 Mana: 3 Shortcut: S"));
    EXPECT_TRUE(Logged("Total spells: 7"));

    ASSERT_EQ(abilitycount, 2);
    ASSERT_EQ(abilities.size(), 2u);
    EXPECT_STREQ(abilities[0].name, "Flying");
    EXPECT_EQ(abilities[0].kind, 4);
    EXPECT_EQ(abilities[0].picture, 30);
    EXPECT_EQ(abilities[1].number, 2);
    EXPECT_TRUE(Logged("Added ability Poison"));
    EXPECT_TRUE(Logged("Total abilities: 2"));

    EXPECT_EQ(expperdamage, 5);
    EXPECT_EQ(spellexpfactor, 7);
    EXPECT_EQ(expdivisor, 3);
}

TEST_F(CatalogueTest, ContentBeyondTheLimitsIsHeldToThem)
{
    UnloadStringModule();
    stringmodule = OpenModule("Broken.dll");
    ASSERT_NE(stringmodule, nullptr);
    log.clear();
    CacheUnits();
    CacheSpells();
    CacheAbilities();
    LoadTuningNumbers();
    EXPECT_EQ(warlordtypecount, MAXWARLORDTYPES);
    EXPECT_EQ(warlordtypes[MAXWARLORDTYPES - 1], 15);
    EXPECT_TRUE(Logged("ERROR: No room for warlord type 16"));
    EXPECT_EQ(spellcount, MAXCATALOGUEINDEX);
    EXPECT_EQ(spells.size(), size_t(MAXCATALOGUEINDEX));
    EXPECT_EQ(abilitycount, 0);
    EXPECT_TRUE(abilities.empty());
    EXPECT_EQ(expdivisor, 1);
    EXPECT_NE(log.find("ERROR: Exploration divisor 0"), std::string::npos);
}

} // namespace
