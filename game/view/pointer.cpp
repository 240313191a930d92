#include "game/view/pointer.h"

#include "game/shell/input.h"
#include "game/view/drawing.h"

bool LeftButtonDown()
{
    return (mousestate.buttons[0] & 0x80) != 0;
}

bool MouseOn(const PixelRect& r)
{
    return InRect(r, mousex, mousey);
}

void HoldUntilRelease()
{
    while (LeftButtonDown())
        if (PollMouse())
            break;
}
