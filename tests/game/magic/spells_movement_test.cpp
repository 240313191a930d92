// Movement, transformation and summoning spells, cast through the resolution on the host and replayed
// on a client: where units end up, who pays a hit point for being pushed, what a unit turns into, and
// the creatures summoned (created by the host's message on the client before its copy of the cast).
#include <string>

#include "game/magic/spells.h"
#include "game/model/stats.h"
#include "game/model/strings.h"
#include "spells_fixture.h"

namespace {

void ExpectAt(const Unit& u, int32_t x, int32_t y)
{
    EXPECT_EQ(u.x, x);
    EXPECT_EQ(u.y, y);
}

} // namespace

TEST_F(SpellTest, PushSpells)
{
    // ids[0] is the caster (player 0); the others as each case lists them.
    const auto units = [](std::vector<std::pair<int32_t, std::pair<int32_t, int32_t>>> list) {
        return [list](Ids& ids) {
            int32_t first = -1, target = -1;
            for (const auto& [player, sq] : list) {
                const int32_t u = Note(ids, player, sq.first, sq.second);
                if (first < 0)
                    first = u;
                else if (target < 0)
                    target = u;
            }
            return Target{ 0, first, 1, target };
        };
    };
    Run({
        { "diagonal: along the diagonal", "Repel", units({ { 0, { 5, 5 } }, { 1, { 6, 6 } } }),
          [](const Ids& ids) {
              ExpectAt(Id(ids[1]), 7, 7);
              EXPECT_EQ(Id(ids[1]).hp, 9);
              EXPECT_EQ(Id(ids[0]).experience, 4);
          } },
        { "two east, one north: east", "Repel", units({ { 0, { 5, 5 } }, { 1, { 7, 4 } } }),
          [](const Ids& ids) { ExpectAt(Id(ids[1]), 8, 4); } },
        { "a line is pushed from its far end", "Repel", units({ { 0, { 3, 5 } }, { 1, { 4, 5 } }, { 0, { 5, 5 } } }),
          [](const Ids& ids) {
              ExpectAt(Id(ids[1]), 5, 5);
              ExpectAt(Id(ids[2]), 6, 5);
              EXPECT_EQ(Id(ids[1]).hp, 9);
              EXPECT_EQ(Id(ids[2]).hp, 9);
              EXPECT_EQ(Id(ids[0]).experience, 4);    // the own unit pays nothing
          } },
        { "a line against the edge stays, each tried pays", "Repel",
          units({ { 0, { 8, 5 } }, { 1, { 9, 5 } }, { 1, { 10, 5 } }, { 1, { 11, 5 } } }),
          [](const Ids& ids) {
              for (int i = 1; i <= 3; i++) {
                  ExpectAt(Id(ids[i]), 8 + i, 5);
                  EXPECT_EQ(Id(ids[i]).hp, 9);
              }
          } },
        { "a forcefield blocks", "Repel",
          [&](Ids& ids) {
              map[7][5].counter2 = 2;
              return units({ { 0, { 5, 5 } }, { 1, { 6, 5 } } })(ids);
          },
          [](const Ids& ids) {
              ExpectAt(Id(ids[1]), 6, 5);
              EXPECT_EQ(Id(ids[1]).hp, 9);
          } },
        { "every enemy within 3 squares", "Psychic",
          units({ { 0, { 5, 5 } }, { 1, { 7, 5 } }, { 1, { 5, 2 } }, { 1, { 9, 5 } }, { 0, { 4, 5 } }, { 1, { 6, 6 } } }),
          [](const Ids& ids) {
              ExpectAt(Id(ids[1]), 8, 5);
              ExpectAt(Id(ids[2]), 5, 1);
              ExpectAt(Id(ids[3]), 9, 5);
              ExpectAt(Id(ids[4]), 4, 5);
              ExpectAt(Id(ids[5]), 7, 7);
              EXPECT_EQ(Id(ids[3]).hp, 10);
              EXPECT_EQ(Id(ids[4]).hp, 10);
          } },
    });
}

