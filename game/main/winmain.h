// The game program's entry and main loop.
#pragma once
#include <cstdint>
#include "platform/window.h"

int GameMain(SysBackend backend);   // opens the window, starts the game, runs the loop; the exit code
intptr_t GameWndProc(uint32_t message, uintptr_t wparam, intptr_t lparam); // the game's window procedure
