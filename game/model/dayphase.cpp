#include "game/model/dayphase.h"

#include <cstddef>
#include <cstdint>

#include "game/model/abilityslots.h"
#include "game/model/state.h"
#include "game/model/states.h"
#include "game/model/turns.h"
#include "game/net/builders.h"
#include "game/net/routing.h"

namespace {

enum { DAYEND = 3, PHASES = 3 };
enum : uint32_t { TIMERSHIFT = 4, TIMERMASK = 0xF0 };

// Square counters and light, for one phase change.
void AgeSquare(MapSquare& s)
{
    if (s.timed) {
        const uint32_t timer = (((s.bits & TIMERMASK) >> TIMERSHIFT) - 1) & 0xF;
        s.bits = (s.bits & ~TIMERMASK) | timer << TIMERSHIFT;
        // The timer is a signed 4-bit number: 8..15 have run out as well.
        if (timer == 0 || timer >= 8)
            s.timed = 0;
    }
    s.hazard = s.hazard < 1 ? 0 : s.hazard - 1;
    s.counter2 = s.counter2 < 1 ? 0 : s.counter2 - 1;
    if (s.lightowner == -1)
        s.dark = turncount == NIGHT ? 1 : 0;
}

} // namespace

void RunDayEndAbilities()
{
    // A handler may remove units or players' units, so every bound is measured again.
    for (size_t pl = 0; pl < p.size(); pl++)
        for (size_t u = 0; u < p[pl].units.size(); u++)
            for (int32_t slot = 0; slot < MAXABILITIES; slot++) {
                const int32_t player = static_cast<int32_t>(pl), unit = static_cast<int32_t>(u);
                if (UnitHasAbilityKind(player, unit, slot, ABILITY_DAYEND))
                    ExecuteAbilitySlot(player, unit, slot, player, unit, player, unit, 0, 0);
            }
}

bool AdvanceDayPhase()
{
    turncount++;
    for (std::vector<MapSquare>& column : map)
        for (MapSquare& s : column)
            AgeSquare(s);
    if (turncount == DAYEND) {
        // Every machine, not the host alone: the abilities change units, and only gold is sent below.
        RunDayEndAbilities();
        turnholder = -1;
        // The next day begins here on every machine, the host at its own call and every client at the
        // host's message, so the count is the same everywhere whoever still has an army.
        daycount++;
        if (ishost) {
            shoppers = 0;
            for (size_t i = 0; i < p.size(); i++)
                if (!p[i].neutral)
                    SendToPlayer(BuildForceSetMoney(static_cast<int32_t>(i), p[i].gold), -1);
            SendToPlayer(BuildSetGs(GAME_DAYSUMMARYOPEN), -1);
            gs = GAME_DAYSUMMARYOPEN;
            for (Player& player : p)
                player.shopped = 0;
            turncount = -1;
            return true;
        }
    }
    turncount %= PHASES;
    return false;
}
