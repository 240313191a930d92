// Start-up sequence and shutdown.
#pragma once

bool StartGame();       // runs the start-up steps; true on failure
void ShutdownGame();    // frees what start-up made
