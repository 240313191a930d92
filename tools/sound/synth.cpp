// The sound synthesiser.
#include "tools/sound/synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// A small deterministic generator, so that the same sources give the same bytes.
struct Random {
    uint32_t state;
    double Next()   // -1..1
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / 8388608.0 - 1;
    }
};

double Wave(const std::string& wave, double phase)
{
    phase -= std::floor(phase);
    if (wave == "square")
        return phase < 0.5 ? 0.8 : -0.8;
    if (wave == "saw")
        return 2 * phase - 1;
    if (wave == "triangle")
        return 4 * std::fabs(phase - 0.5) - 1;
    return std::sin(2 * M_PI * phase);
}

// A biquad (low, high or band pass) whose cutoff may move from sample to sample.
struct Biquad {
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double Run(const std::string& kind, double in, double cutoff, double q)
    {
        cutoff = std::clamp(cutoff, 20.0, sampleRate * 0.45);
        const double w = 2 * M_PI * cutoff / sampleRate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
        double b0, b1, b2;
        if (kind == "low")
            b0 = (1 - c) / 2, b1 = 1 - c, b2 = (1 - c) / 2;
        else if (kind == "high")
            b0 = (1 + c) / 2, b1 = -(1 + c), b2 = (1 + c) / 2;
        else
            b0 = alpha, b1 = 0, b2 = -alpha;
        const double a0 = 1 + alpha, a1 = -2 * c, a2 = 1 - alpha;
        const double out = (b0 * in + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2) / a0;
        x2 = x1, x1 = in, y2 = y1, y1 = out;
        return out;
    }
};

void RenderOnce(const Layer& l, double start, double pitch, double gain, Random& rnd, std::vector<double>& out)
{
    const int first = (int)(start * sampleRate), count = (int)(l.dur * sampleRate);
    if ((size_t)(first + count) > out.size())
        out.resize(first + count + 1, 0);
    double phase[16] = {};
    double pink[3] = {}, brown = 0;
    Biquad filter;
    for (int i = 0; i < count; i++) {
        const double t = (double)i / sampleRate, k = (double)i / std::max(count - 1, 1);
        double v;
        if (l.noise) {
            const double white = rnd.Next();
            if (l.wave == "pink") {
                pink[0] = 0.99765 * pink[0] + white * 0.0990460;
                pink[1] = 0.96300 * pink[1] + white * 0.2965164;
                pink[2] = 0.57000 * pink[2] + white * 1.0526913;
                v = (pink[0] + pink[1] + pink[2] + white * 0.1848) * 0.25;
            } else if (l.wave == "brown") {
                brown = std::clamp(brown + white * 0.06, -1.0, 1.0) * 0.998;
                v = brown * 2;
            } else {
                v = white;
            }
        } else {
            // An exponential sweep sounds even to the ear.
            double f = l.to > 0 ? l.freq * std::pow(l.to / l.freq, k) : l.freq;
            f *= pitch * (1 + l.vibdepth * std::sin(2 * M_PI * l.vibrate * t));
            v = 0;
            double total = 0;
            for (size_t p = 0; p < l.partials.size() && p < 16; p++) {
                phase[p] += f * l.partials[p].first / sampleRate;
                // Higher partials of a bell die sooner.
                const double fade = l.decay > 0 ? std::exp(-t * (l.partials[p].first - 1) / (l.decay * 3)) : 1;
                v += Wave(l.wave, phase[p]) * l.partials[p].second * fade;
                total += l.partials[p].second;
            }
            v /= std::max(total, 1e-9);
        }
        if (!l.filter.empty()) {
            const double cutoff = (l.cutoffto > 0 ? l.cutoff * std::pow(l.cutoffto / l.cutoff, k) : l.cutoff) * pitch;
            v = filter.Run(l.filter, v, cutoff, l.q);
        }
        double env = l.attack > 0 ? std::min(1.0, t / l.attack) : 1;
        if (l.decay > 0 && t > l.attack)
            env *= std::exp(-(t - l.attack) / l.decay);
        env *= std::min(1.0, (l.dur - t) / 0.01);       // a short release, never a cut
        if (l.tremolo > 0)
            env *= 0.6 + 0.4 * std::sin(2 * M_PI * l.tremolo * t);
        out[first + i] += v * env * l.gain * gain;
    }
}

double Number(const std::string& s, bool& bad)
{
    char* end;
    const double v = strtod(s.c_str(), &end);
    bad = bad || s.empty() || *end;
    return v;
}

} // namespace

