// Images in memory for the art generator.
#include "tools/art/image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <png.h>

namespace {

uint8_t Clamp8(double v)
{
    return (uint8_t)std::clamp((int)std::lround(v), 0, 255);
}

} // namespace

Rgba Opaque(const uint32_t rgb)
{
    return {(uint8_t)(rgb >> 16), (uint8_t)(rgb >> 8), (uint8_t)rgb, 255};
}

Rgba Mix(const Rgba a, const Rgba b, const double t)
{
    return {Clamp8(a.r + (b.r - a.r) * t), Clamp8(a.g + (b.g - a.g) * t), Clamp8(a.b + (b.b - a.b) * t),
            Clamp8(a.a + (b.a - a.a) * t)};
}

Rgba Scale(const Rgba c, const double k)
{
    return {Clamp8(c.r * k), Clamp8(c.g * k), Clamp8(c.b * k), c.a};
}

Image::Image(const int width, const int height, const Rgba fill) : w(width), h(height), px((size_t)width * height, fill)
{
}

void Image::Blend(const int x, const int y, const Rgba c)
{
    if (!Inside(x, y) || c.a == 0)
        return;
    Rgba& d = At(x, y);
    if (c.a == 255 || d.a == 0) {
        d = c;
        return;
    }
    const double t = c.a / 255.0;
    const uint8_t a = (uint8_t)std::max<int>(d.a, c.a);
    d = Mix(d, c, t);
    d.a = a;
}

Image Crop(const Image& src, const int x, const int y, const int w, const int h)
{
    Image out(w, h);
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
            out.At(i, j) = src.Get(x + i, y + j);
    return out;
}

void Draw(Image& dst, const Image& src, const int x, const int y)
{
    for (int j = 0; j < src.h; j++)
        for (int i = 0; i < src.w; i++)
            dst.Blend(x + i, y + j, src.At(i, j));
}

Image Flip(const Image& src)
{
    Image out(src.w, src.h);
    for (int j = 0; j < src.h; j++)
        for (int i = 0; i < src.w; i++)
            out.At(i, j) = src.At(src.w - 1 - i, j);
    return out;
}

Image Resize(const Image& src, const int w, const int h)
{
    Image out(std::max(w, 1), std::max(h, 1));
    for (int j = 0; j < out.h; j++)
        for (int i = 0; i < out.w; i++)
            out.At(i, j) = src.Get(i * src.w / out.w, j * src.h / out.h);
    return out;
}

Image Rotate(const Image& src, const double degrees)
{
    const double a = degrees * M_PI / 180, c = std::cos(a), s = std::sin(a);
    const double cx = (src.w - 1) / 2.0, cy = (src.h - 1) / 2.0;
    Image out(src.w, src.h);
    for (int j = 0; j < src.h; j++)
        for (int i = 0; i < src.w; i++) {
            const double x = c * (i - cx) + s * (j - cy) + cx, y = -s * (i - cx) + c * (j - cy) + cy;
            out.At(i, j) = src.Get((int)std::lround(x), (int)std::lround(y));
        }
    return out;
}

void Dither(Image& img, const double keep)
{
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    for (int j = 0; j < img.h; j++)
        for (int i = 0; i < img.w; i++)
            if ((bayer[j & 3][i & 3] + 0.5) / 16 >= keep)
                img.At(i, j).a = 0;
}

void Outline(Image& img, const Rgba colour)
{
    const Image src = img;
    for (int j = 0; j < img.h; j++)
        for (int i = 0; i < img.w; i++) {
            if (src.At(i, j).a >= 128)
                continue;
            if (src.Get(i - 1, j).a >= 128 || src.Get(i + 1, j).a >= 128 || src.Get(i, j - 1).a >= 128 ||
                src.Get(i, j + 1).a >= 128)
                img.At(i, j) = colour;
        }
}

bool LoadPng(const std::string& path, Image& out)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return true;
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> bytes(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr))
        return true;
    out = Image((int)image.width, (int)image.height);
    for (size_t i = 0; i < out.px.size(); i++)
        out.px[i] = {bytes[4 * i], bytes[4 * i + 1], bytes[4 * i + 2], bytes[4 * i + 3]};
    return false;
}

bool SavePng(const std::string& path, const Image& img)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(img.px.size() * 3);
    for (const Rgba& c : img.px) {
        bytes.push_back(c.r);
        bytes.push_back(c.g);
        bytes.push_back(c.b);
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = (png_uint_32)img.w;
    image.height = (png_uint_32)img.h;
    image.format = PNG_FORMAT_RGB;
    return !png_image_write_to_file(&image, path.c_str(), 0, bytes.data(), 0, nullptr);
}

Rgba KeyColour(Rgba c)
{
    if (c.a < 128)
        return {0, 0, 0, 0};
    // The dimmed copy halves each channel and the grey copy keeps only luma: keep both above zero.
    if (30 * c.r + 59 * c.g + 11 * c.b < 600 || std::max({c.r, c.g, c.b}) < 6) {
        c.r = std::max<uint8_t>(c.r, 6);
        c.g = std::max<uint8_t>(c.g, 6);
        c.b = std::max<uint8_t>(c.b, 8);
    }
    c.a = 255;
    return c;
}

bool SaveBmp(const std::string& path, const Image& img)
{
    const int stride = (img.w * 3 + 3) & ~3;
    const uint32_t datasize = (uint32_t)stride * img.h, filesize = 54 + datasize;
    std::vector<uint8_t> out(filesize, 0);
    const auto put16 = [&](size_t at, uint32_t v) { out[at] = (uint8_t)v, out[at + 1] = (uint8_t)(v >> 8); };
    const auto put32 = [&](size_t at, uint32_t v) { put16(at, v & 0xFFFF), put16(at + 2, v >> 16); };
    out[0] = 'B', out[1] = 'M';
    put32(2, filesize);
    put32(10, 54);
    put32(14, 40);
    put32(18, (uint32_t)img.w);
    put32(22, (uint32_t)img.h);
    put16(26, 1);
    put16(28, 24);
    put32(34, datasize);
    put32(38, 2835), put32(42, 2835);
    for (int y = 0; y < img.h; y++) {
        uint8_t* row = &out[54 + (size_t)(img.h - 1 - y) * stride];
        for (int x = 0; x < img.w; x++) {
            const Rgba c = KeyColour(img.At(x, y));
            row[3 * x] = c.b, row[3 * x + 1] = c.g, row[3 * x + 2] = c.r;
        }
    }
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return true;
    const bool bad = fwrite(out.data(), 1, out.size(), f) != out.size();
    return fclose(f) != 0 || bad;
}
