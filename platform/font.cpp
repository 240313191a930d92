// Font files, face lookup and font metrics, over FreeType and fontconfig.
//
// Fonts are made and drawn on the window's thread; only a new DC's default font may be asked for
// elsewhere, and it is made once under a once-flag.
#include "platform/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/cp1252.h"
#include "platform/files.h"
#include "platform/gdistate.h"
#include "platform/log.h"

struct GdiFont {
    FT_Face face;
    std::string family;
    std::string path;
    int32_t ascent;
    int32_t descent;
    int32_t em;             // pixels per em
    GdiGlyph glyphs[256];
    std::vector<uint8_t> coverage[256];
    bool rendered[256];
    // Pair adjustments asked of the face so far (KERNUNKNOWN until then): text is laid out anew each
    // frame, and FreeType looks a pair up in its table every time.
    mutable std::vector<int16_t> kerning;
};

namespace {

struct AddedFace {
    std::string file;       // the name it was added under
    std::string path;
    int32_t index;          // face index within the file
    std::string family;
};

std::once_flag libraryonce;
FT_Library library = nullptr;
std::vector<AddedFace> addedfaces;
std::vector<std::pair<std::string, std::string>> aliases;   // face, target

FT_Library Library()
{
    std::call_once(libraryonce, [] {
        if (FT_Init_FreeType(&library))
            library = nullptr;
    });
    return library;
}

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++)
        if (tolower((unsigned char)a[i]) != tolower((unsigned char)b[i]))
            return false;
    return true;
}

const AddedFace* FindAdded(const std::string& name)
{
    for (const AddedFace& f : addedfaces)
        if (SameName(f.family, name))
            return &f;
    for (const AddedFace& f : addedfaces)
        if (SameName(f.file, name))
            return &f;
    return nullptr;
}

// The system's best match for a face name; false when fontconfig finds nothing.
bool MatchSystemFace(const std::string& name, std::string* path, int32_t* index)
{
    static std::once_flag fconce;
    static bool fcready = false;
    std::call_once(fconce, [] {
        fcready = FcInit();
        // fontconfig keeps its configuration until told to let go.
        if (fcready)
            atexit(FcFini);
    });
    if (!fcready)
        return false;
    FcPattern* const pattern = FcNameParse(reinterpret_cast<const FcChar8*>(name.c_str()));
    if (!pattern)
        return false;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* const match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return false;
    FcChar8* file = nullptr;
    int i = 0;
    const bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
    if (found) {
        *path = reinterpret_cast<const char*>(file);
        *index = FcPatternGetInteger(match, FC_INDEX, 0, &i) == FcResultMatch ? i : 0;
    }
    FcPatternDestroy(match);
    return found;
}

// Where a face name leads: an added file's face, an alias's target, or the system's match.
bool FindFace(const std::string& face, std::string* path, int32_t* index)
{
    if (const AddedFace* f = FindAdded(face)) {
        *path = f->path;
        *index = f->index;
        return true;
    }
    for (const auto& [alias, target] : aliases) {
        if (!SameName(alias, face))
            continue;
        if (const AddedFace* f = FindAdded(target)) {
            *path = f->path;
            *index = f->index;
            return true;
        }
        return MatchSystemFace(target, path, index);
    }
    return MatchSystemFace(face, path, index);
}

// Sizes the face as GDI would: a negative height is the em in pixels, a positive one the cell height
// (the Windows ascent plus descent, which define the cell).
void SizeFace(GdiFont* const font, const int32_t height)
{
    FT_Face face = font->face;
    const TT_OS2* const os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const double units = face->units_per_EM ? face->units_per_EM : 1000;
    double winascent = os2 && os2->usWinAscent ? os2->usWinAscent : face->ascender;
    double windescent = os2 && os2->usWinAscent ? os2->usWinDescent : -face->descender;
    if (winascent + windescent <= 0) {
        winascent = units * 0.8;
        windescent = units * 0.2;
    }
    double em = height < 0 ? -height : height * units / (winascent + windescent);
    if (em < 1)
        em = height == 0 ? 12 : 1;
    FT_Set_Pixel_Sizes(face, 0, (FT_UInt)std::lround(em));
    font->em = (int32_t)std::lround(em);
    font->ascent = (int32_t)std::lround(winascent * em / units);
    font->descent = (int32_t)std::lround(windescent * em / units);
}

GdiFont* OpenFont(const int32_t height, const char* const face)
{
    FT_Library lib = Library();
    std::string path;
    int32_t index = 0;
    if (!lib || !FindFace(face ? face : "", &path, &index))
        return nullptr;
    auto font = std::make_unique<GdiFont>();
    if (FT_New_Face(lib, path.c_str(), index, &font->face)) {
        SysLog(("ERROR: cannot open font file " + path).c_str());
        return nullptr;
    }
    FT_Select_Charmap(font->face, FT_ENCODING_UNICODE);
    font->family = font->face->family_name ? font->face->family_name : "";
    font->path = path;
    for (bool& r : font->rendered)
        r = false;
    SizeFace(font.get(), height);
    return font.release();
}

} // namespace

