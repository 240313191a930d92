// The pictures of Vistorn.dll and Brackwel.dll: every name the game loads, in the size and cell grid it
// reads, in the bitmap format it decodes, clear of near-black, with every cell the game draws filled.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/model/catalogue.h"
#include "game/model/strids.h"
#include "media.h"
#include "shipped.h"

namespace {

struct Expected {
    const char* module;
    const char* name;
    int width, height;
};

// The sizes follow from where and how the game draws each picture; the sheets are 16 columns of
// 40 x 40 cells at a 41-pixel pitch (1 + 41 n pixels).
const Expected images[] = {
    {"Vistorn.dll", "load.bmp", 420, 100},      {"Vistorn.dll", "loadfade.bmp", 420, 100},
    {"Vistorn.dll", "unithealth.bmp", 36, 3},   {"Vistorn.dll", "back.bmp", 800, 600},
    {"Vistorn.dll", "blueline.bmp", 290, 1},    {"Vistorn.dll", "menu_icons.bmp", 203, 409},
    {"Vistorn.dll", "icons.bmp", 657, 83},      {"Vistorn.dll", "shop.bmp", 790, 490},
    {"Vistorn.dll", "B_Top.bmp", 800, 30},      {"Vistorn.dll", "B_Bottom.bmp", 800, 80},
    {"Vistorn.dll", "B_Left.bmp", 5, 100},      {"Vistorn.dll", "B_Right.bmp", 5, 100},
    {"Vistorn.dll", "B_Meterbottom.bmp", 500, 80}, {"Vistorn.dll", "B_Metermiddle.bmp", 500, 80},
    {"Vistorn.dll", "B_Unit.bmp", 800, 80},     {"Vistorn.dll", "line.bmp", 290, 1},
    {"Vistorn.dll", "buttonup.bmp", 200, 50},   {"Vistorn.dll", "buttondown.bmp", 200, 50},
    {"Vistorn.dll", "buttonup2.bmp", 200, 50},  {"Vistorn.dll", "buttondown2.bmp", 200, 50},
    {"Vistorn.dll", "buttonup3.bmp", 200, 50},  {"Vistorn.dll", "buttondown3.bmp", 200, 50},
    {"Vistorn.dll", "meters.bmp", 215, 130},    {"Vistorn.dll", "newback.bmp", 800, 600},
    {"Vistorn.dll", "world.bmp", 450, 325},     {"Vistorn.dll", "worldfade.bmp", 450, 325},
    {"Vistorn.dll", "help.bmp", 800, 600},      {"Vistorn.dll", "logo.bmp", 400, 400},
    {"Brackwel.dll", "terrain.bmp", 657, 657},  {"Brackwel.dll", "units.bmp", 657, 657},
    {"Brackwel.dll", "spellanim.bmp", 657, 985}, {"Brackwel.dll", "spellicon.bmp", 657, 288},
};

Picture Load(const char* module, const char* name)
{
    Picture p;
    const std::string error = ReadPicture(module, name, p);
    EXPECT_EQ(error, "") << module << " " << name;
    return p;
}

void ExpectCells(const Picture& sheet, const char* name, const std::vector<int>& cells)
{
    for (const int c : cells)
        EXPECT_TRUE(CellDrawn(sheet, c)) << name << " cell " << c << " is empty";
}

} // namespace

TEST(ShippedImages, EveryImageIsABitmapOfItsSize)
{
    for (const Expected& e : images) {
        Picture p;
        const std::string error = ReadPicture(e.module, e.name, p);
        ASSERT_EQ(error, "") << e.module << " " << e.name;
        EXPECT_EQ(p.width, e.width) << e.name;
        EXPECT_EQ(p.height, e.height) << e.name;
    }
}

TEST(ShippedImages, NoOpaquePixelIsNearBlack)
{
    for (const Expected& e : images) {
        Picture p;
        ASSERT_EQ(ReadPicture(e.module, e.name, p), "") << e.name;
        int bad = 0, first = -1;
        for (size_t i = 0; i < p.pixels.size(); i++)
            if (NearBlack(p.pixels[i])) {
                bad++;
                first = first < 0 ? (int)i : first;
            }
        EXPECT_EQ(bad, 0) << e.name << ": " << bad << " near-black pixels, the first at (" << first % std::max(p.width, 1)
                          << ", " << first / std::max(p.width, 1) << ")";
    }
}

TEST(ShippedImages, BackgroundsCoverTheScreen)
{
    // A black pixel in a background shows what was drawn before it.
    for (const char* name : {"back.bmp", "newback.bmp", "help.bmp"}) {
        const Picture p = Load("Vistorn.dll", name);
        for (const uint32_t px : p.pixels)
            ASSERT_NE(px, 0u) << name << " has a transparent pixel";
    }
}

