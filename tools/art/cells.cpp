// Cut lists: each line names a cell of ours and the layers it is made of.
//
//   sheet <file> <columns> <rows> <cell width> <cell height>
//   cell <n> "<name>" <layer> [| <layer>]...
//   anim <first> "<name>" <style> <source> [| <source>]...    eight frames at first, first + 16, ...
//
// Layers, drawn in order over a clear cell:
//   fill <atlas> <x> <y> <w> <h> [options]     the tile resampled to fill the cell (terrain wraps seamlessly)
//   centre <atlas> <x> <y> <w> <h> [options]   the tile at its own size, centred (creatures, objects)
//   river <mask> <atlas> <x> <y> <w> <h>       the water tile inside a channel towards the mask's sides
//   copy <n> [options]                         a cell drawn earlier in this sheet
//   gen <procedure> [arguments]                a procedure of procedures.cpp
//   post <spent | rank N | frame RRGGBB | dim P | emblem>   changes what the cell holds so far
//                                              (an emblem: the picture in dark slate tones, to sit
//                                              behind a light number)
// Options: flip, dx=N, dy=N, scale=P (percent), tint=RRGGBB/P (towards a colour by P percent),
// bright=P (percent), grey, edgeok (the cut's separate pieces at its edge are its own), alone (the
// pieces of a neighbour at the cut's edge are dropped): fragments.h.
// Animation styles: grow, burst, spin, rise, fall, pulse, cycle, sweep; a source is an atlas rectangle
// with options, or "gen <procedure> ...".
#include "tools/art/cells.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tools/art/fragments.h"
#include "tools/art/paint.h"
#include "tools/art/sha256.h"

std::map<std::string, Image> atlases;

namespace {

std::vector<std::string> Tokens(const std::string& line)
{
    std::vector<std::string> out;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
            i++;
        } else if (line[i] == '"') {
            const size_t end = line.find('"', i + 1);
            out.push_back(line.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1));
            i = end == std::string::npos ? line.size() : end + 1;
        } else if (line[i] == '#') {
            break;
        } else {
            size_t end = i;
            while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r')
                end++;
            out.push_back(line.substr(i, end - i));
            i = end;
        }
    }
    return out;
}

bool ToInt(const std::string& s, int& v)
{
    char* end;
    const long n = strtol(s.c_str(), &end, 10);
    v = (int)n;
    return s.empty() || *end != 0;
}

// Splits tokens at "|" into layers.
std::vector<Args> Layers(const Args& tokens, size_t from)
{
    std::vector<Args> out(1);
    for (size_t i = from; i < tokens.size(); i++) {
        if (tokens[i] == "|")
            out.emplace_back();
        else
            out.back().push_back(tokens[i]);
    }
    return out;
}

struct Options {
    bool flip = false, grey = false, edgeok = false, alone = false;
    int dx = 0, dy = 0, scale = 100, bright = 100, tintpct = 0;
    Rgba tint;
};

bool ParseOptions(const Args& a, size_t from, Options& o, std::string& error)
{
    for (size_t i = from; i < a.size(); i++) {
        const std::string& s = a[i];
        const size_t eq = s.find('=');
        const std::string key = s.substr(0, eq), value = eq == std::string::npos ? "" : s.substr(eq + 1);
        bool bad = false;
        if (s == "flip")
            o.flip = true;
        else if (s == "grey")
            o.grey = true;
        else if (s == "edgeok")
            o.edgeok = true;
        else if (s == "alone")
            o.alone = true;
        else if (key == "dx")
            bad = ToInt(value, o.dx);
        else if (key == "dy")
            bad = ToInt(value, o.dy);
        else if (key == "scale")
            bad = ToInt(value, o.scale);
        else if (key == "bright")
            bad = ToInt(value, o.bright);
        else if (key == "tint" && value.size() > 7 && value[6] == '/') {
            o.tint = Opaque((uint32_t)strtoul(value.substr(0, 6).c_str(), nullptr, 16));
            bad = ToInt(value.substr(7), o.tintpct);
        } else
            bad = true;
        if (bad) {
            error = "bad option " + s;
            return true;
        }
    }
    return false;
}

