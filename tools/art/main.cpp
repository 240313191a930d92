// gorvart: makes every picture of the image modules.
//
//   gorvart <art sources> <atlas folder> <lettering font> <output folder> [<contact folder> <label font>]
//
// The sources are content/art: atlases.txt (the tile atlases and their SHA-256 digests) and one cut list
// per picture sheet (cells.cpp describes them); the screen art is drawn by screens.cpp and panels.cpp.
// Every picture is written to the output folder as the 24-bit BMP the game loads. With a contact folder,
// a PNG of every picture is written there too, each sheet cell enlarged and labelled with its name.
// Everything is deterministic: the same sources and atlases give the same bytes.
#include <algorithm>
#include <cstdio>
#include <string>

#include "tools/art/cells.h"
#include "tools/art/paint.h"
#include "tools/art/screens.h"

namespace {

const char* cutlists[] = {"terrain.cut", "units.cut", "spellicon.cut", "spellanim.cut"};

// Transparency (the colour key) shows as a dark checker on the contact sheets.
Image OnChecker(const Image& img)
{
    Image out(img.w, img.h);
    for (int j = 0; j < img.h; j++)
        for (int i = 0; i < img.w; i++) {
            const Rgba k = KeyColour(img.At(i, j));
            const bool key = k.r == 0 && k.g == 0 && k.b == 0;
            out.At(i, j) = key ? Opaque(((i / 4 + j / 4) % 2) ? 0x302838 : 0x242030) : k;
        }
    return out;
}

Image Contact(const Sheet& sheet, int font)
{
    const int scale = sheet.cellw <= 40 ? 2 : 1, cw = sheet.cellw * scale + 8, ch = sheet.cellh * scale + 30;
    int used = 0;
    for (const auto& [n, name] : sheet.names)
        used = std::max(used, n / sheet.columns + 1);
    Image out(sheet.columns * cw, used * ch, Opaque(0x181820));
    for (const auto& [n, name] : sheet.names) {
        const int x = (n % sheet.columns) * cw, y = (n / sheet.columns) * ch;
        Draw(out, Resize(OnChecker(CellOf(sheet, n)), sheet.cellw * scale, sheet.cellh * scale), x + 4, y + 2);
        Text(out, font, std::to_string(n), 10, x + 4, y + sheet.cellh * scale + 2, Opaque(0xF0D070), false);
        // The name, in two lines when long.
        std::string first = name, second;
        const size_t limit = (size_t)(cw / 6);
        if (first.size() > limit) {
            size_t cut = first.rfind(' ', limit);
            cut = cut == std::string::npos ? limit : cut;
            second = first.substr(cut + (first[cut] == ' ' ? 1 : 0));
            first = first.substr(0, cut);
        }
        Text(out, font, first, 10, x + 22, y + sheet.cellh * scale + 2, Opaque(0xE0E0E8), false);
        Text(out, font, second, 10, x + 4, y + sheet.cellh * scale + 14, Opaque(0xE0E0E8), false);
    }
    return out;
}

bool Write(const std::string& dir, const std::string& name, const Image& img)
{
    if (SaveBmp(dir + "/" + name, img)) {
        fprintf(stderr, "gorvart: cannot write %s/%s\n", dir.c_str(), name.c_str());
        return true;
    }
    return false;
}

std::string PngName(const std::string& bmp)
{
    return bmp.substr(0, bmp.size() - 4) + ".png";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5 && argc != 7) {
        fprintf(stderr, "usage: gorvart <art sources> <atlas folder> <lettering font> <output folder> "
                        "[<contact folder> <label font>]\n");
        return 2;
    }
    const std::string sources = argv[1], atlasdir = argv[2], out = argv[4];
    const int lettering = OpenFont(argv[3]);
    if (lettering < 0) {
        fprintf(stderr, "gorvart: cannot open the lettering font %s\n", argv[3]);
        return 1;
    }
    SetLetteringFont(lettering);
    if (LoadAtlases(sources + "/atlases.txt", atlasdir))
        return 1;

    std::vector<Sheet> sheets;
    bool failed = false;
    for (const char* list : cutlists) {
        sheets.emplace_back();
        failed = ComposeSheet(sources + "/" + list, sheets.back()) || failed;
    }
    if (failed)
        return 1;
    sheets.emplace_back();
    sheets.emplace_back();
    MakeIconSheets(sheets[sheets.size() - 2], sheets.back());
    const std::map<std::string, Image> screens = MakeScreenArt();

    for (const Sheet& sheet : sheets)
        if (Write(out, sheet.file, sheet.image))
            return 1;
    for (const auto& [name, img] : screens)
        if (Write(out, name, img))
            return 1;

    if (argc == 7) {
        const std::string contact = argv[5];
        const int label = OpenFont(argv[6]);
        if (label < 0) {
            fprintf(stderr, "gorvart: cannot open the label font %s\n", argv[6]);
            return 1;
        }
        for (const Sheet& sheet : sheets) {
            if (SavePng(contact + "/" + PngName(sheet.file), Contact(sheet, label)))
                return 1;
            // The board also shows these two sheets dimmed (night) and grey (fogged): as the game makes them.
            if (sheet.file != "terrain.bmp" && sheet.file != "units.bmp")
                continue;
            for (const bool grey : {false, true}) {
                Sheet copy = sheet;
                for (Rgba& c : copy.image.px) {
                    const Rgba k = KeyColour(c);
                    if (grey && !(k.r == k.g && k.g == k.b)) {
                        const uint8_t l = (uint8_t)((30 * k.r + 59 * k.g + 11 * k.b) / 100);
                        c = {l, l, l, k.a};
                    } else if (!grey) {
                        c = {(uint8_t)(k.r / 2), (uint8_t)(k.g / 2), (uint8_t)(k.b / 2), k.a};
                    }
                }
                const std::string name = sheet.file.substr(0, sheet.file.size() - 4) + (grey ? "_grey.png" : "_dimmed.png");
                if (SavePng(contact + "/" + name, Contact(copy, label)))
                    return 1;
            }
        }
        for (const auto& [name, img] : screens)
            if (SavePng(contact + "/" + PngName(name), OnChecker(img)))
                return 1;
    }
    return 0;
}
