// The sound synthesiser: layers of tones and noise, shaped by envelopes and filters, mixed to one buffer.
#pragma once
#include <map>
#include <string>
#include <vector>

constexpr int sampleRate = 22050;
constexpr double loudestPeak = 0.47;    // -6.6 dBFS: two sounds at once stay clear of full scale
constexpr double dcCutoff = 20;         // Hz: below it nothing is heard, only an offset

// One layer: a tone (a waveform with partials and a pitch sweep) or noise (white, pink or brown),
// started at a time, shaped by an attack and an exponential decay, and filtered. Repeats make rhythms
// (footsteps, hooves) with a little variation each time.
struct Layer {
    bool noise = false;
    std::string wave = "sine";          // sine, square, saw, triangle; for noise: white, pink, brown
    double freq = 440, to = 0;          // start and end frequency (0: no sweep)
    double at = 0, dur = 0.3, attack = 0.005, decay = 0, gain = 0.5;
    double vibrate = 0, vibdepth = 0;   // vibrato rate (Hz) and depth (fraction of the frequency)
    double tremolo = 0;                 // amplitude wobble rate (Hz)
    std::vector<std::pair<double, double>> partials{{1, 1}};   // frequency ratio, amplitude
    std::string filter;                 // "", low, high, band
    double cutoff = 1000, cutoffto = 0, q = 1;
    int repeat = 1;
    double gap = 0.2, jitter = 0;       // repeat spacing and random variation (fraction)
};

// Parses "kind key=value ..." into a layer; true on failure, with the reason.
bool ParseLayer(const std::vector<std::string>& words, Layer& out, std::string& error);
// Renders layers into samples in -1..1, seeded so that repeats vary the same way every build.
std::vector<double> Render(const std::vector<Layer>& layers, unsigned seed);
// Takes out any offset, scales to a peak of `peak` and fades the ends so that nothing clicks; returns
// 16-bit samples.
std::vector<short> Finish(std::vector<double> samples, double peak);
// A RIFF WAVE file of 16-bit mono PCM at sampleRate.
std::vector<unsigned char> WaveFile(const std::vector<short>& samples);