bool ParseLayer(const std::vector<std::string>& words, Layer& l, std::string& error)
{
    if (words.empty() || (words[0] != "tone" && words[0] != "noise")) {
        error = "a layer starts with tone or noise";
        return true;
    }
    l = Layer{};
    l.noise = words[0] == "noise";
    l.wave = l.noise ? "white" : "sine";
    bool bad = false;
    for (size_t i = 1; i < words.size(); i++) {
        const size_t eq = words[i].find('=');
        if (eq == std::string::npos) {
            error = "expected key=value: " + words[i];
            return true;
        }
        const std::string key = words[i].substr(0, eq), value = words[i].substr(eq + 1);
        if (key == "f") l.freq = Number(value, bad);
        else if (key == "to") l.to = Number(value, bad);
        else if (key == "wave" || key == "c") l.wave = value;
        else if (key == "at") l.at = Number(value, bad);
        else if (key == "dur") l.dur = Number(value, bad);
        else if (key == "a") l.attack = Number(value, bad);
        else if (key == "d") l.decay = Number(value, bad);
        else if (key == "g") l.gain = Number(value, bad);
        else if (key == "trem") l.tremolo = Number(value, bad);
        else if (key == "q") l.q = Number(value, bad);
        else if (key == "n") l.repeat = (int)Number(value, bad);
        else if (key == "gap") l.gap = Number(value, bad);
        else if (key == "jit") l.jitter = Number(value, bad);
        else if (key == "vib") {
            const size_t slash = value.find('/');
            l.vibrate = Number(value.substr(0, slash), bad);
            l.vibdepth = slash == std::string::npos ? 0.02 : Number(value.substr(slash + 1), bad);
        } else if (key == "lp" || key == "hp" || key == "bp") {
            l.filter = key == "lp" ? "low" : key == "hp" ? "high" : "band";
            const size_t arrow = value.find('>');
            l.cutoff = Number(value.substr(0, arrow), bad);
            if (arrow != std::string::npos)
                l.cutoffto = Number(value.substr(arrow + 1), bad);
        } else if (key == "harm") {
            // ratio:amplitude,ratio:amplitude...
            l.partials.clear();
            size_t start = 0;
            while (start <= value.size()) {
                size_t comma = value.find(',', start);
                if (comma == std::string::npos)
                    comma = value.size();
                const std::string part = value.substr(start, comma - start);
                const size_t colon = part.find(':');
                l.partials.push_back({Number(part.substr(0, colon), bad),
                                      colon == std::string::npos ? 1.0 : Number(part.substr(colon + 1), bad)});
                start = comma + 1;
            }
        } else {
            error = "unknown key " + key;
            return true;
        }
    }
    if (bad || l.dur <= 0 || l.dur > 10 || l.repeat < 1 || l.repeat > 64 || l.freq <= 0) {
        error = "bad value in layer";
        return true;
    }
    return false;
}

std::vector<double> Render(const std::vector<Layer>& layers, const unsigned seed)
{
    std::vector<double> out;
    Random rnd{seed * 2654435761u + 1};
    for (const Layer& l : layers)
        for (int r = 0; r < l.repeat; r++) {
            const double pitch = 1 + l.jitter * rnd.Next() * 0.5;
            const double gain = 1 - l.jitter * std::fabs(rnd.Next()) * 0.5;
            const double start = std::max(0.0, l.at + r * l.gap * (1 + l.jitter * rnd.Next() * 0.3));
            RenderOnce(l, start, pitch, gain, rnd, out);
        }
    return out;
}

std::vector<short> Finish(std::vector<double> samples, const double peak)
{
    samples.resize(samples.size() + sampleRate / 20, 0);     // a little silence to end on
    // Noise and low sweeps leave a slow drift: a DC blocker takes out what no speaker plays, and its
    // ringing has died away within the silence at the end, so the sound's mean is nought.
    const double keep = 1 - 2 * M_PI * dcCutoff / sampleRate;
    double lastin = 0, lastout = 0;
    for (double& v : samples) {
        const double in = v;
        v = in - lastin + keep * lastout;
        lastin = in, lastout = v;
    }
    double high = 0;
    for (const double v : samples)
        high = std::max(high, std::fabs(v));
    const double scale = high > 0 ? peak / high : 0;
    std::vector<short> out(samples.size());
    const size_t fade = sampleRate / 200;
    for (size_t i = 0; i < samples.size(); i++) {
        double v = samples[i] * scale;
        if (i < fade)
            v *= (double)i / fade;
        if (samples.size() - 1 - i < fade)
            v *= (double)(samples.size() - 1 - i) / fade;
        out[i] = (short)std::lround(std::clamp(v, -1.0, 1.0) * 32767);
    }
    return out;
}

std::vector<unsigned char> WaveFile(const std::vector<short>& samples)
{
    std::vector<unsigned char> f;
    const auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; i++) f.push_back((unsigned char)(v >> (8 * i))); };
    const auto u16 = [&](uint32_t v) { f.push_back((unsigned char)v), f.push_back((unsigned char)(v >> 8)); };
    const uint32_t data = (uint32_t)samples.size() * 2;
    f.insert(f.end(), {'R', 'I', 'F', 'F'});
    u32(36 + data);
    f.insert(f.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    u32(16), u16(1), u16(1), u32(sampleRate), u32(sampleRate * 2), u16(2), u16(16);
    f.insert(f.end(), {'d', 'a', 't', 'a'});
    u32(data);
    for (const short s : samples)
        u16((uint16_t)s);
    return f;
}
