#include "game/net/droplog.h"

#include <map>

#include "game/shell/debuglog.h"
#include "platform/clock.h"

namespace {

struct DropRun {
    std::string kind;       // of the last refusal logged
    uint64_t repeats = 0;   // refusals of that kind since, not yet in the log
    uint32_t since = 0;     // tick count of the last line about this run
};

std::map<int32_t, DropRun> runs;

void ReportRepeats(int32_t socket, DropRun& run)
{
    if (run.repeats)
        debuglog << "ERROR: The same " << run.kind << " refusal from socket " << socket << " came " << run.repeats
                 << " more times.\n";
    run.repeats = 0;
    run.since = GetTicks();
}

} // namespace

void LogDrop(int32_t socket, const std::string& kind, const std::string& line)
{
    DropRun& run = runs[socket];
    if (run.kind == kind) {
        run.repeats++;
        if (GetTicks() - run.since >= DROPREPORTMS)
            ReportRepeats(socket, run);
        return;
    }
    ReportRepeats(socket, run);
    run.kind = kind;
    debuglog << line;
}

void EndDrops(int32_t socket)
{
    const auto found = runs.find(socket);
    if (found == runs.end())
        return;
    ReportRepeats(socket, found->second);
    runs.erase(found);
}

void ClearDrops()
{
    for (auto& [socket, run] : runs)
        ReportRepeats(socket, run);
    runs.clear();
}
