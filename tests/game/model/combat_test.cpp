// The attack: its phases and their order, the damage arithmetic, the costs and the experience, the
// masks that carry the host's chance results to the clients, and the damage display's wait.
#include <gtest/gtest.h>

#include "game/model/combat.h"
#include "game/model/damage.h"
#include "game/model/death.h"
#include "game/model/digest.h"
#include "game/model/turns.h"
#include "tests/game/model/combat_fixture.h"

namespace {

constexpr int32_t NONE = -1;

} // namespace

class DoCombatTest : public CombatTest {
protected:
    void SetUp() override
    {
        CombatTest::SetUp();
        a = Fighter(0, 4, 4);
        d = Fighter(1, 5, 4);
        U(1, d).hp = 200;               // survives every case of the table
        log.clear();
    }
    int32_t a = 0, d = 0;
};

TEST_F(DoCombatTest, DamageFollowsThePhasesTheDampingAndTheClamp)
{
    struct Case {
        const char* what;
        int32_t attack, range;
        bool trees;
        int32_t offensive, defensive;   // the stubs' results; NONE: no such ability
        int32_t dealt;
    };
    const Case cases[] = {
        { "plain", 5, 1, false, NONE, NONE, 5 },
        { "offence lower is ignored", 5, 1, false, 3, NONE, 5 },
        { "offence higher is taken", 5, 1, false, 8, NONE, 8 },
        { "defence higher is ignored", 5, 1, false, NONE, 9, 5 },
        { "defence lower is taken", 5, 1, false, NONE, 2, 2 },
        { "defence to 0 still deals 1", 5, 1, false, NONE, 0, 1 },
        { "no attack deals 1", 0, 1, false, NONE, NONE, 1 },
        { "clamped to 99", 150, 1, false, NONE, NONE, 99 },
        { "melee into trees undamped", 5, 1, true, NONE, NONE, 5 },
        { "range 0 into trees damped", 5, 0, true, NONE, NONE, 4 },
        { "range 2 into trees damped", 5, 2, true, NONE, NONE, 4 },
        { "damped after the phases", 5, 2, true, 9, 7, 6 },
        { "damped to 0, clamped to 1", 1, 2, true, NONE, NONE, 1 },
    };
    for (const Case& c : cases) {
        SetUp();
        U(0, a).stat[STAT_ATTACK] = c.attack;
        U(0, a).stat[STAT_RANGE] = c.range;
        map[5][4].terrain = c.trees ? 1 : 0;
        if (c.offensive != NONE) {
            U(0, a).abilities[2] = BOOST;
            stubresults["Boost"] = c.offensive;
        }
        if (c.defensive != NONE) {
            U(1, d).abilities[4] = GUARD;
            stubresults["Guard"] = c.defensive;
        }
        DoCombat(0, a, 1, d, 0, 0, 0, 0);
        EXPECT_EQ(U(1, d).hp, 200 - c.dealt) << c.what;
    }
}

TEST_F(DoCombatTest, PhasesRunInOrderWithTheirWords)
{
    U(0, a).abilities[0] = FOLLOW;
    U(0, a).abilities[1] = BOOST;
    U(0, a).abilities[3] = BOOST2;
    U(1, d).abilities[2] = ANSWER;
    U(1, d).abilities[4] = GUARD;
    stubresults["Boost"] = 6;
    stubresults["Boost2"] = 4;          // lower than 6: ignored
    stubresults["Guard"] = 5;
    DoCombat(0, a, 1, d, 0, 0, 0, 0);
    ASSERT_EQ(CallNames(), (std::vector<std::string>{ "Boost", "Boost2", "Guard", "Follow", "Answer" }));
    // Offensive and postcombat offensive: attacker first; defensive ones: defender first.
    const int32_t boost2[6] = { 0, a, 1, d, 6, 0 };
    const int32_t guard[6] = { 1, d, 0, a, 6, 0 };
    const int32_t follow[6] = { 0, a, 1, d, 5, 0 };
    const int32_t answer[6] = { 1, d, 0, a, 5, 0 };
    EXPECT_TRUE(std::equal(boost2, boost2 + 6, stubcalls[1].w));
    EXPECT_TRUE(std::equal(guard, guard + 6, stubcalls[2].w));
    EXPECT_TRUE(std::equal(follow, follow + 6, stubcalls[3].w));
    EXPECT_TRUE(std::equal(answer, answer + 6, stubcalls[4].w));
    EXPECT_EQ(U(1, d).hp, 195);
    EXPECT_TRUE(Logged("Executing ability Boost for P0's unit #0(Soldier) sub=3"));
    EXPECT_TRUE(Logged("Found an ability for the defender.  Predamage=6"));
    EXPECT_TRUE(Logged("Postdamage=5"));
    EXPECT_TRUE(Logged("Found an ability for the attacker.."));
    EXPECT_TRUE(Logged("Finished combat."));
}

