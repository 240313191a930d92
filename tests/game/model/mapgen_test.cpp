// Map creation: the camps every machine computes alike, the refused sizes, the terrain's determinism
// and invariants, the seed search, and adding the players.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

#include "game/model/mapgen.h"
#include "game/model/players.h"
#include "game/model/queries.h"
#include "game/net/builders.h"
#include "game/net/frame.h"
#include "game/net/kinds.h"
#include "game/model/states.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "tests/game/model/map_fixture.h"

TEST_F(MapTest, CampsForTwoToFivePlayersOnEverySize)
{
    struct Case {
        int32_t humans, size, replaced;
        Camps camps;
    };
    const Case cases[] = {
        { 2, 30, 0, { { 5, 24 }, { 24, 5 } } },
        { 2, 37, 0, { { 5, 30 }, { 30, 5 } } },
        { 2, 45, 0, { { 5, 38 }, { 38, 5 } } },
        { 3, 30, 3, { { 7, 22 }, { 12, 5 }, { 24, 17 } } },
        { 3, 37, 5, { { 8, 27 }, { 14, 5 }, { 30, 21 } } },
        { 3, 45, 7, { { 9, 34 }, { 17, 5 }, { 38, 26 } } },
        { 4, 30, 0, { { 5, 24 }, { 5, 5 }, { 24, 5 }, { 24, 24 } } },
        { 4, 37, 0, { { 5, 30 }, { 5, 5 }, { 30, 5 }, { 30, 30 } } },
        { 4, 45, 0, { { 5, 38 }, { 5, 5 }, { 38, 5 }, { 38, 38 } } },
        { 5, 30, 3, { { 7, 22 }, { 6, 10 }, { 16, 5 }, { 24, 13 }, { 19, 23 } } },
        { 5, 37, 5, { { 8, 27 }, { 6, 12 }, { 20, 5 }, { 30, 15 }, { 23, 29 } } },
        { 5, 45, 7, { { 9, 34 }, { 6, 14 }, { 24, 5 }, { 38, 19 }, { 29, 37 } } },
    };
    for (const Case& c : cases) {
        Players(c.humans);
        ASSERT_FALSE(CreateBlankMap(c.size)) << c.humans << " on " << c.size;
        Camps got;
        for (const Player& player : p)
            got.push_back({ player.startx, player.starty });
        EXPECT_EQ(got, c.camps) << c.humans << " on " << c.size;
        size_t replaced = 0;
        for (size_t at = log.find("REPLACING CAMPS"); at != std::string::npos; at = log.find("REPLACING CAMPS", at + 1))
            replaced++;
        EXPECT_EQ(replaced, (size_t)c.replaced) << c.humans << " on " << c.size;
        EXPECT_EQ(mapsize, c.size);
        EXPECT_EQ(map[c.size - 1][c.size - 1].lightowner, -1);
        EXPECT_EQ(map[0][0].bits, 0xFu);
    }
}

TEST_F(MapTest, ReplacingAMapKeepsTheCamps)
{
    Players(2);
    ASSERT_FALSE(CreateBlankMap(30));
    map[3][3].terrain = TERRAIN_RIVER;
    ASSERT_FALSE(CreateBlankMap(45));
    EXPECT_TRUE(Logged("WARNING: CreateBlankMap called when map exists."));
    EXPECT_EQ(mapsize, 45);
    EXPECT_EQ(map[3][3].terrain, TERRAIN_OPEN);
    EXPECT_EQ(p[1].startx, 24);         // still the 30 x 30 camps
}

TEST_F(MapTest, SizesThatCannotHoldACampAreRefusedAndLeaveNoMap)
{
    // Below 12 the camp circle never fits: the search for a radius would not end.
    for (const int32_t size : { -5, 0, 1, 11, int32_t(MAXMAPSIZE) + 1, 255 }) {
        Players(5);
        ASSERT_FALSE(CreateBlankMap(30));
        log.clear();
        EXPECT_TRUE(CreateBlankMap(size)) << size;
        EXPECT_TRUE(Logged("ERROR: Nonsensical parameter to CreateBlankMap.")) << size;
        EXPECT_EQ(mapsize, 30) << "a refused size leaves the old map alone";
    }
    for (const int32_t size : { 12, 13, int32_t(MAXMAPSIZE) }) {
        Players(5);
        EXPECT_FALSE(CreateBlankMap(size)) << size;
        for (const Player& player : p)
            EXPECT_TRUE(player.startx >= 5 && player.starty >= 5 && player.startx + 6 <= size && player.starty + 6 <= size);
    }
}

