// The procedural cell layers of the cut lists: marks, shading, fire and light, banners and the siege engine.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

#include "tools/art/cells.h"
#include "tools/art/paint.h"

namespace {

Rgba Hex(const std::string& s)
{
    return Opaque((uint32_t)strtoul(s.c_str(), nullptr, 16));
}

int Int(const Args& a, size_t i, int fallback = 0)
{
    return i < a.size() ? atoi(a[i].c_str()) : fallback;
}

// Dots of a colour on three pixels in four, the board showing through the rest. The same cell marks a
// unit's range, where the land must stay legible, and shades every information box, whose texts want it
// dark: one pixel in four is as much land as still lets them read.
void Stipple(Image& cell, const Args& a)
{
    const Rgba c = Hex(a.size() > 1 ? a[1] : "10142A");
    for (int j = 0; j < cell.h; j++)
        for (int i = 0; i < cell.w; i++)
            if ((i + 2 * j) % 4 != 0)
                cell.At(i, j) = c;
}

// Shade towards the sides of a mask (1 up, 2 left, 4 right, 8 down) or one corner: denser dots nearer
// the unexplored side.
void Shading(Image& cell, const std::function<double(int, int)>& distance)
{
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const Rgba fog = Opaque(0x0C0E16);
    for (int j = 0; j < cell.h; j++)
        for (int i = 0; i < cell.w; i++) {
            const double density = std::clamp(1 - distance(i, j) / 14.0, 0.0, 1.0) * 0.95;
            if ((bayer[j & 3][i & 3] + 0.5) / 16 < density)
                cell.At(i, j) = fog;
        }
}

void Edge(Image& cell, const Args& a)
{
    const int mask = Int(a, 1);
    Shading(cell, [mask](int i, int j) {
        double d = 99;
        if (mask & 1) d = std::min(d, (double)j);
        if (mask & 2) d = std::min(d, (double)i);
        if (mask & 4) d = std::min(d, 39.0 - i);
        if (mask & 8) d = std::min(d, 39.0 - j);
        return d;
    });
}

void Corner(Image& cell, const Args& a)
{
    const int k = Int(a, 1);
    const double cx = k & 1 ? 39 : 0, cy = k & 2 ? 39 : 0;
    Shading(cell, [=](int i, int j) { return std::hypot(i - cx, j - cy) * 0.9; });
}

// The unexplored land: dark, drifting mist that tiles without seams.
void Fog(Image& cell, const Args&)
{
    for (int j = 0; j < cell.h; j++)
        for (int i = 0; i < cell.w; i++) {
            const double u = i / 40.0, v = j / 40.0;
            const auto n = [&](double x, double y) { return Fbm(x * 4, y * 4, 4, 31); };
            // Periodic blend of four samples, so that neighbouring squares continue the pattern.
            const double t = n(u, v) * (1 - u) * (1 - v) + n(u + 1, v) * u * (1 - v) + n(u, v + 1) * (1 - u) * v +
                             n(u + 1, v + 1) * u * v;
            cell.At(i, j) = Mix(Opaque(0x10121C), Opaque(0x2A2C40), std::clamp((t - 0.3) * 2.2, 0.0, 1.0));
        }
}

void Refuse(Image& cell, const Args&)
{
    Ring(cell, 19.5, 19.5, 15, 5, Opaque(0x3A0808));
    Line(cell, 9, 30, 30, 9, 5, Opaque(0x3A0808));
    Ring(cell, 19.5, 19.5, 15, 3, Opaque(0xE03020));
    Line(cell, 9.5, 29.5, 29.5, 9.5, 3, Opaque(0xE03020));
}

void Target(Image& cell, const Args&)
{
    const Rgba dark = Opaque(0x083A10), light = Opaque(0x50F060);
    for (const Rgba& c : {dark, light}) {
        const double w = c.g == dark.g ? 4 : 2;
        Ring(cell, 19.5, 19.5, 14, w, c);
        Ring(cell, 19.5, 19.5, 5, w, c);
        for (int k = 0; k < 4; k++) {
            const double a = k * M_PI / 2;
            Line(cell, 19.5 + std::cos(a) * 9, 19.5 + std::sin(a) * 9, 19.5 + std::cos(a) * 19, 19.5 + std::sin(a) * 19,
                 w, c);
        }
    }
}

// A barrier of blue light: a lattice whose density shows its strength.
void Forcefield(Image& cell, const Args& a)
{
    const int level = std::clamp(Int(a, 1, 3), 1, 3);
    for (int j = 0; j < cell.h; j++)
        for (int i = 0; i < cell.w; i++) {
            const double lattice = std::fabs(std::sin((i + j) * 0.42)) * std::fabs(std::sin((i - j) * 0.42));
            const double glow = Noise(i / 6.0, j / 6.0, 9 + level);
            const bool rim = i < 2 || j < 2 || i > 37 || j > 37;
            const double v = lattice * 0.7 + glow * 0.5;
            if (rim || v > 1.05 - level * 0.08)
                cell.At(i, j) = Mix(Opaque(0x3060C0), Opaque(0xC8F0FF), std::clamp(v - 0.3, 0.0, 1.0));
        }
}

// Brushfire, frame f of seven: flames rising from the ground.
void Fire(Image& cell, const Args& a)
{
    const int f = Int(a, 1);
    for (int j = 0; j < cell.h; j++)
        for (int i = 0; i < cell.w; i++) {
            const double rise = (39 - j) / 39.0;
            const double n = Fbm(i / 7.0, (j + f * 5.7) / 7.0, 4, 61);
            const double tongues = 0.5 + 0.5 * std::sin(i * 0.55 + f * 0.9 + n * 4);
            const double heat = n * 1.2 + tongues * 0.35 - rise * 1.05 + 0.05;
            if (heat < 0.2)
                continue;
            const double t = std::clamp((heat - 0.2) * 2.4, 0.0, 1.0);
            const Rgba c = t < 0.5 ? Mix(Opaque(0x8A1A06), Opaque(0xF06010), t * 2)
                                   : Mix(Opaque(0xF06010), Opaque(0xFFE890), (t - 0.5) * 2);
            cell.At(i, j) = c;
        }
}

void Star(Image& cell, double cx, double cy, double r, Rgba c)
{
    Line(cell, cx - r, cy, cx + r, cy, std::max(1.0, r / 4), c);
    Line(cell, cx, cy - r, cx, cy + r, std::max(1.0, r / 4), c);
    Line(cell, cx - r * 0.45, cy - r * 0.45, cx + r * 0.45, cy + r * 0.45, 1, c);
    Line(cell, cx - r * 0.45, cy + r * 0.45, cx + r * 0.45, cy - r * 0.45, 1, c);
    Disc(cell, cx, cy, std::max(1.0, r / 3.5), Opaque(0xFFFFF0));
}

// A gold mine glinting through the mist, frame f of seven.
void Glint(Image& cell, const Args& a)
{
    static const double size[7] = {2, 5, 8, 10, 8, 5, 2};
    const int f = std::clamp(Int(a, 1), 0, 6);
    Star(cell, 24, 15, size[f], Opaque(0xFFD860));
    Star(cell, 12, 27, size[(f + 3) % 7] * 0.6, Opaque(0xF0C040));
}

// A column of light over a hidden warlord, frame f of seven.
void Beacon(Image& cell, const Args& a)
{
    const int f = Int(a, 1);
    const double pulse = 0.5 + 0.5 * std::sin(f * 2 * M_PI / 7);
    for (int j = 0; j < cell.h; j++)
        for (int i = 0; i < cell.w; i++) {
            const double w = 4 + 3 * pulse + (39 - j) * 0.08;
            const double d = std::fabs(i - 19.5) / w;
            if (d > 1)
                continue;
            const double flicker = Noise(i / 3.0, (j + f * 6) / 3.0, 17);
            cell.At(i, j) = Mix(Opaque(0xF0D070), Opaque(0xFFFFF0), std::clamp(1 - d + flicker * 0.3, 0.0, 1.0));
        }
    Ring(cell, 19.5, 33, 8 + 4 * pulse, 1.5, Opaque(0xF0D070));
}

// The owner's banner on a gold mine.
void Flag(Image& cell, const Args& a)
{
    const Rgba c = Hex(a.size() > 1 ? a[1] : "FFFFFF");
    Line(cell, 31, 3, 31, 24, 2, Opaque(0x3A2A18));
    Line(cell, 31, 3, 31, 24, 1, Opaque(0xA08050));
    const double flag[] = {32, 3, 39, 7.5, 32, 12};
    Polygon(cell, flag, 3, Scale(c, 0.55));
    const double inner[] = {32, 4, 37.5, 7.5, 32, 10.5};
    Polygon(cell, inner, 3, c);
}

// A unit's player colour: a small shield in the top-left corner.
void Shield(Image& cell, const Args& a)
{
    const Rgba c = Hex(a.size() > 1 ? a[1] : "808080");
    const double outer[] = {0, 0, 10, 0, 10, 6, 5, 11, 0, 6};
    Polygon(cell, outer, 5, Opaque(0x20180C));
    const double inner[] = {1, 1, 9, 1, 9, 5.6, 5, 9.6, 1, 5.6};
    Polygon(cell, inner, 5, c);
    Line(cell, 1.5, 1.5, 8.5, 1.5, 1, Mix(c, Opaque(0xFFFFFF), 0.5));
}

void Slot(Image& cell, const Args&)
{
    Fill(cell, 1, 35, 38, 5, Opaque(0x2A1E14));
    Fill(cell, 2, 36, 36, 3, Opaque(0x140E0A));
}

void SlotCaps(Image& cell, const Args&)
{
    const Rgba gold = Opaque(0xC89838);
    Fill(cell, 1, 35, 38, 1, gold);
    Fill(cell, 1, 39, 38, 1, Scale(gold, 0.6));
    Fill(cell, 0, 34, 2, 6, gold);
    Fill(cell, 38, 34, 2, 6, gold);
}

// No moves left: a small hourglass in the top-right corner.
void Hourglass(Image& cell, const Args&)
{
    const double glass[] = {30, 1, 39, 1, 34.5, 6.5, 39, 12, 30, 12, 34.5, 6.5};
    Fill(cell, 29, 0, 11, 1, Opaque(0x6A4420));
    Fill(cell, 29, 12, 11, 1, Opaque(0x6A4420));
    Polygon(cell, glass, 6, Opaque(0xD8E8F0));
    const double sand[] = {32, 11, 37, 11, 34.5, 8};
    Polygon(cell, sand, 3, Opaque(0xE0B050));
}

// Too few actions to strike: a struck-out sword in the top-right corner.
void NoSword(Image& cell, const Args&)
{
    Line(cell, 30, 11, 38, 3, 2, Opaque(0xD0D8E0));
    Line(cell, 31, 7, 34, 10, 2, Opaque(0x8A6030));
    Line(cell, 29, 2, 39, 12, 2, Opaque(0xE02818));
}

// Poisoned: n green drops down the right side.
void Poison(Image& cell, const Args& a)
{
    const int n = std::clamp(Int(a, 1, 1), 1, 3);
    for (int k = 0; k < n; k++) {
        const double y = 16 + 6 * k;
        const double drop[] = {36, y - 4, 38.5, y, 36, y + 2.5, 33.5, y};
        Polygon(cell, drop, 4, Opaque(0x106010));
        Disc(cell, 36, y + 0.2, 2, Opaque(0x50E030));
    }
}

// A hidden unit of one's own: a ring of shadow it stands in.
void Aura(Image& cell, const Args& a)
{
    const bool dark = a.size() > 1 && a[1] == "dark";
    const Rgba c = dark ? Opaque(0x301848) : Opaque(0x7848A8);
    for (int j = 0; j < cell.h; j++)
        for (int i = 0; i < cell.w; i++) {
            const double d = std::hypot((i - 19.5) / 1.0, (j - 22) / 0.8);
            if (d < 19 && d > 11 && (i + j) % 2 == 0)
                cell.At(i, j) = c;
        }
}

void Heart(Image& cell, const Args&)
{
    const Rgba rim = Opaque(0x400808), red = Opaque(0xD02020);
    const double shape[] = {6, 18, 20, 34, 34, 18};
    Disc(cell, 13, 14, 8.5, rim);
    Disc(cell, 27, 14, 8.5, rim);
    Polygon(cell, shape, 3, rim);
    Disc(cell, 13, 14, 7, red);
    Disc(cell, 27, 14, 7, red);
    const double inner[] = {7.5, 17, 20, 31.5, 32.5, 17};
    Polygon(cell, inner, 3, red);
    Disc(cell, 11, 12, 2.5, Opaque(0xF8A0A0));
}

// Wooden planks across a river: d 0 crosses a river running left to right, 1 one running up and down.
void Bridge(Image& cell, const Args& a)
{
    const bool across = Int(a, 1) == 1;
    Image deck(40, 40);
    Wood(deck, 0, 0, 40, 40, Opaque(0x8A6238), 12);
    for (int j = 0; j < 40; j++)
        for (int i = 0; i < 40; i++) {
            const int u = across ? j : i, v = across ? i : j;
            if (u < 9 || u > 30)
                continue;
            Rgba c = deck.At(across ? j : i, across ? i : j);
            if (v % 6 == 0)
                c = Opaque(0x3A2614);          // gaps between planks
            if (u == 9 || u == 10 || u == 29 || u == 30)
                c = Opaque(0x5A3A1C);          // rails
            cell.At(i, j) = c;
        }
}

// The siege engine, drawn: kind "wagon" (packed for travel) or "set" (the arm raised to throw).
void Catapult(Image& cell, const Args& a)
{
    const bool set = a.size() > 1 && a[1] == "set";
    const Rgba wood = Opaque(0x8A5A2C), dark = Opaque(0x3A2410), iron = Opaque(0x808890);
    // Shadow, frame and wheels.
    for (int i = 4; i < 37; i++)
        for (int j = 33; j < 37; j++)
            if ((i + j) % 2 == 0)
                cell.Put(i, j, Opaque(0x141008));
    Line(cell, 5, 27, 35, 27, 5, dark);
    Line(cell, 5, 27, 35, 27, 3, wood);
    for (const double x : {11.0, 29.0}) {
        Disc(cell, x, 30, 6, dark);
        Disc(cell, x, 30, 4.5, Opaque(0x6A4420));
        for (int k = 0; k < 4; k++)
            Line(cell, x - 4 * std::cos(k * M_PI / 4), 30 - 4 * std::sin(k * M_PI / 4), x + 4 * std::cos(k * M_PI / 4),
                 30 + 4 * std::sin(k * M_PI / 4), 1, dark);
        Disc(cell, x, 30, 1.5, iron);
    }
    // Uprights and the throwing arm with its basket of stones.
    Line(cell, 20, 26, 20, 15, 4, dark);
    Line(cell, 20, 26, 20, 15, 2, wood);
    if (set) {
        Line(cell, 26, 25, 11, 5, 4, dark);
        Line(cell, 26, 25, 11, 5, 2, wood);
        Disc(cell, 10, 5, 4, dark);
        Disc(cell, 9, 4, 2, Opaque(0x9A9488));
        Disc(cell, 12, 5, 1.5, Opaque(0x8A847A));
    } else {
        Line(cell, 6, 21, 34, 21, 4, dark);
        Line(cell, 6, 21, 34, 21, 2, wood);
        Disc(cell, 32, 19, 3.5, dark);
        Disc(cell, 32, 18.5, 2, Opaque(0x9A9488));
        // A canvas cover over the packed frame.
        const double cover[] = {8, 20, 14, 12, 26, 12, 32, 20};
        Polygon(cell, cover, 4, Opaque(0x5A4A30));
        const double cloth[] = {9.5, 19.5, 14.5, 13.5, 25.5, 13.5, 30.5, 19.5};
        Polygon(cell, cloth, 4, Opaque(0xB8A478));
    }
    Disc(cell, 20, 15, 1.5, iron);
}

// What is left of a unit that blew itself apart: a scorched crater.
void Crater(Image& cell, const Args&)
{
    for (int j = 0; j < cell.h; j++)
        for (int i = 0; i < cell.w; i++) {
            const double d = std::hypot(i - 19.5, (j - 24) * 1.6) + (Noise(i / 3.0, j / 3.0, 4) - 0.5) * 5;
            if (d < 15)
                cell.At(i, j) = Mix(Opaque(0x2A2018), Opaque(0x5A4A38), d / 15);
            if (d < 6)
                cell.At(i, j) = Mix(Opaque(0xF08020), Opaque(0x401808), d / 6);
        }
}

// Where damage is shown: a burst of red.
void Splash(Image& cell, const Args&)
{
    std::vector<double> pts;
    for (int k = 0; k < 16; k++) {
        const double r = k % 2 ? 9 : 18, a = k * M_PI / 8;
        pts.push_back(19.5 + r * std::cos(a));
        pts.push_back(19.5 + r * std::sin(a));
    }
    Polygon(cell, pts.data(), 16, Opaque(0x600808));
    for (double& v : pts)
        v = 19.5 + (v - 19.5) * 0.8;
    Polygon(cell, pts.data(), 16, Opaque(0xD02818));
    Disc(cell, 19.5, 19.5, 5, Opaque(0xF08040));
}

// A flash for a blow: a bright slash.
void Slash(Image& cell, const Args&)
{
    Line(cell, 6, 34, 34, 6, 6, Opaque(0x804010));
    Line(cell, 6, 34, 34, 6, 3, Opaque(0xFFE0A0));
    Line(cell, 10, 34, 34, 10, 2, Opaque(0xFFF8E0));
    Star(cell, 20, 20, 9, Opaque(0xFFF0C0));
}

// Rings of colour, for shock waves, mind waves and summoning circles.
void Rings(Image& cell, const Args& a)
{
    const Rgba c = Hex(a.size() > 1 ? a[1] : "FFFFFF");
    const int n = std::clamp(Int(a, 2, 2), 1, 4);
    for (int k = 0; k < n; k++)
        Ring(cell, 19.5, 19.5, 17 - k * 5, 2.5 - k * 0.4, k % 2 ? Mix(c, Opaque(0xFFFFFF), 0.4) : c);
}

// A ring of runes, for summoning and scouring.
void RuneCircle(Image& cell, const Args& a)
{
    const Rgba c = Hex(a.size() > 1 ? a[1] : "C080FF");
    Ring(cell, 19.5, 19.5, 17, 2, c);
    Ring(cell, 19.5, 19.5, 12, 1.2, c);
    for (int k = 0; k < 5; k++) {
        const double a0 = k * 2 * M_PI / 5 - M_PI / 2, a1 = (k + 2) * 2 * M_PI / 5 - M_PI / 2;
        Line(cell, 19.5 + 12 * std::cos(a0), 19.5 + 12 * std::sin(a0), 19.5 + 12 * std::cos(a1),
             19.5 + 12 * std::sin(a1), 1.2, Mix(c, Opaque(0xFFFFFF), 0.3));
    }
}

// A lightning bolt from top to bottom.
void Bolt(Image& cell, const Args& a)
{
    const Rgba c = Hex(a.size() > 1 ? a[1] : "A0E0FF");
    double x = 20, y = 0;
    for (int k = 0; k < 6; k++) {
        const double nx = 12 + (Hash(k, 1, 3) % 16), ny = y + 7;
        Line(cell, x, y, nx, ny, 4, Scale(c, 0.5));
        Line(cell, x, y, nx, ny, 1.8, Opaque(0xFFFFFF));
        x = nx, y = ny;
    }
}

// A war banner on a pole.
void Banner(Image& cell, const Args& a)
{
    const Rgba c = Hex(a.size() > 1 ? a[1] : "C02020");
    Line(cell, 12, 3, 12, 38, 3, Opaque(0x3A2410));
    Line(cell, 12, 3, 12, 38, 1.5, Opaque(0xB08850));
    const double cloth[] = {13, 5, 34, 5, 30, 13, 34, 21, 13, 21};
    Polygon(cell, cloth, 5, Scale(c, 0.6));
    const double inner[] = {13, 6, 32, 6, 28.5, 13, 32, 20, 13, 20};
    Polygon(cell, inner, 5, c);
    Star(cell, 21, 13, 4, Opaque(0xF0D060));
}

// Rough ground: stones and dry tufts scattered by a seed.
void Stones(Image& cell, const Args& a)
{
    const int seed = Int(a, 1);
    for (int k = 0; k < 9; k++) {
        const uint32_t h = Hash(k, seed, 71);
        const double x = 4 + h % 32, y = 4 + (h >> 8) % 32, r = 1.8 + (h >> 16) % 3 * 0.9;
        if (k % 3 == 2) {
            Line(cell, x, y, x - 2, y - 4, 1, Opaque(0xB09A50));
            Line(cell, x, y, x + 2, y - 4, 1, Opaque(0xC8B060));
            continue;
        }
        Disc(cell, x + 1, y + 1, r, Opaque(0x2A2014));
        Disc(cell, x, y, r, Opaque(0x8A8478));
        Disc(cell, x - r / 3, y - r / 3, r / 2.5, Opaque(0xC0BAB0));
    }
}

struct Procedure {
    const char* name;
    void (*run)(Image&, const Args&);
};

const Procedure procedures[] = {
    {"stipple", Stipple}, {"edge", Edge}, {"corner", Corner}, {"fog", Fog}, {"refuse", Refuse},
    {"target", Target}, {"forcefield", Forcefield}, {"fire", Fire}, {"glint", Glint}, {"beacon", Beacon},
    {"flag", Flag}, {"shield", Shield}, {"slot", Slot}, {"slotcaps", SlotCaps}, {"hourglass", Hourglass},
    {"nosword", NoSword}, {"poison", Poison}, {"aura", Aura}, {"heart", Heart}, {"bridge", Bridge},
    {"catapult", Catapult}, {"crater", Crater}, {"splash", Splash}, {"slash", Slash}, {"rings", Rings},
    {"runecircle", RuneCircle}, {"bolt", Bolt}, {"banner", Banner}, {"stones", Stones},
};

} // namespace

bool RunCellProcedure(Image& cell, const Args& args, std::string& error)
{
    if (args.empty()) {
        error = "gen without a procedure";
        return true;
    }
    for (const Procedure& p : procedures)
        if (args[0] == p.name) {
            p.run(cell, args);
            return false;
        }
    error = "unknown procedure " + args[0];
    return true;
}
