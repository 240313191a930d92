// Log lines of the platform layer and the shared code.
#include "platform/log.h"

#include <atomic>
#include <cstdio>

namespace {

std::atomic<LogSink> sink{nullptr};

} // namespace

void SysLog(const char* const line)
{
    const LogSink to = sink.load();
    if (to)
        to(line);
    else
        fprintf(stderr, "%s\n", line);
}

void SetLogSink(const LogSink to)
{
    sink = to;
}
