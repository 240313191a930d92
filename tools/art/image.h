// Images in memory for the art generator: RGBA pixels, loading atlases, writing game bitmaps.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A colour with alpha; alpha 0 is nothing, 255 is opaque.
struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

Rgba Opaque(uint32_t rgb);                          // 0xRRGGBB as an opaque colour
Rgba Mix(Rgba a, Rgba b, double t);                 // a towards b by t (0..1), alpha too
Rgba Scale(Rgba c, double k);                       // colour times k, clamped; alpha kept

struct Image {
    int w = 0, h = 0;
    std::vector<Rgba> px;

    Image() = default;
    Image(int width, int height, Rgba fill = {});
    Rgba& At(int x, int y) { return px[(size_t)y * w + x]; }
    const Rgba& At(int x, int y) const { return px[(size_t)y * w + x]; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    Rgba Get(int x, int y) const { return Inside(x, y) ? At(x, y) : Rgba{}; }
    void Put(int x, int y, Rgba c) { if (Inside(x, y)) At(x, y) = c; }
    void Blend(int x, int y, Rgba c);               // c over the pixel, by c's alpha
};

Image Crop(const Image& src, int x, int y, int w, int h);
void Draw(Image& dst, const Image& src, int x, int y);              // src over dst at (x, y), by alpha
Image Flip(const Image& src);                                       // mirrored left to right
Image Resize(const Image& src, int w, int h);                       // nearest neighbour
Image Rotate(const Image& src, double degrees);                     // about the centre, same size
void Dither(Image& img, double keep);                               // keeps about keep (0..1) of the pixels, ordered
void Outline(Image& img, Rgba colour);                              // a one-pixel rim around the opaque shape

bool LoadPng(const std::string& path, Image& out);                  // true on failure
bool SavePng(const std::string& path, const Image& img);            // opaque RGB; true on failure
// The game's bitmap: 24-bit BMP, bottom-up; transparent pixels become black (the colour key) and
// opaque ones are kept clear of near-black, which the dimmed and grey copies would turn transparent.
bool SaveBmp(const std::string& path, const Image& img);
Rgba KeyColour(Rgba c);                                             // what SaveBmp stores for a pixel
