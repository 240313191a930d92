// The updater program: its start, its window with three buttons, and the worker it starts.
//
// The window belongs to the main thread. The worker (worker.h) reaches it only through the UpdateUi
// that posts to the queue: status lines and message boxes as UPD_ messages, the end as command 1179.
#pragma once
#include <cstdint>
#include <string>
#include <thread>

#include "common/bitmap.h"
#include "platform/gdi.h"
#include "platform/window.h"

struct Module;

enum {
    UPDATERWIDTH = 400,
    UPDATERHEIGHT = 400,
    BUTTONCOUNT = 3,
    BUTTON_QUIT = 0,            // slots, each with the id 137 + slot
    BUTTON_UPDATE = 1,
    BUTTON_PLAY = 2,
    CMD_UPDATEDONE = 1179,      // the worker has finished
    UPDATERFONTHEIGHT = -17,    // the game's font for the buttons and texts
};

// What the worker posts (handled by UpdaterWndProc on the main thread).
enum : uint32_t {
    UPD_STATUS = SYS_USER + 1,  // a new status line waits
    UPD_MESSAGE = SYS_USER + 2, // a message box waits
    UPD_VERSION = SYS_USER + 3, // the files changed: read the version again
};

extern Module* hinstance;           // the program's own resources
extern Bitmap backbitmap;           // the window's background, "back"
extern std::string baseurl;         // where updates come from
extern std::thread updatethread;    // the worker of the update in progress
extern std::string statustext;      // the worker's last status line, shown while it runs

int UpdaterMain(int argc, char** argv, SysBackend backend);   // WinMain: the exit code
bool RequireFile(const char* name);         // true (after saying so) when the file does not open
bool LoadUpdaterBackground();               // always false: the window does without a background
bool OpenUpdaterWindow(const char* fontfile); // the window, in the font of that file when it is there; true on failure
void FreeUpdaterResources();                // the background and the program's own resources
bool InitUpdaterWindow();                   // always false
void ShutdownUpdater();                     // waits for a worker still running
intptr_t UpdaterWndProc(uint32_t message, uintptr_t wparam, intptr_t lparam);
bool OnUpdaterCommand(int id);              // always false
bool PaintUpdaterWindow(GdiDC* dc);         // the background and the version text; always false
void PaintUpdaterFrame(GdiDC* dc);          // the window's picture: that, and the status line while updating
bool CreateUpdaterButtons();                // always false
bool DestroyUpdaterButtons();               // always false
int ButtonIndexToId(int index);
int ButtonIdToIndex(int id);

bool StartUpdate();                         // starts the worker on the working directory; true when one runs already
bool UpdateRunning();                       // from Update until the worker's 1179 has been handled
void CancelUpdateAndClose();                // the window was closed: the worker stops and rolls back, then the window goes
void ShowWorkerStatus();                    // UPD_STATUS: takes the waiting line and repaints
void ShowWorkerMessage();                   // UPD_MESSAGE: shows the waiting box
void FinishUpdate();                        // 1179: joins the worker
