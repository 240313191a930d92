// The computer player's targets: which enemy units a neutral unit considers, and which one it goes for.
#pragma once
#include <cstdint>
#include <vector>

// Squares between (x1, y1) and (x2, y2) as the computer player counts them: dx + dy, less 1 when the
// two differ in both directions (a diagonal neighbour is 1 away, (3, 3) away is 5).
int32_t UnitDistance(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
// What a unit of that type is worth: its base type's price.
int32_t UnitValue(int32_t type);

// The ids of the units of every other player that the acting unit may go for, within range of it,
// searched in up to two passes: each adds the unit's moves (at least 0) to range first, and the second
// runs only when the first found none. Left out: units on a square off the map, hidden units (stealth
// and the square's darkness 2 or more), dying units and the ids in blockedtargets. In table order.
std::vector<int32_t> FindCandidates(int32_t player, int32_t unit, int32_t range);

// The target among candidates (ids, as FindCandidates gives them) for an action of that damage: the
// killable one worth most (hurt, and hit points at most damage), else the hurt one worth most (hit
// points below its effective life), the first winning a tie; else the remembered comptarget; else a
// random candidate, which becomes comptarget. A remembered target that no longer stands (removed,
// dying, or now the acting player's own) is forgotten first. player is the acting unit's. Its id;
// candidates must not be empty.
int32_t ChooseTarget(int32_t player, const std::vector<int32_t>& candidates, int32_t damage);