TEST_F(DoCombatTest, FiredSlotsMakeTheMasksAndTheMasksMakeThePermits)
{
    for (int32_t k = 0; k < MAXABILITIES; k++)
        U(0, a).abilities[k] = k % 2 ? BOOST : BOOST2;
    U(1, d).abilities[0] = GUARD;
    U(0, a).abilities[0] = FOLLOW;      // slot 0: postcombat
    stubfires["Boost"] = true;          // slots 1 and 3
    stubfires["Guard"] = true;
    DoCombat(0, a, 1, d, 0, 0, 0, 0);
    EXPECT_EQ(triggermasks[PHASE_OFFENSIVE], 10u);
    EXPECT_EQ(triggermasks[PHASE_DEFENSIVE], 1u);
    EXPECT_EQ(triggermasks[PHASE_AFTERATTACK], 0u);
    EXPECT_EQ(triggermasks[PHASE_AFTERDEFENCE], 0u);

    // A client given mask 10 passes permit 2 to slot 1, 8 to slot 3 and 0 to the others.
    BecomeClient(1);
    stubfires.clear();
    stubcalls.clear();
    DoCombat(0, a, 1, d, 10, 1, 1, 0);
    std::vector<int32_t> permits;
    for (const StubCall& c : stubcalls)
        permits.push_back(c.w[5]);
    EXPECT_EQ(permits, (std::vector<int32_t>{ 2, 0, 8, 0, 1, 1 }));   // slots 1-4, Guard, then Follow
    // Nothing fired on the client: the masks of its own run are clear again.
    EXPECT_EQ(triggermasks[PHASE_OFFENSIVE], 0u);
}

TEST_F(DoCombatTest, CostsFollowTheActionsLeft)
{
    struct Case {
        int32_t hits, wanthits, wantmoves;
    };
    const Case cases[] = { { 2, 0, 0 }, { 3, 1, 3 }, { 4, 2, 3 } };
    for (const Case& c : cases) {
        SetUp();
        U(0, a).hits = c.hits;
        map[6][6].mark = 1;
        ClearHeard();
        DoCombat(0, a, 1, d, 0, 0, 0, 0);
        EXPECT_EQ(U(0, a).hits, c.wanthits);
        EXPECT_EQ(U(0, a).moves, c.wantmoves);
        EXPECT_EQ(U(0, a).rocks, 999998);
        EXPECT_EQ(HeardOf("commanddone").size(), 1u);
        EXPECT_EQ(map[6][6].mark, 0);
    }
}

TEST_F(DoCombatTest, AKillPaysLifeAndDamageAndIsListedOnceOnTheHostOnly)
{
    p[0].expbonus = 2;
    U(1, d).hp = 3;                     // attack 3 kills
    DoCombat(0, a, 1, d, 0, 0, 0, 0);
    // Life 10, then 3 x 4 + 2; the kill is paid first.
    EXPECT_EQ(U(0, a).experience, 10 + 3 * 4 + 2);
    ASSERT_EQ(deathlist.size(), 1u);
    EXPECT_EQ(deathlist[0].id, U(1, d).id);
    EXPECT_EQ(deathlist[0].killer, 0);
    EXPECT_TRUE(Logged("Killed the target."));

    SetUp();
    BecomeClient(1);
    p[0].expbonus = 2;
    U(1, d).hp = 3;
    DoCombat(0, a, 1, d, 0, 0, 0, 0);
    EXPECT_EQ(U(0, a).experience, 24);
    EXPECT_TRUE(deathlist.empty());
}

TEST_F(DoCombatTest, TheKillIsDecidedAfterThePostcombatPhases)
{
    // Answer heals the defender after the blow: it survives.
    U(1, d).hp = 2;
    U(1, d).abilities[0] = ANSWER;
    abilities[ANSWER].handler = [](int32_t dp, int32_t du, int32_t, int32_t, int32_t, int32_t) {
        p[dp].units[du].hp += 5;
        return 0;
    };
    DoCombat(0, a, 1, d, 0, 0, 0, 0);
    EXPECT_EQ(U(1, d).hp, 4);
    EXPECT_TRUE(deathlist.empty());
    EXPECT_EQ(U(0, a).experience, 3 * 4);
}

TEST_F(DoCombatTest, AttackSoundAndCampAlertWhereTheyBelong)
{
    const int32_t n = Fighter(2, 6, 6);
    const int32_t friendunit = Fighter(2, 7, 7);
    U(2, n).group = 3;
    U(2, friendunit).group = 3;
    DoCombat(0, a, 2, n, 0, 0, 0, 0);
    EXPECT_TRUE(HeardSounds().empty());  // neither square explored
    EXPECT_EQ(U(2, friendunit).alerted, 1);
    map[4][4].explored = 1;
    DoCombat(0, a, 2, n, 0, 0, 0, 0);
    EXPECT_EQ(HeardSounds(), (std::vector<std::string>{ "Swing2.wav" }));
}

