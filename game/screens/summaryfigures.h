// The figures of the day summary: each day's assets, kills and mines per player, and the day's
// leaders. Computed from the state of the game, apart from the drawing, so that the screen only
// places what these decide.
#pragma once
#include <cstdint>

#include "game/view/graph.h"

int32_t SummarySlot(int32_t player);    // the player's slot of a row: his number; -1 for none (the neutral side, a bad index)
int32_t UnitPrice(int32_t type);        // what a unit of the type costs (an upgrade at its base type's price)
int32_t FigureValue(int32_t player, int32_t page);  // the player's figure now: gold plus his units' prices, kills, mines
DaySummaryRow DaySummaryFromGame();     // today's row: every player's figures, SLOT_NOUNITS without units

// The leader of a figure now: the one player with units who alone holds its highest value (the
// neutral side never leads); -1 when nobody does (a tie, nobody with units).
int32_t FigureLeader(int32_t page);

// The sound of the day for the local player: good when he leads a figure, neutral when nobody leads
// any, bad when somebody else does.
const char* SummarySound(int32_t local, const int32_t (&leaders)[GRAPHPAGES]);
