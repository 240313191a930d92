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
    // Shows the frame; only rows top..bottom (inclusive) differ from the frame shown before, unless the
    // band is every row (a new window, a new shape, the window asked to be painted).
    void (*present)(const uint32_t* pixels, int width, int height, int top, int bottom);
    void (*repeat)();                                       // a frame the same as the one shown: waits out its slot
    bool (*framedue)();                                     // a present now would not wait for its slot
    void (*pump)();                                         // turns pending events into queued messages
    void (*wait)(int timeoutms);                            // waits up to timeoutms for an event; may return early
    // UTF-8 texts, a BoxIcon and BoxButtons (platform/dialog.h); the BoxAnswer, or -1 when nothing was shown.
    int (*messagebox)(const char* caption, const char* text, int icon, int buttons);
    bool (*opensmall)(const char* caption, int width, int height, bool framed); // a small window, with a title bar or none; true on failure
    void (*wake)();                                         // ends a wait from another thread
};

extern const BackendOps sdlbackend;
extern const BackendOps headlessbackend;

bool PlatformRunning();                     // between StartPlatform and StopPlatform
void PostFocusChange(bool gained);          // posts the activation messages, once per real change
void NoteInputEvent(const union SDL_Event& event); // SDL back end: keeps the keys, buttons and motion an event carries for the input reads
