// The frame pieces, panels, buttons, meters and bars, and the icon sheets.
#include <algorithm>
#include <cmath>

#include "tools/art/cells.h"
#include "tools/art/paint.h"
#include "tools/art/palette.h"
#include "tools/art/screens.h"

int LetteringFont();
std::map<std::string, Image> BackgroundArt();
std::map<std::string, Image> SmallWindowArt();

namespace {

// The strip across the top that holds the day and turn line.
Image Top()
{
    Image img(800, 30);
    Stone(img, 0, 0, 800, 30, slatedark, 0.5, 20);
    Shade(img, 0, 0, 800, 30, 1.3, 0.8);
    GoldRule(img, 0, 27, 800);
    Fill(img, 0, 29, 800, 1, ink);
    return img;
}

// The stone under the board: the bottom panel when no unit is shown. Plain stone from end to end: the
// units bought in the shop line up from the left across all of it, and its two ends, stretched, frame
// the menu and option boxes, where anything drawn on it would be smeared into a streak.
Image Bottom()
{
    Image img(800, 80);
    Panel(img, 0, 0, 800, 80, 21);
    GoldRule(img, 0, 0, 800);
    return img;
}

Image Side()
{
    Image img(5, 100);
    Stone(img, 0, 0, 5, 100, slatedark, 0.5, 22);
    for (int j = 0; j < 100; j++) {
        img.At(0, j) = Scale(img.At(0, j), 1.3);
        img.At(4, j) = gold;
    }
    return img;
}

void Recess(Image& img, int x, int y, int w, int h)
{
    Fill(img, x, y, w, h, Opaque(0x161A26));
    Bevel(img, x - 2, y - 2, w + 4, h + 4, -2, 0.5);
}

// The unit panel: the picture's niche, plates for the four stats, and the five spell sockets.
Image UnitPanel()
{
    Image img(800, 80);
    Panel(img, 0, 0, 800, 80, 23);
    GoldRule(img, 0, 0, 800);
    Recess(img, 2, 2, 76, 76);
    for (int k = 0; k < 4; k++) {
        Recess(img, 100 + 50 * k, 2, 40, 36);
    }
    Recess(img, 100, 42, 200, 36);
    const int slots[5][2] = {{655, 0}, {680, 40}, {705, 0}, {730, 40}, {755, 0}};
    for (const auto& s : slots)
        Recess(img, s[0] + 1, s[1] + 1, 38, 38);
    return img;
}

// Under the meters: their sunken troughs only, so the spell icons to the right stay visible.
Image MeterBottom()
{
    Image img(500, 80);
    for (const int y : {5, 30, 55}) {
        Fill(img, 47, y - 3, 221, 26, slatedark);
        Fill(img, 50, y, 215, 20, Opaque(0x0E1018));
        Bevel(img, 47, y - 3, 221, 26, -3, 0.6);
    }
    Fill(img, 267, 2, 36, 76, slatedark);
    Fill(img, 270, 5, 30, 70, Opaque(0x0E1018));
    Bevel(img, 267, 2, 36, 76, -3, 0.6);
    return img;
}

// Over the meters: gold rims, tick marks and a glint of glass; the rest is clear.
Image MeterMiddle()
{
    Image img(500, 80);
    for (const int y : {5, 30, 55}) {
        Frame(img, 49, y - 1, 217, 22, gold);
        for (int t = 1; t < 5; t++)
            Fill(img, 50 + 43 * t, y + 16, 1, 4, goldlight);
        for (int i = 52; i < 263; i += 2)
            img.Put(i, y + 2, Opaque(0xE8F0FF));
    }
    Frame(img, 269, 4, 32, 72, gold);
    for (int j = 7; j < 73; j += 2)
        img.Put(272, j, Opaque(0xE8F0FF));
    return img;
}

Image Meters()
{
    Image img(215, 130);
    // Deep colours with a soft gloss: the pale yellow figures are written across the filled meters.
    const Rgba colours[3] = {Opaque(0x1E7A1E), Opaque(0xA01C1C), Opaque(0x2848B0)};
    for (int m = 0; m < 3; m++)
        for (int j = 0; j < 20; j++)
            for (int i = 0; i < 215; i++) {
                const double gloss = j < 6 ? 1.15 - j * 0.025 : 1.0 - (j - 6) * 0.03;
                const double ripple = 0.92 + 0.16 * Noise(i / 9.0, j / 4.0, m + 30);
                img.At(i, 20 * m + j) = Scale(colours[m], gloss * ripple);
            }
    for (int j = 60; j < 130; j++)
        for (int i = 0; i < 30; i++) {
            const double gloss = i < 8 ? 1.45 - i * 0.05 : 1.1 - (i - 8) * 0.03;
            img.At(i, j) = Scale(Mix(Opaque(0xE0B030), Opaque(0xA060E0), (j - 60) / 70.0), gloss);
        }
    return img;
}

Image Strip(Rgba c)
{
    Image img(290, 1);
    for (int i = 0; i < 290; i++) {
        const double t = 1 - std::fabs(i - 144.5) / 145;
        img.At(i, 0) = Scale(c, 0.45 + 0.75 * std::sqrt(t));
    }
    return img;
}

Image Health()
{
    Image img(36, 3);
    for (int i = 0; i < 36; i++) {
        const double t = i / 35.0;
        const Rgba c = t < 0.5 ? Mix(Opaque(0xD02010), Opaque(0xE8C020), t * 2) : Mix(Opaque(0xE8C020), Opaque(0x30D030), (t - 0.5) * 2);
        img.At(i, 0) = Scale(c, 1.3);
        img.At(i, 1) = c;
        img.At(i, 2) = Scale(c, 0.65);
    }
    return img;
}

// The progress bar: a plate with a groove; "filled" holds molten gold in the groove.
Image LoadBar(bool filled)
{
    Image img(420, 100);
    Panel(img, 0, 0, 420, 100, 24);
    Frame(img, 7, 7, 406, 86, gold);
    const Image word = TextMask(LetteringFont(), "Loading the realm", 24);
    Letter(img, word, 210 - word.w / 2, 12, goldlight, Opaque(0xB08030), ink);
    Recess(img, 20, 52, 380, 30);
    if (filled)
        for (int j = 52; j < 82; j++)
            for (int i = 20; i < 400; i++) {
                const double v = (j - 52) / 29.0;
                const double heat = 0.85 + 0.3 * Fbm(i / 12.0, j / 6.0, 3, 25);
                const Rgba c = v < 0.3 ? Mix(Opaque(0xFFF0B0), Opaque(0xF0B030), v / 0.3)
                                       : Mix(Opaque(0xF0B030), Opaque(0x9A4A08), (v - 0.3) / 0.7);
                img.At(i, j) = Scale(c, heat);
            }
    return img;
}

// A button face of 200 x 50 in one of three looks, raised (up) or pressed (down).
Image Button(int look, bool down)
{
    // Look 1 is ebony: its captions are dark grey until the mouse comes over them, light grey then. The
    // dark grey reads 3:1 only on a face no lighter than about (9, 7, 7), and the bitmap keeps opaque
    // pixels above (6, 6, 8): the ebony's grain is held to a step between (8, 6, 6) and (9, 7, 6).
    static const uint32_t faces[3] = {0x3A4460, 0x090706, 0x1E3A78};
    static const uint32_t rims[3] = {0xD4A848, 0xE0C080, 0xC8D0E0};
    Image img(200, 50);
    const Rgba rim = Opaque(rims[look]);
    Fill(img, 0, 0, 200, 50, ink);
    Fill(img, 1, 1, 198, 48, Scale(rim, 0.6));
    Bevel(img, 1, 1, 198, 48, 2, 0.6);
    if (look == 1) {
        Wood(img, 4, 4, 192, 42, Opaque(faces[look]), 40 + look);
        for (int j = 4; j < 46; j++)
            for (int i = 4; i < 196; i++) {
                Rgba& c = img.At(i, j);
                c.r = std::clamp<uint8_t>(c.r, 8, 9);
                c.g = std::clamp<uint8_t>(c.g, 6, 7);
                c.b = 6;
            }
    } else
        Stone(img, 4, 4, 192, 42, Opaque(faces[look]), 0.35, 40 + look);
    // The ebony face is as dark as a face may be (black is the colour key): it is not shaded.
    if (down) {
        if (look != 1)
            Shade(img, 4, 4, 192, 42, 0.6, 0.85);
        Bevel(img, 4, 4, 192, 42, -3, 0.5);
    } else {
        if (look != 1)
            Shade(img, 4, 4, 192, 42, 1.3, 0.8);
        Bevel(img, 4, 4, 192, 42, 3, 0.45);
    }
    for (const int x : {10, 189})
        Disc(img, x, 25, 2.5, rim);
    return img;
}

// Arrow pointer of the move cursor: its tip is the hot spot at the top-left corner.
void Pointer(Image& cell)
{
    const double arrow[] = {1, 1, 1, 26, 8, 20, 13, 31, 18, 29, 13, 18, 22, 18};
    Polygon(cell, arrow, 7, ink);
    const double inner[] = {2.5, 4, 2.5, 22.5, 8.5, 17.5, 13.8, 28.5, 16.2, 27.5, 11, 16.5, 18.5, 16.5};
    Polygon(cell, inner, 7, gold);
    Line(cell, 3, 5, 3, 20, 1, goldlight);
}

void SwordCursor(Image& cell)
{
    Line(cell, 1, 1, 24, 24, 6, ink);
    Line(cell, 1, 1, 24, 24, 4, Opaque(0xC8D0D8));
    Line(cell, 2, 2, 22, 22, 1, Opaque(0xFFFFFF));
    Line(cell, 17, 29, 29, 17, 6, ink);
    Line(cell, 18, 28, 28, 18, 3, gold);
    Line(cell, 24, 24, 33, 33, 5, ink);
    Line(cell, 24, 24, 32, 32, 3, Opaque(0x6A3A18));
    Disc(cell, 34, 34, 3, gold);
}

void WandCursor(Image& cell)
{
    Line(cell, 6, 6, 32, 32, 5, ink);
    Line(cell, 6, 6, 32, 32, 3, Opaque(0x8A5A30));
    for (int k = 0; k < 4; k++) {
        const double a = k * M_PI / 4;
        Line(cell, 4 - 4 * std::cos(a), 4 - 4 * std::sin(a), 4 + 4 * std::cos(a), 4 + 4 * std::sin(a), 1.5, Opaque(0xC0E0FF));
    }
    Disc(cell, 4, 4, 2.5, Opaque(0xFFFFFF));
    Disc(cell, 13, 5, 1.2, Opaque(0xA0C0FF));
    Disc(cell, 5, 13, 1.2, Opaque(0xA0C0FF));
}

void ArrowIcon(Image& cell, bool right)
{
    Disc(cell, 19.5, 19.5, 18, ink);
    Disc(cell, 19.5, 19.5, 16.5, gold);
    Disc(cell, 19.5, 19.5, 14, Opaque(0x6A1E18));
    const double s = right ? 1 : -1;
    const double arrow[] = {19.5 - 9 * s, 14, 19.5 + 1 * s, 14, 19.5 + 1 * s, 8, 19.5 + 11 * s, 19.5, 19.5 + 1 * s, 31,
                            19.5 + 1 * s, 25, 19.5 - 9 * s, 25};
    Polygon(cell, arrow, 7, goldlight);
}

// The end of a turn: an hourglass with its sand run through.
void Hourglass(Image& cell)
{
    Fill(cell, 10, 7, 20, 3, Opaque(0x8A5A28));
    Fill(cell, 10, 30, 20, 3, Opaque(0x8A5A28));
    const double glass[] = {12, 10, 28, 10, 21, 20, 28, 30, 12, 30, 19, 20};
    Polygon(cell, glass, 6, Opaque(0xC8E0F0));
    const double sand[] = {14.5, 29.5, 25.5, 29.5, 20, 23};
    Polygon(cell, sand, 3, Opaque(0xF0C050));
    Line(cell, 20, 20, 20, 28, 1, Opaque(0xF0C050));
    Line(cell, 11, 8, 11, 32, 1.5, Opaque(0x5A3A18));
    Line(cell, 29, 8, 29, 32, 1.5, Opaque(0x5A3A18));
}

// A round plate behind a command icon.
void Plate(Image& cell, Rgba c)
{
    Fill(cell, 0, 0, 40, 40, ink);
    Stone(cell, 1, 1, 38, 38, c, 0.3, 50);
    Bevel(cell, 1, 1, 38, 38, 3, 0.5);
    Frame(cell, 4, 4, 32, 32, golddark);
}

void Tile(Image& cell, const std::string& atlas, int x, int y, int w, int h, int dx = 0, int dy = 0)
{
    Draw(cell, Crop(atlases.at(atlas), x, y, w, h), (40 - w) / 2 + dx, (40 - h) / 2 + dy);
}

Image Cell()
{
    return Image(40, 40);
}

// A menu plate of 100 x 50: a tile picture and a word; lit plates glow gold, unlit ones are stone.
Image MenuPlate(const std::string& word, const std::string& atlas, int x, int y, int w, int h, bool lit)
{
    Image img(100, 50);
    Fill(img, 0, 0, 100, 50, ink);
    Stone(img, 1, 1, 98, 48, lit ? Opaque(0x4A5478) : Opaque(0x2A3044), 0.35, 60);
    Bevel(img, 1, 1, 98, 48, 2, 0.5);
    Frame(img, 3, 3, 94, 44, lit ? goldlight : golddark);
    Image pic = Crop(atlases.at(atlas), x, y, w, h);
    if (!lit)
        for (Rgba& c : pic.px)
            c = Scale(c, 0.6);
    Draw(img, pic, 22 - w / 2, 25 - h / 2);
    int size = 19;
    Image text = TextMask(LetteringFont(), word, size);
    while (text.w > 60 && size > 10)
        text = TextMask(LetteringFont(), word, --size);
    Letter(img, text, 69 - text.w / 2, 25 - text.h / 2, lit ? goldlight : Opaque(0xB0A890),
           lit ? Opaque(0xD09030) : Opaque(0x7A7460), ink);
    return img;
}

} // namespace

