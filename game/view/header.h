// The play screen's frame and header line, and the "Waiting for Server..." screen.
#pragma once
#include <string>

bool DrawScreenBorder();        // the frame pieces around the board; true, doing nothing, while drawing is off or the game inactive
bool DrawTurnHeader();          // the day, phase and turn holder, and the local player's gold; true while drawing is off
std::string TurnHeaderText();   // "Day 3, Afternoon.  (Player Two's turn)."
bool WaitForServer();           // one frame of the screen a client shows until the host answers; false
