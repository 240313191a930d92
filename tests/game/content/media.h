// The shipped media as the checks read them: the bitmaps of the image modules, the WAVE resources of
// the sound module and the songs of Music/, each parsed strictly to the format the game relies on.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Module;

const Module* ShippedModule(const char* file);      // a module of the game directory, opened once; null when missing

// A 24-bit bottom-up BMP (14-byte file header, 40-byte BITMAPINFOHEADER, BI_RGB, rows padded to 4 bytes).
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;                   // 0xRRGGBB, top row first
    uint32_t At(int x, int y) const { return pixels[(size_t)y * width + x]; }
};
// Reads bitmap resource `name` of a module; an empty string when it is fine, else what is wrong.
std::string ReadPicture(const char* module, const char* name, Picture& out);
// A pixel the dimmed or the grey copy would turn into the colour key although it is not black itself.
bool NearBlack(uint32_t rgb);
// Whether cell n (40 x 40 at a 41-pixel pitch, 16 columns) holds any non-black pixel.
bool CellDrawn(const Picture& sheet, int cell);

// A WAVE resource of PCM samples.
struct Sound {
    int channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;                   // interleaved
};
std::string ReadSound(const char* name, Sound& out);   // from tavel.dll; "" when fine

// A Standard MIDI file reduced to what its checks need.
struct Song {
    double seconds = 0;                             // to the end of its last track
    std::vector<std::pair<std::string, double>> marks;  // marker texts and their times, in seconds
    int notes = 0;
    std::vector<int> channels;                      // the channels that play notes
    std::vector<int> programs;                      // the General MIDI programs it selects
};
std::string ReadSong(const std::string& path, Song& out);   // "" when fine
