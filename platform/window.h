// The program's one window and its message queue.
//
// The game is written as one window procedure fed by a queue of small messages; this header is the
// whole of that contract. A back end (SDL2 for the programs, headless for the tests) is chosen once at
// start and turns its events into these messages; sockets post theirs through the same queue. The
// updater and the installer open a small window instead, which also reports the mouse; their worker
// threads post to the queue, which wakes a waiting window thread.
#pragma once
#include <cstddef>
#include <cstdint>

// Messages of the window procedure.
enum : uint32_t {
    SYS_NULL = 0x0000,
    SYS_DESTROY = 0x0002,       // the window is going away; the game answers with PostQuit
    SYS_ACTIVATE = 0x0006,      // wparam 0: the window was deactivated
    SYS_PAINT = 0x000F,         // the window wants painting (nothing to draw: frames are presented)
    SYS_CLOSE = 0x0010,         // the user asked to close the window
    SYS_QUIT = 0x0012,          // ends the main loop; wparam is the exit code
    SYS_ACTIVATEAPP = 0x001C,   // wparam 0: the program lost the foreground, 1: it regained it
    SYS_KEYDOWN = 0x0100,       // wparam: a key of the SYSKEY_ set below
    SYS_CHAR = 0x0102,          // wparam: one typed character, a CP1252 byte
    SYS_COMMAND = 0x0111,       // wparam: a command id (a small window's button was clicked)
    SYS_MOUSEMOVE = 0x0200,     // small windows: lparam the position in window pixels (PointParam)
    SYS_LBUTTONDOWN = 0x0201,   // small windows: the left button went down at lparam
    SYS_LBUTTONUP = 0x0202,     // small windows: the left button went up at lparam
    SYS_USER = 0x0400,          // a program's own messages are numbered from here (SYS_SOCKET is taken)
    SYS_SOCKET = 0x041F,        // wparam: the socket; lparam: event | error << 16 (see platform/socket.h)
};

// Keys reported with SYS_KEYDOWN (the typed-text editing keys; the rest are read from the keyboard state).
enum : uint32_t {
    SYSKEY_BACK = 0x08,
    SYSKEY_TAB = 0x09,
    SYSKEY_RETURN = 0x0D,
    SYSKEY_ESCAPE = 0x1B,
    SYSKEY_END = 0x23,
    SYSKEY_HOME = 0x24,
    SYSKEY_LEFT = 0x25,
    SYSKEY_RIGHT = 0x27,
    SYSKEY_DELETE = 0x2E,
};

// A mouse position packed into lparam, and back (each a signed 16-bit half).
inline intptr_t PointParam(int x, int y)
{
    return (intptr_t)((uint32_t)(uint16_t)x | (uint32_t)(uint16_t)y << 16);
}
inline int ParamX(intptr_t lparam)
{
    return (int16_t)(lparam & 0xFFFF);
}
inline int ParamY(intptr_t lparam)
{
    return (int16_t)((lparam >> 16) & 0xFFFF);
}

struct SysMsg {
    uint32_t message;
    uintptr_t wparam;
    intptr_t lparam;
};

typedef intptr_t (*WindowProc)(uint32_t message, uintptr_t wparam, intptr_t lparam);

// Back ends.
enum SysBackend { BACKEND_SDL, BACKEND_HEADLESS };

bool StartPlatform(SysBackend backend);                    // chooses and starts the back end; true on failure
void StopPlatform();                                        // closes the window and the back end
SysBackend PlatformBackend();                               // the back end chosen at start

// The window.
bool CreateMainWindow(const char* caption, WindowProc proc); // desktop full-screen, 800 x 600 logical; true on failure
void DestroyMainWindow();                                   // delivers SYS_DESTROY to the window procedure, then closes it
// A small fixed-size window centred on the screen, reporting the mouse: framed (a title bar with the
// caption and a close box) or without a frame; true on failure.
bool CreateSmallWindow(const char* caption, int width, int height, WindowProc proc, bool framed);
bool MainWindowExists();                                    // true between Create...Window and DestroyMainWindow
// Shows one XRGB frame (the 800 x 600 back buffer), paced to about 60 a second; a frame the same as the
// one shown is not presented again, unless the window asked to be painted meanwhile (SYS_PAINT). True
// when it was presented: rows *top..*bottom (when asked for) are then all that differ from the last.
bool PresentFrame(const uint32_t* pixels, int width, int height, int* top = nullptr, int* bottom = nullptr);
// PresentFrame for a frame whose caller knows that only rows from..to-1 can differ from the frame last
// presented: the others are not compared (from == to: nothing new). A frame of another size, or one
// after the window asked to be painted, is presented whole as PresentFrame would.
bool PresentFrameRows(const uint32_t* pixels, int width, int height, int from, int to, int* top = nullptr,
                      int* bottom = nullptr);
bool FrameDue();                                            // a frame presented now would not wait for its slot
void ShowSystemCursor(bool show);                           // shows or hides the system's pointer over the window (the game draws its own)
bool SystemCursorShown();                                   // what ShowSystemCursor last asked for (initially shown)

// The queue.
bool PeekSysMessage(SysMsg* msg);                           // takes the oldest message without blocking; false when none
void WaitSysMessage();                                      // blocks until a message is queued
void WaitSysMessageFor(int timeoutms);                      // the same, but returns after timeoutms at most (-1: no limit)
size_t QueuedSysMessages();                                 // how many messages wait now (pumps nothing)
bool SysMessageQueued(uint32_t message);                    // a message of that kind waits now (pumps nothing)
void WaitWindowMessage();                                   // the same for a program without sockets: sleeps on the window alone
void PostSysMessage(uint32_t message, uintptr_t wparam, intptr_t lparam); // appends a message (from any thread)
void PostQuit(int code);                                    // appends SYS_QUIT with the exit code
intptr_t DispatchSysMessage(const SysMsg* msg);             // hands a message to the window procedure
intptr_t DefaultWindowProc(uint32_t message, uintptr_t wparam, intptr_t lparam); // SYS_CLOSE destroys the window; else 0
void PumpSysEvents();                                       // moves pending back-end and socket events into the queue
void DiscardSysMessages(uint32_t message, uintptr_t wparam); // drops queued messages of that kind for that wparam (a closed socket's events)
