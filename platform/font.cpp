// Font files, face lookup and font metrics.
#include "platform/font.h"

#include "platform/gdistate.h"

struct GdiFont {
    int32_t ascent;
    int32_t cellheight;
};

int32_t AddFontFile(const char*)
{
    return 0;
}

bool RemoveFontFile(const char*)
{
    return true;
}

void AliasFontFace(const char*, const char*)
{
}

void ClearFontAliases()
{
}

GdiFont* MakeFont(int32_t, const char*)
{
    if (GdiCreationFails(GDIOBJECT_FONT))
        return nullptr;
    return new GdiFont{10, 12};
}

void FreeFont(GdiFont* const font)
{
    delete font;
}

const char* FontFamily(const GdiFont*)
{
    return "";
}

const char* FontFilePath(const GdiFont*)
{
    return "";
}

int32_t FontAscent(const GdiFont* const font)
{
    return font ? font->ascent : 0;
}

int32_t FontCellHeight(const GdiFont* const font)
{
    return font ? font->cellheight : 0;
}

bool FontHasGlyph(const GdiFont*, uint8_t)
{
    return false;
}

GdiFont* DefaultFont()
{
    return nullptr;
}
