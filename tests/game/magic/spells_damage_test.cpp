// Damage spells, cast through the resolution on the host and replayed on a client: who is hit, for how
// much, who dies, and what the caster earns (4 experience per point, the victim's life for a kill).
#include "game/magic/spells.h"
#include "game/model/mapgen.h"
#include "game/model/stats.h"
#include "game/model/wards.h"
#include "spells_fixture.h"

TEST_F(SpellTest, DamageSpellsOnOneUnit)
{
    // Caster: player 0's Soldier on (5, 5) (ids[0]); target: player 1's Soldier (ids[1]), life 10.
    const auto duel = [](Ids& ids, int32_t hp, int32_t mana = 5) {
        const int32_t c = Note(ids, 0, 5, 5);
        const int32_t t = Note(ids, 1, 6, 5);
        U(1, t).hp = hp;
        U(1, t).mana = mana;
        return Target{ 0, c, 1, t };
    };
    Run({
        { "a bolt of 7", "Sparks", [&](Ids& ids) { return duel(ids, 10); },
          [](const Ids& ids) {
              EXPECT_EQ(Id(ids[1]).hp, 3);
              EXPECT_EQ(Id(ids[0]).experience, 7 * 4);
          } },
        { "a bolt of 7 kills a unit with 5", "Sparks", [&](Ids& ids) { return duel(ids, 5); },
          [](const Ids& ids) {
              EXPECT_FALSE(Exists(ids[1]));
              EXPECT_EQ(Id(ids[0]).experience, 7 * 4 + 10);
          } },
        { "25", "Ultra", [&](Ids& ids) { return duel(ids, 10); }, [](const Ids& ids) { EXPECT_FALSE(Exists(ids[1])); } },
        { "10 leaves 0, which kills", "EnergyArc", [&](Ids& ids) { return duel(ids, 10); },
          [](const Ids& ids) { EXPECT_FALSE(Exists(ids[1])); } },
        { "4 drained into the caster", "DrainLife",
          [&](Ids& ids) {
              const Target t = duel(ids, 10);
              U(0, t.cu).hp = 4;
              return t;
          },
          [](const Ids& ids) {
              EXPECT_EQ(Id(ids[1]).hp, 6);
              EXPECT_EQ(Id(ids[0]).hp, 8);
          } },
        { "the caster's gain stops at its life", "DrainLife", [&](Ids& ids) { return duel(ids, 10); },
          [](const Ids& ids) { EXPECT_EQ(Id(ids[0]).hp, 10); } },
        { "5 and a mana point", "Vitality",
          [&](Ids& ids) {
              const Target t = duel(ids, 10, 3);
              U(0, t.cu).hp = 3;
              return t;
          },
          [](const Ids& ids) {
              EXPECT_EQ(Id(ids[1]).hp, 5);
              EXPECT_EQ(Id(ids[1]).mana, 2);
              EXPECT_EQ(Id(ids[0]).hp, 8);
              EXPECT_EQ(Id(ids[0]).mana, 5 + 1 - 1);     // gained 1, paid 1 for the cast
          } },
        { "the target's mana as damage", "Discharge", [&](Ids& ids) { return duel(ids, 10, 3); },
          [](const Ids& ids) {
              EXPECT_EQ(Id(ids[1]).hp, 7);
              EXPECT_EQ(Id(ids[1]).mana, 0);
              EXPECT_EQ(Id(ids[0]).experience, 12);
          } },
        { "4 and chilled for a turn", "Ice", [&](Ids& ids) { return duel(ids, 10); },
          [](const Ids& ids) {
              const Unit& t = Id(ids[1]);
              EXPECT_EQ(t.hp, 6);
              EXPECT_EQ(t.moves, 0);
              EXPECT_EQ(t.wards[0].kind, 0);
              EXPECT_EQ(t.wards[0].turns, 1);
              EXPECT_EQ(t.wards[0].mods[STAT_ATTACK], -3);
              EXPECT_EQ(t.wards[0].mods[STAT_MOVES], -3);
          } },
        { "8, no mana, no mana gain or resistance", "Deluge",
          [&](Ids& ids) {
              const Target t = duel(ids, 10);
              U(1, t.b).stat[STAT_RESIST] = 2;
              return t;
          },
          [](const Ids& ids) {
              const UnitRef t = FindUnit(ids[1]);
              EXPECT_EQ(Id(ids[1]).hp, 2);
              EXPECT_EQ(Id(ids[1]).mana, 0);
              EXPECT_EQ(GetStat(t.player, t.unit, STAT_MANA), 0);
              EXPECT_EQ(GetStat(t.player, t.unit, STAT_RESIST), 0);
              EXPECT_EQ(GetStat(t.player, t.unit, STAT_ATTACK), 3 - 2);
              EXPECT_EQ(Id(ids[1]).wards[0].kind, -1);
          } },
    });
}

