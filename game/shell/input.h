// The keyboard and mouse as the screens read them, and the start-up steps that make them usable.
#pragma once
#include <cstdint>

extern uint8_t keys[256];               // the keyboard state of the last read; bit 7 = down

bool DInputGo();                        // start-up: takes the keyboard and mouse; true on failure
bool BindMouse();                       // start-up: holds the cursor to the 800 x 600 screen; false
void ReleaseInput();                    // shutdown: gives the devices back; again does nothing
void PollKeyboard();                    // reads the keyboard into keys
