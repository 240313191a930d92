// Ids of the numbered strings of the string module, by meaning. T is a unit type, n a spell or
// ability number, W a warlord's unit type, k a stat, s a sound number.
#pragma once
#include <cstdint>

enum : int32_t {
    STR_UNITCOUNT = 0,              // number of unit types
    STR_UNITNAME = 0,               // + T: name (T + 10000, T + 20000 name the upgraded levels)
    STR_UNITSTAT = 100,             // + T + k x 100: base value of stat k
    STR_UNITPOWERS = 900,           // + T: power list (of an upgrade for T + 10000, T + 20000)
    STR_UNITPICTURE = 1000,         // + T: icon cell
    STR_UNITCOST = 2000,            // + T: price in gold
    STR_UNITFLAGS = 4000,           // + T: flag string
    STR_UNITATTACKSOUND = 5000,     // + T mod 10000: attack sound number
    STR_UNITMOVESOUND = 6000,       // + T mod 10000: move sound number
    STR_UNITHURTSOUND = 7000,       // + T mod 10000: hurt sound number
    STR_UPGRADEEXP = 8000,          // + T mod 10000: experience for the next upgrade
    STR_UPGRADESTAT = 10100,        // + T + k x 100: added to stat k by the upgrade
    STR_WARLORDFILTER = 100,        // + W + i + k x 100, i = 1 bonus, 2 filter minimum, 3 filter maximum
    STR_WARLORDEXPBONUS = 10100,    // + W
    STR_WARLORDSPELLEXPBONUS = 10200,   // + W
    STR_WARLORDSIGHTBONUS = 10300,  // + W
    STR_WARLORDDESCRIPTION = 10400, // + W: the first paragraph of the warlord's description
    STR_WARLORDSTORY = 10500,       // + W: its second
    STR_WARLORDPOWERS = 10600,      // + W: the warlord's power list
    STR_WARLORDGOLD = 10700,        // + W: gold bonus
    STR_WARLORDMANA = 10800,        // + W: starting mana of the player's units
    STR_SPELLCOUNT = 30000,
    STR_SPELLTITLE = 30000,         // + n: display name
    STR_SPELLMANA = 30100,
    STR_SPELLRANGE = 30200,
    STR_SPELLPICTURE = 30300,
    STR_SPELLVALUE = 30400,         // + n: first animation cell
    STR_SPELLTARGET = 30500,
    STR_SPELLNAME = 30600,          // + n: internal name
    STR_SPELLRESIST = 30700,
    STR_SPELLHELP = 30800,
    STR_SPELLPARAM = 30900,         // + n: casting experience (-1: STR_SPELLCOSTFACTOR x mana)
    STR_SPELLPOWER = 31000,         // + n: the spell's power for the computer player
    STR_SPELLKEY = 32000,           // + n: shortcut letter
    STR_ABILITYCOUNT = 40000,
    STR_ABILITYTITLE = 40000,       // + n: display name
    STR_ABILITYKIND = 40100,
    STR_ABILITYPICTURE = 40300,
    STR_ABILITYNAME = 40600,        // + n: internal name
    STR_ABILITYHELP = 40800,
    STR_EXPPERDAMAGE = 50000,
    STR_SPELLCOSTFACTOR = 50001,
    STR_EXPLOREDIVISOR = 50002,
    STR_PORT = 50003,
    STR_MINEINCOME = 50004,
    STR_MAPSEARCHTRIES = 50005,
    STR_MAPDIVISIONS = 50006,
    STR_NEUTRALBUDGET = 50007,
    STR_NEUTRALUNITCAP = 50009,
    STR_NEUTRALBUDGETRANGE = 50010,
    STR_ATTACKSOUNDFILE = 50011,    // + s
    STR_SIGHTDAY = 50030,
    STR_SIGHTNIGHT = 50031,
    STR_MOVESOUNDFILE = 50032,      // + s
    STR_HURTSOUNDFILE = 50052,      // + s
    STR_VERSION = 63210,            // .. 63213: the four version parts
};
