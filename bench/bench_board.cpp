// Composing the play screen, next to the frame copy every benchmark program measures: a 45 x 45
// map, five armies of 20 units, fog, dark land, range marks, the minimap and a feed of five lines.
// Goal: one whole board frame (board, minimap, feed) within 4x the frame copy.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "game/model/state.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/gdiobjects.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/shell/shell.h"
#include "game/view/board.h"
#include "game/view/cursor.h"
#include "game/view/feed.h"
#include "game/view/frames.h"
#include "game/view/geometry.h"
#include "game/view/header.h"
#include "game/view/minimap.h"
#include "game/view/unitpicture.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/window.h"

namespace {

enum { MAPSIZE = 45, ARMIES = 5, UNITS = 20 };

// A sheet like the game's: colours, about a third of the pixels the key (transparent).
void MakePicture(Surface& s, int32_t width, int32_t height)
{
    s.CreateBlank(width, height, 0);
    uint32_t seed = 12345;
    uint32_t* const pixels = s.GetSurface()->pixels;
    for (int32_t i = 0; i < width * height; i++) {
        seed = seed * 1103515245 + 12345;
        pixels[i] = (seed >> 16) % 3 == 0 ? 0 : (seed & 0xFFFFFF) | 0x040404;
    }
}

void MakeImages()
{
    for (Surface* sheet : { &imgterrain, &imgterraintint, &imgterraingrey, &imgunits, &imgunitstint, &imgunitsgrey,
                            &imgspellicon, &imgspellanim })
        MakePicture(*sheet, 657, 657);
    MakePicture(imgicons, 657, 83);
    MakePicture(imgunithealth, 36, 3);
    const int32_t sizes[BORDERPIECES][2] = { { 800, 30 }, { 800, 80 }, { 5, 100 }, { 5, 100 },
                                             { 500, 80 }, { 500, 80 }, { 800, 80 } };
    for (int32_t i = 0; i < BORDERPIECES; i++)
        MakePicture(imgborder[i], sizes[i][0], sizes[i][1]);
    imgboard.CreateBlank(800, 520, 0);
    imgminimap.CreateBlank(402, 402, 0);
}

void MakeGame()
{
    for (int32_t i = 0; i < ARMIES - 1; i++) {
        AddPlayer();
        SetPlayerName(p.back(), ("Player" + std::to_string(i)).c_str());
    }
    AddNeutralRecord();
    you = p[0].sizeattime;
    MapSquare blank{};
    blank.bits = NOCLAIM;
    map.assign(MAPSIZE, std::vector<MapSquare>(MAPSIZE, blank));
    mapsize = MAPSIZE;
    for (int32_t x = 0; x < MAPSIZE; x++)
        for (int32_t y = 0; y < MAPSIZE; y++) {
            MapSquare& s = map[x][y];
            s.terrain = static_cast<uint8_t>((x * 7 + y * 3) % 3);
            s.extra = static_cast<uint8_t>((x + y) % 4);
            s.explored = (x + y) % 11 != 0 && x < 38;
            s.dark = (x / 5 + y / 7) % 4 == 0;
            s.mark = x >= 20 && x <= 26 && y >= 18 && y <= 24;
            s.hazard = (x * y) % 37 == 0;
        }
    int32_t id = 1;
    for (int32_t a = 0; a < ARMIES; a++)
        for (int32_t k = 0; k < UNITS; k++) {
            Unit u = BlankUnit();
            u.stat[STAT_LIFE] = 10;
            u.stat[STAT_ACTIONS] = 2;
            u.hp = 3 + k % 8;
            u.moves = k % 3;
            u.hits = k % 3;
            u.picture = (a * UNITS + k) % 200;
            u.x = (a * 9 + k * 7) % MAPSIZE;
            u.y = (a * 4 + k * 3) % 30 + 5;
            u.id = id++;
            p[a].units.push_back(u);
        }
    currplayer = 0;
    currunit = 0;
    daycount = 3;
    turncount = 2;
    view = { 13, 15, 33, 28 };
    for (const char* line : { "Your unit claimed this gold mine.", "Player2 cast Fireball on your Pikeman!",
                              "This statue raised your unit's stamina.", "The target resisted the spell!",
                              "Player1: Your warlord will not live to see the night." })
        AddMessage(0, line);
    mousex = 400;
    mousey = 300;
}

bool SetUpOnce()
{
    // The feed's lines expire on the clock: a virtual one keeps all five for the whole run.
    UseVirtualClock(0);
    static const bool failed = SetCurrentDir(GORV_DIST_DIR) || StartPlatform(BACKEND_HEADLESS) ||
                               CreateDirectDraw() || CreatePrimarySurface() || CreateGdiObjects() || LoadFonts();
    static bool made = false;
    if (!failed && !made) {
        candraw = 1;
        appactive = 1;
        MakeImages();
        MakeGame();
        RebuildBoardImage();
        RedrawUnitPictures();
        RebuildMinimap(0, 1);
        made = true;
    }
    return failed;
}

// The set-up, once for every benchmark of the run; false, with the benchmark skipped, when it failed.
bool Ready(benchmark::State& state)
{
    if (!SetUpOnce())
        return true;
    state.SkipWithError("no display");
    return false;
}

// The board as the unit turn draws it every frame, with its marks and units, the minimap and the feed.
void BoardFrame(benchmark::State& state)
{
    if (!Ready(state))
        return;
    for (auto _ : state) {
        framecount++;
        DrawBoard(1, 0);
        DrawMinimap();
        DrawMessageFeed(0);
        benchmark::ClobberMemory();
    }
}

// The whole play screen around it: the clear, the frame, the header and the cursor too.
void PlayScreenFrame(benchmark::State& state)
{
    if (!Ready(state))
        return;
    for (auto _ : state) {
        framecount++;
        ClearBackBuffer();
        DrawBoard(1, 0);
        DrawScreenBorder();
        DrawTurnHeader();
        DrawMinimap();
        DrawMessageFeed(0);
        DrawCursor(0);
        benchmark::ClobberMemory();
    }
}

// What a change of the map or of the units costs on top: the board image, every unit's picture and
// the minimap made again.
void RebuildAfterAChange(benchmark::State& state)
{
    if (!Ready(state))
        return;
    for (auto _ : state) {
        RebuildBoardImage();
        RedrawUnitPictures();
        RebuildMinimap(0, 1);
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(BoardFrame)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(PlayScreenFrame)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(RebuildAfterAChange)->Repetitions(7)->ReportAggregatesOnly(true);
