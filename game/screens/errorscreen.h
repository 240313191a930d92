// The error screen: a failure the player must acknowledge, then the screen its reporter chose.
#pragma once
#include <cstdint>
#include <string>

extern std::string errortitle;
extern std::string errortext;
extern int32_t aftererror;              // the screen state entered when the player presses "OK"

// Shows the error screen with its sound; a later call replaces an earlier one.
void ShowErrorScreen(std::string title, std::string text, int32_t next);

// Draws the error screen's background, title and text into the back buffer (the screen machine adds
// the "OK" button, the cursor and the flip).
void DrawErrorScreen();
