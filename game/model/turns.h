// The turn cycle: players take turns in table order, skipping those without units. Only the host
// chooses the next player; each client follows the host's next-turn message.
#pragma once
#include <cstdint>

// The player whose turn the last next-turn message began, on every machine; -1 between days (before
// the first turn of a day). On a client his turn is the one the next message ends: the client pays his
// mine income and runs his end-of-turn abilities then, as the host did. A unit deployed while this is
// its owner is brought up to date at once, on every machine; one deployed before his turn is brought
// up to date with the rest when his turn begins. (currplayer will not do: the waiting screen moves it.)
extern int32_t turnholder;

// Host: ends the turn of lastplayer (-1: none, the first turn of a day) and hands the turn on: the
// next-turn message, then the start-of-turn update of the new player's units (also the host's own).
// True when no turn was handed out (the day ended, or nobody has units).
bool ServerNextTurn(int32_t lastplayer);
// The local player ends his turn: the host hands the turn on, a client asks the host to.
void EndTurn();
// The end-of-turn abilities of every unit of the player; run once per turn end on every machine.
void RunTurnEndAbilities(int32_t player);
// Client: the host's next-turn message for player (a valid index): the ending turn's income and
// abilities, then the new turn with the start-of-turn update of his units (the local player's too).
void FollowNextTurn(int32_t player);
int32_t NextPlayerWithUnits(int32_t from);  // the first index from 'from' on whose player has units; -1 none