TEST_F(MapTest, AFirstMapRowOfAnImpossibleSizeIsRefusedByTheClient)
{
    Players(2);
    BecomeClient(1);
    const std::string frame = BuildFrame(BuildMapData(11, 0, std::vector<uint8_t>(11, 0x10)));
    ASSERT_FALSE(frame.empty());
    DeliverToClient({ SentFrame{ frame, TESTSOCKETBASE + 1 } }, 1);
    EXPECT_TRUE(Logged("ERROR: Map row 0 of a map of 11"));
    EXPECT_TRUE(map.empty());
    EXPECT_EQ(mapsize, 0);
}

TEST_F(MapTest, TheClientBuildsTheHostsRowsAndCampsFromTheMapMessages)
{
    Players(3);
    ASSERT_FALSE(CreateBlankMap(37));
    SeedRandom(77);
    GenerateTerrain();
    PlaceMines();
    const auto hostmap = map;
    const Camps hostcamps = { { p[0].startx, p[0].starty }, { p[1].startx, p[1].starty }, { p[2].startx, p[2].starty } };
    std::vector<SentFrame> rows;
    for (int32_t y = 0; y < 37; y++) {
        std::vector<uint8_t> squares;
        for (int32_t x = 0; x < 37; x++)
            squares.push_back((uint8_t)((hostmap[x][y].terrain + 1) * 16 + hostmap[x][y].extra));
        rows.push_back({ BuildFrame(BuildMapData(37, y, squares)), TESTSOCKETBASE + 2 });
    }
    // The client: the same players, no map and no camps yet.
    for (Player& player : p)
        player.startx = player.starty = 0;
    map.clear();
    mapsize = 0;
    BecomeClient(2);
    log.clear();
    DeliverToClient(rows, 2);
    EXPECT_FALSE(Logged("ERROR")) << log;
    ASSERT_EQ(mapsize, 37);
    for (int32_t x = 0; x < 37; x++)
        for (int32_t y = 0; y < 37; y++)
            ASSERT_TRUE(map[x][y] == hostmap[x][y]) << x << "," << y;
    EXPECT_EQ(hostcamps, (Camps{ { p[0].startx, p[0].starty }, { p[1].startx, p[1].starty }, { p[2].startx, p[2].starty } }));
    EXPECT_EQ(mapattempts, 37);
    EXPECT_EQ(TakeSentFrames().size(), 37u) << "each row is answered";
}

TEST_F(MapTest, TheSameSeedGivesTheSameMap)
{
    Players(4);
    ASSERT_FALSE(CreateBlankMap(45));
    const auto first = Terrain(12345);
    const auto again = Terrain(12345);
    const auto other = Terrain(54321);
    bool same = true, differs = false;
    for (int32_t x = 0; x < 45; x++)
        for (int32_t y = 0; y < 45; y++) {
            same = same && first[x][y] == again[x][y];
            differs = differs || !(first[x][y] == other[x][y]);
        }
    EXPECT_TRUE(same);
    EXPECT_TRUE(differs);
}

TEST_F(MapTest, GeneratedTerrainKeepsItsInvariants)
{
    Players(4);
    ASSERT_FALSE(CreateBlankMap(45));
    for (uint32_t seed = 1; seed <= 40; seed++) {
        Terrain(seed * 7919);
        int32_t rivers = 0;
        int32_t pillars = 0;
        for (int32_t x = 0; x < 45; x++)
            for (int32_t y = 0; y < 45; y++) {
                const MapSquare& s = map[x][y];
                const int32_t cost = s.terrain == TERRAIN_ROUGH ? 2 : s.terrain == TERRAIN_RIVER ? 100 : 1;
                ASSERT_EQ(s.cost, cost) << seed << ": " << x << "," << y;
                ASSERT_TRUE(s.terrain != TERRAIN_MINE && s.terrain != 4 && s.terrain <= TERRAIN_SITE);
                ASSERT_LT(s.extra, 16);
                if (s.terrain == TERRAIN_CROSSING) {
                    ASSERT_LE(s.extra, 1);
                }
                if (s.terrain == TERRAIN_SITE && s.extra == SITE_PILLAR)
                    pillars++;
                rivers += s.terrain == TERRAIN_RIVER || s.terrain == TERRAIN_CROSSING;
            }
        EXPECT_EQ(pillars, 4) << seed << ": one in each quadrant";
        // The first river bends only towards the centre: it crosses at least half the map.
        EXPECT_GE(rivers, 22) << seed;
        // The masks ShapeRivers wrote are the ones JoinRiverEdges finds again.
        const auto shaped = map;
        JoinRiverEdges();
        for (int32_t x = 0; x < 45; x++)
            for (int32_t y = 0; y < 45; y++)
                ASSERT_EQ(map[x][y].extra, shaped[x][y].extra) << seed << ": " << x << "," << y;
    }
}

