// Spell resolution: the resistance roll, the two outcomes with their messages, costs and experience,
// the host's checks of a request, and handlers that move units about under the cast's feet.
#include <gtest/gtest.h>

#include "game/model/cast.h"
#include "game/model/digest.h"
#include "game/model/turns.h"
#include "game/net/builders.h"
#include "tests/game/model/combat_fixture.h"

class CastTest : public CombatTest {
protected:
    void SetUp() override
    {
        CombatTest::SetUp();
        currplayer = turnholder = 0;
        AddTestUnit(0, 1, 1, 2);        // warlords first
        AddTestUnit(1, 15, 15, 2);
        c = Fighter(0, 4, 4);
        t = Fighter(1, 6, 4);
        U(0, c).spells[0] = BOLT;
        U(0, c).spells[1] = QUAKE;
        U(0, c).spells[2] = SELF;
        TakeSentFrames();
        log.clear();
    }
    static std::vector<std::string> Bodies()
    {
        std::vector<std::string> bodies;
        for (const SentFrame& f : TakeSentFrames())
            bodies.push_back(f.Body());
        return bodies;
    }
    int32_t c = 0, t = 0;
};

TEST(SpellResisted, TheHostsDrawAgainstResistanceAndClass)
{
    struct Case {
        int32_t resistance, resistclass, roll;
        bool resisted;
    };
    const Case cases[] = {
        { 0, 0, 1, false },   { 0, 0, 32767, false },  // resistance 0: never
        { -3, 1, 7, false },                           // below 0 counts as 0
        { 3, 3, 0, false },   { 3, 3, 4, false },      // roll mod 4 = 0 lets it through
        { 3, 3, 5, true },    { 3, 0, 7, true },
        { 3, 4, 5, false },   { 9, 20, 1, false },     // class 4 or more: never
        { 1, 2, 1, true },    { 1, 2, 2, false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpellResisted(c.resistance, c.resistclass, c.roll), c.resisted)
            << c.resistance << " " << c.resistclass << " " << c.roll;
}

TEST_F(CastTest, EveryUnitTargetCastDrawsOnceAndASquareCastNever)
{
    SeedRandom(77);
    Random();
    const int second = Random();
    SeedRandom(77);
    EXPECT_TRUE(ResolveSpell(0, c, 1, t, 1, BOLT));    // resistance 0: not resisted, still drawn
    EXPECT_EQ(Random(), second);
    SeedRandom(77);
    EXPECT_TRUE(ResolveSpell(0, c, 7, 7, 0, QUAKE));
    Random();
    EXPECT_EQ(Random(), second);
}

TEST_F(CastTest, ATakenCastSendsItsMessageAfterTheEffect)
{
    const int32_t casterid = U(0, c).id, targetid = U(1, t).id;
    ASSERT_TRUE(ResolveSpell(0, c, 1, t, 1, BOLT));
    EXPECT_EQ(U(1, t).hp, 7);
    EXPECT_EQ(Bodies(), (std::vector<std::string>{ BuildCastSpellAtUnit(casterid, targetid, BOLT, 1) }));
    ASSERT_TRUE(ResolveSpell(0, c, 7, 4, 0, QUAKE));
    EXPECT_EQ(U(1, t).hp, 5);
    EXPECT_EQ(Bodies(), (std::vector<std::string>{ BuildCastSpellAtSquare(casterid, 7, 4, QUAKE, 4) }));
}

TEST_F(CastTest, AResistedCastSendsTargetThenCaster)
{
    U(1, t).stat[STAT_RESIST] = 30000;   // resists unless the roll is a multiple of 30001
    SeedRandom(5);
    const int32_t casterid = U(0, c).id, targetid = U(1, t).id;
    map[6][4].explored = 1;
    ASSERT_TRUE(ResolveSpell(0, c, 1, t, 1, BOLT));
    EXPECT_EQ(Bodies(), (std::vector<std::string>{ BuildResist(targetid, casterid, BOLT) }));
    EXPECT_EQ(U(1, t).hp, 10);
    EXPECT_EQ(U(0, c).experience, 0);
    EXPECT_EQ(U(0, c).mana, 8);
    EXPECT_EQ(U(0, c).hits, 0);
    EXPECT_TRUE(Fed("The target resisted the spell!"));
    EXPECT_EQ(HeardSounds(), (std::vector<std::string>{ ".\\Sound\\GSResist.wav" }));
}

TEST_F(CastTest, ResolveSpellRefusesWhatTheTargetTestRefuses)
{
    const uint64_t before = GameStateDigest();
    EXPECT_FALSE(ResolveSpell(0, c, 0, 0, 1, BOLT));     // own warlord: the test refuses
    EXPECT_FALSE(ResolveSpell(0, c, 1, 9, 1, BOLT));     // no such unit
    EXPECT_FALSE(ResolveSpell(0, c, 20, 3, 0, QUAKE));   // off the map
    EXPECT_FALSE(ResolveSpell(0, c, 1, t, 1, 99));       // no such spell
    EXPECT_FALSE(ResolveSpell(0, 9, 1, t, 1, BOLT));     // no such caster
    spells[BOLT].test = nullptr;                         // never bound: accepts nothing
    EXPECT_FALSE(ResolveSpell(0, c, 1, t, 1, BOLT));
    BecomeClient(1);
    BindStubs();
    EXPECT_FALSE(ResolveSpell(0, c, 1, t, 1, BOLT));     // only the host resolves
    EXPECT_EQ(GameStateDigest(), before);
    EXPECT_TRUE(Bodies().empty());
}

TEST_F(CastTest, CostsAndExperienceOfBothOutcomes)
{
    struct Case {
        int32_t hits;
        bool resisted;
        int32_t wanthits, wantmoves;
    };
    const Case cases[] = {
        { 2, false, 0, 0 }, { 3, false, 1, 3 }, { 1, false, -1, 3 },   // taken: moves go only at exactly 0
        { 2, true, 0, 0 },  { 3, true, 1, 3 },  { 1, true, -1, 0 },    // resisted: below 1
    };
    for (const Case& k : cases) {
        SetUp();
        p[0].spellexpbonus = 4;
        U(0, c).hits = k.hits;
        if (k.resisted)
            ResistSpell(0, c, 1, t, BOLT);
        else
            CastSpellEffect(0, c, 1, t, BOLT, 1, 0);
        EXPECT_EQ(U(0, c).hits, k.wanthits);
        EXPECT_EQ(U(0, c).moves, k.wantmoves);
        EXPECT_EQ(U(0, c).mana, 8);
        // Taken: 5 for the cast and its bonus, 3 x 4 for the damage.
        EXPECT_EQ(U(0, c).experience, k.resisted ? 0 : 5 + 4 + 3 * 4);
    }
}

TEST_F(CastTest, AHandlerSeesTheCasterBeforeItPays)
{
    spells[SELF].effect = [](int32_t cp, int32_t cu, int32_t, int32_t, int32_t, int32_t) {
        EXPECT_EQ(p[cp].units[cu].hits, 2);
        EXPECT_EQ(p[cp].units[cu].mana, 10);
        return false;
    };
    CastSpellEffect(0, c, 0, c, SELF, 0, 0);
    EXPECT_EQ(U(0, c).mana, 9);
}

TEST_F(CastTest, TheReportNamesTheCasterWhereHisSquareIsExplored)
{
    CastSpellEffect(0, c, 1, t, BOLT, 1, 0);
    EXPECT_TRUE(Feed().empty());
    map[4][4].explored = 1;
    CastSpellEffect(0, c, 1, t, BOLT, 1, 0);
    EXPECT_TRUE(Fed("P0's Soldier cast Bolt Spell!"));
    EXPECT_EQ(HeardSounds(), (std::vector<std::string>{ ".\\Sound\\SPBolt.wav" }));
    const int32_t n = Fighter(2, 7, 7);
    map[7][7].explored = 1;
    CastSpellEffect(2, n, 1, t, BOLT, 1, 0);
    EXPECT_TRUE(Fed("Unaligned Soldier cast Bolt Spell!"));
}

TEST_F(CastTest, TheVictimSeesTheCasterAndTheCampWakes)
{
    const int32_t n = Fighter(2, 8, 4);
    const int32_t mate = Fighter(2, 12, 12);
    U(2, n).group = 6;
    U(2, mate).group = 6;
    CastSpellEffect(0, c, 2, n, BOLT, 1, 0);
    EXPECT_EQ(U(2, mate).alerted, 1);
    BecomeClient(1);
    CastSpellEffect(0, c, 1, t, BOLT, 1, 0);
    EXPECT_EQ(map[4][4].explored, 1);
}

// A cast holds the screen before and after its effect, a resisted one once after the resistance shows.
TEST_F(CastTest, CastsHoldTheScreenAroundTheEffect)
{
    CastSpellEffect(0, c, 7, 7, QUAKE, 4, 0);
    std::vector<std::string> kinds;
    for (const std::string& line : heard)
        if (line.rfind("pause", 0) == 0 || line.rfind("effect", 0) == 0)
            kinds.push_back(line);
    EXPECT_EQ(kinds, (std::vector<std::string>{ "pause 250", "effect 7 7 4 8 0 0", "pause 250" }));
    ClearHeard();
    ResistSpell(0, c, 1, t, BOLT);
    EXPECT_EQ(HeardOf("pause"), std::vector<std::string>{ "250" });
    EXPECT_EQ(heard.back(), "picture 0 " + std::to_string(c));
}

TEST_F(CastTest, ResistingClearsTheMarksAndTheCommand)
{
    map[3][3].mark = 1;
    ResistSpell(0, c, 1, t, BOLT);
    EXPECT_EQ(HeardOf("commanddone").size(), 1u);
    EXPECT_EQ(map[3][3].mark, 0);
}

// A handler that takes its target out of its list: the cast goes on with the units found by id, never
// with the old indexes (which would read past the list's end here).
TEST_F(CastTest, AHandlerThatRemovesItsTargetLeavesNoStaleIndex)
{
    const int32_t targetid = U(1, t).id;
    const int32_t last = static_cast<int32_t>(p[1].units.size()) - 1;
    ASSERT_EQ(t, last);
    ASSERT_TRUE(ResolveSpell(0, c, 1, t, 1, STEAL));
    EXPECT_EQ(static_cast<int32_t>(p[1].units.size()), last);
    const UnitRef moved = FindUnit(targetid);
    ASSERT_EQ(moved.player, 0);
    EXPECT_EQ(U(0, c).hits, 0);
    EXPECT_EQ(U(0, c).mana, 7);
    EXPECT_EQ(U(0, c).experience, 6);

    // Removing a unit of the caster's own side below the caster shifts him down: he still pays, and
    // the acting unit follows him.
    SetUp();
    const int32_t other = Fighter(0, 3, 3);
    const int32_t caster = Fighter(0, 5, 5);
    const int32_t casterid = U(0, caster).id;
    U(0, caster).spells[0] = ABSORB;
    currunit = caster;
    ASSERT_TRUE(ResolveSpell(0, caster, 0, other, 1, ABSORB));
    const UnitRef now = FindUnit(casterid);
    ASSERT_EQ(now.unit, caster - 1);
    EXPECT_EQ(currunit, now.unit);
    EXPECT_EQ(U(0, now.unit).hits, 0);
    EXPECT_EQ(U(0, now.unit).mana, 9);
    EXPECT_EQ(U(0, now.unit).experience, 2);
    EXPECT_EQ(U(0, c).hits, 2);         // the unit now at the caster's old index is untouched
}

TEST_F(CastTest, ValidateCastRefusesWhatTheBoardWouldNot)
{
    EXPECT_TRUE(ValidateCast(0, 0, c, 1, t, BOLT));
    EXPECT_TRUE(ValidateCast(0, 0, c, 5, 6, QUAKE));
    EXPECT_TRUE(ValidateCast(0, 0, c, 0, c, SELF));
    struct Case {
        const char* what;
        int32_t sender, cp, cu, a, b, spell;
    };
    const Case cases[] = {
        { "another player's caster", 1, 0, c, 1, t, BOLT },
        { "a spell he does not know", 0, 0, c, 1, t, STEAL },
        { "no such spell", 0, 0, c, 1, t, 40 },
        { "the test refuses", 0, 0, c, 1, 0, BOLT },
        { "out of range", 0, 0, c, 8, 8, QUAKE },
        { "off the map", 0, 0, c, -1, 4, QUAKE },
        { "range 0 aims at his own square only", 0, 0, c, 1, t, SELF },
        { "a ranged spell never at his own square", 0, 0, c, 4, 4, QUAKE },
    };
    for (const Case& k : cases)
        EXPECT_FALSE(ValidateCast(k.sender, k.cp, k.cu, k.a, k.b, k.spell)) << k.what;
    currplayer = turnholder = 1;
    EXPECT_FALSE(ValidateCast(0, 0, c, 1, t, BOLT)) << "not his turn";
    currplayer = turnholder = 0;
    U(0, c).mana = 1;
    EXPECT_FALSE(ValidateCast(0, 0, c, 1, t, BOLT)) << "too little mana";
    U(0, c).mana = 10;
    U(0, c).hits = 1;
    EXPECT_FALSE(ValidateCast(0, 0, c, 1, t, BOLT)) << "one action";
    U(0, c).hits = 2;
    map[4][4].bits = 0x2;
    EXPECT_FALSE(ValidateCast(0, 0, c, 1, t, BOLT)) << "a claimed square";
}