TEST(ShippedImages, TheBottomBorderIsPlainStone)
{
    // Its two ends, stretched, frame the menu and option boxes, and the bought units line up across all
    // of it: lettering or a picture on it would show as a streak in those frames and under the units.
    // Below its gold rule and inside its bevelled ends, each column's mean brightness stays within a
    // stone's grain of the whole border's.
    const Picture p = Load("Vistorn.dll", "B_Bottom.bmp");
    ASSERT_EQ(p.height, 80);
    const int rule = 6, bevel = 8;
    std::vector<double> columns;
    for (int x = 0; x < p.width; x++) {
        double sum = 0;
        for (int y = rule; y < p.height; y++) {
            const uint32_t c = p.At(x, y);
            sum += (30 * (c >> 16 & 255) + 59 * (c >> 8 & 255) + 11 * (c & 255)) / 100.0;
        }
        columns.push_back(sum / (p.height - rule));
    }
    double mean = 0;
    for (int x = bevel; x < p.width - bevel; x++)
        mean += columns[x] / (p.width - 2 * bevel);
    for (int x = bevel; x < p.width - bevel; x++)
        EXPECT_NEAR(columns[x], mean, 10) << "column " << x << " of B_Bottom.bmp stands out of its stone";
}

TEST_F(Shipped, EveryUnitTypeHasItsPictureAtEachLevel)
{
    const Picture units = Load("Brackwel.dll", "units.bmp");
    for (const int32_t t : RealTypes()) {
        const int32_t cell = StrictNumber(STR_UNITPICTURE + t);
        ASSERT_GE(cell, 0) << RawString(t);
        // The upgraded levels move the picture on by 64 cells; warlords and summoned creatures stay.
        const TypeKind kind = KindOfType(t);
        const int levels = kind == KIND_BUYABLE || kind == KIND_NEUTRAL || kind == KIND_SETUPFORM ? 3 : 1;
        for (int level = 0; level < levels; level++) {
            const int c = cell + 64 * level;
            EXPECT_LT(c, 224) << RawString(t) << " level " << level + 1 << " runs into the marks";
            EXPECT_TRUE(CellDrawn(units, c)) << RawString(t) << " level " << level + 1 << ": cell " << c << " is empty";
        }
    }
    // Stat icons, the health bar's frame, status marks, player colours, hidden, blown up, damage, remains.
    ExpectCells(units, "units.bmp", {224, 225, 226, 227, 229, 230, 231, 232, 234, 235, 236, 240, 241, 242, 243,
                                     244, 245, 247, 248, 253, 254, 255});
}

TEST_F(Shipped, EverySpellAndAbilityHasItsIconAndAnimation)
{
    const Picture icons = Load("Brackwel.dll", "spellicon.bmp");
    const Picture anims = Load("Brackwel.dll", "spellanim.bmp");
    for (const SpellInfo& s : spells) {
        EXPECT_TRUE(CellDrawn(icons, s.picture)) << s.name << ": icon cell " << s.picture;
        for (int k = 0; k < 8; k++)
            EXPECT_TRUE(CellDrawn(anims, s.anim + 16 * k)) << s.name << ": animation frame " << k + 1;
    }
    for (const AbilityInfo& a : abilities)
        EXPECT_TRUE(CellDrawn(icons, a.picture)) << a.name << ": icon cell " << a.picture;
    // The animations the rules play by number: blows, resisted spells and the effects of abilities.
    for (const int first : {0, 2, 3, 5, 7, 8, 14, 15, 129, 132, 134, 135, 139, 140, 141, 142, 143, 256, 257, 258,
                            259, 260, 261, 262, 263, 264, 266, 271})
        for (int k = 0; k < 8; k++)
            EXPECT_TRUE(CellDrawn(anims, first + 16 * k)) << "animation " << first << " frame " << k + 1;
}

