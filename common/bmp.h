// Windows BMP pictures, as the data modules hold them: a 14-byte file header, a 40-byte info header
// without compression, 24 or 32 bits per pixel or 8 with a palette, rows padded to 4 bytes, bottom-up
// or top-down. Anything else, or data that does not hold what its headers say, is refused with a
// log line; nothing is read past the data.
#pragma once
#include <cstddef>
#include <cstdint>

struct Module;
struct SysSurface;

SysSurface* DecodeBmp(const uint8_t* data, size_t size, const char* name); // a new surface (key 0); null when refused
SysSurface* LoadBitmapResource(const Module* module, const char* name);    // the "BITMAP" resource of that name; null when missing or refused
