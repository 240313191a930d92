// Score files.
//
//   time <n>/<d>                         time signature (once, first)
//   gain <dB>                            the whole song made quieter (0 or less), leaving its balance
//   part <name> style=<style> program=<GM 0-127> channel=<0-15> [volume=] [pan=] [octave=] [velocity=]
//   section <name> tempo=<bpm> | us=<microseconds per quarter> [velocity=<percent>]
//     <part>: <notes>                    a melody part's notes in this section
//     chords: <chords>                   the harmony that block, pad, arp, bass and walk parts follow
//     drums: <hits>                      for a drums part
//   play <section> <section> ...         the order of the song
// Notes: <letter>[#|b]<octave>/<length>, lengths 1 2 4 8 16 (3 6 12 for triplets), a dot adds half;
// r/<length> rests; "-" after a note ties it into the next note of the same key; "|" marks bars, which
// are checked to add up. An indented line without a name continues the line before it. Chords: <root>[#|b][m|7|m7|maj7|sus4|dim|5]/<length>. Drum hits:
// k (bass drum), s (snare), h (closed hat), t (tambourine), c (cymbal), g (low tom) or r, with /<length>.
#include "tools/music/score.h"
#include "tools/words.h"

#include <cctype>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

struct Section {
    int micros = 500000, velocity = 100;
    std::map<std::string, std::string> lines;   // part or "chords" -> text
};

// "/4", "/8." ... as ticks; -1 when bad.
int Length(const std::string& s)
{
    if (s.empty())
        return -1;
    const bool dotted = s.back() == '.';
    const int d = atoi(s.c_str());
    int ticks;
    switch (d) {
    case 1: ticks = 4 * ticksPerQuarter; break;
    case 2: ticks = 2 * ticksPerQuarter; break;
    case 3: ticks = 4 * ticksPerQuarter / 3; break;
    case 4: ticks = ticksPerQuarter; break;
    case 6: ticks = 2 * ticksPerQuarter / 3; break;
    case 8: ticks = ticksPerQuarter / 2; break;
    case 12: ticks = ticksPerQuarter / 3; break;
    case 16: ticks = ticksPerQuarter / 4; break;
    default: return -1;
    }
    return dotted ? ticks * 3 / 2 : ticks;
}

int Pitch(char letter)
{
    static const int semis[7] = {9, 11, 0, 2, 4, 5, 7};     // a b c d e f g
    return semis[tolower(letter) - 'a'];
}

struct Chord {
    int root;                   // 0..11
    std::vector<int> tones;     // intervals above the root
};

bool ParseChord(const std::string& s, Chord& c, int& length)
{
    const size_t slash = s.find('/');
    if (slash == std::string::npos || s.empty() || tolower(s[0]) < 'a' || tolower(s[0]) > 'g')
        return true;
    c.root = Pitch(s[0]);
    size_t i = 1;
    if (i < slash && (s[i] == '#' || s[i] == 'b'))
        c.root = (c.root + (s[i++] == '#' ? 1 : 11)) % 12;
    const std::string q = s.substr(i, slash - i);
    if (q.empty()) c.tones = {0, 4, 7};
    else if (q == "m") c.tones = {0, 3, 7};
    else if (q == "7") c.tones = {0, 4, 7, 10};
    else if (q == "m7") c.tones = {0, 3, 7, 10};
    else if (q == "maj7") c.tones = {0, 4, 7, 11};
    else if (q == "sus4") c.tones = {0, 5, 7};
    else if (q == "dim") c.tones = {0, 3, 6};
    else if (q == "5") c.tones = {0, 7};
    else return true;
    length = Length(s.substr(slash + 1));
    return length < 0;
}

struct Reader {
    std::string path;
    int line = 0;
    bool Fail(const std::string& message) const
    {
        fprintf(stderr, "gorvmusic: %s:%d: %s\n", path.c_str(), line, message.c_str());
        return true;
    }
};

