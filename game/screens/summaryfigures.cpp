#include "game/screens/summaryfigures.h"

#include <algorithm>

#include "game/model/mines.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"

namespace {

bool IsPlayer(int32_t player)
{
    return player >= 0 && (size_t)player < p.size();
}

bool Competes(int32_t player)
{
    return IsPlayer(player) && !p[player].neutral && !p[player].units.empty();
}

int32_t* FigureSlots(DaySummaryRow& row, int32_t page)
{
    return page == PAGE_KILLS ? row.kills : page == PAGE_MINES ? row.mines : row.assets;
}

} // namespace

int32_t SummarySlot(int32_t player)
{
    if (!IsPlayer(player) || p[player].neutral)
        return -1;
    const int32_t number = p[player].code - FIRSTCODE;
    return number >= 0 && number < SUMMARYSLOTS ? number : -1;
}

int32_t UnitPrice(int32_t type)
{
    return GetResNumber((uint32_t)(STR_UNITCOST + type % TYPESPERLEVEL));
}

int32_t FigureValue(int32_t player, int32_t page)
{
    if (!IsPlayer(player))
        return 0;
    switch (page) {
    case PAGE_KILLS:
        return p[player].kills;
    case PAGE_MINES:
        return CountMines(player);
    default: {
        int32_t assets = p[player].gold;
        for (const Unit& u : p[player].units)
            assets += UnitPrice(u.type);
        return assets;
    }
    }
}

DaySummaryRow DaySummaryFromGame()
{
    DaySummaryRow row;
    for (int32_t page = 0; page < GRAPHPAGES; page++)
        std::fill(FigureSlots(row, page), FigureSlots(row, page) + SUMMARYSLOTS, (int32_t)SLOT_EMPTY);
    for (size_t i = 0; i < p.size(); i++) {
        const int32_t player = (int32_t)i;
        const int32_t slot = SummarySlot(player);
        if (slot < 0)
            continue;
        for (int32_t page = 0; page < GRAPHPAGES; page++)
            FigureSlots(row, page)[slot] = p[i].units.empty() ? (int32_t)SLOT_NOUNITS : FigureValue(player, page);
    }
    return row;
}

int32_t FigureLeader(int32_t page)
{
    int32_t best = -1, leader = -1;
    for (size_t i = 0; i < p.size(); i++) {
        const int32_t player = (int32_t)i;
        if (!Competes(player))
            continue;
        const int32_t value = FigureValue(player, page);
        if (value > best) {
            best = value;
            leader = player;
        } else if (value == best) {
            leader = -1;
        }
    }
    return leader;
}

const char* SummarySound(int32_t local, const int32_t (&leaders)[GRAPHPAGES])
{
    bool anyleader = false;
    for (const int32_t leader : leaders) {
        if (leader >= 0 && leader == local)
            return ".\\Sound\\GSGoodSummary.wav";
        anyleader = anyleader || leader >= 0;
    }
    return anyleader ? ".\\Sound\\GSBadSummary.wav" : ".\\Sound\\GSConnect.wav";
}
