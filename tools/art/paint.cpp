// Painting for the generated art.
#include "tools/art/paint.h"

#include <algorithm>
#include <cmath>
#include <vector>
#include <ft2build.h>
#include FT_FREETYPE_H

uint32_t Hash(const int x, const int y, const int seed)
{
    uint32_t h = (uint32_t)x * 374761393u + (uint32_t)y * 668265263u + (uint32_t)seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

double Noise(const double x, const double y, const int seed)
{
    const int xi = (int)std::floor(x), yi = (int)std::floor(y);
    const double fx = x - xi, fy = y - yi;
    const auto v = [&](int i, int j) { return (Hash(xi + i, yi + j, seed) & 0xFFFF) / 65535.0; };
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double top = v(0, 0) + (v(1, 0) - v(0, 0)) * sx, bottom = v(0, 1) + (v(1, 1) - v(0, 1)) * sx;
    return top + (bottom - top) * sy;
}

double Fbm(const double x, const double y, const int octaves, const int seed)
{
    double sum = 0, amp = 1, total = 0, f = 1;
    for (int o = 0; o < octaves; o++) {
        sum += Noise(x * f, y * f, seed + o * 101) * amp;
        total += amp;
        amp *= 0.5;
        f *= 2;
    }
    return sum / total;
}

void Stone(Image& img, const int x, const int y, const int w, const int h, const Rgba base, const double strength,
           const int seed)
{
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            const double n = Fbm((x + i) / 24.0, (y + j) / 24.0, 5, seed);
            const double grain = (Hash(x + i, y + j, seed) & 255) / 255.0;
            img.Put(x + i, y + j, Scale(base, 1 + strength * ((n - 0.5) * 1.6 + (grain - 0.5) * 0.25)));
        }
}

void Wood(Image& img, const int x, const int y, const int w, const int h, const Rgba base, const int seed)
{
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            const double warp = Fbm((x + i) / 60.0, (y + j) / 8.0, 3, seed) * 6;
            const double rings = 0.5 + 0.5 * std::sin((y + j) / 2.2 + warp * 2.5);
            const double n = Fbm((x + i) / 90.0, (y + j) / 4.0, 4, seed + 7);
            img.Put(x + i, y + j, Scale(base, 0.75 + 0.3 * rings + 0.25 * (n - 0.5)));
        }
}

void Parchment(Image& img, const int x, const int y, const int w, const int h, const int seed)
{
    const Rgba light = Opaque(0xE8D8B0), dark = Opaque(0xB89A68);
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            const double n = Fbm((x + i) / 40.0, (y + j) / 40.0, 5, seed);
            const double fibre = Fbm((x + i) / 3.0, (y + j) / 30.0, 2, seed + 3);
            // Edges of the sheet darken like old paper.
            const double ex = std::min(i, w - 1 - i) / 40.0, ey = std::min(j, h - 1 - j) / 40.0;
            const double edge = std::clamp(std::min(ex, ey), 0.0, 1.0);
            const double t = std::clamp(0.22 + (n - 0.5) * 0.8 + (fibre - 0.5) * 0.2 + (1 - edge) * 0.55, 0.0, 1.0);
            img.Put(x + i, y + j, Mix(light, dark, t));
        }
}

void Fill(Image& img, const int x, const int y, const int w, const int h, const Rgba c)
{
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
            img.Blend(x + i, y + j, c);
}

void Shade(Image& img, const int x, const int y, const int w, const int h, const double top, const double bottom)
{
    for (int j = 0; j < h; j++) {
        const double k = top + (bottom - top) * j / std::max(h - 1, 1);
        for (int i = 0; i < w; i++)
            if (img.Inside(x + i, y + j))
                img.At(x + i, y + j) = Scale(img.At(x + i, y + j), k);
    }
}

void Bevel(Image& img, const int x, const int y, const int w, const int h, const int depth, const double strength)
{
    const int d = std::abs(depth);
    for (int k = 0; k < d; k++) {
        const double f = strength * (1 - (double)k / d);
        const double lit = depth > 0 ? 1 + f : 1 - f * 0.8, dark = depth > 0 ? 1 - f * 0.8 : 1 + f;
        for (int i = k; i < w - k; i++) {
            if (img.Inside(x + i, y + k))
                img.At(x + i, y + k) = Scale(img.At(x + i, y + k), lit);
            if (img.Inside(x + i, y + h - 1 - k))
                img.At(x + i, y + h - 1 - k) = Scale(img.At(x + i, y + h - 1 - k), dark);
        }
        for (int j = k + 1; j < h - 1 - k; j++) {
            if (img.Inside(x + k, y + j))
                img.At(x + k, y + j) = Scale(img.At(x + k, y + j), lit);
            if (img.Inside(x + w - 1 - k, y + j))
                img.At(x + w - 1 - k, y + j) = Scale(img.At(x + w - 1 - k, y + j), dark);
        }
    }
}