TEST_F(SpellTest, CarryingSpells)
{
    Run({
        { "the caster appears on the square", "Teleport",
          [](Ids& ids) {
              const int32_t c = Note(ids, 0, 5, 5);
              map[8][3].hazard = 1;     // a brushfire: the square takes effect
              return Target{ 0, c, 8, 3 };
          },
          [](const Ids& ids) {
              ExpectAt(Id(ids[0]), 8, 3);
              EXPECT_EQ(Id(ids[0]).hp, 5);
          } },
        { "the block around the caster lands around the square; a taken place keeps its unit", "Phasewarp",
          [](Ids& ids) {
              const int32_t c = Note(ids, 0, 3, 3);
              Note(ids, 0, 2, 3);
              Note(ids, 1, 4, 4);
              Note(ids, 1, 7, 8);   // where the friend would land
              return Target{ 0, c, 8, 8 };
          },
          [](const Ids& ids) {
              ExpectAt(Id(ids[0]), 8, 8);
              ExpectAt(Id(ids[1]), 2, 3);
              ExpectAt(Id(ids[2]), 9, 9);
              ExpectAt(Id(ids[3]), 7, 8);
          } },
        { "swap places, 2 to the enemies around the new square", "Transfer",
          [](Ids& ids) {
              const int32_t c = Note(ids, 0, 5, 5);
              const int32_t t = Note(ids, 1, 8, 8);
              Note(ids, 1, 9, 9);
              Note(ids, 0, 7, 8);
              return Target{ 0, c, 1, t };
          },
          [](const Ids& ids) {
              ExpectAt(Id(ids[0]), 8, 8);
              ExpectAt(Id(ids[1]), 5, 5);
              EXPECT_EQ(Id(ids[1]).hp, 10);
              EXPECT_EQ(Id(ids[2]).hp, 8);
              EXPECT_EQ(Id(ids[3]).hp, 10);
          } },
        { "a leap, then 5 to every enemy around", "Pounce",
          [](Ids& ids) {
              const int32_t c = Note(ids, 0, 2, 2);
              Note(ids, 1, 7, 7);
              Note(ids, 1, 5, 6);
              Note(ids, 0, 6, 7);
              Note(ids, 1, 8, 6);
              return Target{ 0, c, 6, 6 };
          },
          [](const Ids& ids) {
              ExpectAt(Id(ids[0]), 6, 6);
              EXPECT_EQ(Id(ids[1]).hp, 5);
              EXPECT_EQ(Id(ids[2]).hp, 5);
              EXPECT_EQ(Id(ids[3]).hp, 10);
              EXPECT_EQ(Id(ids[4]).hp, 10);
          } },
    });
}

TEST_F(SpellTest, ChangingForm)
{
    const auto wagon = [](int32_t level) {
        return [level](Ids& ids) {
            const int32_t c = Note(ids, 0, 5, 5, WAGON);
            if (level > 0) {
                // A wagon that has reached level 2: its base stats hold the level's additions.
                U(0, c).type += 10000;
                U(0, c).stat[STAT_LIFE] += 3;
            }
            U(0, c).rocks = 999999 + 4;     // four stones gathered on the road
            return Target{ 0, c, 5, 5 };
        };
    };
    Run({
        { "unlimbered", "Unpack", wagon(0),
          [](const Ids& ids) {
              const Unit& u = Id(ids[0]);
              EXPECT_EQ(u.type, CATAPULT);
              EXPECT_EQ(u.picture, CATAPULT + 10);
              EXPECT_EQ(u.stat[STAT_ATTACK], 9);
              EXPECT_EQ(u.stat[STAT_MOVES], 0);
              EXPECT_EQ(u.stat[STAT_RANGE], 4);
              EXPECT_EQ(u.rocks, 4);
              EXPECT_EQ(u.spells[0], SpellIndex("Pack"));
          } },
        { "unlimbered at level 2", "Unpack", wagon(1),
          [](const Ids& ids) {
              const Unit& u = Id(ids[0]);
              EXPECT_EQ(u.type, CATAPULT + 10000);
              EXPECT_EQ(u.picture, CATAPULT + 10 + 64);
              EXPECT_EQ(u.stat[STAT_ATTACK], 9 + 2);
              EXPECT_EQ(u.stat[STAT_LIFE], 16 + 3);
          } },
        { "packed up", "Pack",
          [](Ids& ids) {
              const int32_t c = Note(ids, 0, 5, 5, CATAPULT);
              U(0, c).rocks = 3;
              return Target{ 0, c, 5, 5 };
          },
          [](const Ids& ids) {
              const Unit& u = Id(ids[0]);
              EXPECT_EQ(u.type, WAGON);
              EXPECT_EQ(u.picture, WAGON + 10);
              EXPECT_EQ(u.stat[STAT_ATTACK], 0);
              EXPECT_EQ(u.stat[STAT_MOVES], 2);
              EXPECT_EQ(u.rocks, 999999 + 3);
              EXPECT_EQ(u.spells[0], SpellIndex("Unpack"));
          } },
    });
    // And back: type, picture, powers and base stats as they were.
    const int32_t w = Put(0, 5, 5, WAGON);
    const Unit before = U(0, w);
    SpellUnpack(0, w, 0, 0, 0, 0);
    SpellPack(0, w, 0, 0, 0, 0);
    const Unit& after = U(0, w);
    EXPECT_EQ(after.type, before.type);
    EXPECT_EQ(after.picture, before.picture);
    EXPECT_EQ(after.rocks, before.rocks);
    for (int k = 0; k < NUMSTATS; k++)
        EXPECT_EQ(after.stat[k], before.stat[k]) << k;
    EXPECT_EQ(after.spells[0], SpellIndex("Unpack"));
}

