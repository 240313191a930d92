// Unit ids: only the host numbers units. An id travels as two bytes, high then low, and a zero byte
// would cut the message, so neither byte is ever 0.
#pragma once
#include <cstdint>

extern int32_t unitidhigh, unitidlow;   // the last id given: high x 256 + low; both 1 at start

int32_t NewUnitId();                    // the next free id (the first is 258)
void ResetUnitIds();                    // the counters back to their start (tests)