void Frame(Image& img, const int x, const int y, const int w, const int h, const Rgba c)
{
    Fill(img, x, y, w, 1, c);
    Fill(img, x, y + h - 1, w, 1, c);
    Fill(img, x, y, 1, h, c);
    Fill(img, x + w - 1, y, 1, h, c);
}

void Masonry(Image& img, const int blockw, const int blockh)
{
    for (int j = 0; j < img.h; j++)
        for (int i = 0; i < img.w; i++) {
            const int row = j / blockh, off = row % 2 ? blockw / 2 : 0;
            const bool mortar = j % blockh < 2 || (i + off) % blockw < 2;
            if (mortar)
                img.At(i, j) = Scale(img.At(i, j), 0.62);
            else if (j % blockh == 2 || (i + off) % blockw == 2)
                img.At(i, j) = Scale(img.At(i, j), 1.18);
        }
}

void Vignette(Image& img, const double strength)
{
    for (int j = 0; j < img.h; j++)
        for (int i = 0; i < img.w; i++) {
            const double dx = (i - img.w / 2.0) / (img.w / 2.0), dy = (j - img.h / 2.0) / (img.h / 2.0);
            const double d = std::min(1.0, std::sqrt(dx * dx + dy * dy) / 1.35);
            img.At(i, j) = Scale(img.At(i, j), 1 - strength * d * d);
        }
}

void Disc(Image& img, const double cx, const double cy, const double r, const Rgba c)
{
    for (int j = (int)(cy - r - 1); j <= (int)(cy + r + 1); j++)
        for (int i = (int)(cx - r - 1); i <= (int)(cx + r + 1); i++) {
            const double d = std::hypot(i - cx, j - cy);
            const double cover = std::clamp(r + 0.5 - d, 0.0, 1.0);
            if (cover > 0)
                img.Blend(i, j, {c.r, c.g, c.b, (uint8_t)(c.a * cover)});
        }
}

void Ring(Image& img, const double cx, const double cy, const double r, const double width, const Rgba c)
{
    for (int j = (int)(cy - r - width); j <= (int)(cy + r + width); j++)
        for (int i = (int)(cx - r - width); i <= (int)(cx + r + width); i++) {
            const double d = std::fabs(std::hypot(i - cx, j - cy) - r);
            const double cover = std::clamp(width / 2 + 0.5 - d, 0.0, 1.0);
            if (cover > 0)
                img.Blend(i, j, {c.r, c.g, c.b, (uint8_t)(c.a * cover)});
        }
}

void Line(Image& img, const double x0, const double y0, const double x1, const double y1, const double width,
          const Rgba c)
{
    const double len = std::max(std::hypot(x1 - x0, y1 - y0), 1e-9);
    const int minx = (int)(std::min(x0, x1) - width - 1), maxx = (int)(std::max(x0, x1) + width + 1);
    const int miny = (int)(std::min(y0, y1) - width - 1), maxy = (int)(std::max(y0, y1) + width + 1);
    for (int j = miny; j <= maxy; j++)
        for (int i = minx; i <= maxx; i++) {
            const double t = std::clamp(((i - x0) * (x1 - x0) + (j - y0) * (y1 - y0)) / (len * len), 0.0, 1.0);
            const double d = std::hypot(i - (x0 + t * (x1 - x0)), j - (y0 + t * (y1 - y0)));
            const double cover = std::clamp(width / 2 + 0.5 - d, 0.0, 1.0);
            if (cover > 0)
                img.Blend(i, j, {c.r, c.g, c.b, (uint8_t)(c.a * cover)});
        }
}

