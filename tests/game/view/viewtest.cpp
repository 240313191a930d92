#include "tests/game/view/viewtest.h"

#include <algorithm>
#include <cstdlib>
#include <ostream>

#include "common/module.h"
#include "game/model/announce.h"
#include "game/model/state.h"
#include "game/screens/listener.h"
#include "game/screens/states.h"
#include "game/shell/debuglog.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/gdiobjects.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/shell/shell.h"
#include "game/shell/surface.h"
#include "game/view/board.h"
#include "game/view/drawing.h"
#include "game/view/feed.h"
#include "game/view/frames.h"
#include "game/view/geometry.h"
#include "game/view/names.h"
#include "game/view/unitpicture.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/inputscript.h"
#include "platform/window.h"
#include "tests/game/support/testscreen.h"
#include "tests/game/support/world.h"

namespace {

enum { PATCH = 8, PATCHCOLUMNS = 5 };

PatchPlace TerrainPlace(const int32_t n)
{
    if (n == 4 || n == 20 || n == 36)
        return PATCH_FORCEFIELD;
    if (n % 16 == 9)
        return PATCH_EDGE;
    if (n == 64 || n == 80 || n == 96 || n == 112)
        return PATCH_CORNER;
    if (n == 195)
        return PATCH_RANGE;
    if (n >= 208 && n <= 214)
        return PATCH_HAZARD;
    if (n >= 224 && n <= 230)
        return PATCH_GLINT;
    if (n >= 240 && n <= 246)
        return PATCH_BEACON;
    return PATCH_FULL;
}

PatchPlace UnitPlace(const int32_t n)
{
    if (n < 224)
        return PATCH_ICON;
    if (n <= 227)
        return PATCH_STATICON;
    switch (n) {
    case 229: return PATCH_FRAMEUNDER;
    case 230: return PATCH_FRAMEOVER;
    case 231: return PATCH_NOMOVES;
    case 232: return PATCH_NOATTACK;
    case 247:
    case 248: return PATCH_HIDDEN;
    case 254: return PATCH_DAMAGE;
    case 255: return PATCH_TIMED;
    default: break;
    }
    if (n >= 233 && n <= 239)
        return PATCH_POISON;
    if (n >= 240 && n <= 245)
        return PATCH_COLOUR;
    return PATCH_OTHER;
}

PatchPlace PlaceOn(const int32_t sheet, const int32_t n)
{
    switch (sheet) {
    case SHEET_TERRAIN:
    case SHEET_TERRAINTINT:
    case SHEET_TERRAINGREY: return TerrainPlace(n);
    case SHEET_UNITS:
    case SHEET_UNITSTINT:
    case SHEET_UNITSGREY: return UnitPlace(n);
    case SHEET_SPELLANIM: return PATCH_EFFECT;
    default: return PATCH_FULL;
    }
}

PixelRect PatchRect(const PatchPlace place)
{
    if (place == PATCH_FULL)
        return { 0, 0, CELLSIZE, CELLSIZE };
    const int32_t index = place, col = index % PATCHCOLUMNS, row = index / PATCHCOLUMNS;
    return { PATCH * col, PATCH * row, PATCH * col + PATCH, PATCH * row + PATCH };
}

void Fill(SysSurface* s, const PixelRect& r, const uint32_t pixel)
{
    for (int32_t y = r.top; y < r.bottom; y++)
        for (int32_t x = r.left; x < r.right; x++)
            s->pixels[static_cast<size_t>(y) * s->width + x] = pixel;
}

// A sheet of 40 x 40 cells, columns x rows of them, each cell painted with its code.
void MakeSheet(Surface& sheet, const int32_t number, const int32_t rows)
{
    if (sheet.IsCreated())
        return;
    sheet.CreateBlank(1 + (CELLSIZE + 1) * SHEETCOLUMNS, 1 + (CELLSIZE + 1) * rows, 0);
    for (int32_t n = 0; n < SHEETCOLUMNS * rows; n++)
        PaintFixtureCell(sheet, number, n);
}

// A picture of one colour: the frame pieces, the background, the health bar.
void MakeSolid(Surface& s, const int32_t number, const int32_t w, const int32_t h)
{
    if (s.IsCreated())
        return;
    s.CreateBlank(w, h, 0);
    Fill(s.GetSurface(), s.Rect(), static_cast<uint32_t>(number));
}

void MakeMenuIcons()
{
    if (imgmenuicons.IsCreated())
        return;
    imgmenuicons.CreateBlank(203, 409, 0);
    for (int32_t n = 0; n < 16; n++) {
        const PixelRect cell = SheetCellRect(n, 100, 50, 2);
        Fill(imgmenuicons.GetSurface(), cell, static_cast<uint32_t>(n) << 8 | SHEET_MENUICONS);
    }
}

void MakeSheets()
{
    MakeSheet(imgterrain, SHEET_TERRAIN, 16);
    MakeSheet(imgterraintint, SHEET_TERRAINTINT, 16);
    MakeSheet(imgterraingrey, SHEET_TERRAINGREY, 16);
    MakeSheet(imgunits, SHEET_UNITS, 16);
    MakeSheet(imgunitstint, SHEET_UNITSTINT, 16);
    MakeSheet(imgunitsgrey, SHEET_UNITSGREY, 16);
    MakeSheet(imgspellanim, SHEET_SPELLANIM, 24);
    MakeSheet(imgspellicon, SHEET_SPELLICON, 16);
    MakeSheet(imgicons, SHEET_ICONS, 2);
    MakeMenuIcons();
    MakeSolid(imgunithealth, SHEET_HEALTH, 40, 3);     // wider than the bar may grow
    const int32_t sizes[BORDERPIECES][2] = { { 800, 30 }, { 800, 80 }, { 5, 100 }, { 5, 100 },
                                             { 500, 80 }, { 500, 80 }, { 800, 80 } };
    for (int32_t i = 0; i < BORDERPIECES; i++)
        MakeSolid(imgborder[i], SHEET_BORDER + i, sizes[i][0], sizes[i][1]);
    // The pieces below and above the meters are clear where the meters and the spells show through,
    // as the game's are: only their left end is painted.
    for (const int32_t i : { BORDER_METERBOTTOM, BORDER_METERMIDDLE })
        Fill(imgborder[i].GetSurface(), { 40, 0, 500, 80 }, 0);
    MakeSolid(imgback, SHEET_BACK, 800, 600);
    // The meters' strips: each row (and the experience column) painted with its own code.
    if (!imgmeters.IsCreated()) {
        imgmeters.CreateBlank(215, 130, 0);
        for (int32_t row = 0; row < 3; row++)
            Fill(imgmeters.GetSurface(), { 0, 20 * row, 215, 20 * row + 20 },
                 static_cast<uint32_t>(row) << 8 | SHEET_METERS);
        Fill(imgmeters.GetSurface(), { 0, 60, 30, 130 }, 3u << 8 | SHEET_METERS);
    }
    MakeSolid(imgline, SHEET_LINE, 290, 1);
    MakeSolid(imgblueline, SHEET_BLUELINE, 290, 1);
    if (!imgboard.IsCreated())
        imgboard.CreateBlank(800, 520, 0);
    if (!imgminimap.IsCreated())
        imgminimap.CreateBlank(402, 402, 0);
}

} // namespace

std::ostream& operator<<(std::ostream& out, const Probe& probe)
{
    return out << "{sheet " << probe.sheet << ", cell " << probe.cell << "}";
}

uint32_t PixelAt(const SysSurface* s, const int32_t x, const int32_t y)
{
    if (!s || x < 0 || y < 0 || x >= s->width || y >= s->height)
        return 0;
    return s->pixels[static_cast<size_t>(y) * s->width + x] & 0xFFFFFF;
}

PixelRect Ink(const SysSurface* s, const PixelRect& rect, const uint32_t background)
{
    PixelRect box = { rect.right, rect.bottom, rect.left, rect.top };
    for (int32_t y = rect.top; y < rect.bottom; y++)
        for (int32_t x = rect.left; x < rect.right; x++)
            if (PixelAt(s, x, y) != background) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return box;
}

bool HasColour(const SysSurface* s, const PixelRect& rect, const uint32_t pixel)
{
    auto near = [](uint32_t a, uint32_t b, int shift) {
        return std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) <= 24;
    };
    for (int32_t y = rect.top; y < rect.bottom; y++)
        for (int32_t x = rect.left; x < rect.right; x++) {
            const uint32_t p = PixelAt(s, x, y);
            if (near(p, pixel, 16) && near(p, pixel, 8) && near(p, pixel, 0))
                return true;
        }
    return false;
}

