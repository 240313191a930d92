#include "game/magic/targets.h"

#include <cstddef>

#include "game/model/mapgen.h"
#include "game/model/queries.h"
#include "game/model/records.h"
#include "game/model/state.h"
#include "game/model/stats.h"

namespace {

enum : int32_t { WEAKHP = 6, WARLORDINDEX = 0 };

bool IsPlayer(int32_t player)
{
    return player >= 0 && static_cast<size_t>(player) < p.size();
}

bool IsUnit(int32_t player, int32_t unit)
{
    return IsPlayer(player) && unit >= 0 && static_cast<size_t>(unit) < p[player].units.size();
}

// Caster and target both exist and belong to the same player.
bool IsOwn(int32_t cp, int32_t a, int32_t b)
{
    return IsUnit(a, b) && a == cp;
}

bool IsEnemy(int32_t cp, int32_t a, int32_t b)
{
    return IsUnit(a, b) && a != cp;
}

} // namespace

bool DefaultSpellTarget(int32_t, int32_t, int32_t, int32_t, int32_t)
{
    return false;
}

bool TargetAny(int32_t, int32_t, int32_t, int32_t, int32_t)
{
    return true;
}

bool TargetOwnUnit(int32_t cp, int32_t, int32_t a, int32_t b, int32_t)
{
    return IsOwn(cp, a, b);
}

bool TargetEnemyUnit(int32_t cp, int32_t, int32_t a, int32_t b, int32_t)
{
    return IsEnemy(cp, a, b);
}

bool TargetNonWarlordEnemy(int32_t cp, int32_t, int32_t a, int32_t b, int32_t)
{
    if (!IsUnit(a, b))
        return false;
    if (p[a].neutral)
        return true;
    return a != cp && b != WARLORDINDEX;
}

bool TargetOwnMobileUnit(int32_t cp, int32_t, int32_t a, int32_t b, int32_t)
{
    return IsOwn(cp, a, b) && p[a].units[b].stat[STAT_MOVES] > 0;
}

bool TargetOwnUnitTurnFlagClear(int32_t cp, int32_t, int32_t a, int32_t b, int32_t)
{
    return IsOwn(cp, a, b) && p[a].units[b].turnflag == 0;
}

bool TargetOwnHurtUnit(int32_t cp, int32_t, int32_t a, int32_t b, int32_t)
{
    return IsOwn(cp, a, b) && p[a].units[b].hp < GetStat(a, b, STAT_LIFE);
}

bool TargetWeakEnemy(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t extra)
{
    return TargetNonWarlordEnemy(cp, cu, a, b, extra) && p[a].units[b].hp < WEAKHP;
}

bool TargetEnemyWithMana(int32_t cp, int32_t, int32_t a, int32_t b, int32_t)
{
    return IsEnemy(cp, a, b) && p[a].units[b].mana > 0;
}

bool TargetOwnNonWarlord(int32_t cp, int32_t, int32_t a, int32_t b, int32_t)
{
    return IsOwn(cp, a, b) && b != WARLORDINDEX;
}

bool IsSquareFree(int32_t, int32_t, int32_t x, int32_t y, int32_t)
{
    if (!InBounds(x, y))
        return false;
    for (const Player& player : p)
        for (const Unit& u : player.units)
            if (u.x == x && u.y == y)
                return false;
    return map[x][y].counter2 == 0;
}

bool TargetInnerSquare(int32_t, int32_t, int32_t x, int32_t y, int32_t)
{
    return x > 0 && y > 0 && x < mapsize - 1 && y < mapsize - 1;
}

bool TargetFreeTimedSquare(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t extra)
{
    return IsSquareFree(cp, cu, x, y, extra) && map[x][y].timed != 0;
}

bool TargetTimedSquare(int32_t, int32_t, int32_t x, int32_t y, int32_t)
{
    return InBounds(x, y) && map[x][y].timed != 0;
}

bool TargetFreeTreeSquare(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t extra)
{
    return IsSquareFree(cp, cu, x, y, extra) && map[x][y].terrain == TERRAIN_TREES;
}

bool TargetTreeSquare(int32_t, int32_t, int32_t x, int32_t y, int32_t)
{
    return InBounds(x, y) && map[x][y].terrain == TERRAIN_TREES;
}

bool TargetFreeTerrain2Square(int32_t cp, int32_t cu, int32_t x, int32_t y, int32_t extra)
{
    return IsSquareFree(cp, cu, x, y, extra) && map[x][y].terrain == TERRAIN_ROUGH;
}

TargetTest TargetTestForKind(int32_t kind)
{
    // Indexed by kind + 6.
    static const TargetTest tests[] = {
        TargetOwnNonWarlord,        // -6
        TargetOwnMobileUnit,        // -5
        TargetOwnUnitTurnFlagClear, // -4
        TargetEnemyWithMana,        // -3
        TargetWeakEnemy,            // -2
        TargetOwnHurtUnit,          // -1
        TargetOwnUnit,              // 0
        TargetEnemyUnit,            // 1
        TargetAny,                  // 2
        TargetNonWarlordEnemy,      // 3
        IsSquareFree,               // 4
        TargetFreeTimedSquare,      // 5
        TargetAny,                  // 6
        TargetFreeTreeSquare,       // 7
        TargetFreeTerrain2Square,   // 8
        TargetInnerSquare,          // 9
        TargetTimedSquare,          // 10
        TargetTreeSquare,           // 11
    };
    const int32_t first = -6;
    const int32_t count = static_cast<int32_t>(sizeof tests / sizeof tests[0]);
    if (kind < first || kind >= first + count)
        return DefaultSpellTarget;
    return tests[kind - first];
}
