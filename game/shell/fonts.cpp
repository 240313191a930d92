// The game's fonts. The face names the game asks for are mapped onto our own font files.
#include "game/shell/fonts.h"

#include <algorithm>
#include <vector>

#include "game/shell/debuglog.h"
#include "game/shell/gdiobjects.h"
#include "platform/font.h"

GdiFont* fonts[FONTCOUNT] = {};

namespace {

struct FontFile {
    const char* name;
    const char* logname;    // as the log names it
};

const FontFile fontfiles[] = {
    {"Font.ttf", "font.ttf"},
    {"Help.ttf", "help.ttf"},
    {"Lobby.ttf", "lobby.ttf"},
    {"Font2.ttf", "font2.ttf"},
};

// The faces the game asks for, and the file of ours that stands for each.
const struct {
    const char* face;
    const char* file;
} aliases[] = {
    {"Papyrus", "Font.ttf"},
    {"Eurostile", "Lobby.ttf"},
    {"Arial", "Help.ttf"},
    {"Eras Light ITC", "Font2.ttf"},
};

const struct {
    int32_t height;
    const char* face;
} fonttable[FONTCOUNT] = {
    {-12, "Papyrus"}, {-18, "Papyrus"}, {-48, "Papyrus"}, {-17, "Eurostile"}, {-12, "Arial"}, {60, "Eras Light ITC"},
};

// The fonts FontAtSize made.
struct SizedFont {
    int32_t index, pixels;
    GdiFont* font;
};
std::vector<SizedFont> sizedfonts;

} // namespace

bool LoadFonts()
{
    debuglog << "Loading Fonts." << std::endl;
    for (const FontFile& file : fontfiles) {
        if (AddFontFile(file.name) == 0) {
            debuglog << "ERROR: Couldn't add " << file.logname << "." << std::endl;
            return true;
        }
    }
    for (const auto& alias : aliases)
        AliasFontFace(alias.face, alias.file);
    for (int i = 0; i < FONTCOUNT; i++)
        fonts[i] = MakeFont(fonttable[i].height, fonttable[i].face);
    for (int i = 0; i < FONTCOUNT - 1; i++) {
        if (!fonts[i]) {
            debuglog << "ERROR: Couldn't create fonts." << std::endl;
            return true;
        }
    }
    return false;
}

GdiFont* FontAtSize(const int32_t index, const int32_t pixels)
{
    if (index < 0 || index >= FONTCOUNT || !fonts[index])
        return nullptr;
    if (pixels >= FontPixelSize(fonts[index]))
        return fonts[index];
    for (const SizedFont& made : sizedfonts)
        if (made.index == index && made.pixels == pixels)
            return made.font;
    GdiFont* const font = MakeFont(-std::max(pixels, 1), FontFamily(fonts[index]));
    if (font)
        sizedfonts.push_back({index, pixels, font});
    return font;
}

void UnloadFonts()
{
    for (const SizedFont& made : sizedfonts)
        FreeFont(made.font);
    sizedfonts.clear();
    for (const int i : {0, 1, 3, 2, 4, 5}) {
        FreeFont(fonts[i]);
        fonts[i] = nullptr;
    }
    DeleteGdiObjects();
    for (const FontFile& file : fontfiles)
        RemoveFontFile(file.name);
}