TEST_F(SpellTest, DamageSpellsWithSplash)
{
    // Caster (ids[0]) at (2, 2); target (ids[1]) at (6, 6); an enemy (ids[2]) at (7, 7) next to it, one
    // of the caster's own (ids[3]) at (5, 6), and an enemy (ids[4]) two squares off at (8, 6).
    const auto crowd = [](Ids& ids) {
        const int32_t c = Note(ids, 0, 2, 2);
        const int32_t t = Note(ids, 1, 6, 6);
        Note(ids, 1, 7, 7);
        Note(ids, 0, 5, 6);
        Note(ids, 1, 8, 6);
        return Target{ 0, c, 1, t };
    };
    Run({
        { "12 on the target, 4 and the slow on the enemies around", "Storm", crowd,
          [](const Ids& ids) {
              EXPECT_FALSE(Exists(ids[1]));
              const Unit& near = Id(ids[2]);
              EXPECT_EQ(near.hp, 6);
              EXPECT_EQ(near.mana, 2);
              EXPECT_EQ(near.moves, 2);
              EXPECT_EQ(near.wards[0].mods[STAT_ATTACK], -2);
              EXPECT_EQ(Id(ids[3]).hp, 10);
              EXPECT_FALSE(Id(ids[3]).wards[0].inuse);
              EXPECT_EQ(Id(ids[4]).hp, 10);
          } },
        { "4 and frozen; the enemies around lose a move", "Freezing", crowd,
          [](const Ids& ids) {
              EXPECT_EQ(Id(ids[1]).hp, 6);
              EXPECT_EQ(Id(ids[1]).moves, 0);
              EXPECT_EQ(Id(ids[2]).moves, 2);
              EXPECT_EQ(Id(ids[2]).hp, 10);
              EXPECT_EQ(Id(ids[3]).moves, 3);
              EXPECT_EQ(Id(ids[4]).moves, 3);
          } },
    });
}

