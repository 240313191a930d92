// The main of every benchmark program. Beside its own benchmarks each measures FrameCopy, a copy of one
// 800 x 600 x 4 frame, in the same run: the yardstick that goals and the table compare with. Results go
// to the console as usual and, when GORV_BENCH_RESULTS names a file, one line each to that file for the
// table `make bench` prints (benchtable). A benchmark that reports an error fails the program.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench/results.h"

namespace {

void FrameCopy(benchmark::State& state)
{
    std::vector<uint32_t> from(800 * 600, 0x123456);
    std::vector<uint32_t> to(800 * 600);
    for (auto _ : state) {
        memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FrameCopy)->Repetitions(7)->ReportAggregatesOnly(true);

// The console's report, and one result per benchmark: the median where it was repeated, else its run.
class ResultReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // The name as written in the source, with its arguments: "BM_RevealSight/30".
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty())
                name += "/" + run.run_name.args;
            const auto known = index.find(name);
            if (run.error_occurred) {
                Keep(known, {name, 0, run.error_message.empty() ? "error" : run.error_message, ""});
                continue;
            }
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median)
                continue;
            if (known != index.end() && !median)
                continue;       // a repetition before its median
            const double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            Keep(known, {name, seconds, "", ""});
        }
    }

    std::vector<BenchResult> results;

private:
    void Keep(std::map<std::string, size_t>::const_iterator known, const BenchResult& result)
    {
        if (known == index.end()) {
            index[result.name] = results.size();
            results.push_back(result);
        } else if (results[known->second].error.empty()) {
            results[known->second] = result;
        }
    }

    std::map<std::string, size_t> index;
};

} // namespace

int main(int argc, char** argv)
{
    const std::string program = ProgramName(argv[0]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ResultReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    bool failed = false;
    for (const BenchResult& r : reporter.results)
        failed = failed || !r.error.empty();
    if (const char* const path = getenv("GORV_BENCH_RESULTS")) {
        if (AppendResults(path, program, reporter.results)) {
            fprintf(stderr, "ERROR: cannot write the results to %s\n", path);
            return 1;
        }
    }
    return failed ? 1 : 0;
}
