// The host's whole map search on a 45 x 45 map for four players, with the shipped tuning numbers (the
// string module of the game directory): every candidate, the rebuild of the best, and the mines.
#include <benchmark/benchmark.h>

#include "game/model/mapgen.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/screens/states.h"
#include "gamedir.h"

namespace {

bool LoadShippedStrings()
{
    return stringmodule || LoadFromGameDirectory(LoadStringModule);
}

void BM_MapSearch45(benchmark::State& state)
{
    if (!LoadShippedStrings()) {
        state.SkipWithError("no Tessarine.dll in the game directory");
        return;
    }
    ResetGameState();
    for (int i = 0; i < 4; i++)
        AddPlayer();
    for (auto _ : state) {
        map.clear();
        mapsize = 0;
        CreateBlankMap(45);
        StartMapSearch();
        gs = GAME_CREATEMAP;
        while (gs == GAME_CREATEMAP) {
            GenerateMap();
        }
        benchmark::DoNotOptimize(map);
    }
    state.counters["tries"] = GetResNumber(STR_MAPSEARCHTRIES);
    state.counters["divisions"] = GetResNumber(STR_MAPDIVISIONS);
}
BENCHMARK(BM_MapSearch45)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
