// The pieces of a fuzz input's text.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

// The pieces between the separators, in order: one more than there are separators.
inline std::vector<std::string> SplitText(const std::string& text, const std::string& separator)
{
    std::vector<std::string> pieces;
    for (size_t at = 0; at <= text.size();) {
        const size_t end = std::min(text.find(separator, at), text.size());
        pieces.push_back(text.substr(at, end - at));
        at = end + separator.size();
    }
    return pieces;
}

// The first count pieces between lines "--", the missing ones empty.
inline std::vector<std::string> InputParts(const std::string& text, size_t count)
{
    std::vector<std::string> parts = SplitText(text, "\n--\n");
    parts.resize(count);
    return parts;
}
