// Single-line edit boxes of the small window: CP1252 text of any length, a caret moved with the mouse
// and the arrow, Home and End keys, Backspace and Delete, scrolling sideways to keep the caret in view.
// The box clicked last (or made last) has the keyboard.
#pragma once
#include <string>

#include "platform/surface.h"

bool CreateKitEdit(int id, const PixelRect& rect, const std::string& text);  // true when the id is taken
bool DestroyKitEdit(int id);                    // true when there was none
bool KitEditExists(int id);
std::string KitEditText(int id);                // "" when there is none
void SetKitEditText(int id, const std::string& text);   // the caret goes to the end
size_t KitEditCaret(int id);                    // the caret's place: the number of characters before it
size_t KitEditFirstShown(int id);               // the first character in view (the box scrolls to show the caret)
