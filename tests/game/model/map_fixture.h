// Map creation tests: players and no map yet, as when the host picks the start money, a whole map search
// on a virtual clock, and what a search made.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "game/model/mapgen.h"
#include "game/model/states.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "tests/game/model/cycle_fixture.h"

typedef std::vector<std::pair<int32_t, int32_t>> Camps;

class MapTest : public CycleTest {
protected:
    void TearDown() override
    {
        UseRealClock();
        CycleTest::TearDown();
    }
    // humans players and no map yet, as when the host picks the start money.
    void Players(int32_t humans)
    {
        MakeWorld(humans, 1, false);
        map.clear();
        mapsize = 0;
        log.clear();
    }
    static std::vector<std::vector<MapSquare>> Terrain(uint32_t seed)
    {
        SeedRandom(seed);
        GenerateTerrain();
        return map;
    }
    static int32_t Count(uint8_t terrain)
    {
        int32_t n = 0;
        for (const auto& column : map)
            for (const MapSquare& s : column)
                n += s.terrain == terrain;
        return n;
    }
    // Runs a whole search with the clock moving 7 ms per frame.
    void Search(int32_t size)
    {
        ASSERT_FALSE(CreateBlankMap(size));
        StartMapSearch();
        gs = GAME_CREATEMAP;
        for (int frame = 0; frame < 100 && gs == GAME_CREATEMAP; frame++) {
            GenerateMap();
            AdvanceClock(7);
        }
        ASSERT_EQ(gs, GAME_SENDMAP);
    }
};

// FNV-1a over what a map search makes: every square's terrain, variant and cost, and the camp squares.
inline uint64_t MapDigest()
{
    uint64_t h = 14695981039346656037ull;
    const auto add = [&h](int64_t v) {
        for (int i = 0; i < 8; i++) {
            h ^= static_cast<uint8_t>(v >> (8 * i));
            h *= 1099511628211ull;
        }
    };
    add(mapsize);
    for (const auto& column : map)
        for (const MapSquare& s : column) {
            add(s.terrain);
            add(s.extra);
            add(s.cost);
        }
    for (const Player& player : p) {
        add(player.startx);
        add(player.starty);
    }
    return h;
}

inline bool operator==(const MapSquare& a, const MapSquare& b)
{
    return a.terrain == b.terrain && a.extra == b.extra && a.cost == b.cost && a.bits == b.bits
        && a.lightowner == b.lightowner;
}
