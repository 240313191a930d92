// One whole turn of the neutral side with 50 awake guards among the players' armies on a 45 x 45 map
// from the real generator, with the shipped catalogue: every frame of the turn states, nothing drawn,
// so that the steps never wait (the designed quarter second between them is left out).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game/ai/aistate.h"
#include "game/magic/binding.h"
#include "game/magic/targets.h"
#include "game/model/catalogue.h"
#include "game/model/death.h"
#include "game/model/mapgen.h"
#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/model/strings.h"
#include "game/model/turns.h"
#include "game/model/turnstart.h"
#include "game/model/units.h"
#include "game/net/sendqueue.h"
#include "game/screens/states.h"
#include "game/screens/turnsteps.h"
#include "game/shell/debuglog.h"
#include "game/shell/shell.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "gamedir.h"

namespace {

enum { MAPSIZE = 45, HUMANS = 4, GUARDS = 50, ARMY = 12, SEED = 4242 };

// The shipped catalogue with its handlers bound, as the game loads it.
bool LoadShippedCatalogue()
{
    if (!stringmodule && !LoadFromGameDirectory(LoadGameText))
        return false;
    CreateSpells();
    return true;
}

// A free square drawn near (x, y); false when the draws found none.
bool FreeSquareNear(int32_t x, int32_t y, int32_t reach, int32_t* fx, int32_t* fy)
{
    for (int tries = 0; tries < 50; tries++) {
        *fx = x + Random() % (2 * reach + 1) - reach;
        *fy = y + Random() % (2 * reach + 1) - reach;
        if (InBounds(*fx, *fy) && IsSquareFree(0, 0, *fx, *fy, 0))
            return true;
    }
    return false;
}

// Four players' armies round their camps and 50 guards in groups between them, awake.
void MakeGame()
{
    ResetGameState();
    for (int i = 0; i < HUMANS; i++) {
        AddPlayer();
        p.back().socket = 100 + i;
    }
    p[0].hostplayer = 1;
    ishost = 1;
    you = p[0].sizeattime;
    SeedRandom(SEED);
    CreateBlankMap(MAPSIZE);
    GenerateTerrain();
    PlaceMines();
    AddNeutralRecord();
    const int32_t neutral = static_cast<int32_t>(p.size()) - 1;
    for (int32_t h = 0; h < HUMANS; h++)
        for (int n = 0; n < ARMY; n++) {
            int32_t x, y;
            if (FreeSquareNear(p[h].startx, p[h].starty, 8, &x, &y))
                CreateUnit(h, x, y, buyable[Random() % buyable.size()].type, 0);
        }
    // The guards stand in groups halfway between the camps and the centre, where the armies meet them.
    for (int g = 0; g < GUARDS; g++) {
        const Player& near = p[g % HUMANS];
        int32_t x, y;
        if (!FreeSquareNear((near.startx + MAPSIZE / 2) / 2, (near.starty + MAPSIZE / 2) / 2, 6, &x, &y))
            continue;
        const int32_t u = CreateUnit(neutral, x, y, neutralpoints[Random() % neutralpoints.size()].type, 0);
        if (u >= 0)
            p[neutral].units[u].alerted = 1;
    }
    currplayer = turnholder = neutral;
    UpdateUnits(neutral);
    ClearSendQueue();
}

size_t Count(const std::string& text, const char* what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        n++;
    return n;
}

// The turn states from the neutral turn's start to its end; the frames it took.
int32_t RunNeutralTurn()
{
    currunit = -1;
    gs = GAME_COMPTURN;
    int32_t frames = 0;
    while (gs == GAME_COMPTURN || gs == GAME_COMPUNIT) {
        if (gs == GAME_COMPTURN)
            CompTurnStep();
        else
            CompUnitStep();
        ProcessDeaths();
        frames++;
    }
    return frames;
}

void BM_NeutralTurn50Guards(benchmark::State& state)
{
    if (!LoadShippedCatalogue()) {
        state.SkipWithError("no Tessarine.dll in the game directory");
        return;
    }
    candraw = 0;
    UseVirtualClock(0);
    MakeGame();
    const std::vector<Player> players = p;
    const std::vector<std::vector<MapSquare>> board = map;
    const int32_t guards = static_cast<int32_t>(players.back().units.size());
    // What the guards do in this turn, once, from the log.
    std::string log;
    CaptureDebugLog(&log);
    ResetComputerPlayer();
    SeedRandom(SEED);
    RunNeutralTurn();
    CaptureDebugLog(nullptr);
    state.counters["attacks_and_casts"] = static_cast<double>(Count(log, "Acted on"));
    state.counters["steps"] = static_cast<double>(Count(log, "Moving to new location."));
    // The log is open, as in the game, where each guard's steps are written to it as they happen; each
    // turn starts it anew (the game's file grows, but a line costs the same at any length).
    const std::string logpath = (std::filesystem::temp_directory_path() / "gorvanel-bench-neutral.txt").string();
    int32_t frames = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (OpenDebugLog(logpath.c_str())) {
            state.SkipWithError("cannot open a debug log in the temporary folder");
            break;
        }
        p = players;
        map = board;
        deathlist.clear();
        currplayer = turnholder = static_cast<int32_t>(p.size()) - 1;
        ResetComputerPlayer();
        ClearSendQueue();
        SeedRandom(SEED);
        state.ResumeTiming();
        frames = RunNeutralTurn();
        benchmark::DoNotOptimize(p);
    }
    DeleteDebugLog();
    state.counters["guards"] = guards;
    state.counters["frames"] = frames;
}
BENCHMARK(BM_NeutralTurn50Guards)->Unit(benchmark::kMillisecond);

} // namespace
