// The work of the start-up alone: the sixteen steps from a copy of the game directory on the headless
// back end, the splash logo and the first RunScreen, in this process, with no window. The clock is
// virtual, so the splash's designed waits (its marks and the pause after it) cost nothing; the shutdown
// is not timed. What a player waits for, the real program's first frame on an X server, is measured by
// bench/player.py (FirstFrame). Goal: at most 300 ms.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "game/main/startup.h"
#include "game/main/winmain.h"
#include "game/screens/runscreen.h"
#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/window.h"

namespace {

// A fresh directory beside the game directory's files, each linked, so the benchmark's own log and
// preferences go nowhere else.
bool EnterGameCopy(std::filesystem::path* home)
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path dist = self.parent_path().parent_path() / "dist";
    if (!std::filesystem::exists(dist / "startup.dat"))
        return false;
    const std::filesystem::path work = std::filesystem::temp_directory_path() / "gorvanel-bench-startup";
    std::filesystem::remove_all(work, error);
    std::filesystem::create_directories(work);
    for (const auto& entry : std::filesystem::directory_iterator(dist)) {
        const std::string name = entry.path().filename().string();
        if (name != "debug.txt" && name != "gorvanel.ini")
            std::filesystem::create_symlink(entry.path(), work / name);
    }
    *home = std::filesystem::current_path();
    std::filesystem::current_path(work);
    return true;
}

void NoBox(const char*, const char*) {}

void BM_StartupStepsHeadless(benchmark::State& state)
{
    std::filesystem::path home;
    if (!EnterGameCopy(&home)) {
        state.SkipWithError("no game directory (dist/) beside the benchmarks");
        return;
    }
    SetMessageBoxHook(NoBox);
    UseVirtualClock(0);
    StartPlatform(BACKEND_HEADLESS);
    CreateMainWindow("Gorvanel", GameWndProc);
    for (auto _ : state) {
        if (StartGame()) {
            state.SkipWithError("start-up failed: see debug.txt");
            break;
        }
        RunScreen();
        state.PauseTiming();
        ShutdownGame();
        state.ResumeTiming();
    }
    StopPlatform();
    UseRealClock();
    SetMessageBoxHook(nullptr);
    std::filesystem::current_path(home);
    state.counters["goal_ms"] = 300;
}
BENCHMARK(BM_StartupStepsHeadless)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace
