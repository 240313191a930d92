// What the drawing tests of the view share: the headless display with its back buffer, the shared
// pens and brushes, the game fonts, a small world, and fixture sheets in place of the game's art.
//
// Every pixel of a fixture sheet's cell holds (cell << 8 | sheet), so a probe tells which cell of
// which sheet was drawn there. Cells that lie over others (shading, marks, a unit's status marks...)
// paint only their own 8 x 8 patch of the cell, at a place of their kind, and leave the rest
// transparent; one probe per layer then reads each layer on its own. The full cells (a square's
// terrain, the unexplored cell, effect frames) fill the cell.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/surface.h"

struct Surface;

// Fixture sheet numbers, as the low byte of their pixels.
enum : int32_t {
    SHEET_NONE = 0,         // a black (transparent) pixel
    SHEET_TERRAIN = 1,
    SHEET_TERRAINTINT = 2,
    SHEET_TERRAINGREY = 3,
    SHEET_UNITS = 4,
    SHEET_UNITSTINT = 5,
    SHEET_UNITSGREY = 6,
    SHEET_SPELLANIM = 7,
    SHEET_SPELLICON = 8,
    SHEET_ICONS = 9,
    SHEET_MENUICONS = 10,
    SHEET_HEALTH = 11,
    SHEET_BORDER = 12,      // + piece: 12..18
    SHEET_BACK = 19,
    SHEET_METERS = 20,      // the unit panel's meter strips
    SHEET_LINE = 21,        // the two one-pixel strips
    SHEET_BLUELINE = 22,
    SHEET_LAST = SHEET_BLUELINE,
    SHEET_OTHER = 255,      // a pixel no sheet drew (text, shapes)
};

// Where in its cell a layer's patch lies (top-left corner, 8 x 8): one place per kind of cell.
enum PatchPlace {
    PATCH_FORCEFIELD, PATCH_EDGE, PATCH_CORNER, PATCH_RANGE, PATCH_HAZARD,
    PATCH_GLINT, PATCH_BEACON, PATCH_TIMED, PATCH_DAMAGE, PATCH_EFFECT,
    PATCH_ICON, PATCH_HIDDEN, PATCH_COLOUR, PATCH_FRAMEUNDER, PATCH_FRAMEOVER,
    PATCH_NOMOVES, PATCH_NOATTACK, PATCH_POISON, PATCH_STATICON, PATCH_OTHER,
    PATCH_FULL,             // the whole cell: probed at its bottom-right corner, which no patch covers
};

struct Probe {
    int32_t sheet;
    int32_t cell;
    bool operator==(const Probe&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Probe& probe);

Probe CellAt(const SysSurface* surface, int32_t x, int32_t y);     // what was drawn at the pixel
// What a layer drew on the square whose cell starts at (px, py) of the surface.
Probe LayerAt(const SysSurface* surface, int32_t px, int32_t py, PatchPlace place);
uint32_t PixelAt(const SysSurface* surface, int32_t x, int32_t y); // XRGB
// The bounding box of the pixels in rect that differ from background; empty (left >= right) for none.
PixelRect Ink(const SysSurface* surface, const PixelRect& rect, uint32_t background = 0);
// Whether some pixel in rect is near the colour (XRGB): the inside of a glyph reaches its colour.
bool HasColour(const SysSurface* surface, const PixelRect& rect, uint32_t pixel);

// The fixture's cell of the sheets: fills surface's 40 x 40 cell n (16 to a row) with its code.
void PaintFixtureCell(Surface& sheet, int32_t sheetnumber, int32_t n);

// The game's own pictures from its image modules in the game directory, loaded as the game loads them,
// in place of the fixture's; true on failure. ReleaseAllImages drops every image global either set.
bool LoadGameArt();
void ReleaseAllImages();

class ViewTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A world of humans players and the neutral side on a size x size map, every square explored
    // open ground (terrain 0), the view at the map's top-left corner, player 0 local.
    void MakeBoard(int32_t humans, int32_t size);
    void ExploreAll(bool explored);
    std::string log;
    std::string olddir;
};
