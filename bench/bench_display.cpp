// Display and drawing costs, each next to the frame copy every benchmark program measures (benchmain.cpp).
// Goal: a full-screen keyed copy within 2x the frame copy.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/display.h"
#include "platform/font.h"
#include "platform/gdi.h"
#include "platform/surface.h"

namespace {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 600;

// A picture like the game's: colours with about a third of the pixels the key (transparent).
SysSurface* Picture(int width, int height)
{
    SysSurface* const s = CreateSysSurface(width, height, 0);
    uint32_t seed = 12345;
    for (int i = 0; i < width * height; i++) {
        seed = seed * 1103515245 + 12345;
        s->pixels[i] = (seed >> 16) % 3 == 0 ? 0 : (seed & 0xFFFFFF) | 0x040404;
    }
    return s;
}

void KeyedTile(benchmark::State& state)
{
    SysSurface* const sheet = Picture(657, 657);
    SysSurface* const back = CreateSysSurface(WIDTH, HEIGHT, 0);
    int cell = 0;
    for (auto _ : state) {
        const int x = 1 + 41 * (cell % 16);
        const int y = 1 + 41 * (cell / 16 % 16);
        CopySurface(back, 40 * (cell % 20), 40 * (cell / 20 % 13), sheet, {x, y, x + 40, y + 40}, true);
        cell++;
        benchmark::ClobberMemory();
    }
    DestroySysSurface(sheet);
    DestroySysSurface(back);
}

void KeyedFullScreen(benchmark::State& state)
{
    SysSurface* const picture = Picture(WIDTH, HEIGHT);
    SysSurface* const back = CreateSysSurface(WIDTH, HEIGHT, 0);
    for (auto _ : state) {
        CopySurface(back, 0, 0, picture, SurfaceRect(picture), true);
        benchmark::ClobberMemory();
    }
    DestroySysSurface(picture);
    DestroySysSurface(back);
}

// The present path: back buffer to the front buffer, then into the texture's upload buffer.
void PresentPath(benchmark::State& state)
{
    SysSurface* const back = Picture(WIDTH, HEIGHT);
    SysSurface* const front = CreateSysSurface(WIDTH, HEIGHT, 0);
    std::vector<uint8_t> upload(WIDTH * HEIGHT * 4 + 64 * HEIGHT);
    for (auto _ : state) {
        CopySurface(front, 0, 0, back, SurfaceRect(back), false);
        CopyFrameToUpload(upload.data(), WIDTH * 4 + 64, front->pixels, WIDTH, HEIGHT);
        benchmark::ClobberMemory();
    }
    DestroySysSurface(back);
    DestroySysSurface(front);
}

void TextLines(benchmark::State& state)
{
    AddFontFile(GORV_DIST_DIR "/Font.ttf");
    GdiFont* const font = MakeFont(-12, "Averia Serif GWF");
    SysSurface* const back = CreateSysSurface(WIDTH, HEIGHT, 0);
    GdiDC* const dc = OpenSurfaceDC(back);
    SelectDCFont(dc, font);
    SetDCBackMode(dc, BACK_TRANSPARENT);
    SetDCTextColour(dc, MakeColour(255, 255, 255));
    for (auto _ : state) {
        for (int i = 0; i < 100; i++) {
            const int y = 5 * i % (HEIGHT - 20);
            DrawDCText(dc, "Pikeman 12/12 hp, 3 moves", {10 + i % 7, y, 400, y + 20}, TEXT_LEFT | TEXT_SINGLELINE);
        }
        benchmark::ClobberMemory();
    }
    CloseDC(dc);
    DestroySysSurface(back);
    FreeFont(font);
}

} // namespace

BENCHMARK(KeyedTile)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(KeyedFullScreen)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(PresentPath)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(TextLines)->Repetitions(7)->ReportAggregatesOnly(true);
