#include "game/view/infobox.h"

#include <cstdlib>

#include "game/model/catalogue.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/images.h"
#include "game/shell/shell.h"
#include "game/view/cells.h"
#include "game/view/drawing.h"
#include "game/view/text.h"

namespace {

enum : int32_t { BOXWIDTH = 240, BOXCOLUMNS = 6, BOXROWS = 3, TITLEHEIGHT = 30 };

// A number names a catalogue entry only in 1..99; any other would read another range's strings.
bool IsCatalogueNumber(const int32_t n, const char* what)
{
    if (n >= 1 && n <= MAXCATALOGUEINDEX)
        return true;
    LogBadInput(std::string("ERROR: There is no ") + what + " number " + std::to_string(n) + " to describe.");
    return false;
}

uint32_t Id(const int32_t base, const int32_t n)
{
    return static_cast<uint32_t>(base + n);
}

// The background and the title; leaves the text open with the small font selected.
void OpenBox(const int32_t x, const int32_t y, const char* title)
{
    DrawShadingTiles(x, y, BOXCOLUMNS, BOXROWS);
    BeginText(FONT_MEDIUM);
    DrawShadowText(x, y, BOXWIDTH, TITLEHEIGHT, title, COLOUR_WHITE, FORMAT_CENTREDLINE);
    SelectDCFont(textdc, fonts[FONT_SMALL]);
}

bool DrawSpellBox(const int32_t n, const int32_t x, const int32_t y, const bool fixedbox)
{
    if (!candraw || !IsCatalogueNumber(n, "spell"))
        return false;
    OpenBox(x, y, GetString(Id(STR_SPELLTITLE, n)));
    DrawShadowText(x, y + 30, BOXWIDTH, 20, SpellFiguresLine(n, fixedbox), COLOUR_FIGURES, FORMAT_CENTREDLINE);
    DrawShadowText(x, y + 50, BOXWIDTH, 70, GetString(Id(STR_SPELLHELP, n)), COLOUR_BODY, FORMAT_WRAPPED);
    EndText();
    return false;
}

// The colour of the shading tile's dots, its first pixel off the colour key; black when the sheet
// holds no such pixel.
uint32_t ShadingColour()
{
    const PixelRect cell = SheetCellRect(TERRAIN_RANGEMARK, CELLSIZE, CELLSIZE, SHEETCOLUMNS);
    const SysSurface* const sheet = imgterrain.GetSurface();
    if (!sheet || cell.right > sheet->width || cell.bottom > sheet->height)
        return 0;
    for (int32_t y = cell.top; y < cell.bottom; y++)
        for (int32_t x = cell.left; x < cell.right; x++) {
            const uint32_t pixel = sheet->pixels[(size_t)y * sheet->width + x] & 0xFFFFFF;
            if (pixel != (sheet->colourkey & 0xFFFFFF))
                return pixel;
        }
    return 0;
}

} // namespace

void DrawShadingTiles(const int32_t x, const int32_t y, const int32_t columns, const int32_t rows)
{
    // A ground of the tile's own colour first: the tile alone lets one pixel in four of what lies under
    // the box through (on the board that is the point of it), and a picture there would show between
    // the letters of the box's texts.
    if (candraw && backbuffer) {
        const PixelRect box = { x, y, x + CELLSIZE * columns, y + CELLSIZE * rows };
        FillSurface(backbuffer, &box, ShadingColour());
    }
    for (int32_t i = 0; i < columns; i++)
        for (int32_t j = 0; j < rows; j++)
            DrawSheetIcon(x + CELLSIZE * i, y + CELLSIZE * j, TERRAIN_RANGEMARK, imgterrain);
}

std::string SpellFiguresLine(const int32_t n, const bool fixedbox)
{
    std::string line;
    const int32_t mana = std::atoi(GetString(Id(STR_SPELLMANA, n)));
    const int32_t range = std::atoi(GetString(Id(STR_SPELLRANGE, n)));
    if (mana != 0)
        line += "Mana: " + std::to_string(mana);
    if (range != 0)
        line += (fixedbox ? "   Range: " : "        Range: ") + std::to_string(range);
    if (fixedbox)
        line += std::string("   CTRL+") + GetString(Id(STR_SPELLKEY, n));
    return line;
}

bool DrawAbilityInfo(const int32_t n)
{
    return DrawAbilityInfoAt(n, INFOBOXX, INFOBOXY);
}

bool DrawAbilityInfoAt(const int32_t n, const int32_t x, const int32_t y)
{
    if (!candraw || !IsCatalogueNumber(n, "ability"))
        return false;
    OpenBox(x, y, GetString(Id(STR_ABILITYTITLE, n)));
    DrawShadowText(x, y + 30, BOXWIDTH, 130, GetString(Id(STR_ABILITYHELP, n)), COLOUR_BODY, FORMAT_WRAPPED);
    EndText();
    return false;
}

bool DrawSpellInfo(const int32_t n)
{
    return DrawSpellBox(n, INFOBOXX, INFOBOXY, true);
}

bool DrawSpellInfoAt(const int32_t n, const int32_t x, const int32_t y)
{
    return DrawSpellBox(n, x, y, false);
}