void ApplyOptions(Image& img, const Options& o)
{
    if (o.flip)
        img = Flip(img);
    if (o.scale != 100)
        img = Resize(img, img.w * o.scale / 100, img.h * o.scale / 100);
    for (Rgba& c : img.px) {
        if (o.grey) {
            const uint8_t l = (uint8_t)((30 * c.r + 59 * c.g + 11 * c.b) / 100);
            c = {l, l, l, c.a};
        }
        if (o.tintpct) {
            const uint8_t a = c.a;
            // Tint keeps the shading: the colour is multiplied towards the tint by its brightness.
            const double l = (0.3 * c.r + 0.59 * c.g + 0.11 * c.b) / 160.0;
            c = Mix(c, Scale(o.tint, l), o.tintpct / 100.0);
            c.a = a;
        }
        if (o.bright != 100)
            c = Scale(c, o.bright / 100.0);
    }
}

// An atlas rectangle "<atlas> x y w h" starting at a[i]; true on failure.
bool ReadTile(const Args& a, size_t i, Image& out, std::string& error)
{
    int x, y, w, h;
    if (a.size() < i + 5 || ToInt(a[i + 1], x) || ToInt(a[i + 2], y) || ToInt(a[i + 3], w) || ToInt(a[i + 4], h)) {
        error = "expected <atlas> <x> <y> <w> <h>";
        return true;
    }
    const auto atlas = atlases.find(a[i]);
    if (atlas == atlases.end()) {
        error = "no atlas " + a[i];
        return true;
    }
    if (x < 0 || y < 0 || w <= 0 || h <= 0 || x + w > atlas->second.w || y + h > atlas->second.h) {
        error = "rectangle outside " + a[i];
        return true;
    }
    out = Crop(atlas->second, x, y, w, h);
    return false;
}

// The tile resampled (bilinear, wrapping) to w x h, so that neighbouring cells join without seams.
Image FillFrom(const Image& tile, const int w, const int h)
{
    Image out(w, h);
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            const double sx = (i + 0.5) * tile.w / w - 0.5, sy = (j + 0.5) * tile.h / h - 0.5;
            const int x0 = (int)std::floor(sx), y0 = (int)std::floor(sy);
            const double fx = sx - x0, fy = sy - y0;
            const auto at = [&](int x, int y) { return tile.At((x + tile.w) % tile.w, (y + tile.h) % tile.h); };
            const Rgba top = Mix(at(x0, y0), at(x0 + 1, y0), fx), bottom = Mix(at(x0, y0 + 1), at(x0 + 1, y0 + 1), fx);
            out.At(i, j) = Mix(top, bottom, fy);
        }
    return out;
}

// Distance outside the river channel of a neighbour mask (1 up, 2 down, 4 left, 8 right, as the map
// stores it); negative inside.
double RiverDistance(const int mask, const double x, const double y)
{
    const double c = 19.5, half = 8.5;
    double d = std::hypot(x - c, y - c) - 10;
    const auto arm = [&](bool on, double x0, double y0, double x1, double y1) {
        if (!on)
            return;
        const double dx = std::max({x0 - x, 0.0, x - x1}), dy = std::max({y0 - y, 0.0, y - y1});
        const double inside = std::min(std::min(x - x0, x1 - x), std::min(y - y0, y1 - y));
        d = std::min(d, dx > 0 || dy > 0 ? std::hypot(dx, dy) : -inside);
    };
    arm(mask & 1, c - half, -2, c + half, c);
    arm(mask & 2, c - half, c, c + half, 42);
    arm(mask & 4, -2, c - half, c, c + half);
    arm(mask & 8, c, c - half, 42, c + half);
    // The banks wander a little, so long rivers do not look ruled.
    return d + (Noise(x / 5, y / 5, mask + 77) - 0.5) * 2.2;
}

void Rank(Image& cell, const int rank)
{
    const Rgba gold = Opaque(0xF0C040), dark = Opaque(0x5A3A0A);
    for (int k = 0; k < rank - 1; k++) {
        const double y = 27 - 4 * k;
        Line(cell, 31, y, 34.5, y + 3, 3.2, dark);
        Line(cell, 34.5, y + 3, 38, y, 3.2, dark);
        Line(cell, 31, y, 34.5, y + 3, 1.6, gold);
        Line(cell, 34.5, y + 3, 38, y, 1.6, gold);
    }
}

