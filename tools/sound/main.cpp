// gorvsound: synthesises every sound of tavel.dll and writes the module's manifest.
//
//   gorvsound <sounds.txt> <output folder>
//
// sounds.txt: one entry a line; a line that starts with blanks continues the one before; # starts a comment.
//   define <Name> : <item> ; <item> ...      a reusable group of layers
//   <Name> : <item> ; <item> ...             the sound ".\Sound\<Name>.wav"
// An item is a layer ("tone ..." or "noise ...", keys in synth.cpp), "use <Name> [pitch=P] [at=T] [g=G]"
// (a defined group, transposed, delayed and scaled) or "level L" (the peak as a fraction of full scale,
// loudestPeak unless given, never above it). The output holds <Name>.wav for every sound and
// tavel.manifest, which lists them as WAVE resources under their game names. The same sources give the
// same bytes.
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tools/sound/synth.h"
#include "tools/words.h"

namespace {

struct Sound {
    std::vector<Layer> layers;
    double level = loudestPeak;
};

std::vector<std::string> Items(const std::string& s)
{
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= s.size()) {
        size_t end = s.find(';', start);
        if (end == std::string::npos)
            end = s.size();
        out.push_back(s.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

bool ParseItems(const std::string& text, const std::map<std::string, Sound>& defines, Sound& out, std::string& error)
{
    for (const std::string& item : Items(text)) {
        const std::vector<std::string> w = Words(item);
        if (w.empty())
            continue;
        if (w[0] == "level" && w.size() == 2) {
            out.level = atof(w[1].c_str());
            if (out.level <= 0 || out.level > loudestPeak) {
                error = "level must be in (0, " + std::to_string(loudestPeak) + "]";
                return true;
            }
        } else if (w[0] == "use" && w.size() >= 2) {
            const auto found = defines.find(w[1]);
            if (found == defines.end()) {
                error = "no group " + w[1];
                return true;
            }
            double pitch = 1, at = 0, gain = 1;
            for (size_t i = 2; i < w.size(); i++) {
                if (w[i].rfind("pitch=", 0) == 0) pitch = atof(w[i].c_str() + 6);
                else if (w[i].rfind("at=", 0) == 0) at = atof(w[i].c_str() + 3);
                else if (w[i].rfind("g=", 0) == 0) gain = atof(w[i].c_str() + 2);
                else {
                    error = "bad use option " + w[i];
                    return true;
                }
            }
            for (Layer l : found->second.layers) {
                l.freq *= pitch, l.to *= pitch, l.cutoff *= pitch, l.cutoffto *= pitch;
                l.at += at, l.gain *= gain;
                out.layers.push_back(l);
            }
        } else {
            Layer l;
            if (ParseLayer(w, l, error))
                return true;
            out.layers.push_back(l);
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: gorvsound <sounds.txt> <output folder>\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        fprintf(stderr, "gorvsound: cannot read %s\n", argv[1]);
        return 1;
    }
    // Join continuation lines, remembering where each entry began.
    std::vector<std::pair<int, std::string>> entries;
    std::string line;
    for (int number = 1; std::getline(in, line); number++) {
        const size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        if ((line[0] == ' ' || line[0] == '\t') && !entries.empty())
            entries.back().second += " " + line;
        else
            entries.push_back({number, line});
    }
    std::map<std::string, Sound> defines, sounds;
    for (const auto& [number, text] : entries) {
        const size_t colon = text.find(':');
        std::vector<std::string> head = Words(text.substr(0, colon == std::string::npos ? 0 : colon));
        const bool define = head.size() == 2 && head[0] == "define";
        std::string error;
        if (colon == std::string::npos || !(head.size() == 1 || define)) {
            error = "expected <Name> : items, or define <Name> : items";
        } else {
            const std::string name = head.back();
            std::map<std::string, Sound>& table = define ? defines : sounds;
            if (table.count(name))
                error = name + " given twice";
            else
                ParseItems(text.substr(colon + 1), defines, table[name], error);
        }
        if (!error.empty()) {
            fprintf(stderr, "gorvsound: %s:%d: %s\n", argv[1], number, error.c_str());
            return 1;
        }
    }
    const std::string dir = argv[2];
    std::string manifest = "# tavel.dll: the sound effects, written by gorvsound from content/sound/sounds.txt.\n";
    unsigned seed = 1;
    for (const auto& [name, sound] : sounds) {
        const std::vector<unsigned char> bytes = WaveFile(Finish(Render(sound.layers, seed++), sound.level));
        std::ofstream out(dir + "/" + name + ".wav", std::ios::binary);
        out.write((const char*)bytes.data(), (std::streamsize)bytes.size());
        if (!out) {
            fprintf(stderr, "gorvsound: cannot write %s/%s.wav\n", dir.c_str(), name.c_str());
            return 1;
        }
        manifest += "resource WAVE .\\Sound\\" + name + ".wav " + name + ".wav\n";
    }
    std::ofstream out(dir + "/tavel.manifest");
    out << manifest;
    return out ? 0 : 1;
}
