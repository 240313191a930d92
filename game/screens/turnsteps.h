// The work of the turn states, without their drawing: what one frame of each state does to the game,
// and the local player's commands to his acting unit (currplayer, currunit). The screens call these;
// so may anything else that drives a game (a test's scripted player).
//
// A local turn runs GAME_STARTTURN, GAME_YOURTURN, then GAME_NEXTUNIT and GAME_UNITTURN for each unit
// that can still act, and GAME_ENDTURN; the host plays the neutral side's turn in GAME_COMPTURN and
// GAME_COMPUNIT. Between turns a machine watches (GAME_WATCH); before a day's first turn it waits for
// every player's shopping (GAME_WAITPLAYERS).
#pragma once
#include <cstdint>

extern uint8_t pickedunit;              // the player picked his next unit himself: take it even when spent
extern uint32_t requesttime;            // tick count when the last request to the host went out

void WaitPlayersStep();     // GAME_WAITPLAYERS: the host starts the day's first turn once everybody is done
void StartTurnStep();       // GAME_STARTTURN: the win test (alone against the neutral side wins), else the turn
void YourTurnStep();        // GAME_YOURTURN: the turn's notice, then the search for the first unit
// GAME_NEXTUNIT: the next unit that can act and is not resting takes its turn; none: the turn ends.
void NextUnitStep();
// The local player is done with the acting unit for this turn (Space): the next-unit search passes it
// over. Its moves and actions stay as they are, as on every other machine, which never hears of it.
void RestActingUnit();
// GAME_COMPTURN: a client watches; the host gives the next neutral unit its turn (GAME_COMPUNIT), and
// ends the turn when none is left.
void CompTurnStep();
// GAME_COMPUNIT: on the host one step of the computer player's acting unit, which goes back to
// GAME_COMPTURN when the unit is done; a client watches.
void CompUnitStep();
void EndTurnStep();         // GAME_ENDTURN: watch, and hand the turn on
void RequestSentStep();     // GAME_REQUESTSENT: the wait for the host's answer begins

// The acting unit steps to the neighbouring square (x, y) along a row or column: on the host at once,
// from a client as a request. True when the step was refused here (nothing sent).
bool CommandStep(int32_t x, int32_t y);
// The acting unit attacks unit tu of player tp: on the host at once (its combat decides which abilities
// fire, and the clients get the outcome), from a client as a request, after which it waits for the
// answer. True when refused here.
bool AttackUnit(int32_t tp, int32_t tu);
// The acting unit casts spell (an index of spells) at (a, b): a unit (player, index) or a square by
// the spell's target kind; on the host at once, from a client as a request. True when refused here.
bool CommandCast(int32_t spell, int32_t a, int32_t b);
