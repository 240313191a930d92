// The sight flood: a look at the largest budgets the content allows must stay well inside a frame.
#include <benchmark/benchmark.h>

#include <vector>

#include "game/model/sight.h"
#include "game/model/state.h"

namespace {

void MakeBoard(int32_t size)
{
    ResetGameState();
    AddPlayer();
    you = p[0].sizeattime;
    YouToInt(true, true);
    MapSquare blank{};
    blank.cost = 1;
    blank.bits = 0xF;
    blank.lightowner = -1;
    map.assign(size, std::vector<MapSquare>(size, blank));
    mapsize = size;
}

void BM_RevealSight(benchmark::State& state)
{
    MakeBoard(45);
    const int32_t budget = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        RevealSight(0, 22, 22, budget);
        benchmark::DoNotOptimize(map[22][22].visible);
    }
}
BENCHMARK(BM_RevealSight)->Arg(30)->Arg(70)->Arg(110)->Unit(benchmark::kMicrosecond);

void BM_ExploreFromWithAlert(benchmark::State& state)
{
    MakeBoard(45);
    for (auto _ : state)
        ExploreFrom(0, 22, 22, 110, NOEXPERIENCE);
}
BENCHMARK(BM_ExploreFromWithAlert)->Unit(benchmark::kMicrosecond);

} // namespace
