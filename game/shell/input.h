// Input: the keyboard state and the mouse the screens read. Placeholder until the input devices land:
// nothing is read, the cursor stays where it is and no button is down.
#pragma once
#include <cstdint>

struct MouseState {
    int32_t x, y, z;                    // movement since the last read
    uint8_t buttons[4];                 // bit 7 set = down; 0 left, 1 right, 2 middle
};

extern int32_t mousex, mousey;          // the cursor on the 800 x 600 screen
extern MouseState mousestate;           // the last mouse read
extern uint8_t keys[256];               // the last keyboard read, by key code; bit 7 set = down

bool PollMouse();                       // reads the mouse into mousestate and moves the cursor; true on failure
