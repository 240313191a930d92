// Input over the back end that runs: SDL's events, or the headless script.
#include "platform/input.h"

#include "platform/backend.h"
#include "platform/inputops.h"
#include "platform/window.h"

namespace {

bool inputopen = false;

const InputOps& Devices()
{
    return PlatformRunning() && PlatformBackend() == BACKEND_SDL ? sdlinput : scriptedinput;
}

} // namespace

bool OpenInput()
{
    if (inputopen)
        return false;
    if (!PlatformRunning() || Devices().open())
        return true;
    inputopen = true;
    return false;
}

void CloseInput()
{
    if (!inputopen)
        return;
    inputopen = false;
    if (PlatformRunning())
        Devices().close();
}

bool InputOpen()
{
    return inputopen;
}

bool ReadKeyboard(uint8_t state[256])
{
    // What arrived since the last read lands in the queue first, and the keys it carried with it.
    PumpSysEvents();
    return Devices().readkeyboard(state);
}

bool ReadMouse(MouseState* state)
{
    PumpSysEvents();
    return Devices().readmouse(state);
}

void ConsumeKeyHold(uint8_t code)
{
    if (PlatformRunning())
        Devices().consumekeyhold(code);
}
