// Healing, mana and control spells, cast through the resolution on the host and replayed on a client.
// Overmaster and Possession remove a unit from its player's list under the running cast: the cast
// must charge and credit the right units afterwards and leave no index pointing past a list.
#include "game/magic/spells.h"
#include "game/model/stats.h"
#include "game/model/wards.h"
#include "spells_fixture.h"

TEST_F(SpellTest, HealingAndManaSpells)
{
    // Caster: player 0's soldier (ids[0]) at (5, 5) with 5 mana; its friend (ids[1]) at (4, 5); an enemy
    // (ids[2]) at (6, 5) with 5 mana.
    const auto on = [](int32_t player, int32_t hp = 10) {
        return [player, hp](Ids& ids) {
            const int32_t c = Note(ids, 0, 5, 5);
            const int32_t f = Note(ids, 0, 4, 5);
            const int32_t e = Note(ids, 1, 6, 5);
            U(player, player == 0 ? f : e).hp = hp;
            return Target{ 0, c, player, player == 0 ? f : e };
        };
    };
    Run({
        { "6 life", "Heal", on(0, 2), [](const Ids& ids) { EXPECT_EQ(Id(ids[1]).hp, 8); } },
        { "no higher than life", "Rejuvinate", on(0, 2), [](const Ids& ids) { EXPECT_EQ(Id(ids[1]).hp, 10); } },
        { "a move more for every own unit", "Frantic", on(0),
          [](const Ids& ids) {
              EXPECT_EQ(Id(ids[1]).moves, 4);
              EXPECT_EQ(Id(ids[2]).moves, 3);
          } },
        { "4 moves more", "Enervate", on(0), [](const Ids& ids) { EXPECT_EQ(Id(ids[1]).moves, 7); } },
        { "the enemy's mana to the caster, at most 10", "ManaDrain",
          [&](Ids& ids) {
              const Target t = on(1)(ids);
              U(0, t.cu).mana = 8;
              return t;
          },
          [](const Ids& ids) {
              EXPECT_EQ(Id(ids[2]).mana, 0);
              EXPECT_EQ(Id(ids[0]).mana, 10 - 1);
          } },
        { "2 mana, at most 10", "Recharge",
          [&](Ids& ids) {
              const Target t = on(0)(ids);
              U(0, t.b).mana = 9;
              return t;
          },
          [](const Ids& ids) { EXPECT_EQ(Id(ids[1]).mana, 10); } },
        { "the remains picked clean for 15 gold", "Loot",
          [&](Ids& ids) {
              const Target t = on(0)(ids);
              map[7][7].timed = 1;
              p[0].gold = 100;
              p[1].gold = 0;
              return Target{ t.cp, t.cu, 7, 7 };
          },
          [](const Ids&) {
              EXPECT_EQ(map[7][7].timed, 0);
              EXPECT_EQ(p[0].gold, 115);
              EXPECT_EQ(p[1].gold, 0);
          } },
    });
}

TEST_F(SpellTest, HealBringsHitPointsDownToALoweredLife)
{
    const int32_t u = Put(0, 5, 5);
    U(0, u).hp = 12;    // a life ward ended
    SpellHeal(0, u, 0, u, 0, 0);
    EXPECT_EQ(U(0, u).hp, 10);
}