int32_t AddFontFile(const char* const name)
{
    FT_Library lib = Library();
    if (!lib || !name)
        return 0;
    const std::string path = ResolvePath(name);
    FT_Face face;
    if (FT_New_Face(lib, path.c_str(), 0, &face))
        return 0;
    const int32_t count = (int32_t)face->num_faces;
    FT_Done_Face(face);
    for (int32_t i = 0; i < count; i++) {
        if (FT_New_Face(lib, path.c_str(), i, &face))
            continue;
        addedfaces.push_back({name, path, i, face->family_name ? face->family_name : ""});
        FT_Done_Face(face);
    }
    return count;
}

bool RemoveFontFile(const char* const name)
{
    const size_t before = addedfaces.size();
    std::erase_if(addedfaces, [name](const AddedFace& f) { return name && SameName(f.file, name); });
    return addedfaces.size() == before;
}

void AliasFontFace(const char* const face, const char* const target)
{
    if (!face || !target)
        return;
    std::erase_if(aliases, [face](const auto& a) { return SameName(a.first, face); });
    aliases.emplace_back(face, target);
}

void ClearFontAliases()
{
    aliases.clear();
}

GdiFont* MakeFont(const int32_t height, const char* const face)
{
    if (GdiCreationFails(GDIOBJECT_FONT))
        return nullptr;
    return OpenFont(height, face);
}

void FreeFont(GdiFont* const font)
{
    if (!font)
        return;
    FT_Done_Face(font->face);
    delete font;
}

const char* FontFamily(const GdiFont* const font)
{
    return font ? font->family.c_str() : "";
}

const char* FontFilePath(const GdiFont* const font)
{
    return font ? font->path.c_str() : "";
}

int32_t FontAscent(const GdiFont* const font)
{
    return font ? font->ascent : 0;
}

int32_t FontCellHeight(const GdiFont* const font)
{
    return font ? font->ascent + font->descent : 0;
}

int32_t FontPixelSize(const GdiFont* const font)
{
    return font ? font->em : 0;
}

bool FontHasGlyph(const GdiFont* const font, const uint8_t cp1252)
{
    return font && FT_Get_Char_Index(font->face, Cp1252ToUnicode(cp1252)) != 0;
}

const GdiGlyph* FontGlyph(GdiFont* const font, const uint8_t c)
{
    if (!font)
        return nullptr;
    GdiGlyph& glyph = font->glyphs[c];
    if (font->rendered[c])
        return &glyph;
    font->rendered[c] = true;
    glyph = GdiGlyph{0, 0, 0, 0, 0, nullptr};
    if (FT_Load_Char(font->face, Cp1252ToUnicode(c), FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT))
        return &glyph;
    const FT_GlyphSlot slot = font->face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.advance = (int32_t)((slot->advance.x + 32) >> 6);
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.pitch < (int)bitmap.width || bitmap.rows == 0 || bitmap.width == 0)
        return &glyph;
    glyph.width = (int32_t)bitmap.width;
    glyph.rows = (int32_t)bitmap.rows;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    std::vector<uint8_t>& pixels = font->coverage[c];
    pixels.resize((size_t)glyph.width * glyph.rows);
    for (int32_t y = 0; y < glyph.rows; y++)
        for (int32_t x = 0; x < glyph.width; x++)
            pixels[(size_t)y * glyph.width + x] = bitmap.buffer[y * bitmap.pitch + x];
    glyph.coverage = pixels.data();
    return &glyph;
}

int32_t FontKerning(const GdiFont* const font, const uint8_t left, const uint8_t right)
{
    constexpr int16_t KERNUNKNOWN = INT16_MIN;
    if (!font || !FT_HAS_KERNING(font->face))
        return 0;
    if (font->kerning.empty())
        font->kerning.assign(256 * 256, KERNUNKNOWN);
    int16_t& known = font->kerning[(size_t)left << 8 | right];
    if (known != KERNUNKNOWN)
        return known;
    FT_Vector kern;
    const FT_UInt l = FT_Get_Char_Index(font->face, Cp1252ToUnicode(left));
    const FT_UInt r = FT_Get_Char_Index(font->face, Cp1252ToUnicode(right));
    if (!l || !r || FT_Get_Kerning(font->face, l, r, FT_KERNING_DEFAULT, &kern))
        known = 0;
    else
        known = (int16_t)std::clamp<FT_Pos>((kern.x + 32) >> 6, INT16_MIN + 1, INT16_MAX);
    return known;
}

GdiFont* DefaultFont()
{
    // A DC's font until the caller selects one, as a system font would be.
    static std::once_flag once;
    static GdiFont* font = nullptr;
    std::call_once(once, [] { font = OpenFont(-13, "sans-serif"); });
    return font;
}
