// The results file of `make bench`: each benchmark program appends one line per benchmark, the table
// reads them all. A line: program, name, figure, error ("" when none), tab-separated. The figure is the
// seconds per iteration, or for the real program's figures (bench/player.py) the unit of its goal:
// seconds, megabytes or per cent of one core.
#pragma once
#include <string>
#include <vector>

struct BenchResult {
    std::string name;           // "BM_RevealSight/30"
    double seconds;             // real time per iteration (the median where repeated), or the figure in its
                                // goal's unit (megabytes, per cent); 0 on error
    std::string error;          // what the benchmark reported; "" when it ran
    std::string program;        // "bench_sight" (filled when read)
};

std::string ProgramName(const char* argv0);     // the file name of a program's path
// Appends the results of program to the file; true on failure.
bool AppendResults(const char* path, const std::string& program, const std::vector<BenchResult>& results);
// Every result in the file, in order; false when it cannot be read.
bool ReadResults(const char* path, std::vector<BenchResult>* results);
