// benchtable: the one table `make bench` prints, from the results file every benchmark program wrote
// and the goals (bench/goals.txt): each benchmark's figure (a time, or megabytes or per cent where its
// goal says so), its ratio to the frame copy of its own program, its goal and whether it was met.
// Exits 1 when a benchmark reported an error or missed its goal, a goal's benchmark did not run, or none
// ran.
// Usage: benchtable <results> <goals>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/results.h"

namespace {

struct Goal {
    std::string name;
    std::string text;           // as written: "<= 150 ms"
    double limit;               // seconds, megabytes, per cent, or a multiple of the yardstick
    bool ratio;                 // the limit is a multiple of the yardstick
    std::string yardstick;      // of a ratio: a benchmark of the same program (FrameCopy unless named)
    std::string unit;           // of a figure that is not a time: "MB" or "%"; "" for a time
};

// "<= 150 ms", "<= 2x", "<= 1.3x BareSdlFirstFrame", "<= 150 MB", "<= 10 %"; false when the text is none.
bool ParseLimit(const std::string& text, Goal* goal)
{
    if (text.compare(0, 2, "<=") != 0)
        return false;
    const char* const number = text.c_str() + 2;
    char* end = nullptr;
    const double value = strtod(number, &end);
    if (end == number || !(value > 0))
        return false;
    std::istringstream rest(end);
    std::string unit, extra;
    rest >> unit;
    static const std::map<std::string, double> units = {{"x", 1},     {"s", 1},  {"ms", 1e-3}, {"us", 1e-6},
                                                         {"ns", 1e-9}, {"MB", 1}, {"%", 1}};
    const auto found = units.find(unit);
    if (found == units.end())
        return false;
    goal->ratio = found->first == "x";
    goal->yardstick = "FrameCopy";
    if (goal->ratio && rest >> goal->yardstick && goal->yardstick.empty())
        return false;
    if (rest >> extra)
        return false;
    goal->limit = value * found->second;
    goal->unit = found->first == "MB" || found->first == "%" ? found->first : "";
    return true;
}

bool ReadGoals(const char* path, std::vector<Goal>* goals)
{
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    for (int number = 1; std::getline(in, line); number++) {
        std::istringstream fields(line);
        Goal goal;
        if (!(fields >> goal.name) || goal.name[0] == '#')
            continue;
        std::getline(fields >> std::ws, goal.text);
        while (!goal.text.empty() && isspace((unsigned char)goal.text.back()))
            goal.text.pop_back();
        if (!ParseLimit(goal.text, &goal)) {
            fprintf(stderr, "%s:%d: not a goal: %s\n", path, number, line.c_str());
            return false;
        }
        goals->push_back(goal);
    }
    return true;
}

// The goal of a benchmark: its own name's, or its name's without the arguments.
const Goal* FindGoal(const std::vector<Goal>& goals, const std::string& name)
{
    const std::string bare = name.substr(0, name.find('/'));
    for (const Goal& g : goals)
        if (g.name == name || g.name == bare)
            return &g;
    return nullptr;
}

std::string Time(double seconds)
{
    static const struct {
        double scale;
        const char* unit;
    } units[] = {{1, "s"}, {1e-3, "ms"}, {1e-6, "us"}, {1e-9, "ns"}};
    for (const auto& u : units) {
        if (seconds >= u.scale || u.scale == 1e-9) {
            char text[32];
            snprintf(text, sizeof text, "%.3g %s", seconds / u.scale, u.unit);
            return text;
        }
    }
    return "";
}

// The median of the named benchmark in the program's results; 0 when it did not run.
double Yardstick(const std::vector<BenchResult>& results, const std::string& program, const std::string& name)
{
    for (const BenchResult& r : results)
        if (r.program == program && r.name == name && r.error.empty())
            return r.seconds;
    return 0;
}

// A figure in its goal's unit: megabytes or per cent as they are, else a time.
std::string Figure(double value, const Goal* goal)
{
    if (goal && !goal->unit.empty()) {
        char text[32];
        snprintf(text, sizeof text, "%.3g %s", value, goal->unit.c_str());
        return text;
    }
    return Time(value);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: benchtable <results> <goals>\n");
        return 2;
    }
    std::vector<BenchResult> results;
    std::vector<Goal> goals;
    if (!ReadResults(argv[1], &results)) {
        fprintf(stderr, "ERROR: no results in %s: no benchmark ran\n", argv[1]);
        return 1;
    }
    if (!ReadGoals(argv[2], &goals))
        return 1;

