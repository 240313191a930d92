// Ward and dispel spells, cast through the resolution on the host and replayed on a client: the ward
// each leaves (turns, kind, modifiers), what it changes at once, and what Exorcize ends.
#include "game/magic/spells.h"
#include "game/magic/spellsteps.h"
#include "game/magic/wardslots.h"
#include "game/model/stats.h"
#include "game/model/wards.h"
#include "spells_fixture.h"

namespace {

struct WardWant {
    int32_t turns, kind;
    uint8_t announce;
    StatMods mods;
};

void ExpectWard(const Ward& w, const WardWant& want)
{
    EXPECT_TRUE(w.inuse);
    EXPECT_EQ(w.flag, 0);
    EXPECT_EQ(w.turns, want.turns);
    EXPECT_EQ(w.kind, want.kind);
    EXPECT_EQ(w.announce, want.announce);
    for (int k = 0; k < NUMSTATS; k++)
        EXPECT_EQ(w.mods[k], want.mods[k]) << "stat " << k;
}

} // namespace

TEST_F(SpellTest, WardSpellsOnOneUnit)
{
    // Caster: player 0's soldier (ids[0]) at (5, 5); its friend (ids[1]) at (4, 5); an enemy (ids[2]) at
    // (6, 5). Soldiers: 3 moves, 2 actions.
    const auto on = [](int32_t player) {
        return [player](Ids& ids) {
            const int32_t c = Note(ids, 0, 5, 5);
            const int32_t f = Note(ids, 0, 4, 5);
            const int32_t e = Note(ids, 1, 6, 5);
            return Target{ 0, c, player, player == 0 ? f : e };
        };
    };
    Run({
        { "stealth +2", "Invisibility", on(0),
          [](const Ids& ids) { ExpectWard(Id(ids[1]).wards[0], { 3, -1, 1, { 0, 0, 0, 0, 0, 0, 2, 0 } }); } },
        { "attack +2, moves +1 at once", "Vigilance", on(0),
          [](const Ids& ids) {
              ExpectWard(Id(ids[1]).wards[0], { 3, -1, 1, { 2, 0, 1, 0, 0, 0, 0, 0 } });
              EXPECT_EQ(Id(ids[1]).moves, 4);
          } },
        { "actions +2 at once", "DoubleStrike", on(0),
          [](const Ids& ids) {
              ExpectWard(Id(ids[1]).wards[0], { 3, -1, 1, { 0, 0, 0, 0, 2, 0, 0, 0 } });
              EXPECT_EQ(Id(ids[1]).hits, 4);
          } },
        { "attack -3, moves -2", "Curse",
          [&](Ids& ids) {
              const Target t = on(1)(ids);
              U(1, t.b).moves = 1;
              return t;
          },
          [](const Ids& ids) {
              ExpectWard(Id(ids[2]).wards[0], { 3, -1, 1, { -3, 0, -2, 0, 0, 0, 0, 0 } });
              EXPECT_EQ(Id(ids[2]).moves, -1);
          } },
        { "moves -4 for a turn", "Sluggishness", on(1),
          [](const Ids& ids) {
              ExpectWard(Id(ids[2]).wards[0], { 1, -1, 1, { 0, 0, -4, 0, 0, 0, 0, 0 } });
              EXPECT_EQ(Id(ids[2]).moves, -1);
          } },
        { "the target's strength to the caster", "PowerDrain", on(1),
          [](const Ids& ids) {
              ExpectWard(Id(ids[2]).wards[0], { 3, -1, 1, { -2, 0, -2, 0, 0, 0, 0, 0 } });
              ExpectWard(Id(ids[0]).wards[0], { 3, -1, 1, { 2, 0, 2, 0, 0, 0, 0, 0 } });
              EXPECT_EQ(Id(ids[2]).moves, 1);
          } },
        { "no moves and no actions", "Petrify", on(1),
          [](const Ids& ids) {
              ExpectWard(Id(ids[2]).wards[0], { 1, 7, 1, { 0, 0, -3, 0, -2, 0, 0, 0 } });
              EXPECT_EQ(Id(ids[2]).moves, 0);
              EXPECT_EQ(Id(ids[2]).hits, 0);
          } },
        { "petrified again: one turn more, no second ward", "Petrify",
          [&](Ids& ids) {
              const Target t = on(1)(ids);
              SpellPetrify(0, t.cu, 1, t.b, 0, 0);
              return t;
          },
          [](const Ids& ids) {
              EXPECT_EQ(Id(ids[2]).wards[0].turns, 2);
              EXPECT_FALSE(Id(ids[2]).wards[1].inuse);
          } },
        { "by day: attack -4", "Solar", on(1),
          [](const Ids& ids) { ExpectWard(Id(ids[2]).wards[0], { 1, -1, 1, { -4, 0, 0, 0, 0, 0, 0, 0 } }); } },
        { "at night: heals 4, no ward", "Solar",
          [&](Ids& ids) {
              const Target t = on(1)(ids);
              turncount = 2;
              U(1, t.b).hp = 3;
              return t;
          },
          [](const Ids& ids) {
              EXPECT_EQ(Id(ids[2]).hp, 7);
              EXPECT_FALSE(Id(ids[2]).wards[0].inuse);
          } },
        { "attack -2 around, the caster's own too; the target's range -2", "Subdual", on(1),
          [](const Ids& ids) {
              ExpectWard(Id(ids[2]).wards[0], { 1, 0, 0, { -2, 0, 0, 0, 0, 0, 0, 0 } });
              ExpectWard(Id(ids[2]).wards[1], { 1, -1, 1, { 0, 0, 0, -2, 0, 0, 0, 0 } });
              ExpectWard(Id(ids[0]).wards[0], { 1, 0, 0, { -2, 0, 0, 0, 0, 0, 0, 0 } });
              EXPECT_FALSE(Id(ids[1]).wards[0].inuse);  // two squares off
          } },
        { "every own unit: mana +1, attack and moves +1", "Will", on(0),
          [](const Ids& ids) {
              EXPECT_EQ(Id(ids[1]).mana, 6);
              EXPECT_EQ(Id(ids[0]).mana, 5);     // +1, then 1 paid for the cast
              ExpectWard(Id(ids[1]).wards[0], { 0, 0, 0, { 1, 0, 1, 0, 0, 0, 0, 0 } });
              EXPECT_EQ(Id(ids[1]).moves, 4);
              EXPECT_FALSE(Id(ids[2]).wards[0].inuse);
          } },
        { "poison and every ward gone", "Exorcize",
          [&](Ids& ids) {
              const Target t = on(1)(ids);
              U(1, t.b).poison = 2;
              AddWard(1, t.b, 3, 0, 2, 0, 1, 0, 0, 0, 0, 0, -1, 1);
              AddWard(1, t.b, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0);
              return t;
          },
          [](const Ids& ids) {
              const Unit& t = Id(ids[2]);
              EXPECT_EQ(t.poison, 0);
              for (const Ward& w : t.wards)
                  EXPECT_FALSE(w.inuse);
              EXPECT_EQ(t.moves, 3);
              EXPECT_EQ(Id(ids[0]).experience, 25);
          } },
        { "nothing to end: no experience", "Exorcize", on(1),
          [](const Ids& ids) { EXPECT_EQ(Id(ids[0]).experience, 0); } },
        { "a summoned unit loses its lifetime and dies", "Exorcize",
          [&](Ids& ids) {
              const Target t = on(1)(ids);
              AddWard(1, t.b, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, LIFETIMEWARD, 1);
              return t;
          },
          [](const Ids& ids) {
              EXPECT_FALSE(Exists(ids[2]));
              EXPECT_EQ(Id(ids[0]).experience, 25);
          } },
    });
}

