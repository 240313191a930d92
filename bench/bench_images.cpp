// Loading the whole image set from the shipped modules, with the four filter copies made by the
// workers, on the headless display. Goal: at most 150 ms a load.
#include <benchmark/benchmark.h>

#include "bench/gamedir.h"
#include "game/shell/images.h"
#include "platform/window.h"

namespace {

void LoadWholeImageSet(benchmark::State& state)
{
    if (StartPlatform(BACKEND_HEADLESS)) {
        state.SkipWithError("no headless platform");
        return;
    }
    // The modules stay open once found: each iteration is one load and its freeing.
    if (!LoadFromGameDirectory([] { return DDrawGo() || imagemodules[IMAGES_VISTORN] == nullptr; })) {
        state.SkipWithError("no game directory with the image modules");
        StopPlatform();
        return;
    }
    for (auto _ : state) {
        if (LoadImages()) {
            state.SkipWithError("an image failed to load");
            break;
        }
        state.PauseTiming();
        FreeImages();
        state.ResumeTiming();
    }
    DDrawStop();
    StopPlatform();
}

} // namespace

BENCHMARK(LoadWholeImageSet)->Unit(benchmark::kMillisecond)->UseRealTime();