TEST_F(SpellTest, DamageSpellsOnASquare)
{
    // Caster (ids[0]) at (1, 1); around (6, 6): an enemy on trees (ids[1]) at (5, 5), an enemy on open
    // ground (ids[2]) at (7, 6), one of the caster's own (ids[3]) at (6, 7), an enemy outside (ids[4]) at
    // (8, 8).
    const auto field = [](Ids& ids) {
        const int32_t c = Note(ids, 0, 1, 1);
        map[5][5].terrain = TERRAIN_TREES;
        Note(ids, 1, 5, 5);
        Note(ids, 1, 7, 6);
        Note(ids, 0, 6, 7);
        Note(ids, 1, 8, 8);
        return Target{ 0, c, 6, 6 };
    };
    const auto untouched = [](const Ids& ids) {
        EXPECT_EQ(Id(ids[3]).hp, 10);
        EXPECT_EQ(Id(ids[4]).hp, 10);
    };
    Run({
        { "5 in trees, 2 on open ground", "Earthquake", field,
          [&](const Ids& ids) {
              EXPECT_EQ(Id(ids[1]).hp, 5);
              EXPECT_EQ(Id(ids[2]).hp, 8);
              untouched(ids);
          } },
        { "fire on the cross, 4 around", "Meteor", field,
          [&](const Ids& ids) {
              EXPECT_EQ(Id(ids[1]).hp, 6);
              EXPECT_EQ(Id(ids[2]).hp, 6);
              untouched(ids);
              for (const auto& sq : { std::pair{ 6, 6 }, { 5, 6 }, { 7, 6 }, { 6, 5 }, { 6, 7 } })
                  EXPECT_EQ(map[sq.first][sq.second].hazard, 2);
              EXPECT_EQ(map[5][5].hazard, 0);
          } },
        { "the remains spent, 4 around", "VSpirit",
          [&](Ids& ids) {
              const Target t = field(ids);
              map[6][6].timed = 1;
              return t;
          },
          [&](const Ids& ids) {
              EXPECT_EQ(map[6][6].timed, 0);
              EXPECT_EQ(Id(ids[2]).hp, 6);
              untouched(ids);
          } },
        { "bare ground, 5 around, every move-bound ward on the map ends", "Burst",
          [&](Ids& ids) {
              const Target t = field(ids);
              map[6][6].terrain = TERRAIN_ROUGH;
              map[6][6].cost = COST_ROUGH;
              map[6][6].extra = 3;
              const UnitRef far = FindUnit(ids[4]);
              AddWard(far.player, far.unit, 99999, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
              AddWard(far.player, far.unit, 3, 0, 0, 0, 0, 0, 0, 2, 0, 0, -1, 0);
              return t;
          },
          [&](const Ids& ids) {
              EXPECT_EQ(map[6][6].terrain, TERRAIN_OPEN);
              EXPECT_EQ(map[6][6].extra, 0);
              EXPECT_EQ(map[6][6].cost, COST_OPEN);
              EXPECT_EQ(Id(ids[1]).hp, 5);
              untouched(ids);
              EXPECT_FALSE(Id(ids[4]).wards[0].inuse);
              EXPECT_TRUE(Id(ids[4]).wards[1].inuse);
          } },
        { "poison on the enemies around", "Plague", field,
          [&](const Ids& ids) {
              EXPECT_EQ(Id(ids[1]).poison, 3);
              EXPECT_EQ(Id(ids[2]).poison, 3);
              EXPECT_EQ(Id(ids[3]).poison, 0);
              EXPECT_EQ(Id(ids[4]).poison, 0);
              EXPECT_EQ(Id(ids[0]).experience, 30);
          } },
    });
}

TEST_F(SpellTest, SelfdestructHitsEveryoneAroundAndAlwaysKillsTheCaster)
{
    Run({
        { "own and enemy neighbours", "Selfdestruct",
          [](Ids& ids) {
              const int32_t c = Note(ids, 0, 5, 5);
              Note(ids, 0, 4, 5);
              const int32_t tough = Note(ids, 1, 6, 6);
              U(1, tough).hp = 30;
              U(1, tough).stat[STAT_LIFE] = 30;
              Note(ids, 1, 7, 5);
              return Target{ 0, c, 5, 5 };
          },
          [](const Ids& ids) {
              EXPECT_FALSE(Exists(ids[0]));
              EXPECT_FALSE(Exists(ids[1]));
              EXPECT_EQ(Id(ids[2]).hp, 10);
              EXPECT_EQ(Id(ids[3]).hp, 10);
          } },
        { "nobody near", "Selfdestruct",
          [](Ids& ids) {
              const int32_t c = Note(ids, 0, 5, 5);
              return Target{ 0, c, 5, 5 };
          },
          [](const Ids& ids) { EXPECT_FALSE(Exists(ids[0])); } },
    });
}

TEST_F(SpellTest, DamageSpellEdges)
{
    const int32_t c = Put(0, 5, 5);
    const int32_t t = Put(1, 6, 5);
    U(1, t).mana = 0;
    // No mana: still one point, and no experience for it.
    SpellDischarge(0, c, 1, t, 0, 0);
    EXPECT_EQ(U(1, t).hp, 9);
    EXPECT_EQ(U(0, c).experience, 0);
    // Hurting one's own side pays nothing.
    const int32_t own = Put(0, 4, 5);
    SpellSparks(0, c, 0, own, 0, 0);
    EXPECT_EQ(U(0, own).hp, 3);
    EXPECT_EQ(U(0, c).experience, 0);
    // A target that does not exist: nothing at all, not even experience or a death.
    SpellSparks(0, c, 1, 7, 0, 0);
    SpellSparks(0, c, 9, 0, 0, 0);
    SpellIce(0, c, 1, 7, 0, 0);
    EXPECT_EQ(U(0, c).experience, 0);
    EXPECT_TRUE(deathlist.empty());
    // A neutral guard struck wakes its whole camp.
    const int32_t g1 = Put(NEUTRAL, 1, 1);
    const int32_t g2 = Put(NEUTRAL, 9, 9);
    const int32_t other = Put(NEUTRAL, 9, 1);
    U(NEUTRAL, g1).group = U(NEUTRAL, g2).group = 4;
    U(NEUTRAL, other).group = 5;
    SpellSparks(0, c, NEUTRAL, g1, 0, 0);
    EXPECT_EQ(U(NEUTRAL, g2).alerted, 1);
    EXPECT_EQ(U(NEUTRAL, other).alerted, 0);
    // On a client the dying stay until the host's kill arrives.
    ishost = 0;
    SpellUltra(0, c, 1, t, 0, 0);
    EXPECT_TRUE(deathlist.empty());
}
