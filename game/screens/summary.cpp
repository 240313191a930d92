// The day summary. For now the least that lets a game go on: the summary is passed over and the next
// day's shopping begins.
#include "game/screens/summary.h"

#include "game/screens/states.h"

bool DaySummaryOpenFrame()
{
    gs = GAME_DAYSUMMARY;
    return false;
}

bool DaySummaryFrame()
{
    gs = GAME_PRESHOP;
    return false;
}
