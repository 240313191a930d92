// Sight and fog: a flood from a square with a budget that each step uses up (10 along a row or column,
// 14 diagonally); a square is reached while the budget left there is -5 or more. Only the local
// player's units mark squares visible and explored (fog is each machine's own); camp alert wakes the
// neutral guards the flood reaches, on every machine.
#pragma once
#include <cstdint>
#include <deque>
#include <map>

enum : int32_t {
    SIGHTSTEP = 10,             // budget used by a step along a row or column
    SIGHTDIAGONAL = 14,         // by a diagonal step
    SIGHTREACH = -5,            // a square is reached while the budget left is at least this
    DEFAULTSIGHT = -7,          // ExploreFrom's budget meaning: the day sight
    NOEXPERIENCE = -1,          // ExploreFrom's unit meaning: nobody is paid for the look
    MAXSENTGAIN = 127,          // the most exploration experience one message carries
};

void RevealSquare(int32_t player, int32_t x, int32_t y);   // marks one square, for the local player only
void RevealSight(int32_t player, int32_t x, int32_t y, int32_t budget);    // the sight flood
int32_t AlertCamps(int32_t x, int32_t y, int32_t budget);  // wakes every camp whose guards the flood reaches; squares reached
void WakeCamp(int32_t player, int32_t unit);   // every unit of player in that unit's camp wakes; none for no camp
// A unit of player looks around from (x, y): reveal, camp alert, and exploration experience for the
// unit's experience receiver (unit NOEXPERIENCE pays nobody). budget DEFAULTSIGHT is the day sight.
// The experience is earned on the owner's machine, the only one that sees what the look revealed,
// which sends it on (MSG_ADDEXPERIENCE, from a client also when it is 0) so that every machine adds it
// once. The host notes each paying look of a client's unit, with the most it can earn (every square
// the look reaches newly seen), for TakeLook.
void ExploreFrom(int32_t player, int32_t x, int32_t y, int32_t budget, int32_t unit);
// Host: per unit id, the most each paying look the unit's owner has not reported yet can earn (oldest
// first; at most MAXUNREPORTEDLOOKS kept).
extern std::map<int32_t, std::deque<int32_t>> unreportedlooks;
enum { MAXUNREPORTEDLOOKS = 64 };
// Host: a client reports gain for a look of unit id: true, and the oldest unreported look is taken,
// when one waits and gain is no more than it can earn.
bool TakeLook(int32_t id, int32_t gain);
int32_t LookBudget(int32_t player);     // a move's or look's budget: day or night sight plus the sight bonus
int32_t AlertBudget(int32_t player);    // camp alert after a move: 20 (10 at night) plus the sight bonus
bool YouCanSeeUnit(int32_t player, int32_t unit);  // the local player sees that unit
void PlaySoundAt(int32_t x, int32_t y, const char* sound);    // only where the local player has looked
