// What a back end provides to the window and queue (internal to platform/).
//
// window.cpp picks one table at StartPlatform and calls only through it, so neither the game nor the
// queue knows which back end runs.
#pragma once
#include <cstdint>

struct BackendOps {
    bool (*start)();                                        // true on failure
    void (*stop)();
    bool (*openwindow)(const char* caption);                // caption in CP1252; true on failure
    void (*closewindow)();
    void (*present)(const uint32_t* pixels, int width, int height);
    void (*pump)();                                         // turns pending events into queued messages
    void (*wait)(int timeoutms);                            // waits up to timeoutms for an event; may return early
    bool (*messagebox)(const char* caption, const char* text); // UTF-8 texts; true when nothing was shown
};

extern const BackendOps sdlbackend;
extern const BackendOps headlessbackend;

bool PlatformRunning();                     // between StartPlatform and StopPlatform
void PostFocusChange(bool gained);          // posts the activation messages, once per real change
void NoteInputEvent(const union SDL_Event& event); // SDL back end: keeps the keys, buttons and motion an event carries for the input reads
