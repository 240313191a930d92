// The state of a game in progress, the same on every machine of the game.
#pragma once
#include <cstdint>
#include <deque>
#include <vector>

#include "game/model/localplayer.h"
#include "game/model/records.h"

extern std::vector<Player> p;           // players in join order, the neutral one last
extern int32_t currplayer;              // index of the player whose turn it is
extern int32_t currunit;                // index of his acting unit
extern uint8_t ishost;                  // this machine hosts the game
extern std::vector<std::vector<MapSquare>> map;  // square (x, y) is map[x][y]; empty before the first map
extern int32_t mapsize;                 // the map is mapsize x mapsize; 0 without a map
extern int32_t turncount;               // day phase: 0 morning, 1 afternoon, 2 night
extern int32_t daycount;
extern int32_t shoppers;                // players done shopping this day
extern int32_t playersleft;             // players still in the game
extern int32_t nextsizeattime;          // source of the records' stamps
extern uint8_t needredraw;              // the board image must be rebuilt
extern std::vector<DeathEntry> deathlist;   // killed, not yet removed
extern std::deque<int32_t> upgradequeue;    // ids due for an upgrade (host)
extern uint8_t autofocus;               // the view follows the acting unit

int32_t AddPlayer();                    // appends a human record; the new number of records, 0 when refused
void AddNeutralRecord();                // appends the neutral side's record ("Unaligned")
void ClearGame();                       // leaving a game: no players, no map, no local player, counters back
void ResetGameState();                  // everything back to its start value (tests)
