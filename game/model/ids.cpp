#include "game/model/ids.h"

#include "game/model/queries.h"
#include "game/shell/debuglog.h"

int32_t unitidhigh = 1;
int32_t unitidlow = 1;

enum { IDSPAN = 255 * 255 };            // ids with two non-zero bytes

static void StepUnitId()
{
    if (++unitidlow > 255) {
        unitidlow = 1;
        // The counters run for the whole run of the host program; past the last two-byte id they
        // start again from the lowest rather than give an id with a zero byte.
        if (++unitidhigh > 255) {
            unitidhigh = 1;
            debuglog << "Unit ids exhausted; starting again from the lowest free one.\n";
        }
    }
}

int32_t NewUnitId()
{
    // After a wrap an id may still belong to a living unit: skip those. Far fewer units exist than
    // ids, so the search ends long before it could come round again.
    for (int32_t tries = 0; tries < IDSPAN; tries++) {
        StepUnitId();
        const int32_t id = unitidhigh * 256 + unitidlow;
        if (FindUnit(id).player == -1)
            return id;
    }
    debuglog << "ERROR: No free unit id.\n";
    return unitidhigh * 256 + unitidlow;
}

void ResetUnitIds()
{
    unitidhigh = 1;
    unitidlow = 1;
}
