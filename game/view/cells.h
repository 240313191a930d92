// The cells of the board's sheets that have a fixed meaning (40 x 40 cells, 16 to a row).
#pragma once
#include <cstdint>

// The terrain sheet. A square's own cell is its terrain + 16 x its variant (both below 16).
enum : int32_t {
    TERRAIN_FORCEFIELD = 4,     // forcefield overlay: 4 + 16 x (3 - counter) for a counter below 3, else 4
    TERRAIN_EDGE = 9,           // edge shading: 9 + 16 x the mask of unexplored neighbours (up 1, left 2, right 4, down 8)
    TERRAIN_CORNERUL = 64,      // corner shading toward an unexplored diagonal neighbour
    TERRAIN_CORNERUR = 80,
    TERRAIN_CORNERDL = 96,
    TERRAIN_CORNERDR = 112,
    TERRAIN_UNEXPLORED = 192,
    TERRAIN_RANGEMARK = 195,    // also the shading tile of every information box
    TERRAIN_HAZARD = 208,       // 7 frames
    TERRAIN_GLINT = 224,        // a gold mine in unexplored land, 7 frames
    TERRAIN_BEACON = 240,       // a player's first unit in unexplored land, 7 frames
};

// The unit sheet. A unit's icon is its picture cell.
enum : int32_t {
    UNITS_STATATTACK = 224,     // the four stat icons: attack, life, moves, range
    UNITS_FRAMEUNDER = 229,     // picture frame under the health bar
    UNITS_FRAMEOVER = 230,      // and over it
    UNITS_NOMOVES = 231,
    UNITS_NOATTACK = 232,       // fewer than 2 actions left
    UNITS_POISON = 233,         // + turns of poison left
    UNITS_PLAYERCOLOUR = 240,   // + player number: the colour cell (240 is the player code 0xF0 taken as a cell)
    UNITS_HIDDEN = 247,         // an own unit hidden by stealth; 248 on a dark square
    UNITS_HIDDENDARK = 248,
    DAMAGEICON = 254,           // behind a damage number
    UNITS_TIMED = 255,          // overlay of a square with a timed effect
};

enum : int32_t { ANIMATIONFRAMES = 7 };    // frames of the animated board cells, each held 3 passes
