#include "game/view/pointer.h"

#include "game/shell/input.h"
#include "game/view/drawing.h"

bool LeftButtonDown()
{
    return (mousestate.buttons[0] & KEY_DOWNBIT) != 0;
}

bool MouseOn(const PixelRect& r)
{
    return InRect(r, mousex, mousey);
}

void HoldUntilRelease()
{
    // A read that fails reports no button down.
    while (LeftButtonDown())
        PollMouse(&mousex, &mousey);
}
