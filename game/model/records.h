// The records of a game in progress: players, their units, the wards on units and the squares of
// the map. Every machine of a game holds the same copy of them.
#pragma once
#include <cstdint>
#include <vector>

// The eight stats of a unit, by index.
enum {
    STAT_ATTACK = 0,    // base damage of an attack
    STAT_LIFE = 1,      // hit points at creation; experience for its killer
    STAT_MOVES = 2,     // moves per turn
    STAT_RANGE = 3,     // attack range; range 1 attacks into trees undamped
    STAT_ACTIONS = 4,   // actions per turn
    STAT_MANA = 5,      // mana gained per turn
    STAT_STEALTH = 6,   // hidden from others above 1, with the square's darkness
    STAT_RESIST = 7,    // spell resistance
    NUMSTATS = 8
};

enum { MAXSPELLS = 5, MAXABILITIES = 5, MAXWARDS = 5, NUMHOTKEYS = 10 };
enum { MAXHUMANS = 5 };                 // human records AddPlayer accepts; the neutral one comes on top
enum { PLAYERNAMESIZE = 11 };           // name field, NUL included
enum { FIRSTCODE = 0xF0, NEUTRALCODE = 0xF5 };
enum : int32_t { LIFETIMEWARD = -95864 };   // ward kind marking a summoned unit's lifetime
enum : int32_t { NOSTAMP = -1 };            // a stamp no human record carries
// A unit's camp: camps are numbered 1..254; NOCAMP marks no camp, NOGROUP a unit that belongs to none.
enum : uint8_t { NOCAMP = 0, NOGROUP = 0xFF };
// A unit type t has the levels t, t + TYPESPERLEVEL and t + 2 x TYPESPERLEVEL; each level's picture
// lies PICTURESPERLEVEL cells further on the sheet.
enum : int32_t { TYPESPERLEVEL = 10000, PICTURESPERLEVEL = 64 };
enum : int32_t { MAXMANA = 10 };        // no unit holds more mana
enum : int32_t { MORNING = 0, AFTERNOON = 1, NIGHT = 2 };   // the day phases of turncount
enum : uint32_t { CLAIMMASK = 0xF, NOCLAIM = 0xF };         // the claim bits of a square: the claiming player, or none

struct Ward {
    uint8_t inuse;          // the slot holds a ward
    uint8_t flag;           // the ward ends when the unit moves
    uint8_t announce;       // its removal is told to the owner
    int32_t turns;          // turns left
    int32_t kind;           // what put it there
    int32_t mods[NUMSTATS]; // added to the stats while in use
};

struct Unit {
    int32_t stat[NUMSTATS];
    int32_t spells[MAXSPELLS];          // indexes into spells, -1 empty
    int32_t abilities[MAXABILITIES];    // indexes into abilities, -1 empty
    int32_t picture;
    int32_t rocks;
    int32_t x, y;
    Ward wards[MAXWARDS];
    int32_t hits;                       // actions left this turn
    int32_t moves;
    int32_t mana;
    int32_t hp;
    int32_t type;
    int32_t poison;
    int32_t experience;
    int32_t basetype;
    int32_t id;
    int32_t expreceiver;
    uint8_t group;                      // camp; NOCAMP or NOGROUP none
    uint8_t alerted;
    uint8_t notwarlord;
    uint8_t turnflag;
};

// A unit bought in the shop or one the shop offers.
struct UnitListEntry {
    int32_t type;
    int32_t iconx, icony;               // where the shop shows it
    int32_t picture;
};

struct Player {
    std::vector<Unit> units;
    std::vector<UnitListEntry> bought;
    int32_t bonus[NUMSTATS];
    int32_t filtermin[NUMSTATS];
    int32_t filtermax[NUMSTATS];
    int32_t gold;
    uint8_t code;                       // FIRSTCODE + player number
    uint8_t expbonus;
    uint8_t spellexpbonus;
    uint8_t sightbonus;
    uint8_t hostplayer;
    uint8_t ready;                      // answered the host's last set-up step (a map row, the neutral record)
    uint8_t shopped;                    // host: has said he is done shopping this day
    uint8_t neutral;
    int32_t startx, starty;
    int32_t socket;                     // the host's connection to him; -1 none
    uint32_t chatdue;                   // host: tick his chat allowance has caught up with (0: never spoke)
    char name[PLAYERNAMESIZE];
    int32_t sizeattime;                 // the stamp identifying the record
    int32_t warlordtype;
    int32_t kills;
    uint8_t firstshop;
    int32_t unithotkeys[NUMHOTKEYS];
};

struct MapSquare {
    uint8_t terrain;
    uint8_t extra;
    uint8_t cost;
    uint8_t timed;
    uint8_t mark;
    uint8_t visible;
    uint8_t explored;
    int8_t hazard;
    int8_t counter2;                    // forcefield turns
    uint32_t bits;                      // 0-3 claiming player (0xF none), 4-7 timer of timed
    int8_t dark;
    int8_t lightowner;                  // -1 none
};

struct DeathEntry {
    int32_t id;                         // the unit killed
    int32_t killer;                     // player index
};

Unit BlankUnit();                       // every field zero, lists empty (-1)
Player BlankPlayer();                   // every field zero, lists empty, no socket
void SetPlayerName(Player& player, const char* name);   // copies the name cut to its field
