// A headless screen for drawing tests: the platform, the display with its buffers, and the fonts of a
// game directory, which the test works in until the screen is closed.
#pragma once
#include <string>

bool OpenTestScreen(const char* gamedir, std::string* olddir);  // true on failure; olddir: where the test was
void CloseTestScreen(const std::string& olddir);                 // closes it all and goes back to olddir