TEST_F(SpellTest, WardSpellsWithoutRoom)
{
    const int32_t c = Put(0, 5, 5);
    const int32_t t = Put(1, 6, 5);
    for (int k = 0; k < MAXWARDS; k++)
        AddWard(1, t, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0);
    const Unit before = U(1, t);
    log.clear();
    EXPECT_TRUE(SpellCurse(0, c, 1, t, 0, 0));
    EXPECT_EQ(U(1, t).moves, before.moves);
    EXPECT_TRUE(Logged("Couldn't add ward!  No room remaining."));
    // The caster still gains its half of PowerDrain.
    EXPECT_TRUE(SpellPowerDrain(0, c, 1, t, 0, 0));
    EXPECT_TRUE(U(0, c).wards[0].inuse);
    EXPECT_EQ(U(0, c).moves, 5);
    // Will goes on with the next unit.
    const int32_t friendly = Put(0, 4, 5);
    for (int k = 0; k < MAXWARDS; k++)
        AddWard(0, c, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0);
    SpellWill(0, c, 0, 0, 0, 0);
    EXPECT_TRUE(U(0, friendly).wards[0].inuse);
    // A unit that does not exist is left alone.
    EXPECT_FALSE(SpellVigilance(0, c, 1, 9, 0, 0));
    EXPECT_FALSE(SpellExorcize(0, c, 4, 0, 0, 0));
}