void IconFrame(Image& cell, const Rgba colour)
{
    Image framed(cell.w, cell.h, Scale(colour, 0.55));
    Stone(framed, 0, 0, cell.w, cell.h, colour, 0.25, 5);
    Bevel(framed, 0, 0, cell.w, cell.h, 2, 0.5);
    Fill(framed, 3, 3, cell.w - 6, cell.h - 6, Opaque(0x141018));
    Draw(framed, cell, 0, 0);
    cell = framed;
}

bool Post(Image& cell, const Args& a, std::string& error)
{
    int n = 0;
    if (a.size() == 2 && a[1] == "spent") {
        for (Rgba& c : cell.px) {
            const uint8_t l = (uint8_t)((30 * c.r + 59 * c.g + 11 * c.b) / 100);
            c = Scale(Mix(c, {l, l, l, c.a}, 0.7), 0.6);
        }
    } else if (a.size() == 3 && a[1] == "rank" && !ToInt(a[2], n)) {
        Rank(cell, n);
    } else if (a.size() == 3 && a[1] == "frame") {
        IconFrame(cell, Opaque((uint32_t)strtoul(a[2].c_str(), nullptr, 16)));
    } else if (a.size() == 2 && a[1] == "emblem") {
        for (Rgba& c : cell.px)
            if (c.a) {
                const double l = (30 * c.r + 59 * c.g + 11 * c.b) / 25500.0;
                const uint8_t alpha = c.a;
                c = Mix(Opaque(0x262A3A), Opaque(0x586078), l);
                c.a = alpha;
            }
    } else if (a.size() == 3 && a[1] == "dim" && !ToInt(a[2], n)) {
        for (Rgba& c : cell.px)
            c = Scale(c, n / 100.0);
    } else {
        error = "bad post step";
        return true;
    }
    return false;
}

// Draws one layer into a cell; true on failure.
bool Layer(Image& cell, const Args& a, const Sheet& sheet, std::string& error)
{
    if (a.empty()) {
        error = "empty layer";
        return true;
    }
    const std::string& kind = a[0];
    Options o;
    Image tile;
    if (kind == "fill" || kind == "centre") {
        if (ReadTile(a, 1, tile, error) || ParseOptions(a, 6, o, error))
            return true;
        if (o.alone)
            KeepFigure(tile);
        if (kind == "centre" && !(error = CheckCut(tile, atoi(a[2].c_str()), atoi(a[3].c_str()), cell.w, cell.h, o.edgeok)).empty())
            return true;
        if (kind == "fill") {
            tile = FillFrom(tile, cell.w, cell.h);
            ApplyOptions(tile, o);
            Draw(cell, tile, o.dx, o.dy);
        } else {
            ApplyOptions(tile, o);
            Draw(cell, tile, (cell.w - tile.w) / 2 + o.dx, (cell.h - tile.h) / 2 + o.dy);
        }
    } else if (kind == "river") {
        int mask;
        if (a.size() < 2 || ToInt(a[1], mask) || ReadTile(a, 2, tile, error))
            return error.empty() ? (error = "river <mask> <atlas> <x> <y> <w> <h>", true) : true;
        const Image water = FillFrom(tile, cell.w, cell.h);
        for (int j = 0; j < cell.h; j++)
            for (int i = 0; i < cell.w; i++) {
                const double d = RiverDistance(mask, i + 0.5, j + 0.5);
                if (d < -2)
                    cell.Blend(i, j, water.At(i, j));
                else if (d < 0)
                    cell.Blend(i, j, Mix(water.At(i, j), Opaque(0xC8E0F0), 0.35));   // foam at the edge
                else if (d < 2.2)
                    cell.Blend(i, j, Mix(cell.At(i, j), Opaque(0x4A3A22), 0.55));   // muddy bank
            }
    } else if (kind == "copy") {
        int n;
        if (a.size() < 2 || ToInt(a[1], n) || n < 0 || n >= sheet.columns * sheet.rows || !sheet.names.count(n)) {
            error = "copy of a cell not drawn yet";
            return true;
        }
        if (ParseOptions(a, 2, o, error))
            return true;
        tile = CellOf(sheet, n);
        ApplyOptions(tile, o);
        Draw(cell, tile, o.dx, o.dy);
    } else if (kind == "gen") {
        return RunCellProcedure(cell, Args(a.begin() + 1, a.end()), error);
    } else if (kind == "post") {
        return Post(cell, a, error);
    } else {
        error = "unknown layer " + kind;
        return true;
    }
    return false;
}