TEST_F(SpellTest, TakeoverSpells)
{
    // Caster: player 0's soldier (ids[0]) at (5, 5), after its warlord; the target (ids[1]) on (6, 5)
    // with 3 of 10 hp, and behind it in its list another unit (ids[2]) at (8, 8).
    const auto victim = [](int32_t player, bool middle) {
        return [player, middle](Ids& ids) {
            const int32_t c = Note(ids, 0, 5, 5);
            if (player == NEUTRAL)
                Put(NEUTRAL, 9, 1);     // the neutral side's first unit is no warlord
            const int32_t t = Note(ids, player, 6, 5, IMP);
            U(player, t).stat[STAT_LIFE] = 10;
            U(player, t).hp = 3;
            if (middle)
                Note(ids, player, 8, 8);
            return Target{ 0, c, player, t };
        };
    };
    const auto overmastered = [](const Ids& ids) {
        const UnitRef t = FindUnit(ids[1]);
        ASSERT_EQ(t.player, 0);
        const Unit& u = Id(ids[1]);
        EXPECT_EQ(u.hp, 3 + 5);
        EXPECT_EQ(u.moves, 0);
        EXPECT_EQ(u.hits, 0);
        EXPECT_EQ(u.type, IMP);
        // The caster paid for the cast, and nobody else did.
        EXPECT_EQ(Id(ids[0]).hits, 0);
        EXPECT_EQ(Id(ids[0]).mana, 4);
    };
    const auto possessed = [](const Ids& ids) {
        EXPECT_FALSE(Exists(ids[1]));
        const Unit& c = Id(ids[0]);
        EXPECT_EQ(c.type, IMP);
        EXPECT_EQ(c.x, 6);
        EXPECT_EQ(c.y, 5);
        EXPECT_EQ(c.hp, 3);
        EXPECT_EQ(c.stat[STAT_LIFE], 10);
        EXPECT_EQ(c.mana, 5 - 1);
        EXPECT_EQ(c.hits, 0);
        EXPECT_EQ(FindUnit(ids[0]).player, 0);
    };
    Run({
        { "a neutral guard, the last of its list", "Overmaster", victim(NEUTRAL, false),
          [&](const Ids& ids) {
              overmastered(ids);
              EXPECT_EQ(p[NEUTRAL].units.size(), 1u);
          } },
        { "another player's unit in the middle of its list", "Overmaster", victim(1, true),
          [&](const Ids& ids) {
              overmastered(ids);
              EXPECT_EQ(FindUnit(ids[2]).player, 1);
              EXPECT_EQ(p[1].units.size(), 2u);
          } },
        { "the last unit of its list", "Possession", victim(1, false), possessed },
        { "a unit in the middle of its list", "Possession", victim(1, true),
          [&](const Ids& ids) {
              possessed(ids);
              EXPECT_EQ(Id(ids[2]).hp, 10);
          } },
        { "a neutral guard", "Possession", victim(NEUTRAL, true), possessed },
    });
}

TEST_F(SpellTest, TakeoverSpellsLeaveTheCastersOwnSideAlone)
{
    // A neutral caster may aim Possession at its own guards (kind 3 accepts every neutral unit): the
    // handlers refuse their own side, a warlord and the caster itself.
    const int32_t guard = Put(NEUTRAL, 5, 5);
    const int32_t other = Put(NEUTRAL, 6, 5, IMP);
    const int32_t warlord = Put(1, 7, 5, WARLORD);
    const uint64_t before = GameStateDigest();
    SpellPossession(NEUTRAL, guard, NEUTRAL, other, 0, 0);
    SpellPossession(NEUTRAL, guard, NEUTRAL, guard, 0, 0);
    SpellOvermaster(NEUTRAL, guard, NEUTRAL, other, 0, 0);
    SpellOvermaster(NEUTRAL, guard, 1, warlord, 0, 0);
    SpellPossession(NEUTRAL, guard, 1, warlord, 0, 0);
    SpellOvermaster(NEUTRAL, guard, 1, 5, 0, 0);
    EXPECT_EQ(GameStateDigest(), before);
    // Through the resolution as the host would run it: the caster is still charged, once.
    ASSERT_TRUE(ResolveSpell(NEUTRAL, guard, NEUTRAL, other, 0, SpellIndex("Possession")));
    EXPECT_EQ(U(NEUTRAL, guard).type, SOLDIER);
    EXPECT_EQ(U(NEUTRAL, guard).hits, 0);
    EXPECT_EQ(p[NEUTRAL].units.size(), 2u);
}
