// The screen state machine: one frame of the current screen state (gs, game/screens/states.h).
#pragma once
#include <cstdint>

// One frame: the keyboard and mouse read, the state's own frame (statetable.h), the Esc keys and, on
// the computer player's states, its step, which also runs while the game is in the background.
void RunScreen();

// The Esc keys, on the state the frame left: the in-game menu (on a new press, in the states that
// have it), leaving the help, and Esc with F7 ending the program from anywhere.
void EscapeKeys();

extern uint8_t escheld;     // Esc was down at the last frame's read: the menu opens on a new press only