    // Each program's frame copy first, then its benchmarks in their order.
    std::vector<std::string> programs;
    for (const BenchResult& r : results)
        if (std::find(programs.begin(), programs.end(), r.program) == programs.end())
            programs.push_back(r.program);
    std::vector<BenchResult> ordered;
    for (const std::string& program : programs)
        for (const bool copy : {true, false})
            for (const BenchResult& r : results)
                if (r.program == program && (r.name == "FrameCopy") == copy)
                    ordered.push_back(r);
    results = ordered;
    std::map<std::string, double> framecopy;    // per program
    for (const BenchResult& r : results)
        if (r.name == "FrameCopy" && r.error.empty())
            framecopy[r.program] = r.seconds;

    size_t width = 9;
    for (const BenchResult& r : results)
        width = std::max(width, r.program.size() + 1 + r.name.size());
    size_t goalwidth = 10;
    for (const Goal& g : goals)
        goalwidth = std::max(goalwidth, g.text.size());
    printf("\n%-*s  %10s  %9s  %-*s  %s\n", (int)width, "benchmark", "figure", "x frame", (int)goalwidth, "goal", "");
    int errors = 0, met = 0, missed = 0;
    for (const BenchResult& r : results) {
        const std::string name = r.program + " " + r.name;
        const Goal* const goal = FindGoal(goals, r.name);
        const std::string goaltext = goal ? goal->text : "";
        if (!r.error.empty()) {
            printf("%-*s  %10s  %9s  %-*s  ERROR: %s\n", (int)width, name.c_str(), "-", "-", (int)goalwidth,
                   goaltext.c_str(), r.error.c_str());
            errors++;
            continue;
        }
        const auto frame = framecopy.find(r.program);
        const double ratio = frame != framecopy.end() && frame->second > 0 && (!goal || goal->unit.empty())
                                 ? r.seconds / frame->second
                                 : NAN;
        char ratiotext[16] = "-";
        if (!std::isnan(ratio))
            snprintf(ratiotext, sizeof ratiotext, "%.2f", ratio);
        std::string verdict;
        if (goal) {
            double value = r.seconds;
            if (goal->ratio) {
                const double yard = Yardstick(results, r.program, goal->yardstick);
                value = yard > 0 ? r.seconds / yard : NAN;
            }
            const bool ok = !std::isnan(value) && value <= goal->limit;
            verdict = ok ? "met" : "MISSED";
            if (goal->ratio && goal->yardstick != "FrameCopy") {
                char times[64];
                snprintf(times, sizeof times, " (%.2fx)", value);
                verdict += times;
            }
            (ok ? met : missed)++;
        }
        printf("%-*s  %10s  %9s  %-*s  %s\n", (int)width, name.c_str(), Figure(r.seconds, goal).c_str(),
               ratiotext, (int)goalwidth, goaltext.c_str(), verdict.c_str());
    }
    for (const Goal& g : goals) {
        bool found = false;
        for (const BenchResult& r : results)
            found = found || FindGoal(goals, r.name) == &g;
        if (!found) {
            printf("%-*s  %10s  %9s  %-*s  MISSED: no such benchmark ran\n", (int)width, g.name.c_str(), "-", "-",
                   (int)goalwidth, g.text.c_str());
            missed++;
        }
    }
    printf("\n%zu benchmarks: %d goals met, %d missed, %d errors. x frame: the time over the frame copy "
           "(800 x 600 x 4 bytes) of the same program.\n",
           results.size(), met, missed, errors);
    return errors > 0 || missed > 0 || results.empty() ? 1 : 0;
}