// One frame k (0..7) of an animation style from its sources.
Image AnimFrame(const std::string& style, const std::vector<Image>& sources, const int k, const int size)
{
    const Image& src = sources[(size_t)k % sources.size()];
    double scale = 1, angle = 0, keep = 1;
    int dx = 0, dy = 0;
    if (style == "grow") {
        scale = 0.35 + 0.12 * k;
        keep = k < 6 ? 1 : k == 6 ? 0.66 : 0.33;
    } else if (style == "burst") {
        scale = 0.5 + 0.15 * k;
        keep = 1 - std::max(0, k - 3) * 0.2;
    } else if (style == "spin") {
        angle = 45.0 * k;
        scale = 0.75 + 0.05 * k;
        keep = k == 0 || k == 7 ? 0.5 : 1;
    } else if (style == "rise") {
        dy = 10 - 3 * k;
        keep = k < 5 ? 1 : 1 - (k - 4) * 0.25;
    } else if (style == "fall") {
        dy = k < 5 ? -24 + 6 * k : 0;
        scale = k < 5 ? 0.8 : 0.9 + 0.15 * (k - 4);
        keep = k < 6 ? 1 : 0.5;
    } else if (style == "pulse") {
        scale = 0.7 + 0.35 * std::sin(M_PI * k / 7);
    } else if (style == "cycle") {
        keep = k < 6 ? 1 : 0.6;
    } else if (style == "sweep") {
        dx = -14 + 4 * k;
        keep = k == 0 || k == 7 ? 0.5 : 1;
    }
    Image img = src;
    if (angle != 0) {
        const int side = std::max(img.w, img.h);
        Image square(side, side);
        Draw(square, img, (side - img.w) / 2, (side - img.h) / 2);
        img = Rotate(square, angle);
    }
    const double fit = std::min(1.0, (double)size / std::max(img.w, img.h)) * scale;
    if (std::fabs(fit - 1) > 0.01)
        img = Resize(img, (int)std::lround(img.w * fit), (int)std::lround(img.h * fit));
    if (keep < 1)
        Dither(img, keep);
    Image frame(size, size);
    Draw(frame, img, (size - img.w) / 2 + dx, (size - img.h) / 2 + dy);
    return frame;
}

bool Animation(Sheet& sheet, const Args& tokens, std::string& error)
{
    int first;
    if (tokens.size() < 5 || ToInt(tokens[1], first)) {
        error = "expected anim <first> \"<name>\" <style> <source>...";
        return true;
    }
    if (first < 0 || first + 112 >= sheet.columns * sheet.rows) {
        error = "animation runs off the sheet";
        return true;
    }
    std::vector<Image> sources;
    for (const Args& layer : Layers(tokens, 4)) {
        Image src(sheet.cellw, sheet.cellh);
        Options o;
        if (!layer.empty() && layer[0] == "gen") {
            if (RunCellProcedure(src, Args(layer.begin() + 1, layer.end()), error))
                return true;
        } else {
            if (ReadTile(layer, 0, src, error) || ParseOptions(layer, 5, o, error))
                return true;
            if (o.alone)
                KeepFigure(src);
            if (!(error = CheckCut(src, atoi(layer[1].c_str()), atoi(layer[2].c_str()), sheet.cellw, sheet.cellh, o.edgeok)).empty())
                return true;
            ApplyOptions(src, o);
        }
        sources.push_back(src);
    }
    for (int k = 0; k < 8; k++) {
        const int n = first + 16 * k;
        if (sheet.names.count(n)) {
            error = "cell " + std::to_string(n) + " drawn twice";
            return true;
        }
        PutCell(sheet, n, AnimFrame(tokens[3], sources, k, sheet.cellw));
        sheet.names[n] = tokens[2] + " " + std::to_string(k + 1);
    }
    return false;
}

} // namespace