void Polygon(Image& img, const double* xy, const int points, const Rgba c)
{
    for (int j = 0; j < img.h; j++) {
        const double py = j + 0.5;
        std::vector<double> xs;
        for (int k = 0; k < points; k++) {
            const double ax = xy[2 * k], ay = xy[2 * k + 1];
            const double bx = xy[2 * ((k + 1) % points)], by = xy[2 * ((k + 1) % points) + 1];
            if ((ay <= py) != (by <= py))
                xs.push_back(ax + (py - ay) * (bx - ax) / (by - ay));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t k = 0; k + 1 < xs.size(); k += 2)
            for (int i = (int)std::ceil(xs[k] - 0.5); i < (int)std::ceil(xs[k + 1] - 0.5); i++)
                img.Blend(i, j, c);
    }
}

namespace {

FT_Library library;
std::vector<FT_Face> faces;

} // namespace

int OpenFont(const std::string& path)
{
    FT_Face face;
    if ((!library && FT_Init_FreeType(&library)) || FT_New_Face(library, path.c_str(), 0, &face))
        return -1;
    faces.push_back(face);
    return (int)faces.size() - 1;
}

Image TextMask(const int font, const std::string& text, const int size)
{
    const FT_Face face = faces[font];
    FT_Set_Pixel_Sizes(face, 0, (FT_UInt)size);
    const int ascent = (int)(face->size->metrics.ascender >> 6), descent = (int)(-face->size->metrics.descender >> 6);
    int width = 0;
    for (const char ch : text) {
        if (FT_Load_Char(face, (unsigned char)ch, FT_LOAD_DEFAULT) == 0)
            width += (int)(face->glyph->advance.x >> 6);
    }
    Image mask(width + 4, ascent + descent + 4);
    int pen = 2;
    for (const char ch : text) {
        if (FT_Load_Char(face, (unsigned char)ch, FT_LOAD_RENDER))
            continue;
        const FT_Bitmap& bm = face->glyph->bitmap;
        const int left = pen + face->glyph->bitmap_left, top = 2 + ascent - face->glyph->bitmap_top;
        for (unsigned j = 0; j < bm.rows; j++)
            for (unsigned i = 0; i < bm.width; i++) {
                const uint8_t cover = bm.buffer[j * bm.pitch + i];
                if (mask.Inside(left + (int)i, top + (int)j))
                    mask.At(left + (int)i, top + (int)j) = {255, 255, 255,
                        std::max(mask.At(left + (int)i, top + (int)j).a, cover)};
            }
        pen += (int)(face->glyph->advance.x >> 6);
    }
    return mask;
}

void Letter(Image& img, const Image& mask, const int x, const int y, const Rgba top, const Rgba bottom,
            const Rgba outline)
{
    // Shadow, then a two-pixel outline, then the gradient face with a lit upper edge.
    for (int j = 0; j < mask.h; j++)
        for (int i = 0; i < mask.w; i++)
            if (mask.At(i, j).a)
                img.Blend(x + i + 3, y + j + 3, {outline.r, outline.g, outline.b, (uint8_t)(mask.At(i, j).a * 0.7)});
    for (int j = 0; j < mask.h; j++)
        for (int i = 0; i < mask.w; i++) {
            int a = 0;
            for (int dy = -2; dy <= 2; dy++)
                for (int dx = -2; dx <= 2; dx++)
                    if (dx * dx + dy * dy <= 5)
                        a = std::max<int>(a, mask.Get(i + dx, j + dy).a);
            if (a)
                img.Blend(x + i, y + j, {outline.r, outline.g, outline.b, (uint8_t)a});
        }
    for (int j = 0; j < mask.h; j++) {
        const Rgba c = Mix(top, bottom, (double)j / std::max(mask.h - 1, 1));
        for (int i = 0; i < mask.w; i++) {
            const uint8_t a = mask.At(i, j).a;
            if (!a)
                continue;
            const bool edge = mask.Get(i, j - 1).a < 128;
            const Rgba face = edge ? Mix(c, Opaque(0xFFFFF0), 0.6) : c;
            img.Blend(x + i, y + j, {face.r, face.g, face.b, a});
        }
    }
}

void Text(Image& img, const int font, const std::string& text, const int size, const int x, const int y,
          const Rgba c, const bool centre)
{
    const Image mask = TextMask(font, text, size);
    const int left = centre ? x - mask.w / 2 : x, top = centre ? y - mask.h / 2 : y;
    for (int j = 0; j < mask.h; j++)
        for (int i = 0; i < mask.w; i++)
            if (mask.At(i, j).a)
                img.Blend(left + i, top + j, {c.r, c.g, c.b, (uint8_t)(c.a * mask.At(i, j).a / 255)});
}