TEST_F(SpellTest, Summons)
{
    const struct {
        const char* spell;
        int32_t type;
    } summons[] = { { "Fireball", FIREBALL }, { "Skeleton", SKELETON }, { "Air", AIRELEMENTAL },
                    { "Water", 9 }, { "Earth", 10 }, { "Fire", 11 } };
    std::vector<Case> cases;
    for (const auto& s : summons) {
        const int32_t type = s.type;
        // Summoned for the client's own player too, whose machine looks around with the new unit.
        for (const int32_t player : { 0, 1 }) {
            cases.push_back({ player == 0 ? "for the host's player" : "for the client's player", s.spell,
                              [player](Ids& ids) {
                                  const int32_t c = Note(ids, player, 5, 5);
                                  map[7][6].timed = 1;  // remains, for the Skeleton
                                  return Target{ player, c, 7, 6 };
                              },
                              [type, player](const Ids& ids) {
                                  const Unit& u = p[player].units.back();
                                  EXPECT_EQ(u.type, type);
                                  ExpectAt(u, 7, 6);
                                  EXPECT_EQ(u.alerted, 1);
                                  EXPECT_EQ(u.expreceiver, ids[0]);
                                  EXPECT_EQ(u.experience, 0);
                                  EXPECT_NE(u.id, ids[0]);
                              } });
        }
    }
    Run(cases);
}

TEST_F(SpellTest, SummoningATypeTheCatalogueLacksMakesNothing)
{
    const int32_t c = Put(0, 5, 5);
    Put(0, 6, 6);
    U(0, 1).experience = 7;
    const uint64_t before = GameStateDigest();
    EXPECT_FALSE(SummonUnit(0, c, 7, 7, "Dragon"));
    EXPECT_EQ(GameStateDigest(), before);
    // A client takes the unit the host's message made just before; a last unit of another type, on
    // another square, or older than another unit is none.
    ishost = 0;
    EXPECT_FALSE(SummonUnit(0, c, 6, 6, "Skeleton"));
    EXPECT_FALSE(SummonUnit(0, c, 7, 7, "Soldier"));
    EXPECT_EQ(GameStateDigest(), before);
    Put(1, 9, 9);
    EXPECT_FALSE(SummonUnit(0, c, 6, 6, "Soldier"));
    EXPECT_EQ(U(0, 1).expreceiver, U(0, 1).id);
    EXPECT_EQ(U(0, 1).experience, 7);
    p[1].units.pop_back();
    // Off the map: nothing either.
    ishost = 1;
    EXPECT_FALSE(SummonUnit(0, c, -1, 7, "Skeleton"));
    EXPECT_FALSE(SummonUnit(0, c, 7, SPELLMAP, "Skeleton"));
    EXPECT_EQ(GameStateDigest(), before);
}

TEST_F(SpellTest, PushesAlwaysEnd)
{
    // Three units stacked on one square with the pusher: no direction, so blocked; each pays once.
    const int32_t origin = Put(0, 5, 5);
    const int32_t a = Put(1, 5, 5);
    Put(1, 5, 5);
    Put(NEUTRAL, 5, 5);
    EXPECT_TRUE(PushUnitAway(0, origin, 1, a, 0, origin));
    EXPECT_EQ(U(1, a).hp, 9);
    EXPECT_EQ(U(1, 1).hp, 10);
    // A stack in the way of a push is pushed along the line, every unit of it, and ends at the edge.
    const int32_t pusher = Put(0, 1, 8);
    const int32_t front = Put(1, 2, 8);
    for (int i = 0; i < 3; i++)
        Put(1, 3, 8);
    for (int32_t x = 4; x < SPELLMAP; x++)
        Put(NEUTRAL, x, 8);
    EXPECT_TRUE(PushUnitAway(0, pusher, 1, front, 0, pusher));
    EXPECT_EQ(U(1, front).x, 2);
    // A push that kills still moves the unit; the host records the death.
    const int32_t weak = Put(1, 8, 2);
    U(1, weak).hp = 1;
    const int32_t id = U(1, weak).id;
    EXPECT_FALSE(PushUnitAway(0, origin, 1, weak, 0, origin));
    EXPECT_EQ(U(1, weak).x, 9);
    EXPECT_TRUE(Dying(id));
}

TEST_F(SpellTest, PsychicPushesEachUnitOnce)
{
    // The scan goes column by column, left to right: pushes onto a column already scanned, onto the one
    // being scanned and onto one still to come move each unit once, alike on every machine.
    Reset();
    const int32_t c = Put(0, 5, 5);
    const int32_t back = Put(1, 4, 6);      // to (3, 7): a column scanned already
    const int32_t down = Put(1, 5, 6);      // to (5, 7): further down its own column
    const int32_t ahead = Put(1, 6, 5);     // to (7, 5): a column the scan has still to reach
    const int32_t far = Put(1, 7, 7);       // to (8, 8): the same, diagonally
    const int32_t ids[] = { U(1, back).id, U(1, down).id, U(1, ahead).id, U(1, far).id };
    ASSERT_TRUE(CastAndReplay("Psychic", 0, c, 5, 5));
    EXPECT_EQ(hostdigest, clientdigest);
    const int32_t want[][2] = { { 3, 7 }, { 5, 7 }, { 7, 5 }, { 8, 8 } };
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Id(ids[i]).x, want[i][0]);
        EXPECT_EQ(Id(ids[i]).y, want[i][1]);
        EXPECT_EQ(Id(ids[i]).hp, 9);        // one push, one hit point
    }
}
