// Terrain, light and darkness spells, cast through the resolution on the host and replayed on a
// client, which must end with the same squares (the moat's random walk included); the floods against
// their plain recursive form; counters that stop at their top.
#include <set>
#include <utility>

#include "game/magic/spells.h"
#include "game/magic/targets.h"
#include "game/model/mapgen.h"
#include "game/model/stats.h"
#include "game/model/wards.h"
#include "spells_fixture.h"

namespace {

typedef std::set<std::pair<int32_t, int32_t>> Squares;

// The flood as a plain recursion: every square some path of on-map steps reaches with strength left.
void NaiveFlood(int32_t x, int32_t y, int32_t s, Squares& out)
{
    if (s <= -6 || x < 0 || y < 0 || x >= mapsize || y >= mapsize)
        return;
    out.insert({ x, y });
    const int32_t straight[4][2] = { { 1, 0 }, { -1, 0 }, { 0, 1 }, { 0, -1 } };
    const int32_t diagonal[4][2] = { { 1, 1 }, { -1, 1 }, { 1, -1 }, { -1, -1 } };
    for (const auto& d : straight)
        NaiveFlood(x + d[0], y + d[1], s - 10, out);
    for (const auto& d : diagonal)
        NaiveFlood(x + d[0], y + d[1], s - 14, out);
}

Squares Where(bool (*test)(const MapSquare&))
{
    Squares found;
    for (int32_t x = 0; x < mapsize; x++)
        for (int32_t y = 0; y < mapsize; y++)
            if (test(map[x][y]))
                found.insert({ x, y });
    return found;
}

bool IsDark(const MapSquare& s)
{
    return s.dark == 1;
}

bool IsWater(const MapSquare& s)
{
    return s.terrain == TERRAIN_RIVER;
}

Squares Block(int32_t x, int32_t y)
{
    Squares out;
    for (int32_t sx = x - 1; sx <= x + 1; sx++)
        for (int32_t sy = y - 1; sy <= y + 1; sy++)
            out.insert({ sx, sy });
    return out;
}

} // namespace

TEST_F(SpellTest, FloodsReachWhatThePlainRecursionReaches)
{
    for (const int32_t strength : { 10, 20, 30 })
        for (const auto& [x, y] : { std::pair{ 6, 6 }, { 0, 5 }, { 1, 1 }, { 11, 11 }, { 0, 0 } }) {
            SCOPED_TRACE(std::to_string(strength) + " at " + std::to_string(x) + "," + std::to_string(y));
            MakeWorld(2, SPELLMAP);
            SpreadDarkness(x, y, strength, 1);
            Squares want;
            NaiveFlood(x, y, strength, want);
            EXPECT_EQ(Where(IsDark), want);
        }
    MakeWorld(2, SPELLMAP);
    SpreadDarkness(6, 6, 20, 1);
    EXPECT_EQ(Where(IsDark).size(), 21u);
    MakeWorld(2, SPELLMAP);
    SpreadDarkness(6, 6, 30, 1);
    EXPECT_EQ(Where(IsDark).size(), 37u);
    MakeWorld(2, SPELLMAP);
    SpreadDarkness(-1, 4, 30, 1);
    SpreadDarkness(4, SPELLMAP, 30, 1);
    EXPECT_TRUE(Where(IsDark).empty());
}

