// A small PNG writer for presented frames (test dumps); no compression, so no library.
#pragma once
#include <cstdint>
#include <vector>

std::vector<uint8_t> EncodePng(const uint32_t* pixels, int width, int height);   // XRGB pixels as an 8-bit RGB PNG file image
bool WritePng(const char* path, const uint32_t* pixels, int width, int height);  // writes that file; true on failure
