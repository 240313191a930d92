// The events of the game the run must see, as each process notes them, and the host's generator set so
// that a cast is resisted (see scripted.h).
#include <cstdint>
#include <string>

#include "game/model/queries.h"
#include "game/model/records.h"
#include "game/model/state.h"
#include "game/net/sendqueue.h"
#include "game/screens/states.h"
#include "platform/random.h"
#include "scripted.h"

void NextDrawResists()
{
    static uint32_t seed = 0;
    if (seed == 0)
        for (seed = 1;; seed++) {
            SeedRandom(seed);
            if (Random() == 1)
                break;
        }
    SeedRandom(seed);
}

void ObserveEvents(const std::string& text)
{
    const char kind = text.empty() ? 0 : text[0];
    if (ishost && kind == '(' && gs != GAME_VICTORY)
        RecordEvent("winrefused");
    // A client's cast the host resolved as resisted: its answer waits to be sent.
    if (ishost && kind == 'i')
        for (const OutgoingMessage& m : QueuedMessages())
            if (m.frame.size() > 1 && m.frame[1] == 'x') {
                script.resisted = true;
                RecordEvent("resist");
            }
    if (!ishost && kind == 'x') {
        script.resisted = true;
        RecordEvent("resist");
    }
    if (!ishost && kind == '`')
        RecordEvent("kill");
    // A real upgrade: the unit stands at a later level now (a refused one is announced too).
    if (!ishost && kind == '!' && text.size() >= 3) {
        const UnitRef unit = FindUnit((uint8_t)text[1] * 256 + (uint8_t)text[2]);
        if (unit.player >= 0 && p[unit.player].units[unit.unit].type >= TYPESPERLEVEL)
            RecordEvent("upgrade");
    }
}
