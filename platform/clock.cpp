// The millisecond tick over CLOCK_MONOTONIC, and the virtual clock tests put in its place.
#include "platform/clock.h"

#include <atomic>
#include <cerrno>
#include <ctime>

namespace {

// Loader threads read the tick too.
std::atomic<bool> virtualclock{false};
std::atomic<uint32_t> virtualticks{0};

} // namespace

uint32_t GetTicks()
{
    if (virtualclock)
        return virtualticks;
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (uint32_t)((uint64_t)now.tv_sec * 1000u + (uint64_t)now.tv_nsec / 1000000u);
}

void SleepMs(uint32_t ms)
{
    if (virtualclock) {
        virtualticks += ms;
        return;
    }
    timespec left = {(time_t)(ms / 1000), (long)(ms % 1000) * 1000000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

void UseVirtualClock(uint32_t start)
{
    virtualticks = start;
    virtualclock = true;
}

void UseRealClock()
{
    virtualclock = false;
}

void AdvanceClock(uint32_t ms)
{
    virtualticks += ms;
}