bool LoadAtlases(const std::string& list, const std::string& dir)
{
    std::ifstream in(list);
    if (!in) {
        fprintf(stderr, "gorvart: cannot read %s\n", list.c_str());
        return true;
    }
    std::string line;
    while (std::getline(in, line)) {
        const Args t = Tokens(line);
        if (t.empty())
            continue;
        if (t.size() != 4 || t[0] != "atlas") {
            fprintf(stderr, "gorvart: %s: expected atlas <name> <file> <sha256>\n", list.c_str());
            return true;
        }
        const std::string path = dir + "/" + t[2];
        std::ifstream file(path, std::ios::binary);
        std::stringstream bytes;
        bytes << file.rdbuf();
        if (!file) {
            fprintf(stderr, "gorvart: the tile atlas %s is missing: install the Debian package crawl-tiles-data\n",
                    path.c_str());
            return true;
        }
        const std::string digest = Sha256Hex(bytes.str());
        if (digest != t[3]) {
            fprintf(stderr,
                    "gorvart: the tile atlas %s is not the one the cut lists were written for\n"
                    "  (sha256 %s, expected %s): crawl-tiles-data has changed; check every cut of\n"
                    "  content/art against the new atlas, then record its digest in %s\n",
                    path.c_str(), digest.c_str(), t[3].c_str(), list.c_str());
            return true;
        }
        if (LoadPng(path, atlases[t[1]])) {
            fprintf(stderr, "gorvart: cannot decode %s\n", path.c_str());
            return true;
        }
    }
    return false;
}

Image CellOf(const Sheet& sheet, const int cell)
{
    return Crop(sheet.image, 1 + (sheet.cellw + 1) * (cell % sheet.columns), 1 + (sheet.cellh + 1) * (cell / sheet.columns),
                sheet.cellw, sheet.cellh);
}

void PutCell(Sheet& sheet, const int cell, const Image& pixels)
{
    const int x = 1 + (sheet.cellw + 1) * (cell % sheet.columns), y = 1 + (sheet.cellh + 1) * (cell / sheet.columns);
    for (int j = 0; j < sheet.cellh; j++)
        for (int i = 0; i < sheet.cellw; i++)
            sheet.image.At(x + i, y + j) = pixels.At(i, j);
}

bool ComposeSheet(const std::string& cutlist, Sheet& out)
{
    std::ifstream in(cutlist);
    if (!in) {
        fprintf(stderr, "gorvart: cannot read %s\n", cutlist.c_str());
        return true;
    }
    std::string line, error;
    int number = 0;
    bool failed = false;
    while (std::getline(in, line)) {
        number++;
        error.clear();
        const Args t = Tokens(line);
        if (t.empty())
            continue;
        if (t[0] == "sheet" && t.size() == 6) {
            out.file = t[1];
            if (ToInt(t[2], out.columns) || ToInt(t[3], out.rows) || ToInt(t[4], out.cellw) || ToInt(t[5], out.cellh))
                error = "bad sheet size";
            else
                out.image = Image(1 + out.columns * (out.cellw + 1), 1 + out.rows * (out.cellh + 1));
        } else if (out.image.w == 0) {
            error = "the first line must be: sheet <file> <columns> <rows> <cell width> <cell height>";
            fprintf(stderr, "gorvart: %s:%d: %s\n", cutlist.c_str(), number, error.c_str());
            return true;
        } else if (t[0] == "cell" && t.size() >= 4) {
            int n;
            if (ToInt(t[1], n) || n < 0 || n >= out.columns * out.rows) {
                error = "bad cell number";
            } else if (out.names.count(n)) {
                error = "cell " + t[1] + " drawn twice";
            } else {
                Image cell(out.cellw, out.cellh);
                for (const Args& layer : Layers(t, 3))
                    if (Layer(cell, layer, out, error))
                        break;
                if (error.empty()) {
                    PutCell(out, n, cell);
                    out.names[n] = t[2];
                }
            }
        } else if (t[0] == "anim") {
            Animation(out, t, error);
        } else {
            error = "unknown line";
        }
        // Every faulty line is reported, so that one run lists all that a change of atlas broke.
        if (!error.empty()) {
            fprintf(stderr, "gorvart: %s:%d: %s\n", cutlist.c_str(), number, error.c_str());
            failed = true;
        }
    }
    return failed;
}
