// The computer player: the host plays the neutral side's units itself, one step a frame. The turn
// states hand it a unit (GAME_COMPTURN) and call it every frame (GAME_COMPUNIT) until it ends that
// unit's turn by setting gs back to GAME_COMPTURN.
#pragma once
#include <cstdint>

// One step of the unit (player, unit), on the host: ends its turn (no actions left, not alerted, no
// action it can take, no target, too many steps, or the unit is gone), or chooses an action and a
// target and then attacks it, casts at it, or steps one square towards it. While anything is drawn, a
// step waits until COMPSTEPMS have passed since the last one that found targets. The unit is followed
// by its id: when other units were removed it is found again (currunit follows it); when it died, its
// turn ends and the next unit is the one after its place. Always false.
bool ComputerUnitTurn(int32_t player, int32_t unit);
