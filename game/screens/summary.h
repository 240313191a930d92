// The day summary: its two states. The rows of figures it shows are the graph's (game/view/graph.h).
#pragma once

#include "game/view/graph.h"

bool DaySummaryOpenFrame();     // GAME_DAYSUMMARYOPEN: the day's figures prepared
bool DaySummaryFrame();         // GAME_DAYSUMMARY: the day's summary until its "Done"
