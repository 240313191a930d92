// Buttons: the screens declare their buttons anew in every frame; all a button keeps between frames is
// its byte in buttonstates.
#pragma once
#include <cstdint>

enum { BUTTONCOUNT = 200 };

extern uint8_t buttonstates[BUTTONCOUNT];   // 1 while the left button went down on that button and is held

bool CreateButtons();                       // start-up: every button idle; false