TEST_F(SpellTest, TerrainSpells)
{
    // The caster (ids[0]) at (2, 6).
    const auto at = [](int32_t x, int32_t y) {
        return [x, y](Ids& ids) {
            const int32_t c = Note(ids, 0, 2, 6);
            return Target{ 0, c, x, y };
        };
    };
    Run({
        { "a forcefield of 3", "Forcefield", at(4, 6), [](const Ids&) { EXPECT_EQ(map[4][6].counter2, 3); } },
        { "cast east: a wall north to south", "Illusion", at(6, 6),
          [](const Ids&) {
              EXPECT_EQ(map[6][5].counter2, 3);
              EXPECT_EQ(map[6][6].counter2, 3);
              EXPECT_EQ(map[6][7].counter2, 3);
              EXPECT_EQ(map[7][6].counter2, 0);
          } },
        { "cast diagonally: a wall along the other diagonal", "Illusion", at(5, 9),
          [](const Ids&) {
              EXPECT_EQ(map[4][10].counter2, 3);
              EXPECT_EQ(map[5][9].counter2, 3);
              EXPECT_EQ(map[6][8].counter2, 3);
              EXPECT_EQ(map[4][8].counter2, 0);
          } },
        { "bare ground but the mine; flags and fire gone; only move-bound wards end", "Raze",
          [&](Ids& ids) {
              const Target t = at(6, 6)(ids);
              for (int32_t x = 3; x <= 9; x++)
                  for (int32_t y = 3; y <= 9; y++) {
                      map[x][y].terrain = TERRAIN_ROUGH;
                      map[x][y].cost = COST_ROUGH;
                      map[x][y].hazard = 2;
                  }
              map[7][6].terrain = TERRAIN_MINE;
              map[7][6].timed = 1;
              map[7][6].counter2 = 2;
              const int32_t u = Note(ids, 1, 5, 6);
              AddWard(1, u, 99999, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
              AddWard(1, u, 3, 0, 0, 0, 0, 0, 0, 2, 0, 0, -1, 0);
              return t;
          },
          [](const Ids& ids) {
              EXPECT_EQ(map[6][6].terrain, TERRAIN_OPEN);
              EXPECT_EQ(map[4][7].cost, COST_OPEN);
              EXPECT_EQ(map[4][4].terrain, TERRAIN_ROUGH);     // a corner of the 5 x 5 block
              EXPECT_EQ(map[4][4].hazard, 2);
              EXPECT_EQ(map[7][6].terrain, TERRAIN_MINE);
              EXPECT_EQ(map[7][6].timed, 0);
              EXPECT_EQ(map[7][6].counter2, 0);
              EXPECT_EQ(map[7][6].hazard, 0);
              EXPECT_FALSE(Id(ids[1]).wards[0].inuse);
              EXPECT_TRUE(Id(ids[1]).wards[1].inuse);
          } },
        { "3 x 3 rough ground but the mine", "Roughen",
          [&](Ids& ids) {
              const Target t = at(6, 6)(ids);
              map[5][5].terrain = TERRAIN_MINE;
              const int32_t u = Note(ids, 1, 5, 5);
              AddWard(1, u, 99999, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
              return t;
          },
          [](const Ids& ids) {
              for (const auto& [x, y] : Block(6, 6)) {
                  if (x == 5 && y == 5)
                      continue;
                  EXPECT_EQ(map[x][y].terrain, TERRAIN_ROUGH);
                  EXPECT_EQ(map[x][y].cost, COST_ROUGH);
                  EXPECT_LT(map[x][y].extra, 4);
              }
              EXPECT_EQ(map[5][5].terrain, TERRAIN_MINE);
              EXPECT_EQ(map[8][6].terrain, TERRAIN_OPEN);
              EXPECT_FALSE(Id(ids[1]).wards[0].inuse);
          } },
        { "fire on the 3 x 3 block", "Conflageration", at(9, 6),
          [](const Ids&) {
              EXPECT_EQ(map[9][6].hazard, 3);
              EXPECT_EQ(map[10][5].hazard, 3);
              EXPECT_EQ(map[7][6].hazard, 0);
          } },
    });
}

TEST_F(SpellTest, MoatDigsTheSameRingOnEveryMachine)
{
    // Around a unit in the open, on the map's edge, and next to one or two gold mines that turn the walk.
    const struct {
        int32_t x, y;
        Squares mines;
    } places[] = { { 6, 6, {} },
                   { 0, 4, {} },
                   { 6, 6, { { 7, 6 } } },
                   { 6, 6, { { 7, 6 }, { 5, 7 } } },
                   { 6, 6, { { 5, 5 }, { 7, 5 } } },
                   { 11, 11, {} } };
    for (const auto& place : places) {
        SCOPED_TRACE(std::to_string(place.x) + "," + std::to_string(place.y) + " by " + std::to_string(place.mines.size())
                     + " mines");
        Reset();
        const int32_t c = Put(0, 2, 9);
        const int32_t t = Put(1, place.x, place.y);
        for (const auto& mine : place.mines)
            map[mine.first][mine.second].terrain = TERRAIN_MINE;
        AddWard(1, t, 99999, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        ASSERT_TRUE(CastAndReplay("Moat", 0, c, 1, t));
        EXPECT_EQ(hostdigest, clientdigest);
        Squares ring;
        for (const auto& sq : Block(place.x, place.y))
            if (InBounds(sq.first, sq.second) && sq != std::pair{ place.x, place.y } && !place.mines.count(sq))
                ring.insert(sq);
        const Squares water = Where(IsWater);
        for (const auto& sq : ring)
            EXPECT_TRUE(water.count(sq)) << sq.first << "," << sq.second;
        EXPECT_FALSE(water.count({ place.x, place.y }));
        EXPECT_EQ(map[place.x][place.y].terrain, TERRAIN_OPEN);
        EXPECT_EQ(map[ring.begin()->first][ring.begin()->second].cost, COST_RIVER);
        for (const auto& mine : place.mines)
            EXPECT_EQ(map[mine.first][mine.second].terrain, TERRAIN_MINE);
        // The unit in the middle keeps its square and its move-bound ward.
        EXPECT_TRUE(U(1, t).wards[0].inuse);
    }
}

TEST_F(SpellTest, LightAndDarknessSpells)
{
    Run({
        { "the 21 squares darken for the caster's player", "Darkness",
          [](Ids& ids) {
              const int32_t c = Note(ids, 0, 2, 2);
              return Target{ 0, c, 6, 6 };
          },
          [](const Ids&) {
              const Squares dark = Where(IsDark);
              EXPECT_EQ(dark.size(), 21u);
              for (const auto& [x, y] : dark)
                  EXPECT_EQ(map[x][y].lightowner, 0);
          } },
        { "at night: starlight lifts the darkness around the caster", "Starlight",
          [](Ids& ids) {
              const int32_t c = Note(ids, 0, 6, 6);
              turncount = 2;
              for (auto& column : map)
                  for (MapSquare& s : column)
                      s.dark = 1;
              return Target{ 0, c, 6, 6 };
          },
          [](const Ids&) { EXPECT_EQ(Where(IsDark).size(), 144u - 37u); } },
        { "by day: the caster heals 6", "Starlight",
          [](Ids& ids) {
              const int32_t c = Note(ids, 0, 6, 6);
              U(0, c).hp = 2;
              map[6][6].dark = 1;
              return Target{ 0, c, 6, 6 };
          },
          [](const Ids& ids) {
              EXPECT_EQ(Id(ids[0]).hp, 8);
              EXPECT_EQ(map[6][6].dark, 1);
          } },
        { "every square lit, owners kept", "Light",
          [](Ids& ids) {
              const int32_t c = Note(ids, 0, 6, 6);
              SpreadDarkness(3, 3, 20, 1);
              return Target{ 0, c, 6, 6 };
          },
          [](const Ids&) {
              EXPECT_TRUE(Where([](const MapSquare& s) { return s.dark != -1; }).empty());
              EXPECT_EQ(map[3][3].lightowner, 1);
          } },
        { "the 3 x 3 block around the unit claimed for the caster's player", "Void",
          [](Ids& ids) {
              const int32_t c = Note(ids, 0, 2, 2);
              const int32_t t = Note(ids, 1, 6, 6);
              return Target{ 0, c, 1, t };
          },
          [](const Ids&) {
              const Squares claimed = Where([](const MapSquare& s) { return (s.bits & 0xF) == 0; });
              EXPECT_EQ(claimed, Block(6, 6));
          } },
    });
}

TEST_F(SpellTest, TerrainSpellsKeepToTheMapAndTheirCounters)
{
    const int32_t c = Put(0, 5, 5);
    const uint64_t before = GameStateDigest();
    // Squares off the map are never written.
    for (const auto& [x, y] : { std::pair{ -1, 3 }, { 3, SPELLMAP }, { SPELLMAP, SPELLMAP }, { -40, 2 } }) {
        SpellForcefield(0, c, x, y, 0, 0);
        SpellLoot(0, c, x, y, 0, 0);
        SpellVSpirit(0, c, x, y, 0, 0);
        SpellBurst(0, c, x, y, 0, 0);
        SpellRaze(0, c, x, y, 0, 0);
        SpellTeleport(0, c, x, y, 0, 0);
        SpellPounce(0, c, x, y, 0, 0);
        SpellPhasewarp(0, c, x, y, 0, 0);
        SpellDarkness(0, c, x, y, 0, 0);
    }
    EXPECT_EQ(GameStateDigest(), before);
    // Edges: only the part on the map.
    SpellConflageration(0, c, 0, 0, 0, 0);
    EXPECT_EQ(map[1][1].hazard, 3);
    SpellIllusion(0, c, 0, 0, 0, 0);
    EXPECT_EQ(map[0][0].counter2, 3);
    // A forcefield or a fire raised again and again stops at its top instead of turning negative.
    for (int i = 0; i < 50; i++) {
        SpellForcefield(0, c, 8, 8, 0, 0);
        SpellConflageration(0, c, 8, 8, 0, 0);
    }
    EXPECT_EQ(map[8][8].counter2, 127);
    EXPECT_EQ(map[8][8].hazard, 127);
    EXPECT_FALSE(TargetTestForKind(4)(0, c, 8, 8, 0));
}
