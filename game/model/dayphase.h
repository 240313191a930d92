// The day clock: morning, afternoon and night, advanced once per turn cycle on every machine; after
// the night the day ends with a summary and the next day's shopping.
#pragma once

// One phase on: the square counters count down and the light follows the phase; at the end of the day
// the day-end abilities run on every machine and the host sends the gold and the summary. True only
// on the host when the day ended.
bool AdvanceDayPhase();
void RunDayEndAbilities();              // the day-end abilities of every unit, players in table order
