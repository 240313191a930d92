// Time: a 32-bit millisecond tick and a sleep, both replaceable by a virtual clock for tests.
#pragma once
#include <cstdint>

uint32_t GetTicks();                    // milliseconds since an arbitrary start; wraps at 2^32
void SleepMs(uint32_t ms);              // sleeps (on the virtual clock: advances it instead)
void UseVirtualClock(uint32_t start);   // from now on time stands still but for SleepMs and AdvanceClock
void UseRealClock();                    // back to the system's monotonic clock
void AdvanceClock(uint32_t ms);         // moves the virtual clock on
