// The day summary: each day's assets, kills and mines per player slot.
#pragma once
#include <cstdint>
#include <vector>

struct DaySummaryRow {
    int32_t assets[4];          // per slot: -2 no player, -1 no units that day, else the figure
    int32_t kills[4];
    int32_t mines[4];
};

extern std::vector<DaySummaryRow> daysummary;   // one row per day of the game
