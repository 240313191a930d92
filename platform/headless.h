// The headless back end's test controls: inject what a user would do, read what the game presented.
//
// Injected events wait in the back end until the queue next pumps (PeekSysMessage, WaitSysMessage,
// PumpSysEvents), as a real window's events do. A focus change that changes nothing posts nothing.
// SIGTERM and SIGINT arrive as SYS_CLOSE, as the user closing the window would.
#pragma once
#include <cstdint>
#include <string>

void InjectFocusLost();                     // the window loses the foreground: SYS_ACTIVATE 0, then SYS_ACTIVATEAPP 0
void InjectFocusGained();                   // the window regains it: SYS_ACTIVATEAPP 1
void InjectCloseRequest();                  // the user closes the window: SYS_CLOSE
void InjectText(const char* cp1252);        // typed text: one SYS_CHAR per byte
void InjectKeyDown(uint32_t key);           // a SYSKEY_ key pressed: SYS_KEYDOWN
void InjectMouseMove(int x, int y);         // small windows: the mouse moved there: SYS_MOUSEMOVE
void InjectMouseButton(int x, int y, bool down); // small windows: the left button there: SYS_LBUTTONDOWN or UP
void InjectClick(int x, int y);             // small windows: a move there, then the left button down and up
bool HeadlessSmallWindowFramed(std::string* caption); // the last small window had a title bar; its caption
int PresentedFrameCount();                  // frames presented since StartPlatform, those that showed nothing new too
int RepeatedFrameCount();                   // of those, the frames the same as the one shown, not presented again
const uint32_t* LastPresentedFrame(int* width, int* height); // the last frame's pixels (null, 0 x 0 when none)
bool SaveLastFramePng(const char* path);    // writes the last frame as a PNG; true on failure or when there is none
// Calls watch with every frame as it is presented (null stops), for tests that follow a sequence.
void WatchPresentedFrames(void (*watch)(const uint32_t* pixels, int width, int height));
