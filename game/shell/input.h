// The keyboard and mouse as the screens read them, and the start-up steps that make them usable.
//
// Key numbers are the key codes of platform/input.h (KEY_ESCAPE 0x01, KEY_RETURN 0x1C, ...).
#pragma once
#include <cstdint>

#include "platform/input.h"

struct InputState {
    int32_t left, top, right, bottom;   // the clip rectangle the cursor is held to (inclusive)
    uint8_t clamp;                      // hold the cursor to the clip rectangle
    uint8_t initialised;                // the devices are taken
    ~InputState();                      // gives the devices back if shutdown did not
};

extern InputState input;
extern uint8_t keys[256];               // the keyboard state of the last read; bit 7 = down
extern MouseState mousestate;           // the mouse state of the last read
extern int32_t mousex;                  // the cursor, moved by the mouse reads (starts at 400, 300)
extern int32_t mousey;

bool DInputGo();                        // start-up: takes the keyboard and mouse; true on failure
bool BindMouse();                       // start-up: holds the cursor to the 800 x 600 screen; false
void ReleaseInput();                    // shutdown: gives the devices back; again does nothing
void PollKeyboard();                    // reads the keyboard into keys, trying again while the read fails
void PollMouse(int32_t* x, int32_t* y); // reads the mouse into mousestate and moves the cursor (x, y) by it
bool IsKeyDown(uint32_t key);           // the key (low 8 bits) is down in keys, the last read
void WaitKeyRelease(uint32_t key);      // this press of the key is used: it reads up until let go (blocks nothing)
bool UseKeysDown();                     // WaitKeyRelease on every key down in keys; true when there was one
