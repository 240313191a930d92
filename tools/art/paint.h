// Painting for the generated art: noise, shapes, bevels and lettering, all deterministic.
#pragma once
#include <string>

#include "tools/art/image.h"

uint32_t Hash(int x, int y, int seed);                      // a well-mixed 32-bit value
double Noise(double x, double y, int seed);                 // smooth value noise in 0..1
double Fbm(double x, double y, int octaves, int seed);      // summed octaves of Noise, 0..1

// Textures over a whole rectangle (dst x, y, w, h): base colour varied by noise of the given scale and
// strength (0..1), like stone, wood grain or parchment.
void Stone(Image& img, int x, int y, int w, int h, Rgba base, double strength, int seed);
void Wood(Image& img, int x, int y, int w, int h, Rgba base, int seed);
void Parchment(Image& img, int x, int y, int w, int h, int seed);

void Fill(Image& img, int x, int y, int w, int h, Rgba c);
void Shade(Image& img, int x, int y, int w, int h, double top, double bottom);   // multiplies by a vertical ramp
// A raised (depth > 0) or sunken (depth < 0) rim of |depth| pixels: light at top-left, dark at bottom-right.
void Bevel(Image& img, int x, int y, int w, int h, int depth, double strength);
void Frame(Image& img, int x, int y, int w, int h, Rgba c);                      // one-pixel rectangle
void Vignette(Image& img, double strength);                                      // darker towards the edges
// Carved blocks of a wall over the whole image: dark mortar, a lit edge below and right of it, every
// other course set over by half a block.
void Masonry(Image& img, int blockw, int blockh);
void Disc(Image& img, double cx, double cy, double r, Rgba c);                   // filled, soft edge
void Ring(Image& img, double cx, double cy, double r, double width, Rgba c);
void Line(Image& img, double x0, double y0, double x1, double y1, double width, Rgba c);
void Polygon(Image& img, const double* xy, int points, Rgba c);                 // even-odd fill

// Lettering with FreeType: the coverage of text at a pixel size as an alpha mask (white).
int OpenFont(const std::string& path);                      // a font number, -1 on failure
Image TextMask(int font, const std::string& text, int size);
// Paints a mask at (x, y) with a vertical gradient, a dark outline and a drop shadow.
void Letter(Image& img, const Image& mask, int x, int y, Rgba top, Rgba bottom, Rgba outline);
// Plain text: centred on (cx, cy) when centre is set, else from the top-left (x, y).
void Text(Image& img, int font, const std::string& text, int size, int x, int y, Rgba c, bool centre);
