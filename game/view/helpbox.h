// The plain boxes over the board's lower left corner: a title and a text on shading tiles at (5, 400).
#pragma once
#include <string>

// The square panel's description of a map object: the text under a gap below the title; false.
bool DrawInfoBox(std::string title, std::string text);
// The unit panel's help for its command buttons: the text right under the title.
void DrawHelpBox(const char* title, const char* text);
