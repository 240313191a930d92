// Push buttons of the small window: a framed label that lights up under the mouse, looks pressed while
// held, and on release over it posts SYS_COMMAND with its id.
#pragma once
#include <string>

#include "platform/surface.h"

bool CreateKitButton(int id, const std::string& text, int x, int y, int width, int height); // true when the id is taken
bool DestroyKitButton(int id);              // true when there was none
bool KitButtonExists(int id);
int KitButtonCount();
PixelRect KitButtonRect(int id);            // where it is (all 0 when there is none)
