// Start-up sequence and shutdown.
//
// Start-up opens the debug log, then brings every file, device, module and table up in sixteen checked
// steps, shows the splash logo while the loading song plays and hands over to the intro. A step that
// fails is told to the player in a message box; what the steps before it started is released again,
// and the debug log stays on disk. The shutdown saves the preferences, frees everything in a fixed
// order, starts the updater when the player asked for it, and last deletes the debug log.
#pragma once
#include <cstdint>
#include <vector>

enum { STARTUPSTEPS = 16 };

// The splash waits for the first of these marks (ms since the loading began) not yet passed.
enum : uint32_t { SPLASHMARK1 = 11854, SPLASHMARK2 = 21000, SPLASHMARK3 = 34000 };
enum : uint32_t { SPLASHPAUSE = 500 };      // the pause after the splash, ms

extern std::vector<int32_t> startuptrace;   // the last start-up's steps as run (n) and undone (-n), in order

bool StartGame();                       // runs the start-up; true on failure (shown, and undone)
void ShutdownGame();                    // saves the preferences, frees everything, deletes the log

uint32_t SplashMark(uint32_t elapsed);  // the mark the splash waits for after elapsed ms of loading; 0 for none
void SplashWait(uint32_t splashstart);  // waits for that mark, until any key is down or a close (SYS_CLOSE) is queued

// Tests: the step of that number (1..STARTUPSTEPS) fails without running, by its result or, with
// throws set, by an exception; 0 for none.
void FailStartupStep(int32_t step, bool throws = false);
