// gorvmusic: renders a score (score.cpp describes the format) to a Standard MIDI File.
//
//   gorvmusic <score> <output.mid>
//
// The file is format 1 at 480 ticks a quarter: a first track with the time signature, the tempo of each
// section and a marker naming each section where it starts; then one track per part with its General
// MIDI program, volume, pan, a little reverb and the song's gain as expression, and its notes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/music/score.h"

namespace {

struct Event {
    int tick;
    int order;      // at one tick: meta first, then note offs, then controls, then note ons
    std::vector<uint8_t> bytes;
};

void VarLen(std::vector<uint8_t>& out, uint32_t v)
{
    uint8_t buf[5];
    int n = 0;
    buf[n++] = v & 0x7F;
    while (v >>= 7)
        buf[n++] = (uint8_t)(0x80 | (v & 0x7F));
    while (n)
        out.push_back(buf[--n]);
}

std::vector<uint8_t> Track(std::vector<Event> events, int end)
{
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });
    std::vector<uint8_t> body;
    int last = 0;
    for (const Event& e : events) {
        VarLen(body, (uint32_t)(e.tick - last));
        body.insert(body.end(), e.bytes.begin(), e.bytes.end());
        last = e.tick;
    }
    VarLen(body, (uint32_t)std::max(0, end - last));
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    std::vector<uint8_t> out = {'M', 'T', 'r', 'k'};
    for (int i = 3; i >= 0; i--)
        out.push_back((uint8_t)(body.size() >> (8 * i)));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Event Meta(int tick, uint8_t type, const std::vector<uint8_t>& data)
{
    Event e{tick, 0, {0xFF, type}};
    VarLen(e.bytes, (uint32_t)data.size());
    e.bytes.insert(e.bytes.end(), data.begin(), data.end());
    return e;
}

// The expression controller for a gain in decibels: General MIDI synthesisers attenuate by
// 40 log10(value / 127) dB.
uint8_t Expression(double gain)
{
    return (uint8_t)std::clamp((int)std::lround(127 * std::pow(10.0, gain / 40)), 1, 127);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: gorvmusic <score> <output.mid>\n");
        return 2;
    }
    Score score;
    if (ReadScore(argv[1], score))
        return 1;
    if (score.parts.empty() || score.end == 0) {
        fprintf(stderr, "gorvmusic: %s: the score plays nothing\n", argv[1]);
        return 1;
    }
    const int tail = ticksPerQuarter;    // let the last notes ring
    std::vector<Event> conductor;
    const uint8_t log2d = score.denominator == 8 ? 3 : 2;
    conductor.push_back(Meta(0, 0x58, {(uint8_t)score.numerator, log2d, 24, 8}));
    for (const auto& [tick, micros] : score.tempos)
        conductor.push_back(Meta(tick, 0x51, {(uint8_t)(micros >> 16), (uint8_t)(micros >> 8), (uint8_t)micros}));
    for (const auto& [tick, name] : score.marks)
        conductor.push_back(Meta(tick, 0x06, std::vector<uint8_t>(name.begin(), name.end())));
    std::vector<std::vector<uint8_t>> tracks = {Track(conductor, score.end + tail)};
    for (const Part& p : score.parts) {
        const uint8_t ch = (uint8_t)p.channel;
        std::vector<Event> events = {Meta(0, 0x03, std::vector<uint8_t>(p.name.begin(), p.name.end()))};
        if (ch != 9)
            events.push_back({0, 2, {(uint8_t)(0xC0 | ch), (uint8_t)p.program}});
        events.push_back({0, 2, {(uint8_t)(0xB0 | ch), 7, (uint8_t)std::clamp(p.volume, 0, 127)}});
        events.push_back({0, 2, {(uint8_t)(0xB0 | ch), 10, (uint8_t)std::clamp(p.pan, 0, 127)}});
        events.push_back({0, 2, {(uint8_t)(0xB0 | ch), 91, 40}});
        events.push_back({0, 2, {(uint8_t)(0xB0 | ch), 11, Expression(score.gain)}});
        for (const Note& n : p.notes) {
            if (n.key < 0 || n.key > 127) {
                fprintf(stderr, "gorvmusic: %s: part %s has a note out of the MIDI range\n", argv[1], p.name.c_str());
                return 1;
            }
            events.push_back({n.start, 3, {(uint8_t)(0x90 | ch), (uint8_t)n.key, (uint8_t)n.velocity}});
            events.push_back({n.start + n.length, 1, {(uint8_t)(0x80 | ch), (uint8_t)n.key, 0}});
        }
        tracks.push_back(Track(events, score.end + tail));
    }
    std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    file.push_back((uint8_t)(tracks.size() >> 8));
    file.push_back((uint8_t)tracks.size());
    file.push_back(ticksPerQuarter >> 8);
    file.push_back(ticksPerQuarter & 0xFF);
    for (const auto& t : tracks)
        file.insert(file.end(), t.begin(), t.end());
    std::ofstream out(argv[2], std::ios::binary);
    out.write((const char*)file.data(), (std::streamsize)file.size());
    if (!out) {
        fprintf(stderr, "gorvmusic: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
