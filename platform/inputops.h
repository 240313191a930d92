// What an input back end provides (internal to platform/): input.cpp calls the SDL one while the SDL
// back end runs, the scripted one otherwise.
#pragma once
#include <cstdint>

#include "platform/input.h"

struct InputOps {
    bool (*open)();                             // true on failure
    void (*close)();
    bool (*readkeyboard)(uint8_t state[256]);   // true on failure
    bool (*readmouse)(MouseState* state);       // true on failure
    void (*consumekeyhold)(uint8_t code);
};

extern const InputOps sdlinput;
extern const InputOps scriptedinput;
