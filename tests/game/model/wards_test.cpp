// Wards and ability slots.
#include <vector>

#include "game/model/abilityslots.h"
#include "game/model/stats.h"
#include "game/model/wards.h"
#include "tests/game/model/rules_fixture.h"

namespace {

class WardsTest : public RulesTest {};

// A ward's modifiers in natural order: m[k] for stat k.
int32_t Add(int32_t player, int32_t unit, int32_t turns, int32_t flag, const int32_t (&m)[NUMSTATS], int32_t kind = 7,
            int32_t announce = 1)
{
    return AddWard(player, unit, turns, flag, m[0], m[1], m[2], m[3], m[4], m[6], m[7], m[5], kind, announce);
}

TEST_F(WardsTest, AddAndRemoveActOnStatsMovesAndActions)
{
    struct Case {
        const char* what;
        int32_t mods[NUMSTATS];
        int32_t hits, moves;            // before
        int32_t hitsafter, movesafter;  // after adding
    };
    const Case cases[] = {
        { "plain stats only through GetStat", { 2, 3, 0, 1, 0, 4, 5, 6 }, 2, 3, 2, 3 },
        { "moves and actions at once", { 0, 0, 2, 0, 1, 0, 0, 0 }, 2, 3, 3, 5 },
        { "actions below zero, unclamped", { 0, 0, 0, 0, -3, 0, 0, 0 }, 2, 3, -1, 3 },
        { "moves below zero, unclamped", { 0, 0, -5, 0, 0, 0, 0, 0 }, 0, 1, 0, -4 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MakeWorld(2, 20);
        const int32_t u = AddTestUnit(0, 1, 1);
        U(0, u).hits = c.hits;
        U(0, u).moves = c.moves;
        int32_t base[NUMSTATS];
        for (int k = 0; k < NUMSTATS; k++)
            base[k] = GetStat(0, u, k);

        ASSERT_EQ(Add(0, u, 3, 0, c.mods), 0);
        EXPECT_EQ(U(0, u).hits, c.hitsafter);
        EXPECT_EQ(U(0, u).moves, c.movesafter);
        for (int k = 0; k < NUMSTATS; k++)
            EXPECT_EQ(GetStat(0, u, k), base[k] + c.mods[k]) << "stat " << k;  // the odd argument order lands right

        EXPECT_TRUE(RemoveWard(0, u, 0));
        EXPECT_EQ(U(0, u).hits, c.hits);
        EXPECT_EQ(U(0, u).moves, c.moves);
        for (int k = 0; k < NUMSTATS; k++)
            EXPECT_EQ(GetStat(0, u, k), base[k]);
        EXPECT_FALSE(RemoveWard(0, u, 0));  // a free slot: nothing
        EXPECT_EQ(U(0, u).hits, c.hits);
    }
}

TEST_F(WardsTest, GetStatSumsEveryWardInUseAndTheBonus)
{
    const int32_t u = AddTestUnit(0, 1, 1);
    p[0].bonus[STAT_ATTACK] = 1;
    for (int k = 0; k < NUMSTATS; k++)
        p[0].filtermax[k] = 100;
    Add(0, u, 3, 0, { 2, 0, 0, 0, 0, 0, 0, 0 });
    Add(0, u, 3, 0, { 5, 0, 0, 0, 0, 0, 0, 0 });
    Add(0, u, 3, 0, { -1, 0, 0, 0, 0, 0, 0, 0 });
    EXPECT_EQ(GetStat(0, u, STAT_ATTACK), 3 + 2 + 5 - 1 + 1);
    RemoveWard(0, u, 1);
    EXPECT_EQ(GetStat(0, u, STAT_ATTACK), 3 + 2 - 1 + 1);
}

TEST_F(WardsTest, SixthWardIsRefusedAndChangesNothing)
{
    const int32_t u = AddTestUnit(0, 1, 1);
    for (int i = 0; i < MAXWARDS; i++)
        ASSERT_EQ(Add(0, u, 3, 0, { 0, 0, 1, 0, 1, 0, 0, 0 }, 100 + i), 0);
    const Unit before = U(0, u);
    EXPECT_EQ(Add(0, u, 3, 0, { 0, 0, 1, 0, 1, 0, 0, 0 }, 999), 1);
    EXPECT_TRUE(Logged("Couldn't add ward!  No room remaining.\n"));
    EXPECT_EQ(U(0, u).hits, before.hits);
    EXPECT_EQ(U(0, u).moves, before.moves);
    for (int i = 0; i < MAXWARDS; i++)
        EXPECT_EQ(U(0, u).wards[i].kind, 100 + i);
    // A freed slot takes the next ward.
    RemoveWard(0, u, 2);
    EXPECT_EQ(Add(0, u, 3, 0, { 0, 0, 0, 0, 0, 0, 0, 0 }, 999), 0);
    EXPECT_EQ(U(0, u).wards[2].kind, 999);
}

TEST_F(WardsTest, AnnouncedWardsTellTheOwnerSilentOnesDoNot)
{
    const int32_t u = AddTestUnit(0, 1, 1);
    Add(0, u, 3, 0, { 0, 0, 0, 0, 0, 0, 0, 0 }, 7, 0);
    Add(0, u, 3, 0, { 0, 0, 0, 0, 0, 0, 0, 0 }, 7, 1);
    RemoveWard(0, u, 0);
    EXPECT_TRUE(Feed().empty());
    RemoveWard(0, u, 1);
    EXPECT_TRUE(Fed("A ward vanished from your Soldier."));
    // Another player's ward is told only on his machine.
    const int32_t v = AddTestUnit(1, 2, 2);
    Add(1, v, 3, 0, { 0, 0, 0, 0, 0, 0, 0, 0 }, 7, 1);
    ClearHeard();
    RemoveWard(1, v, 0);
    EXPECT_TRUE(Feed().empty());
}

TEST_F(WardsTest, MovingEndsOnlyTheWardsThatEndOnMoving)
{
    const int32_t u = AddTestUnit(0, 1, 1);
    Add(0, u, 3, 1, { 0, 0, 2, 0, 0, 0, 0, 0 }, 1);
    Add(0, u, 3, 0, { 0, 0, 1, 0, 0, 0, 0, 0 }, 2);
    Add(0, u, 3, 1, { 1, 0, 0, 0, 0, 0, 0, 0 }, 3);
    const int32_t moves = U(0, u).moves;
    RemoveMoveWards(0, u);
    EXPECT_FALSE(U(0, u).wards[0].inuse);
    EXPECT_TRUE(U(0, u).wards[1].inuse);
    EXPECT_FALSE(U(0, u).wards[2].inuse);
    EXPECT_EQ(U(0, u).moves, moves - 2);
    EXPECT_EQ(GetStat(0, u, STAT_ATTACK), 3);
}

TEST_F(WardsTest, LifetimeWardEndsTheSummonedUnitOnceOnTheHost)
{
    const int32_t u = AddTestUnit(0, 4, 4, 3);
    map[4][4].explored = 1;
    AddWard(0, u, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, LIFETIMEWARD, 0);
    EXPECT_TRUE(RemoveWard(0, u, 0));
    EXPECT_TRUE(Fed("Your Imp broke apart and vanished."));  // shown though its announce flag is 0
    EXPECT_EQ(U(0, u).stat[STAT_LIFE], -9999);
    ASSERT_EQ(deathlist.size(), 1u);
    EXPECT_EQ(deathlist[0].id, U(0, u).id);
    EXPECT_EQ(deathlist[0].killer, static_cast<int32_t>(p.size()) - 1);
    EXPECT_EQ(HeardSounds(), std::vector<std::string>{ "Hurt3.wav" });

    EXPECT_FALSE(RemoveWard(0, u, 0));  // the slot is free now
    // A second lifetime ward on a unit already listed: no second entry, no sound.
    AddWard(0, u, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, LIFETIMEWARD, 1);
    EXPECT_TRUE(RemoveWard(0, u, 0));
    EXPECT_EQ(deathlist.size(), 1u);
    EXPECT_EQ(HeardSounds().size(), 1u);
}

TEST_F(WardsTest, LifetimeWardOnAClientWaitsForTheHost)
{
    BecomeClient(1);
    const int32_t u = AddTestUnit(0, 4, 4, 3);
    AddWard(0, u, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, LIFETIMEWARD, 1);
    RemoveWard(0, u, 0);
    EXPECT_EQ(U(0, u).stat[STAT_LIFE], -9999);
    EXPECT_TRUE(deathlist.empty());
    EXPECT_TRUE(Feed().empty());  // not the local player's unit
}

// Ability slots.

struct Call {
    int32_t a[6];
};
std::vector<Call> calls;

int32_t Recorder(int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5, int32_t a6)
{
    calls.push_back(Call{ { a1, a2, a3, a4, a5, a6 } });
    return 42;
}

class AbilitySlotsTest : public RulesTest {
protected:
    void SetUp() override
    {
        RulesTest::SetUp();
        calls.clear();
        u = AddTestUnit(0, 1, 1);
        U(0, u).abilities[0] = 0;   // Flying, kind 4
        U(0, u).abilities[3] = 2;   // Tough, kind 7
    }
    int32_t u = 0;
};

TEST_F(AbilitySlotsTest, KindOfASlot)
{
    EXPECT_TRUE(UnitHasAbilityKind(0, u, 0, ABILITY_MOVE));
    EXPECT_FALSE(UnitHasAbilityKind(0, u, 0, ABILITY_TURNSTART));
    EXPECT_TRUE(UnitHasAbilityKind(0, u, 3, ABILITY_TURNSTART));
    for (int32_t kind = -1; kind <= 10; kind++)
        EXPECT_FALSE(UnitHasAbilityKind(0, u, 1, kind)) << kind;    // empty slot
    U(0, u).abilities[4] = 3;   // no such record
    EXPECT_FALSE(UnitHasAbilityKind(0, u, 4, 0));
    EXPECT_FALSE(UnitHasAbilityKind(0, u, 5, ABILITY_MOVE));
    EXPECT_FALSE(UnitHasAbilityKind(0, u, -1, ABILITY_MOVE));
    EXPECT_FALSE(UnitHasAbilityKind(0, 7, 0, ABILITY_MOVE));
    EXPECT_FALSE(UnitHasAbilityKind(9, u, 0, ABILITY_MOVE));
}

TEST_F(AbilitySlotsTest, ExecutePassesAllSixWordsAndReturnsTheResult)
{
    abilities[2].handler = Recorder;
    EXPECT_EQ(ExecuteAbilitySlot(0, u, 3, 1, -2, 3, 4, 5, 6), 42);
    ASSERT_EQ(calls.size(), 1u);
    const int32_t expect[6] = { 1, -2, 3, 4, 5, 6 };
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(calls[0].a[i], expect[i]);
    EXPECT_TRUE(Logged("Executing ability Tough for P0's unit #0(1) sub=5\n"));
}

TEST_F(AbilitySlotsTest, BadOrEmptySlotsRunNothing)
{
    for (AbilityInfo& a : abilities)
        a.handler = Recorder;
    U(0, u).abilities[4] = 99;      // names no ability
    U(0, u).abilities[2] = -7;
    const int32_t slots[][3] = { { 0, 0, 1 }, { 0, 0, 2 }, { 0, 0, 4 }, { 0, 0, 5 }, { 0, 0, -1 }, { 0, 1, 0 },
                                 { 0, -1, 0 }, { 5, 0, 0 }, { -1, 0, 0 } };
    for (const auto& s : slots)
        EXPECT_EQ(ExecuteAbilitySlot(s[0], s[1], s[2], 1, 2, 3, 4, 5, 6), 0) << s[0] << "," << s[1] << "," << s[2];
    EXPECT_TRUE(calls.empty());
    // No handler bound yet: nothing runs either.
    abilities[0].handler = nullptr;
    EXPECT_EQ(ExecuteAbilitySlot(0, u, 0, 1, 2, 3, 4, 5, 6), 0);
}

TEST_F(AbilitySlotsTest, AbilityByExactName)
{
    EXPECT_TRUE(HasAbilityNamed(U(0, u), "Flying"));
    EXPECT_TRUE(HasAbilityNamed(U(0, u), "Tough"));
    EXPECT_FALSE(HasAbilityNamed(U(0, u), "Poison"));
    EXPECT_FALSE(HasAbilityNamed(U(0, u), "Fly"));
    EXPECT_FALSE(HasAbilityNamed(U(0, u), "Flyingx"));
    EXPECT_FALSE(HasAbilityNamed(U(0, u), "flying"));
}

} // namespace
