#include "game/screens/summary.h"

std::vector<DaySummaryRow> daysummary;