TEST_F(MapTest, RiverMasksJoinNeighboursAndEdgesAndCrossingsKeepTheirDirection)
{
    Players(2);
    ASSERT_FALSE(CreateBlankMap(12));
    // A river down column 3 from row 8 to the bottom edge, and one along row 2 ending inside.
    for (int32_t y = 8; y < 12; y++)
        map[3][y].terrain = TERRAIN_RIVER;
    for (int32_t x = 5; x < 8; x++)
        map[x][2].terrain = TERRAIN_RIVER;
    map[3][10].terrain = TERRAIN_CROSSING;
    map[3][10].extra = 1;
    JoinRiverEdges();
    EXPECT_EQ(map[3][8].extra, RIVER_DOWN);                 // an inner end stays open
    EXPECT_EQ(map[3][9].extra, RIVER_UP | RIVER_DOWN);      // a crossing counts as river
    EXPECT_EQ(map[3][10].extra, 1);                         // crossings are left alone
    EXPECT_EQ(map[3][11].extra, RIVER_UP | RIVER_DOWN);     // the end at the edge joins the edge
    EXPECT_EQ(map[5][2].extra, RIVER_RIGHT);
    EXPECT_EQ(map[6][2].extra, RIVER_LEFT | RIVER_RIGHT);

    // With every straight square drawn into a crossing at some seed, a vertical one reads 1, a
    // horizontal one 0.
    bool vertical = false, horizontal = false;
    for (uint32_t seed = 0; seed < 200 && !(vertical && horizontal); seed++) {
        for (int32_t x = 0; x < 12; x++)
            for (int32_t y = 0; y < 12; y++)
                map[x][y] = MapSquare{ TERRAIN_OPEN, 0, 1, 0, 0, 0, 0, 0, 0, 0xF, 0, -1 };
        for (int32_t y = 0; y < 12; y++)
            map[3][y] = MapSquare{ TERRAIN_RIVER, 0, 100, 0, 0, 0, 0, 0, 0, 0xF, 0, -1 };
        for (int32_t x = 5; x < 12; x++)
            map[x][6] = MapSquare{ TERRAIN_RIVER, 0, 100, 0, 0, 0, 0, 0, 0, 0xF, 0, -1 };
        SeedRandom(seed);
        ShapeRivers();
        for (int32_t y = 0; y < 12; y++)
            if (map[3][y].terrain == TERRAIN_CROSSING) {
                EXPECT_EQ(map[3][y].extra, 1);
                EXPECT_EQ(map[3][y].cost, 1);
                vertical = true;
            }
        for (int32_t x = 6; x < 11; x++)
            if (map[x][6].terrain == TERRAIN_CROSSING) {
                EXPECT_EQ(map[x][6].extra, 0);
                horizontal = true;
            }
    }
    EXPECT_TRUE(vertical && horizontal);
}

TEST_F(MapTest, TheSearchTriesOneCandidatePerCallAndRebuildsTheBest)
{
    Players(4);
    UseVirtualClock(1000);
    ASSERT_FALSE(CreateBlankMap(45));
    StartMapSearch();
    gs = GAME_CREATEMAP;
    // STR_MAPSEARCHTRIES is 6: five candidates, then the map.
    for (int32_t call = 1; call <= 5; call++) {
        GenerateMap();
        EXPECT_EQ(mapattempts, call);
        EXPECT_EQ(gs, GAME_CREATEMAP);
        AdvanceClock(3);
    }
    EXPECT_NE(mapbalance, (int32_t)NOSCORE);
    EXPECT_GE(bestseed, 1000u);
    EXPECT_LE(bestseed, 1012u);
    const uint32_t kept = bestseed;
    const auto expected = Terrain(kept);
    GenerateMap();
    EXPECT_EQ(gs, GAME_SENDMAP);
    EXPECT_EQ(mapattempts, 0);
    EXPECT_TRUE(Logged("Using seed " + std::to_string(kept)));
    for (int32_t x = 0; x < 45; x++)
        for (int32_t y = 0; y < 45; y++)
            if (map[x][y].terrain != TERRAIN_MINE) {
                ASSERT_TRUE(map[x][y] == expected[x][y]) << x << "," << y;
            }
}

