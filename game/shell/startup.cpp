// Start-up and shutdown. For now the least that lets the main loop run: the full sequence of steps
// (log, preferences, modules, devices) replaces this.
#include "game/shell/startup.h"

#include "game/shell/shell.h"

bool StartGame()
{
    startupdone = 1;
    return false;
}

void ShutdownGame()
{
}