// The local player's view goes to the fight (ending on the attacker), the blow is heard, seen and
// counted, and only then is the attack over and the attacker's picture brought up to date.
TEST_F(DoCombatTest, TheBlowIsHeardThenSeenThenCounted)
{
    map[4][4].explored = 1;
    map[5][4].explored = 1;
    DoCombat(0, a, 1, d, 0, 0, 0, 0);
    const std::string attacker = "0 " + std::to_string(a), defender = "1 " + std::to_string(d);
    EXPECT_EQ(heard, (std::vector<std::string>{ "centre 5 4", "centre 4 4", "sound Swing2.wav",
                                                "effect " + defender + " 0 0 0 0", "picture " + defender,
                                                "damage " + defender + " 3", "commanddone", "minimap 0",
                                                "picture " + attacker }));
}

TEST_F(DoCombatTest, TheVictimSeesTheAttackersSquare)
{
    BecomeClient(1);
    DoCombat(0, a, 1, d, 0, 0, 0, 0);
    EXPECT_EQ(map[4][4].explored, 1);
    EXPECT_EQ(map[4][4].visible, 1);
}

TEST_F(DoCombatTest, IndexesOutOfRangeChangeNothing)
{
    const uint64_t before = GameStateDigest();
    DoCombat(0, a, 1, 7, 0, 0, 0, 0);
    DoCombat(5, 0, 1, d, 0, 0, 0, 0);
    DoCombat(0, a, 0, a, 0, 0, 0, 0);
    EXPECT_EQ(GameStateDigest(), before);
    EXPECT_TRUE(Logged("ERROR: "));
}

// Chance abilities draw only where the host rolls for them: in the combat's own call of their slot.
TEST_F(DoCombatTest, ChanceAbilitiesRollOnlyInTheirOwnCombatSlot)
{
    U(1, d).abilities[1] = DODGE;
    DoCombat(0, a, 1, d, 0, 0, 0, 0);
    EXPECT_EQ(dodgerolls, 1);

    // The same defensive ability reached through an effect's hit, or through its owner's own
    // postcombat slot, never draws.
    dodgerolls = 0;
    DealAbilityDamage(0, a, 1, d, 5);
    EXPECT_EQ(dodgerolls, 0);
    U(0, a).abilities[1] = DODGE;
    U(0, a).abilities[2] = ECHO;
    U(1, d).abilities[1] = -1;
    for (int i = 0; i < 20; i++)
        DoCombat(0, a, 1, d, 0, 0, 0, 0);
    EXPECT_EQ(dodgerolls, 0);
    EXPECT_EQ(triggermasks[PHASE_AFTERATTACK], 0u);

    // A client never draws; it acts on the host's permit alone.
    BecomeClient(1);
    U(0, a).abilities[2] = -1;
    U(1, d).abilities[1] = DODGE;
    const int32_t hp = U(1, d).hp;
    DoCombat(0, a, 1, d, 0, 0, 0, 0);
    EXPECT_EQ(dodgerolls, 0);
    EXPECT_EQ(U(1, d).hp, hp - 3);
    DoCombat(0, a, 1, d, 0, 2, 0, 0);
    EXPECT_EQ(U(1, d).hp, hp - 3 - 1);  // halved: 3 / 2
}

TEST_F(DoCombatTest, ValidateAttackRefusesWhatTheBoardWouldNot)
{
    currplayer = turnholder = 0;
    const int32_t far = Fighter(1, 6, 6);
    const int32_t own = Fighter(0, 4, 5);
    EXPECT_TRUE(ValidateAttack(0, 0, a, 1, d));
    struct Case {
        const char* what;
        int32_t sender, ap, au, dp, du;
    };
    const Case cases[] = {
        { "another player's unit", 1, 0, a, 1, d },
        { "no such target", 0, 0, a, 1, 9 },
        { "own unit", 0, 0, a, 0, own },
        { "out of range", 0, 0, a, 1, far },
    };
    for (const Case& c : cases)
        EXPECT_FALSE(ValidateAttack(c.sender, c.ap, c.au, c.dp, c.du)) << c.what;
    currplayer = turnholder = 1;
    EXPECT_FALSE(ValidateAttack(0, 0, a, 1, d)) << "not his turn";
    currplayer = turnholder = 0;
    U(0, a).hits = 1;
    EXPECT_FALSE(ValidateAttack(0, 0, a, 1, d)) << "one action";
    U(0, a).hits = 2;
    U(0, a).rocks = 0;
    EXPECT_FALSE(ValidateAttack(0, 0, a, 1, d)) << "no rocks";
    U(0, a).rocks = 1;
    U(0, a).stat[STAT_RANGE] = 3;
    EXPECT_TRUE(ValidateAttack(0, 0, a, 1, far)) << "range 3 reaches two diagonal steps";
}