TEST_F(MapTest, EqualBalanceKeepsTheEarlierSeedAndALimitOfOneUsesTheLastSearchsSeed)
{
    // One division scores every candidate 0 - 0: all tie, the first stays.
    TestStrings strings = CycleStrings();
    strings[STR_MAPDIVISIONS] = "1";
    Load(strings);
    Players(2);
    UseVirtualClock(500);
    ASSERT_FALSE(CreateBlankMap(30));
    StartMapSearch();
    for (int32_t call = 0; call < 5; call++) {
        GenerateMap();
        AdvanceClock(10);
    }
    EXPECT_EQ(bestseed, 500u);
    EXPECT_EQ(mapbalance, 0);

    strings[STR_MAPSEARCHTRIES] = "1";
    strings[STR_MAPDIVISIONS] = "0";    // read only by an attempt, and never divides
    Load(strings);
    Players(2);
    ASSERT_FALSE(CreateBlankMap(30));
    StartMapSearch();
    gs = GAME_CREATEMAP;
    GenerateMap();
    EXPECT_EQ(gs, GAME_SENDMAP);
    EXPECT_FALSE(Logged("Seed "));
    EXPECT_TRUE(Logged("Using seed 500"));
}

TEST_F(MapTest, DivisionsLeaveTheLastColumnsAndRowsOutAndScoreTheirRiches)
{
    Players(2);
    ASSERT_FALSE(CreateBlankMap(13));     // 3 divisions of 4: column and row 12 in none
    map[12][0].terrain = TERRAIN_DEPOSIT;
    map[0][12].terrain = TERRAIN_SITE;
    EXPECT_EQ(DivisionScore(0, 3) + DivisionScore(2, 3) + DivisionScore(6, 3), 0);
    map[1][1].terrain = TERRAIN_DEPOSIT;
    map[1][1].extra = 3;                    // (3 + 2) x 5
    map[2][2].terrain = TERRAIN_SITE;       // a Magic Node
    map[3][3].terrain = TERRAIN_SCORED;
    EXPECT_EQ(DivisionScore(0, 3), 25 + 30 + 25);
    map[5][9].terrain = TERRAIN_SITE;
    map[5][9].extra = 2;                    // Tome
    map[6][9].terrain = TERRAIN_SITE;
    map[6][9].extra = 13;                   // any other value: 10
    EXPECT_EQ(DivisionScore(7, 3), 7 + 10);
}

TEST_F(MapTest, PlayersAreAddedWithUniqueCodesAndTheNeutralSideStaysLast)
{
    Players(3);
    // A departure in the lobby, then a newcomer: his number must not repeat a remaining one.
    p.erase(p.begin() + 1);
    ASSERT_EQ(AddPlayer(), 3);
    std::set<int32_t> codes;
    for (const Player& player : p) {
        codes.insert(player.code);
        EXPECT_LT(player.code, NEUTRALCODE);
    }
    EXPECT_EQ(codes.size(), 3u);
    EXPECT_EQ(AddPlayer(), 4);
    EXPECT_EQ(AddPlayer(), 5);
    EXPECT_EQ(AddPlayer(), 0);
    EXPECT_TRUE(Logged("ERROR: Too many players!  Can't add another."));

    ishost = 1;
    EXPECT_FALSE(AddComputerPlayer());
    ASSERT_EQ(p.size(), 6u);
    EXPECT_EQ(p[5].code, NEUTRALCODE);
    EXPECT_EQ(std::string(p[5].name), "Unaligned");
    EXPECT_EQ(p[5].gold, 0);
    EXPECT_NE(p[5].sizeattime, p[0].sizeattime);
    const std::vector<SentFrame> sent = TakeSentFrames();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0].Body(), std::string("*") + (char)55 + (char)50 + (char)0xFF + ";");

    // Neither a second neutral record nor a human after it.
    EXPECT_FALSE(AddComputerPlayer());
    p.erase(p.begin());
    EXPECT_EQ(AddPlayer(), 0);
    EXPECT_EQ(p.size(), 5u);
    EXPECT_TRUE(p.back().neutral);
}
