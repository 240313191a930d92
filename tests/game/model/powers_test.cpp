// Power lists: names of abilities and spells into a unit's slots.
#include "catalogue_fixture.h"

#include <vector>

#include "game/model/powers.h"

namespace {

// Spell and ability indexes of the fixture.
enum { SPARKS = 0, HEAL = 1, BOLT = 2, HASTE = 3, CURSE = 4 };
enum { FLYING = 0, POISON = 1 };

std::vector<int32_t> Slots(const int32_t (&slots)[5])
{
    return std::vector<int32_t>(slots, slots + 5);
}

TEST_F(CatalogueTest, UnitPowerLists)
{
    struct Case {
        int32_t type;
        std::vector<int32_t> spells, abilities;
        bool nosemicolon;
    };
    const Case cases[] = {
        { 1, { SPARKS, -1, -1, -1, -1 }, { FLYING, -1, -1, -1, -1 }, false },     // ability, then spell
        { 2, { SPARKS, HEAL, BOLT, HASTE, CURSE }, { -1, -1, -1, -1, -1 }, false }, // six spells keep five
        { 3, { SPARKS, -1, -1, -1, -1 }, { -1, -1, -1, -1, -1 }, false },         // unknown name skipped
        { 4, { SPARKS, -1, -1, -1, -1 }, { FLYING, -1, -1, -1, -1 }, true },      // no ';': parsed to the end
        { 6, { -1, -1, -1, -1, -1 }, { -1, -1, -1, -1, -1 }, true },              // no list at all
    };
    for (const Case& c : cases) {
        int32_t spellslots[5] = { 9, 9, 9, 9, 9 };
        int32_t abilityslots[5] = { 9, 9, 9, 9, 9 };
        EXPECT_EQ(GetUnitPowers(c.type, spellslots, abilityslots), c.nosemicolon) << c.type;
        EXPECT_EQ(Slots(spellslots), c.spells) << c.type;
        EXPECT_EQ(Slots(abilityslots), c.abilities) << c.type;
    }
}

TEST_F(CatalogueTest, AddUnitPowersAddsNoAbilityTwiceButSpellsAgain)
{
    int32_t spellslots[5];
    int32_t abilityslots[5];
    GetUnitPowers(1, spellslots, abilityslots);     // Flying, Sparks
    EXPECT_FALSE(AddUnitPowers(10004, spellslots, abilityslots));   // Flying, Poison, Sparks
    EXPECT_EQ(Slots(abilityslots), (std::vector<int32_t>{ FLYING, POISON, -1, -1, -1 }));
    EXPECT_EQ(Slots(spellslots), (std::vector<int32_t>{ SPARKS, SPARKS, -1, -1, -1 }));

    // Full arrays take nothing more.
    GetUnitPowers(2, spellslots, abilityslots);
    AddUnitPowers(10004, spellslots, abilityslots);
    EXPECT_EQ(Slots(spellslots), (std::vector<int32_t>{ SPARKS, HEAL, BOLT, HASTE, CURSE }));
    EXPECT_EQ(Slots(abilityslots), (std::vector<int32_t>{ FLYING, POISON, -1, -1, -1 }));
}

TEST_F(CatalogueTest, WarlordPowersComeFromHisType)
{
    AddPlayer();
    p[0].warlordtype = 3;
    int32_t spellslots[5];
    int32_t abilityslots[5];
    EXPECT_FALSE(GetWarlordPowers(0, spellslots, abilityslots));
    EXPECT_EQ(Slots(spellslots), (std::vector<int32_t>{ HEAL, -1, -1, -1, -1 }));
    EXPECT_EQ(Slots(abilityslots), (std::vector<int32_t>{ POISON, -1, -1, -1, -1 }));
    EXPECT_TRUE(GetWarlordPowers(1, spellslots, abilityslots));
    EXPECT_EQ(Slots(spellslots), (std::vector<int32_t>{ -1, -1, -1, -1, -1 }));
}

} // namespace
