// Target tests: whether a spell may be aimed at a unit or a square. Every test has the TargetTest
// shape (caster player, caster unit, a, b, extra): for the unit kinds (a, b) is the target's player
// and unit index, for the square kinds the square's x and y; extra is read by none. A spell record
// gets the test of its target kind when it is bound (binding.h).
//
// Every test refuses an index or a square that does not exist, so a target from the wire can be
// tested before anything reads it.
#pragma once
#include <cstdint>

#include "game/model/catalogue.h"

bool DefaultSpellTarget(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t extra);    // refuses everything
bool TargetAny(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t extra);             // accepts everything
bool TargetOwnUnit(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t extra);
bool TargetEnemyUnit(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t extra);
// Any unit of the neutral side (its first too), else another player's unit but his warlord (unit 0).
bool TargetNonWarlordEnemy(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t extra);
bool TargetOwnMobileUnit(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t extra);          // base moves above 0
bool TargetOwnUnitTurnFlagClear(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t extra);
bool TargetOwnHurtUnit(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t extra);            // hp below effective life
bool TargetWeakEnemy(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t extra);              // non-warlord enemy, hp below 6
bool TargetEnemyWithMana(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t extra);
bool TargetOwnNonWarlord(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t extra);
// No unit of any player (dying ones too) stands on (x, y) and its forcefield counter is exactly 0. The
// system's free-square test: moves, deployment and the computer player call it with (any, any, x, y,
// any). Off the map: false.
bool IsSquareFree(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t extra);
bool TargetInnerSquare(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t extra);      // not on the outermost ring
bool TargetFreeTimedSquare(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t extra);  // free, with remains
bool TargetTimedSquare(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t extra);      // with remains
bool TargetFreeTreeSquare(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t extra);
bool TargetTreeSquare(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t extra);
bool TargetFreeTerrain2Square(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t extra);   // free rough ground

// The test of a target kind (-6..11); DefaultSpellTarget for any other kind.
TargetTest TargetTestForKind(int32_t kind);