std::map<std::string, Image> MakeScreenArt()
{
    std::map<std::string, Image> art = BackgroundArt();
    art.merge(SmallWindowArt());
    art["B_Top.bmp"] = Top();
    art["B_Bottom.bmp"] = Bottom();
    art["B_Left.bmp"] = Side();
    art["B_Right.bmp"] = Flip(Side());
    art["B_Unit.bmp"] = UnitPanel();
    art["B_Meterbottom.bmp"] = MeterBottom();
    art["B_Metermiddle.bmp"] = MeterMiddle();
    art["meters.bmp"] = Meters();
    art["line.bmp"] = Strip(gold);
    art["blueline.bmp"] = Strip(Opaque(0x5080F0));
    art["unithealth.bmp"] = Health();
    art["load.bmp"] = LoadBar(true);
    art["loadfade.bmp"] = LoadBar(false);
    static const char* names[6] = {"buttonup.bmp", "buttondown.bmp", "buttonup2.bmp", "buttondown2.bmp",
                                   "buttonup3.bmp", "buttondown3.bmp"};
    for (int k = 0; k < 6; k++)
        art[names[k]] = Button(k / 2, k % 2);
    return art;
}

void MakeIconSheets(Sheet& icons, Sheet& menu)
{
    icons = Sheet{"icons.bmp", 16, 2, 40, 40, Image(657, 83), {}};
    Image c = Cell();
    Pointer(c);
    PutCell(icons, 0, c), icons.names[0] = "Move cursor";
    c = Cell(), SwordCursor(c);
    PutCell(icons, 1, c), icons.names[1] = "Attack cursor";
    c = Cell(), WandCursor(c);
    PutCell(icons, 2, c), icons.names[2] = "Spell cursor";
    c = Cell(), ArrowIcon(c, true);
    PutCell(icons, 3, c), icons.names[3] = "Next page";
    c = Cell(), ArrowIcon(c, false);
    PutCell(icons, 4, c), icons.names[4] = "Previous page";
    c = Cell(), Tile(c, "main", 333, 688, 28, 32);
    PutCell(icons, 5, c), icons.names[5] = "Leads in assets";
    c = Cell(), Tile(c, "main", 576, 32, 32, 30);
    Draw(c, Flip(Crop(atlases.at("main"), 576, 32, 32, 30)), 4, 5);     // crossed swords
    PutCell(icons, 6, c), icons.names[6] = "Leads in kills";
    c = Cell(), Tile(c, "feat", 256, 256, 32, 32);
    PutCell(icons, 7, c), icons.names[7] = "Leads in mines";
    c = Cell(), Plate(c, crimson);
    Line(c, 12, 12, 28, 28, 5, goldlight), Line(c, 12, 28, 28, 12, 5, goldlight);
    PutCell(icons, 8, c), icons.names[8] = "Cancel spell";
    c = Cell(), Plate(c, Opaque(0x6A2A24)), Tile(c, "main", 576, 32, 32, 30);
    PutCell(icons, 16, c), icons.names[16] = "Attack";
    c = Cell(), Plate(c, Opaque(0x2A4A30)), ArrowIcon(c, true);
    PutCell(icons, 17, c), icons.names[17] = "Next unit";
    c = Cell(), Plate(c, royal), Hourglass(c);
    PutCell(icons, 18, c), icons.names[18] = "End turn";

    menu = Sheet{"menu_icons.bmp", 2, 8, 100, 50, Image(203, 409), {}};
    struct Entry {
        const char* word;
        const char* atlas;
        int x, y, w, h;
    };
    static const Entry entries[8] = {
        {"Host", "gui", 112, 95, 29, 33},    {"Join", "main", 576, 32, 32, 30},  {"Help", "main", 32, 562, 32, 32},
        {"Credits", "main", 298, 662, 34, 28}, {"Options", "gui", 814, 191, 29, 31}, {"Quit", "feat", 128, 256, 32, 32},
        {"Update", "gui", 674, 191, 29, 31}, {"Name", "main", 192, 562, 32, 32},
    };
    for (int i = 0; i < 8; i++) {
        const Entry& e = entries[i];
        PutCell(menu, 2 * i, MenuPlate(e.word, e.atlas, e.x, e.y, e.w, e.h, true));
        PutCell(menu, 2 * i + 1, MenuPlate(e.word, e.atlas, e.x, e.y, e.w, e.h, false));
        menu.names[2 * i] = std::string(entries[i].word) + " (lit)";
        menu.names[2 * i + 1] = entries[i].word;
    }
}
