#include "bench/results.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// A text with no tab or line end, so that it stays one field.
std::string Field(std::string text)
{
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

} // namespace

std::string ProgramName(const char* argv0)
{
    const std::string path = argv0 ? argv0 : "";
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool AppendResults(const char* path, const std::string& program, const std::vector<BenchResult>& results)
{
    std::ofstream out(path, std::ios::app);
    for (const BenchResult& r : results) {
        std::ostringstream seconds;
        seconds.precision(9);
        seconds << r.seconds;
        out << Field(program) << '\t' << Field(r.name) << '\t' << seconds.str() << '\t' << Field(r.error) << '\n';
    }
    out.flush();
    return !out;
}

bool ReadResults(const char* path, std::vector<BenchResult>* results)
{
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        BenchResult r;
        std::string seconds;
        if (!std::getline(fields, r.program, '\t') || !std::getline(fields, r.name, '\t') ||
            !std::getline(fields, seconds, '\t'))
            continue;
        std::getline(fields, r.error);
        r.seconds = std::strtod(seconds.c_str(), nullptr);
        results->push_back(r);
    }
    return true;
}
