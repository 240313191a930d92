// Backgrounds, the logo, the world picture and the shop.
#include "tools/art/screens.h"

#include <cmath>

#include "tools/art/cells.h"
#include "tools/art/paint.h"
#include "tools/art/palette.h"

namespace {

int lettering = -1;

// Slate with carved panels and a gold edge: the common background of the menus. The screens write
// titles from the top edge across the whole width, so the gold keeps to the outermost three pixels and
// there are no corner pieces.
Image Back()
{
    Image img(800, 600);
    Stone(img, 0, 0, 800, 600, slate, 0.45, 1);
    Masonry(img, 200, 75);     // large carved blocks of the wall
    Vignette(img, 0.75);
    // The titles along the top are read against a darker band of the wall.
    for (int j = 0; j < 100; j++) {
        const double k = j < 80 ? 0.4 : 0.4 + 0.6 * (j - 80) / 20.0;
        Shade(img, 0, j, 800, 1, k, k);
    }
    // The lines along the bottom (the version and the address, running to the screen's edges, and the
    // map transfer's gold) sit on a darker strip of the wall, which the frame leaves open.
    for (int j = 545; j < 600; j++) {
        const double k = j >= 560 ? 0.5 : 1 - 0.5 * (j - 545) / 15.0;
        Shade(img, 0, j, 800, 1, k, k);
    }
    const Rgba edge[3] = {gold, goldlight, golddark};
    for (int k = 0; k < 3; k++) {
        Fill(img, k, k, 800 - 2 * k, 1, edge[k]);
        Fill(img, k, k, 1, 560 - k, edge[k]);
        Fill(img, 799 - k, k, 1, 560 - k, edge[k]);
    }
    return img;
}

// The warlord hall: a charter of parchment, where the names, powers and stories are written in dark
// ink, on crimson stone between two hanging banners.
Image NewBack()
{
    Image img(800, 600);
    Stone(img, 0, 0, 800, 600, Opaque(0x4A2228), 0.4, 2);
    for (int j = 0; j < 600; j++)
        for (int i = 0; i < 800; i++) {
            const int u = (i + j) % 60, v = (i - j + 6000) % 60;
            if (u < 2 || v < 2)
                img.At(i, j) = Mix(img.At(i, j), gold, 0.22);
        }
    Vignette(img, 0.8);
    for (const int x : {6, 762}) {
        Stone(img, x, 20, 32, 470, Opaque(0x8A2020), 0.3, x);
        const double tail[] = {(double)x, 490, x + 16.0, 470, x + 32.0, 490, x + 32.0, 480, (double)x, 480};
        Polygon(img, tail, 5, Opaque(0x8A2020));
        Line(img, x - 4, 20, x + 36, 20, 4, gold);
        for (int k = 0; k < 5; k++)
            Disc(img, x + 16, 80 + 90 * k, 6, gold);
    }
    Fill(img, 40, 36, 720, 528, ink);
    Parchment(img, 44, 40, 712, 520, 9);
    Frame(img, 50, 46, 700, 508, Opaque(0xA08048));
    Frame(img, 53, 49, 694, 502, Opaque(0xC8A870));
    // The list of warlords on the left, on paler paper where the lit name in light blue still reads,
    // ruled off from the charter.
    for (int j = 56; j < 552; j++)
        for (int i = 56; i < 184; i++)
            img.At(i, j) = Mix(img.At(i, j), Opaque(0xFEFCF8), 0.95);
    Line(img, 185, 60, 185, 540, 1.5, Opaque(0xA08048));
    // Slate plaques under the four stat emblems: their figures are written large in pale ink.
    for (const int x : {200, 293, 386, 479}) {
        Fill(img, x - 16, 156, 72, 50, ink);
        Stone(img, x - 14, 158, 68, 46, slate, 0.3, 20 + x);
        Bevel(img, x - 14, 158, 68, 46, 2, 0.4);
    }
    return img;
}

// A parchment page on a slate desk, with leather tabs down the left.
Image Help()
{
    Image img(800, 600);
    Stone(img, 0, 0, 800, 600, slatedark, 0.5, 3);
    Vignette(img, 0.5);
    // The folder tabs: a strip of pale paper, on which both the dark names and the open tab's lighter
    // blue read; it reaches below the last tab (the tabs share y 60 to 540).
    Fill(img, 36, 46, 104, 504, ink);
    Parchment(img, 39, 49, 98, 498, 4);
    for (int j = 49; j < 547; j++)
        for (int i = 39; i < 137; i++)
            img.At(i, j) = Mix(img.At(i, j), Opaque(0xFAF4E6), 0.8);
    // The page reaches further left than its text (which starts at x 140), so the text has a margin
    // inside the frame.
    Fill(img, 128, 30, 642, 530, ink);
    Parchment(img, 131, 34, 635, 522, 5);
    Frame(img, 133, 40, 627, 510, Opaque(0xA08048));
    Frame(img, 136, 43, 621, 504, Opaque(0xC8A870));
    GoldRule(img, 220, 138, 520);
    return img;
}

// A painted map of a land: coasts, forests, hills and mountains on old parchment.
Image World(bool faded)
{
    Image img(450, 325);
    Parchment(img, 0, 0, 450, 325, 6);
    for (int j = 8; j < 317; j++)
        for (int i = 8; i < 442; i++) {
            const double dx = (i - 225) / 225.0, dy = (j - 162) / 162.0;
            const double h = Fbm(i / 70.0, j / 70.0, 6, 40) - 0.3 * (dx * dx + dy * dy) - 0.32;
            Rgba c = img.At(i, j);
            if (h < 0) {
                c = Mix(Opaque(0x6A90A8), Opaque(0x2A4A70), std::min(1.0, -h * 5));
                if (h > -0.025)
                    c = Opaque(0xD8D0A8);           // surf
            } else if (h < 0.02) {
                c = Opaque(0xD8C88C);               // beach
            } else if (h < 0.2) {
                c = Mix(Opaque(0x8AA050), Opaque(0x6A8A40), h * 5);
                if (Fbm(i / 14.0, j / 14.0, 3, 41) > 0.58 && (Hash(i, j, 2) & 7) < 5)
                    c = Opaque(0x2E5A24);           // forests
            } else if (h < 0.28) {
                c = Mix(Opaque(0x9A8A5A), Opaque(0x7A6A48), (h - 0.2) * 12);
            } else {
                c = Mix(Opaque(0x7A7264), Opaque(0xE8E4DC), std::min(1.0, (h - 0.28) * 6));
            }
            // Light from the north-west on the relief.
            const double slope = Fbm((i + 1) / 70.0, (j + 1) / 70.0, 6, 40) - Fbm(i / 70.0, j / 70.0, 6, 40);
            if (h > 0)
                c = Scale(c, 1 - slope * 25);
            img.At(i, j) = c;
        }
    // A compass rose in the sea corner.
    const double cx = 392, cy = 270;
    for (int k = 0; k < 4; k++) {
        const double a = k * M_PI / 2;
        const double point[] = {cx + 24 * std::cos(a), cy + 24 * std::sin(a), cx + 5 * std::cos(a + M_PI / 2),
                                cy + 5 * std::sin(a + M_PI / 2), cx + 5 * std::cos(a - M_PI / 2), cy + 5 * std::sin(a - M_PI / 2)};
        Polygon(img, point, 3, k == 3 ? crimson : Opaque(0x4A3A20));
    }
    Ring(img, cx, cy, 12, 1.2, Opaque(0x4A3A20));
    for (int k = 0; k < 3; k++)
        Frame(img, 2 + k, 2 + k, 446 - 2 * k, 321 - 2 * k, k == 1 ? goldlight : golddark);
    Bevel(img, 0, 0, 450, 325, 2, 0.4);
    if (faded)
        for (Rgba& c : img.px) {
            const uint8_t l = (uint8_t)((30 * c.r + 59 * c.g + 11 * c.b) / 100);
            c = Scale(Mix(c, {l, (uint8_t)(l * 0.9), (uint8_t)(l * 0.75), 255}, 0.8), 0.42);
        }
    return img;
}

// The splash: a shield with crossed swords and the name on a ribbon.
Image Logo()
{
    Image img(400, 400);
    const double cx = 200, cy = 170;
    // Crossed swords behind the shield.
    for (const int side : {-1, 1}) {
        const double x0 = cx - side * 150, y0 = cy + 150, x1 = cx + side * 120, y1 = cy - 130;
        Line(img, x0, y0, x1, y1, 14, ink);
        Line(img, x0, y0, x1, y1, 10, Opaque(0xB8C0CC));
        Line(img, x0, y0, x1, y1, 3, Opaque(0xF0F4F8));
        const double gx = cx - side * 100, gy = cy + 100;
        Line(img, gx - 22, gy - 22 * side, gx + 22, gy + 22 * side, 10, ink);
        Line(img, gx - 22, gy - 22 * side, gx + 22, gy + 22 * side, 7, gold);
        Line(img, x0, y0, gx, gy, 10, Opaque(0x5A3418));
        Disc(img, x0, y0, 8, gold);
    }
    // The shield: gold rim, quartered field of royal blue and crimson, a star at the centre.
    const auto shield = [&](double inset, Rgba c) {
        std::vector<double> pts;
        for (int k = 0; k <= 20; k++) {
            const double t = k / 20.0;
            pts.push_back(cx - 110 + inset + t * (220 - 2 * inset));
            pts.push_back(cy - 115 + inset + 8 * std::sin(t * M_PI));
        }
        for (int k = 0; k <= 30; k++) {
            const double t = k / 30.0 * M_PI;
            pts.push_back(cx + (110 - inset) * std::cos(t * 0.5));
            pts.push_back(cy + (150 - inset) * std::sin(t * 0.5) * 0.95 - 10);
        }
        for (int k = 0; k <= 30; k++) {
            const double t = (1 - k / 30.0) * M_PI;
            pts.push_back(cx - (110 - inset) * std::cos(t * 0.5));
            pts.push_back(cy + (150 - inset) * std::sin(t * 0.5) * 0.95 - 10);
        }
        Polygon(img, pts.data(), (int)pts.size() / 2, c);
    };
    shield(-4, ink);
    shield(0, gold);
    shield(8, golddark);
    Image field(400, 400);
    for (int j = 0; j < 400; j++)
        for (int i = 0; i < 400; i++) {
            const bool q = (i < cx) != (j < cy);
            const Rgba base = q ? crimson : royal;
            field.At(i, j) = Scale(base, 0.85 + 0.3 * Fbm(i / 18.0, j / 18.0, 3, q ? 8 : 9));
        }
    // Paint the field where the inner shield is: mark it first in a scratch image.
    Image mask(400, 400);
    {
        std::swap(img, mask);
        shield(12, Opaque(0xFFFFFF));
        std::swap(img, mask);
    }
    for (size_t k = 0; k < img.px.size(); k++)
        if (mask.px[k].a)
            img.px[k] = field.px[k];
    Line(img, cx, cy - 103, cx, cy + 125, 6, gold);
    Line(img, cx - 98, cy, cx + 98, cy, 6, gold);
    // An eight-pointed star at the crossing.
    std::vector<double> star;
    for (int k = 0; k < 16; k++) {
        const double r = k % 2 ? 14 : 40, a = k * M_PI / 8 - M_PI / 2;
        star.push_back(cx + r * std::cos(a));
        star.push_back(cy + r * std::sin(a));
    }
    Polygon(img, star.data(), 16, ink);
    for (double& v : star)
        v = (&v - star.data()) % 2 ? cy + (v - cy) * 0.85 : cx + (v - cx) * 0.85;
    Polygon(img, star.data(), 16, goldlight);
    Disc(img, cx, cy, 9, crimson);
    // The ribbon and the name.
    const double ribbon[] = {20, 268, 380, 268, 368, 300, 380, 332, 20, 332, 32, 300};
    Polygon(img, ribbon, 6, ink);
    const double cloth[] = {26, 272, 374, 272, 363, 300, 374, 328, 26, 328, 37, 300};
    Polygon(img, cloth, 6, Opaque(0x8A1E18));
    Shade(img, 26, 272, 348, 56, 1.25, 0.75);
    const Image name = TextMask(lettering, "Gorvanel", 62);
    Letter(img, name, 200 - name.w / 2, 300 - name.h / 2 - 2, goldlight, Opaque(0xB07A20), ink);
    const Image motto = TextMask(lettering, "the warlords' realm", 22);
    Letter(img, motto, 200 - motto.w / 2, 345, Opaque(0xE8E0D0), Opaque(0xA8A090), ink);
    return img;
}

// The recruiting ground: a round war-table rug on plank floor, and a ledger on the right.
Image Shop()
{
    Image img(790, 490);
    Wood(img, 0, 0, 790, 490, Opaque(0x6A4626), 7);
    for (int j = 0; j < 490; j++)
        for (int i = 0; i < 790; i++)
            if (j % 49 == 0)
                img.At(i, j) = Scale(img.At(i, j), 0.5);
    Vignette(img, 0.5);
    const double cx = 225, cy = 245;
    for (int j = 0; j < 490; j++)
        for (int i = 0; i < 460; i++) {
            const double d = std::hypot(i - cx, j - cy);
            if (d > 236)
                continue;
            Rgba c;
            if (d > 228)
                c = gold;
            else if (d > 226)
                c = golddark;
            else if (d > 184)
                c = Scale(Opaque(0x3A2450), 0.9 + 0.2 * Noise(i / 4.0, j / 4.0, 3));   // the track the recruits stand on
            else if (d > 178)
                c = gold;
            else
                c = Scale(Opaque(0x7A1E1A), 0.8 + 0.3 * Fbm(i / 10.0, j / 10.0, 3, 12));
            if (d < 178 && std::fmod(std::atan2(j - cy, i - cx) + 7 * M_PI, M_PI / 8) < 0.02)
                c = Mix(c, gold, 0.6);
            img.At(i, j) = c;
        }
    Ring(img, cx, cy, 120, 2, Mix(gold, crimson, 0.4));
    // Parchment labels where the wheel names the abilities and the spells in dark ink.
    for (const int y : {207, 283}) {
        Fill(img, 150, y, 150, 24, ink);
        Parchment(img, 152, y + 2, 146, 20, 14);
    }
    // The counting-table on the right, under the name, the gold and the buttons: dark leather.
    Fill(img, 466, 8, 320, 474, ink);
    Stone(img, 469, 11, 314, 468, Opaque(0x4A2A20), 0.35, 13);
    Bevel(img, 469, 11, 314, 468, 3, 0.45);
    // The name and the gold are written right up to the table's right edge: the gold trim runs down
    // its left side and along its foot only.
    Fill(img, 475, 17, 1, 456, gold);
    Fill(img, 478, 20, 1, 450, golddark);
    Fill(img, 475, 472, 302, 1, gold);
    Fill(img, 478, 469, 299, 1, golddark);
    return img;
}

} // namespace

void GoldRule(Image& img, int x, int y, int w)
{
    Fill(img, x, y + 1, w, 1, golddark);
    for (int i = 0; i < w; i++) {
        const double t = 1 - std::fabs(i - w / 2.0) / (w / 2.0);
        img.Put(x + i, y, Mix(golddark, goldlight, t));
    }
}

void Panel(Image& img, int x, int y, int w, int h, int seed)
{
    Stone(img, x, y, w, h, slate, 0.4, seed);
    Bevel(img, x, y, w, h, 3, 0.45);
    Frame(img, x + 4, y + 4, w - 8, h - 8, golddark);
}

void SetLetteringFont(int font)
{
    lettering = font;
}

int LetteringFont()  // for panels.cpp
{
    return lettering;
}

std::map<std::string, Image> BackgroundArt()
{
    return {{"back.bmp", Back()},     {"newback.bmp", NewBack()}, {"help.bmp", Help()},
            {"world.bmp", World(false)}, {"worldfade.bmp", World(true)}, {"logo.bmp", Logo()},
            {"shop.bmp", Shop()}};
}