TEST(WithinRange, MatchesTheBoardsRangeMarks)
{
    ResetGameState();
    mapsize = 20;
    struct Case {
        int32_t dx, dy, range;
        bool within;
    };
    const Case cases[] = {
        { 0, 0, 0, true }, { 1, 0, 0, false }, { 1, 0, 1, true }, { 1, 1, 1, true },  { 2, 0, 1, false },
        { 2, 0, 2, true }, { 2, 1, 2, true },  { 2, 2, 2, false }, { 2, 2, 3, true }, { 0, 0, -1, false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(WithinRange(5, 5, 5 + c.dx, 5 + c.dy, c.range), c.within) << c.dx << "," << c.dy << " r" << c.range;
    EXPECT_FALSE(WithinRange(5, 5, 25, 5, 30));     // off the map
}

class DamageDisplayTest : public CombatTest {
protected:
    void SetUp() override
    {
        CombatTest::SetUp();
        u = Fighter(1, 5, 5);
        map[5][5].explored = 1;
    }
    int32_t u = 0;
};

// Every hit changes the unit's picture first, then shows the number taken (whether and where it can
// be seen is the view's).
TEST_F(DamageDisplayTest, AHitAnnouncesThePictureThenTheNumberTaken)
{
    EXPECT_FALSE(HurtUnit(1, u, 3));
    const std::string unit = "1 " + std::to_string(u);
    EXPECT_EQ(heard, (std::vector<std::string>{ "picture " + unit, "damage " + unit + " 3" }));
    ClearHeard();
    HurtUnit(1, u, 0);
    DealSpellDamage(0, 0, 1, u, -2);
    EXPECT_EQ(HeardOf("damage"), (std::vector<std::string>{ unit + " 1", unit + " 1" }));
    EXPECT_EQ(U(1, u).hp, 10 - 3 - 1 - 1);
    ClearHeard();
    HurtUnit(1, 9, 3);
    DealSpellDamage(0, 0, 1, 9, 3);
    EXPECT_TRUE(heard.empty());
}

TEST_F(DamageDisplayTest, HurtUnitTakesAtLeastOnePointAndTellsTheDeath)
{
    EXPECT_FALSE(HurtUnit(1, u, 0));
    EXPECT_EQ(U(1, u).hp, 9);
    EXPECT_TRUE(HurtUnit(1, u, 9));
    EXPECT_FALSE(HurtUnit(1, 5, 9));
    EXPECT_FALSE(HurtUnit(-1, 0, 9));
}

TEST_F(DamageDisplayTest, EffectHitsPayKillAndWakeTheCamp)
{
    const int32_t caster = Fighter(0, 4, 5);
    const int32_t n = Fighter(2, 8, 8);
    const int32_t mate = Fighter(2, 9, 9);
    const int32_t stranger = Fighter(2, 10, 10);
    U(2, n).group = 4;
    U(2, mate).group = 4;
    U(2, stranger).group = 5;
    DealSpellDamage(0, caster, 2, n, 0);    // 1 point dealt, no experience for 0 x 4
    EXPECT_EQ(U(2, n).hp, 9);
    EXPECT_EQ(U(0, caster).experience, 0);
    EXPECT_EQ(U(2, mate).alerted, 1);
    EXPECT_EQ(U(2, stranger).alerted, 0);

    // Trees damp an effect's hit too; the kill pays the target's life, on the host onto the list.
    map[5][5].terrain = 1;
    U(0, caster).stat[STAT_RANGE] = 2;
    DealAbilityDamage(0, caster, 1, u, 11);
    EXPECT_EQ(U(1, u).hp, 0);
    EXPECT_EQ(U(0, caster).experience, 10 * 4 + 10);
    ASSERT_EQ(deathlist.size(), 1u);

    // Life gone while hit points remain also kills; a life of 0 or less pays nothing.
    U(2, mate).stat[STAT_LIFE] = -5;
    const int32_t before = U(0, caster).experience;
    DealSpellDamage(0, caster, 2, mate, 1);
    EXPECT_EQ(deathlist.size(), 2u);
    EXPECT_EQ(U(0, caster).experience, before + 4);

    // Hitting one's own unit earns nothing, and a bad target does nothing.
    const int32_t own = Fighter(0, 3, 3);
    DealSpellDamage(0, caster, 0, own, 2);
    DealAbilityDamage(0, caster, 0, own, 2);
    EXPECT_EQ(U(0, caster).experience, before + 4);
    DealSpellDamage(0, caster, 1, 9, 2);
    DealAbilityDamage(0, caster, 9, 0, 2);
}