// Melody notes of one section line, appended from tick `at`; checks bars against `bar` ticks.
bool Melody(const Reader& r, const std::string& text, int at, int bar, int velocity, Part& part, int& end)
{
    int barstart = at, tied = -1;
    for (const std::string& w : Words(text)) {
        if (w == "|") {
            if (at - barstart != bar)
                return r.Fail("a bar of " + part.name + " lasts " + std::to_string(at - barstart) + " ticks, not " +
                              std::to_string(bar));
            barstart = at;
            continue;
        }
        const size_t slash = w.find('/');
        const bool tie = !w.empty() && w.back() == '-';
        const int len = slash == std::string::npos ? -1 : Length(w.substr(slash + 1, w.size() - slash - 1 - tie));
        if (len < 0)
            return r.Fail("bad note " + w);
        if (w[0] != 'r') {
            if (tolower(w[0]) < 'a' || tolower(w[0]) > 'g')
                return r.Fail("bad note " + w);
            int key = Pitch(w[0]);
            size_t i = 1;
            if (w[i] == '#' || (w[i] == 'b' && isdigit((unsigned char)w[i + 1])))
                key += w[i++] == '#' ? 1 : -1;
            if (!isdigit((unsigned char)w[i]))
                return r.Fail("bad note " + w);
            key += 12 * (w[i] - '0' + 1);
            if (tied >= 0 && part.notes[tied].key == key && part.notes[tied].start + part.notes[tied].length == at)
                part.notes[tied].length += len;
            else
                part.notes.push_back({at, len, key, velocity});
            tied = tie ? (int)part.notes.size() - 1 : -1;
        }
        at += len;
    }
    if (at != barstart && at - barstart != bar)
        return r.Fail("the last bar of " + part.name + " is incomplete");
    end = std::max(end, at);
    return false;
}

// A chord-following part's notes for one section.
bool Accompany(const Reader& r, const std::string& chords, int at, int beat, int velocity, Part& part, int& end)
{
    for (const std::string& w : Words(chords)) {
        if (w == "|")
            continue;
        Chord c;
        int len;
        if (ParseChord(w, c, len))
            return r.Fail("bad chord " + w);
        const int base = 12 * (part.octave + 1) + c.root;
        const auto add = [&](int start, int length, int key, int vel) {
            part.notes.push_back({at + start, length, key, std::clamp(vel, 1, 127)});
        };
        if (part.style == "block" || part.style == "pad") {
            for (const int t : c.tones)
                add(0, len - (part.style == "block" ? beat / 8 : 0), base + t, velocity);
        } else if (part.style == "arp") {
            // Up and down the chord in eighths, an octave of span.
            std::vector<int> keys;
            for (const int t : c.tones)
                keys.push_back(base + t);
            keys.push_back(base + 12);
            const int step = beat / 2;
            for (int k = 0, s = 0; s < len; k++, s += step) {
                const int n = (int)keys.size(), cycle = 2 * n - 2;
                const int i = k % cycle < n ? k % cycle : cycle - k % cycle;
                add(s, std::min(step, len - s), keys[i], velocity - (k % 2) * 12);
            }
        } else if (part.style == "bass") {
            // Root on the first beat, the fifth halfway through longer chords.
            if (len >= 2 * beat) {
                add(0, len / 2, base, velocity);
                add(len / 2, len / 2, base + 7 - (c.tones.back() == 6 ? 1 : 0), velocity - 10);
            } else {
                add(0, len, base, velocity);
            }
        } else if (part.style == "walk") {
            static const int steps[4] = {0, 7, 12, 7};
            for (int s = 0, k = 0; s < len; s += beat, k++)
                add(s, std::min(beat, len - s), base + steps[k % 4], velocity - (k % 2) * 10);
        } else {
            return r.Fail("part " + part.name + " has no chords to follow");
        }
        at += len;
    }
    end = std::max(end, at);
    return false;
}

bool Drums(const Reader& r, const std::string& text, int at, int velocity, Part& part, int& end)
{
    static const std::map<char, int> kit = {{'k', 36}, {'s', 38}, {'h', 42}, {'t', 54}, {'c', 49}, {'g', 45}};
    for (const std::string& w : Words(text)) {
        if (w == "|")
            continue;
        const size_t slash = w.find('/');
        const int len = slash == std::string::npos ? -1 : Length(w.substr(slash + 1));
        if (len < 0 || slash == 0)
            return r.Fail("bad drum hit " + w);
        for (size_t i = 0; i < slash; i++) {
            if (w[i] == 'r')
                continue;
            const auto found = kit.find(w[i]);
            if (found == kit.end())
                return r.Fail("bad drum " + w);
            part.notes.push_back({at, len, found->second, velocity});
        }
        at += len;
    }
    end = std::max(end, at);
    return false;
}

} // namespace

