// The day summary's history and its graph: one row of figures per day, and a line per player of the
// figure on the page shown (assets, kills or mines) over all the days so far.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum : int32_t { SUMMARYSLOTS = 5 };    // players a row has room for, by player number: every human
enum : int32_t { SLOT_EMPTY = -2, SLOT_NOUNITS = -1 };  // a figure: no player in the slot; he had no units that day
enum : int32_t { PAGE_ASSETS = 0, PAGE_KILLS = 1, PAGE_MINES = 2, GRAPHPAGES = 3 };

struct DaySummaryRow {
    int32_t assets[SUMMARYSLOTS];       // gold plus the price of every unit
    int32_t kills[SUMMARYSLOTS];
    int32_t mines[SUMMARYSLOTS];        // gold mines owned
};

extern std::vector<DaySummaryRow> daysummary;   // one row a day, oldest first; emptied for a new game's map
extern int32_t summarypage;             // the page the graph shows: PAGE_ASSETS, PAGE_KILLS or PAGE_MINES

bool NextGraphPage(int32_t, int32_t);   // button callback: the next page, round; false
std::string GraphTitle();               // "Graph Assets" / "Graph Kills" / "Graph Mines"; "GRAPH FAILURE" otherwise

int32_t GraphFigure(const DaySummaryRow& row, int32_t page, int32_t slot);  // the row's figure on that page; SLOT_EMPTY for a bad one
// The height the graph gives its full 480 pixels: the largest figure of the page over every row, at
// least the start gold on the assets page, and at least 1.
int64_t GraphScale(int32_t page);
int32_t GraphY(int64_t value, int64_t scale);   // where a figure lies: 590 for 0 up to 110 for the scale
// The graph of summarypage in its frame at (395, 95)-(795, 595) on the back buffer. True, doing
// nothing, while drawing is off.
bool DrawSummaryGraph();
