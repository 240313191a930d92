// The game program's entry and main loop.
#pragma once
#include <cstdint>
#include "platform/window.h"

int GameMain(SysBackend backend);   // opens the window, starts the game, runs the loop; the exit code
// One pass of the main loop: the window messages that waited when the pass began, then frame (the
// screens' frame in the game; a test's scripted player in its place) and the per-pass work of the
// network and the rules. True when a quit message ended the loop (*exitcode: its code): the caller
// shuts down.
bool MainLoopPass(void (*frame)(), int* exitcode);
intptr_t GameWndProc(uint32_t message, uintptr_t wparam, intptr_t lparam); // the game's window procedure
