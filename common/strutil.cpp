// String helpers. White space is what the C library calls space, in the "C" locale: blank, tab, line
// feed, vertical tab, form feed and carriage return.
#include "common/strutil.h"

static bool IsWhite(const char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string ToLowerString(const std::string& s)
{
    std::string out = s;
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
    }
    return out;
}

std::string TrimLeft(const std::string& s)
{
    size_t i = 0;
    while (i < s.size() && IsWhite(s[i]))
        i++;
    return s.substr(i);
}

std::string TrimRight(const std::string& s)
{
    size_t n = s.size();
    while (n > 0 && IsWhite(s[n - 1]))
        n--;
    return s.substr(0, n);
}

std::string Trim(const std::string& s)
{
    return TrimLeft(TrimRight(s));
}

std::string SplitToken(std::string& token, std::string& s)
{
    s = Trim(s);
    for (size_t i = 0; i < s.size(); i++) {
        if (IsWhite(s[i])) {
            token = s.substr(0, i);
            s = TrimLeft(s.substr(i));
            return token;
        }
    }
    token = s;
    s.clear();
    return token;
}

std::string IntToString(const int32_t value)
{
    return std::to_string(value);
}

bool ReadLine(std::istream& in, std::string& line, const size_t limit, bool* overlong)
{
    line.clear();
    *overlong = false;
    char c;
    if (!in.get(c))
        return false;
    while (c != '\n') {
        if (line.size() == limit) {
            *overlong = true;
            return false;
        }
        line.push_back(c);
        if (!in.get(c))
            break;
    }
    return true;
}
