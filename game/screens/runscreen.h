// The screen state machine.
#pragma once

void RunScreen();           // one frame of the current screen