TEST(ShippedImages, TerrainSheetHoldsEveryCellTheBoardDraws)
{
    const Picture terrain = Load("Brackwel.dll", "terrain.bmp");
    std::vector<int> cells;
    // Terrain t in variant v is cell t + 16 v: open ground, trees, rough ground and deposits in four
    // variants, mines for five owners and nobody, two crossings, sixteen river shapes, eight sites used
    // and unused.
    for (const int t : {0, 1, 2, 5})
        for (int v = 0; v < 4; v++)
            cells.push_back(t + 16 * v);
    for (int v = 0; v < 6; v++)
        cells.push_back(3 + 16 * v);
    cells.insert(cells.end(), {6, 22});
    for (int v = 0; v < 16; v++)
        cells.insert(cells.end(), {7 + 16 * v, 8 + 16 * v});
    // Barriers, shading towards the unexplored (mask 0 shades nothing), corners, unexplored land, the
    // target markers, the range mark, then brushfire, mine glint and beacon in seven frames each.
    cells.insert(cells.end(), {4, 20, 36, 64, 80, 96, 112, 192, 193, 194, 195});
    for (int m = 1; m < 16; m++)
        cells.push_back(9 + 16 * m);
    for (int f = 0; f < 7; f++)
        cells.insert(cells.end(), {208 + f, 224 + f, 240 + f});
    ExpectCells(terrain, "terrain.bmp", cells);
    EXPECT_FALSE(CellDrawn(terrain, 9)) << "a square with no unexplored side is not shaded";
}

TEST(ShippedImages, IconSheetsHoldTheirCells)
{
    // Cursors, page arrows, leader marks, cancel, and the three command buttons.
    ExpectCells(Load("Vistorn.dll", "icons.bmp"), "icons.bmp", {0, 1, 2, 3, 4, 5, 6, 7, 8, 16, 17, 18});
    // Eight menu icons of 100 x 50 in two columns: lit 2i and unlit 2i + 1.
    const Picture menu = Load("Vistorn.dll", "menu_icons.bmp");
    for (int c = 0; c < 16; c++) {
        const int x0 = 1 + 101 * (c % 2), y0 = 1 + 51 * (c / 2);
        int lit = 0;
        for (int y = y0; y < y0 + 50; y++)
            for (int x = x0; x < x0 + 100; x++)
                lit += menu.At(x, y) != 0;
        EXPECT_GT(lit, 2500) << "menu icon cell " << c;
    }
}

namespace {

// Water on the river cells: blue over green grass and brown banks (foam at the edge is water too).
bool Water(const uint32_t rgb)
{
    const int r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
    return b > r + 30 && b > g;
}

enum { UP = 1, DOWN = 2, LEFT = 4, RIGHT = 8 };

// Which sides of a terrain cell hold water where the next square's river would join it: the middle of
// each side, where a channel of the neighbour runs in.
int WaterSides(const Picture& sheet, const int cell)
{
    const int x0 = 1 + 41 * (cell % 16), y0 = 1 + 41 * (cell / 16);
    const auto wet = [&](int fx, int fy, int dx, int dy) {
        for (int k = 0; k < 8; k++)
            if (!Water(sheet.At(x0 + fx + k * dx, y0 + fy + k * dy)))
                return false;
        return true;
    };
    return (wet(16, 0, 1, 0) ? UP : 0) | (wet(16, 39, 1, 0) ? DOWN : 0) | (wet(0, 16, 0, 1) ? LEFT : 0) |
           (wet(39, 16, 0, 1) ? RIGHT : 0);
}

// Whether any pixel along a side holds water.
bool SideWet(const Picture& sheet, const int cell, const int side)
{
    const int x0 = 1 + 41 * (cell % 16), y0 = 1 + 41 * (cell / 16);
    for (int k = 0; k < 40; k++) {
        const int x = side == LEFT ? 0 : side == RIGHT ? 39 : k, y = side == UP ? 0 : side == DOWN ? 39 : k;
        if (Water(sheet.At(x0 + x, y0 + y)))
            return true;
    }
    return false;
}

} // namespace

// A river square's cell is 7 + 16 * mask, the mask of its river neighbours as the map stores it (1 up,
// 2 down, 4 left, 8 right): its water reaches exactly those sides, so neighbouring cells join into one
// river. The crossings are the straight runs, left to right (cell 6) and up and down (cell 22).
TEST(ShippedImages, RiverCellsCarryWaterToTheSidesOfTheirMask)
{
    const Picture terrain = Load("Brackwel.dll", "terrain.bmp");
    std::vector<std::pair<int, int>> cells = {{6, LEFT | RIGHT}, {22, UP | DOWN}};
    for (int mask = 0; mask < 16; mask++)
        cells.push_back({7 + 16 * mask, mask});
    for (const auto& [cell, mask] : cells) {
        EXPECT_EQ(WaterSides(terrain, cell), mask) << "terrain cell " << cell;
        for (const int side : {UP, DOWN, LEFT, RIGHT})
            if (!(mask & side))
                EXPECT_FALSE(SideWet(terrain, cell, side)) << "terrain cell " << cell << ": water on side " << side;
    }
}
