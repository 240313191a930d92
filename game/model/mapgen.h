// Making the board: the blank map with every player's camp square, the random terrain and rivers,
// the search for a well-balanced map among many random candidates, and the gold mines.
//
// Only the host generates terrain and mines; clients get the finished squares row by row. The camp
// squares are the exception: every machine computes them itself from the player table and the size.
#pragma once
#include <cstdint>

// Terrain types, the terrain byte of a square.
enum : uint8_t {
    TERRAIN_OPEN = 0,       // extra: one of four tiles
    TERRAIN_TREES = 1,
    TERRAIN_ROUGH = 2,      // costs 2
    TERRAIN_MINE = 3,       // extra: the owner's player number, MINENOBODY for none
    TERRAIN_DEPOSIT = 5,    // gold lying about
    TERRAIN_CROSSING = 6,   // extra: 0 across a river running left to right, 1 up and down
    TERRAIN_RIVER = 7,      // extra: which neighbours are river (RIVER_ bits); costs 100
    TERRAIN_SITE = 8,       // extra: the site's kind (even), + 1 once used
    TERRAIN_SCORED = 10,    // counted by the balance score; nothing places it
};

enum : uint8_t { MINENOBODY = 5 };      // a mine's owner byte when nobody holds it
enum : uint8_t { SITE_PILLAR = 14 };    // "Pillar of Lost Sights": one in each quadrant
enum : uint8_t { RIVER_UP = 1, RIVER_DOWN = 2, RIVER_LEFT = 4, RIVER_RIGHT = 8 };
enum : uint8_t { COST_OPEN = 1, COST_ROUGH = 2, COST_RIVER = 100 };

// Sizes a map may have. Below MINMAPSIZE not even one 11 x 11 camp fits round the centre; above
// MAXMAPSIZE a square's coordinates no longer travel as the messages' small numbers.
enum { MINMAPSIZE = 12, MAXMAPSIZE = 78 };
enum { CAMPREACH = 5 };                 // a camp is the 11 x 11 squares round its camp square

// The search, over many frames of the host's map-creation screen.
extern int32_t mapattempts;             // GenerateMap calls of this search; the screens reuse it as a counter
extern int32_t mapbalance;              // smallest best-minus-worst division score found so far
extern int32_t maxscore, minscore;      // best and worst division score of the current candidate
extern uint32_t bestseed;               // the candidate with the smallest difference; kept between searches
extern int32_t roughfactor, treefactor; // multiply the rough ground and the trees; 1 when a game begins

enum : int32_t { NOSCORE = 99999999 };  // mapbalance and minscore before anything was scored

// Replaces the map by a blank size x size one; when there was no map, also places the camps. True on
// failure (a size outside MINMAPSIZE..MAXMAPSIZE, no memory), which leaves no map at all.
bool CreateBlankMap(int32_t size);
void StartMapSearch();                  // the search state back to its start (host, before the first GenerateMap)
void GenerateMap();                     // one attempt of the search; the last call builds the map and sets GAME_SENDMAP
void GenerateTerrain();                 // the whole map from the current random sequence
void AddRiver();                        // one river from a random edge inward
void ShapeRivers();                     // every river's neighbour mask, and a few crossings
void JoinRiverEdges();                  // the neighbour masks again, drawing nothing (after a terrain spell)
int32_t DivisionScore(int32_t k, int32_t divisions);    // balance score of division k of divisions x divisions
int32_t MineCount(int32_t size);        // gold mines on a map of that size
void PlaceMines();                      // the gold mines, close to the camps but not in them
