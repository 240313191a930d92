// Scores: the small text format our songs are written in, read into timed notes.
#pragma once
#include <map>
#include <string>
#include <vector>

constexpr int ticksPerQuarter = 480;

struct Note {
    int start, length;      // ticks
    int key, velocity;      // MIDI key 0..127, velocity 1..127
};

struct Part {
    std::string name;
    std::string style = "melody";   // melody (its own line), block, pad, arp, bass, walk, drums
    int program = 0, channel = 0, volume = 100, pan = 64, octave = 4, velocity = 90;
    std::vector<Note> notes;
};

struct Score {
    int numerator = 4, denominator = 4;
    std::vector<std::pair<int, int>> tempos;        // tick, microseconds per quarter
    std::vector<std::pair<int, std::string>> marks; // tick, section name
    std::vector<Part> parts;
    int end = 0;                                    // tick after the last note
    double gain = 0;                                // dB, 0 or less: every part's expression
};

// Reads a score file; true on failure, with "file:line: ..." printed.
bool ReadScore(const std::string& path, Score& out);
