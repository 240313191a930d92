// Range marks on the largest map: a command marks its squares once when it is chosen, inside a frame.
// The budgets: the largest real move range (9 squares), the deployment's area, and a unit whose move
// stat of 99 reaches the whole map.
#include <benchmark/benchmark.h>

#include <vector>

#include "game/model/rangemarks.h"
#include "game/model/state.h"

namespace {

void BM_MarkRange(benchmark::State& state)
{
    ResetGameState();
    map.assign(45, std::vector<MapSquare>(45));
    mapsize = 45;
    const int32_t budget = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        ClearRange();
        MarkRange(22, 22, budget);
        benchmark::DoNotOptimize(map[22][22].mark);
    }
}
BENCHMARK(BM_MarkRange)->Arg(50)->Arg(90)->Arg(990)->Unit(benchmark::kMicrosecond);

} // namespace
