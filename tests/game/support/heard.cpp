#include "tests/game/support/heard.h"

#include "game/model/announce.h"

std::vector<std::string> heard;

namespace {

std::string Num(int32_t n)
{
    return std::to_string(n);
}

void Hear(const std::string& kind, const std::string& what)
{
    heard.push_back(what.empty() ? kind : kind + " " + what);
}

const Announcer recorder = {
    [](int32_t player, const std::string& text, uint32_t, int32_t) { Hear("feed", Num(player) + " " + text); },
    [](const std::string& name) { Hear("sound", name); },
    [](int32_t a, int32_t b, int32_t kind, int32_t first, uint8_t reverse, uint8_t clipped) {
        Hear("effect", Num(a) + " " + Num(b) + " " + Num(kind) + " " + Num(first) + " " + Num(reverse) + " "
                           + Num(clipped));
    },
    [](int32_t player, int32_t unit, int32_t number) {
        Hear("damage", Num(player) + " " + Num(unit) + " " + Num(number));
    },
    [](uint32_t ms) { Hear("pause", std::to_string(ms)); },
    [](int32_t player, int32_t unit) { Hear("picture", Num(player) + " " + Num(unit)); },
    [] { Hear("pictures", ""); },
    [](int32_t id) { Hear("unitgone", Num(id)); },
    [](int32_t viewer) { Hear("minimap", Num(viewer)); },
    [] { Hear("board", ""); },
    [](int32_t x, int32_t y) { Hear("centre", Num(x) + " " + Num(y)); },
    [](int32_t x, int32_t y) { Hear("follow", Num(x) + " " + Num(y)); },
    [] { Hear("commanddone", ""); },
    [] { Hear("yourturn", ""); },
    [](const std::string& title, const std::string& text, int32_t next) {
        Hear("error", title + " | " + text + " | " + Num(next));
    },
    [] { Hear("gameleft", ""); },
};

} // namespace

void HearRules()
{
    heard.clear();
    ListenToRules(&recorder);
}

void ClearHeard()
{
    heard.clear();
}

std::vector<std::string> HeardOf(const std::string& kind)
{
    std::vector<std::string> lines;
    const std::string prefix = kind + " ";
    for (const std::string& line : heard)
        if (line == kind)
            lines.push_back("");
        else if (line.compare(0, prefix.size(), prefix) == 0)
            lines.push_back(line.substr(prefix.size()));
    return lines;
}

std::vector<std::string> HeardSounds()
{
    return HeardOf("sound");
}

std::vector<std::string> HeardFeed(int32_t player)
{
    std::vector<std::string> lines;
    const std::string prefix = Num(player) + " ";
    for (const std::string& line : HeardOf("feed"))
        if (line.compare(0, prefix.size(), prefix) == 0)
            lines.push_back(line.substr(prefix.size()));
    return lines;
}

HeardError LastHeardError()
{
    const std::vector<std::string> errors = HeardOf("error");
    if (errors.empty())
        return { "", "", -1 };
    const std::string& line = errors.back();
    const size_t first = line.find(" | "), last = line.rfind(" | ");
    return { line.substr(0, first), line.substr(first + 3, last - first - 3), std::stoi(line.substr(last + 3)) };
}
