// The board command the local player is in: the unit panel shows and picks it, the board's commands
// carry it out, and the screens set it back to moving when a command is done or the next unit acts.
#pragma once
#include <cstdint>

enum : int32_t { COMMAND_MOVE = 0, COMMAND_ATTACK = 1, COMMAND_SPELL = 2 };

extern int32_t commandmode;             // what a board click does: COMMAND_MOVE, COMMAND_ATTACK, COMMAND_SPELL
extern uint8_t commandflag;             // 0: the mode has not yet prepared itself (marks, cursor)
extern int32_t selectedspell;           // the spell being aimed (an index of spells), picked in the unit panel
extern int32_t cursorframe;             // the cursor the unit turn draws: 0 move, 1 attack, 2 spell
