// The blank-separated words of a line, for the generators' text formats.
#pragma once
#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::string> Words(const std::string& s)
{
    std::istringstream in(s);
    std::vector<std::string> out;
    std::string w;
    while (in >> w)
        out.push_back(w);
    return out;
}