bool ReadScore(const std::string& path, Score& out)
{
    Reader r{path};
    std::ifstream in(path);
    if (!in)
        return r.Fail("cannot read");
    std::map<std::string, Section> sections;
    Section* current = nullptr;
    std::vector<std::string> order;
    std::string text, lastkey;
    while (std::getline(in, text)) {
        r.line++;
        // A comment starts at a '#' after a blank; a sharp follows its letter.
        for (size_t i = 0; i < text.size(); i++)
            if (text[i] == '#' && (i == 0 || text[i - 1] == ' ' || text[i - 1] == '\t')) {
                text.erase(i);
                break;
            }
        const std::vector<std::string> w = Words(text);
        if (w.empty())
            continue;
        if (w[0] == "time" && w.size() == 2) {
            if (sscanf(w[1].c_str(), "%d/%d", &out.numerator, &out.denominator) != 2 || out.numerator < 1 ||
                (out.denominator != 4 && out.denominator != 8))
                return r.Fail("bad time signature");
        } else if (w[0] == "gain" && w.size() == 2) {
            char* end;
            out.gain = strtod(w[1].c_str(), &end);
            if (*end || out.gain > 0 || out.gain < -40)
                return r.Fail("gain must be in [-40, 0] dB");
        } else if (w[0] == "part" && w.size() >= 2) {
            Part p;
            p.name = w[1];
            for (size_t i = 2; i < w.size(); i++) {
                const size_t eq = w[i].find('=');
                const std::string key = w[i].substr(0, eq), value = eq == std::string::npos ? "" : w[i].substr(eq + 1);
                if (key == "style") p.style = value;
                else if (key == "program") p.program = atoi(value.c_str());
                else if (key == "channel") p.channel = atoi(value.c_str());
                else if (key == "volume") p.volume = atoi(value.c_str());
                else if (key == "pan") p.pan = atoi(value.c_str());
                else if (key == "octave") p.octave = atoi(value.c_str());
                else if (key == "velocity") p.velocity = atoi(value.c_str());
                else return r.Fail("bad part option " + w[i]);
            }
            if (p.program < 0 || p.program > 127 || p.channel < 0 || p.channel > 15)
                return r.Fail("bad program or channel");
            out.parts.push_back(p);
        } else if (w[0] == "section" && w.size() >= 2) {
            current = &sections[w[1]];
            lastkey.clear();
            for (size_t i = 2; i < w.size(); i++) {
                if (w[i].rfind("tempo=", 0) == 0) current->micros = (int)std::lround(60e6 / atof(w[i].c_str() + 6));
                else if (w[i].rfind("us=", 0) == 0) current->micros = atoi(w[i].c_str() + 3);
                else if (w[i].rfind("velocity=", 0) == 0) current->velocity = atoi(w[i].c_str() + 9);
                else return r.Fail("bad section option " + w[i]);
            }
            if (current->micros < 200000 || current->micros > 2000000)
                return r.Fail("tempo out of range");
        } else if (w[0] == "play") {
            order.insert(order.end(), w.begin() + 1, w.end());
        } else if (current && w[0].back() == ':') {
            lastkey = w[0].substr(0, w[0].size() - 1);
            current->lines[lastkey] += " " + text.substr(text.find(':') + 1);
        } else if (current && !lastkey.empty() && (text[0] == ' ' || text[0] == '\t')) {
            current->lines[lastkey] += " " + text;
        } else {
            return r.Fail("unknown line");
        }
    }
    const int beat = ticksPerQuarter * 4 / out.denominator, bar = beat * out.numerator;
    int at = 0;
    for (const std::string& name : order) {
        const auto found = sections.find(name);
        if (found == sections.end())
            return r.Fail("no section " + name);
        const Section& s = found->second;
        out.tempos.push_back({at, s.micros});
        out.marks.push_back({at, name});
        int end = at;
        for (Part& p : out.parts) {
            const int vel = std::clamp(p.velocity * s.velocity / 100, 1, 127);
            const auto line = s.lines.find(p.style == "drums" ? "drums" : p.name);
            const auto chords = s.lines.find("chords");
            bool bad = false;
            if (p.style == "melody" || p.style == "drums") {
                if (line != s.lines.end())
                    bad = p.style == "drums" ? Drums(r, line->second, at, vel, p, end)
                                             : Melody(r, line->second, at, bar, vel, p, end);
            } else if (chords != s.lines.end()) {
                bad = Accompany(r, chords->second, at, beat, vel, p, end);
            }
            if (bad)
                return true;
        }
        at = end;
    }
    out.end = at;
    return false;
}