Probe CellAt(const SysSurface* s, const int32_t x, const int32_t y)
{
    const uint32_t pixel = PixelAt(s, x, y);
    if (pixel == 0)
        return { SHEET_NONE, -1 };
    const int32_t sheet = static_cast<int32_t>(pixel & 0xFF);
    if (sheet > SHEET_LAST)
        return { SHEET_OTHER, -1 };
    return { sheet, static_cast<int32_t>(pixel >> 8) };
}

Probe LayerAt(const SysSurface* s, const int32_t px, const int32_t py, const PatchPlace place)
{
    const PixelRect r = PatchRect(place);
    return CellAt(s, px + r.right - 1, py + r.bottom - 1);
}

void PaintFixtureCell(Surface& sheet, const int32_t number, const int32_t n)
{
    const PixelRect cell = SheetCellRect(n, CELLSIZE, CELLSIZE, SHEETCOLUMNS);
    const PixelRect patch = PatchRect(PlaceOn(number, n));
    Fill(sheet.GetSurface(), { cell.left, cell.top, cell.right, cell.bottom }, 0);
    Fill(sheet.GetSurface(),
         { cell.left + patch.left, cell.top + patch.top, cell.left + patch.right, cell.top + patch.bottom },
         static_cast<uint32_t>(n) << 8 | static_cast<uint32_t>(number));
}

void ReleaseAllImages()
{
    FreeImages();
    for (Surface* s : { &imgterrain, &imgterraintint, &imgterraingrey, &imgunits, &imgunitstint, &imgunitsgrey,
                        &imgboard, &imgspellanim, &imgspellicon, &imgunithealth, &imgback, &imgmenuicons, &imgicons,
                        &imgminimap, &imgscreen, &imgmeters, &imgline, &imgblueline })
        s->Release();
    for (Surface& s : imgborder)
        s.Release();
}

bool LoadGameArt()
{
    ReleaseAllImages();
    imagemodules[IMAGES_VISTORN] = OpenModule("Vistorn.dll");
    imagemodules[IMAGES_BRACKWEL] = OpenModule("Brackwel.dll");
    const bool failed = LoadImages();
    CloseModule(imagemodules[IMAGES_VISTORN]);
    CloseModule(imagemodules[IMAGES_BRACKWEL]);
    imagemodules[IMAGES_VISTORN] = imagemodules[IMAGES_BRACKWEL] = nullptr;
    return failed;
}

void ViewTest::SetUp()
{
    CaptureDebugLog(&log);
    ShowRulesOnScreen();
    ASSERT_FALSE(OpenTestScreen(GORV_DIST_DIR, &olddir));
    ASSERT_FALSE(CreateGdiObjects());
    ClearInputScript();
    ASSERT_FALSE(DInputGo());
    BindMouse();
    MakeSheets();
    UseVirtualClock(100000);
    candraw = 1;
    appactive = 1;
    framecount = 0;
    gridon = 0;
    minimapon = 1;
    messages.clear();
    ASSERT_FALSE(LoadTestStrings(StandardTestStrings()));
}

void ViewTest::TearDown()
{
    ListenToRules(nullptr);
    FreeUnitPictures();
    messages.clear();
    gridon = 0;
    UnloadTestStrings();
    ResetGameState();
    ReleaseInput();
    ClearInputScript();
    mousestate = {};
    CloseTestScreen(olddir);
    UseRealClock();
    candraw = 1;
    appactive = 1;
    framecount = 0;
    gridon = 0;
    minimapon = 1;
    CaptureDebugLog(nullptr);
}

void ViewTest::MakeBoard(const int32_t humans, const int32_t size)
{
    MakeWorld(humans, size, true);
    ExploreAll(true);
    view = { 0, 0, BOARDCOLUMNS, BOARDROWS };
    oldview = view;
}

void ViewTest::ExploreAll(const bool explored)
{
    for (std::vector<MapSquare>& column : map)
        for (MapSquare& s : column)
            s.explored = explored ? 1 : 0;
}
