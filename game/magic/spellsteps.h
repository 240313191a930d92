// Steps the spell handlers share: index checks, area scans, wards by stat, the short animation forms
// and the look around after a forced move.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "game/model/queries.h"
#include "game/model/records.h"

enum : int32_t { SQUAREANIM = 99 };
enum : int32_t { BLOWNUPPICTURE = 253 };    // the unit sheet's cell of a unit blowing up

bool IsUnitIndex(int32_t player, int32_t unit);

// Every unit of every player but skip (-1: none) standing inside the 3 x 3 block around (x, y), players
// first, then units, in table order.
std::vector<UnitRef> UnitsAround(int32_t x, int32_t y, int32_t skip);
// The first unit standing on each square of the 3 x 3 block around (x, y), x-major (x left to right, for
// each x the y top to bottom); squares without a unit are left out.
std::vector<UnitRef> FirstUnitsAround(int32_t x, int32_t y);
UnitRef FirstUnitAt(int32_t x, int32_t y);  // (-1, -1) for none

typedef std::array<int32_t, NUMSTATS> StatMods;     // by stat number
// AddWard with the modifiers indexed by stat; 0 added, 1 no room.
int32_t AddStatWard(int32_t player, int32_t unit, int32_t turns, int32_t flag, const StatMods& mods, int32_t kind,
                    int32_t announce);

// The short forms: on a unit's square, or on a square.
void AnimateUnit(int32_t player, int32_t unit, int32_t first, bool reverse = false);
void AnimateUnitClipped(int32_t player, int32_t unit, int32_t first, bool reverse = false);
void AnimateSquare(int32_t x, int32_t y, int32_t first, bool reverse = false);
void AnimateSquareClipped(int32_t x, int32_t y, int32_t first, bool reverse = false);

int32_t PhaseSight();       // the sight budget of the day phase, without any bonus
void RaiseToLife(int32_t player, int32_t unit, int32_t amount);    // hp + amount, cut back to effective life
void AddMana(int32_t player, int32_t unit, int32_t amount);         // mana + amount, cut back to MAXMANA
