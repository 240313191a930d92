// The keyboard and mouse reads of every frame, and the keys whose press was used.
#include "game/shell/input.h"

#include <cstring>

#include "game/shell/debuglog.h"
#include "game/shell/display.h"
#include "platform/clock.h"

namespace {

// A keyboard that stays unreadable this many tries (a millisecond apart) counts as all keys up, so a
// lost device can never hold a wait for ever.
constexpr int keyboardtries = 1000;

} // namespace

InputState input = {0, 0, 0, 0, 0, 0};
uint8_t keys[256];
MouseState mousestate;
int32_t mousex = 400;
int32_t mousey = 300;

InputState::~InputState()
{
    if (initialised)
        CloseInput();
    initialised = 0;
}

bool DInputGo()
{
    debuglog << "DInputGo()\n";
    if (OpenInput())
        return true;
    input.initialised = 1;
    return false;
}

bool BindMouse()
{
    debuglog << "Binding Mouse.\n";
    input.left = 0;
    input.top = 0;
    // The clip rectangle is inclusive: the cursor's last place is the screen's last pixel.
    input.right = SCREENWIDTH - 1;
    input.bottom = SCREENHEIGHT - 1;
    input.clamp = 1;
    return false;
}

void ReleaseInput()
{
    if (!input.initialised)
        return;
    CloseInput();
    input.initialised = 0;
}

void PollKeyboard()
{
    for (int tries = 0; tries < keyboardtries; tries++) {
        if (!ReadKeyboard(keys))
            return;
        SleepMs(1);
    }
    debuglog << "ERROR: The keyboard cannot be read.\n";
    memset(keys, 0, sizeof keys);
}

void PollMouse(int32_t* x, int32_t* y)
{
    // A failed read moves nothing and holds no button.
    if (ReadMouse(&mousestate))
        mousestate = MouseState{};
    *x += mousestate.x;
    *y += mousestate.y;
    if (!input.clamp)
        return;
    if (*x > input.right)
        *x = input.right;
    if (*x < input.left)
        *x = input.left;
    if (*y > input.bottom)
        *y = input.bottom;
    if (*y < input.top)
        *y = input.top;
}

bool IsKeyDown(uint32_t key)
{
    return (keys[key & 0xFF] & KEY_DOWNBIT) != 0;
}

// The frame goes on: the key reads up from now on, in this frame's keys and in every read until it is
// let go, while every other key is read as it comes.
void WaitKeyRelease(uint32_t key)
{
    const uint8_t code = key & 0xFF;
    keys[code] = 0;
    ConsumeKeyHold(code);
}

bool UseKeysDown()
{
    bool any = false;
    for (int code = 0; code < 256; code++)
        if (IsKeyDown(code)) {
            WaitKeyRelease(code);
            any = true;
        }
    return any;
}
