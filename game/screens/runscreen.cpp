// One frame of the screens. Placeholder until the screens land: a black frame at about 60 a second.
#include "game/screens/runscreen.h"

#include "game/shell/display.h"
#include "game/shell/shell.h"
#include "platform/clock.h"

void RunScreen()
{
    if (candraw) {
        ClearBackBuffer();
        FlipScreen();
    }
    SleepMs(16);
}
