// The day summary: the day's figures recorded and sounded (GAME_DAYSUMMARYOPEN), then the table of
// every army with the day's leaders and the graph of one figure over all the days (GAME_DAYSUMMARY).
// The rows themselves and the graph are the view's (game/view/graph.h).
#pragma once

#include "game/view/graph.h"

bool DaySummaryOpenFrame();     // GAME_DAYSUMMARYOPEN: the day's figures prepared
bool DaySummaryFrame();         // GAME_DAYSUMMARY: the day's summary until its "Done"
// Records the day's row and plays the local player's sound of the day. True, recording nothing, when
// the game has a single player record.
bool PrepareDaySummary();
bool DrawDaySummary();          // one frame of the summary screen; false
