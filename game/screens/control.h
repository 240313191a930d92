// The control channel of the headless program: a test drives a real game process through its screens
// by writing commands to a file, and reads the answers from another.
//
// GORVANEL_CONTROL=<dir> (with GORVANEL_HEADLESS=1) makes the program read <dir>/commands, one command
// a line, as the lines arrive, and append its answers to <dir>/replies. Commands run in order at the
// start of a frame; a "wait" holds the ones after it until its condition holds at a frame's start.
//
//   port N                 play on TCP port N instead of the string module's
//   keys K [K...] [xR]     the keys (decimal key codes) down together for the next R reads (1)
//   move X Y               the mouse moves to (X, Y)
//   click X Y              the mouse moves to (X, Y) and presses the left button for one read
//   type TEXT              the rest of the line typed, character by character
//   wait gs N              until the screen state is N; answers "gs N"
//   wait players N         until the game has N player records; answers "players N"
//   wait feed TEXT         until a line of the message feed holds TEXT; answers "feed TEXT"
//   wait frames N          until N more frames have begun; answers "frames N"
//   probe TAG              answers "probe TAG " and what the game shows (game/screens/probe.h)
//   shot PATH              the last frame as a PNG; answers "shot PATH"
//   say TEXT               answers TEXT (a marker the test waits for)
//   quit                   the window is closed, and the program ends through its shutdown
// A command it does not know is answered "error <line>".
#pragma once
#include <string>

bool OpenControl(const std::string& dir);   // starts reading the folder's commands; true on failure
void PollControl();                         // runs the commands that may run now; nothing without a channel
void CloseControl();
