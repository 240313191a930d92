// The SDL back end's input, kept from the events the pump meets.
//
// The mouse is read as the pointer's movement in the 800 x 600 frame: the pointer is hidden and put
// where the game's cursor starts, so the game's own cursor, moved by these deltas, stays on it.
#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/backend.h"
#include "platform/inputops.h"

namespace {

constexpr int framewidth = 800;
constexpr int frameheight = 600;
constexpr int wheelnotch = 120;     // wheel movement of one notch, as the game's reads count it

uint8_t keysdown[256];
uint8_t keyspressed[256];           // went down since the last read, even if already up again
// The keys that change what another key does: a key that comes while one of them is down takes it
// along to the read that sees the key, even when it is let go before that read.
constexpr uint8_t modifiers[] = {KEY_LCONTROL, KEY_RCONTROL, KEY_LSHIFT, KEY_RSHIFT, KEY_LALT, KEY_RALT};
uint8_t buttonsdown = 0;            // bit n: button n
uint8_t buttonspressed = 0;
int32_t movex = 0;
int32_t movey = 0;
int32_t wheel = 0;
bool pointerknown = false;
int pointerx = 0;
int pointery = 0;

int ButtonIndex(uint8_t button)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return 0;
    case SDL_BUTTON_RIGHT: return 1;
    case SDL_BUTTON_MIDDLE: return 2;
    case SDL_BUTTON_X1: return 3;
    default: return -1;
    }
}

// Movement between two pointer positions in the frame, both held to its edges so that the sum of
// the movements is where the pointer is.
void NotePointer(int x, int y)
{
    x = std::clamp(x, 0, framewidth - 1);
    y = std::clamp(y, 0, frameheight - 1);
    if (pointerknown) {
        movex += x - pointerx;
        movey += y - pointery;
    }
    pointerx = x;
    pointery = y;
    pointerknown = true;
}

void ReleaseAll()
{
    memset(keysdown, 0, sizeof keysdown);
    buttonsdown = 0;
}

// Puts the pointer on the frame's centre, where the game's cursor starts.
void CentrePointer()
{
    SDL_Window* const window = SDL_GetMouseFocus() ? SDL_GetMouseFocus() : SDL_GetKeyboardFocus();
    SDL_Renderer* const renderer = window ? SDL_GetRenderer(window) : nullptr;
    pointerknown = false;
    if (!renderer)
        return;
    int wx = 0;
    int wy = 0;
    SDL_RenderLogicalToWindow(renderer, framewidth / 2, frameheight / 2, &wx, &wy);
    SDL_WarpMouseInWindow(window, wx, wy);
    SDL_FlushEvent(SDL_MOUSEMOTION);
    pointerx = framewidth / 2;
    pointery = frameheight / 2;
    pointerknown = true;
}

bool SdlOpenInput()
{
    ReleaseAll();
    memset(keyspressed, 0, sizeof keyspressed);
    buttonspressed = 0;
    movex = movey = wheel = 0;
    SDL_ShowCursor(SDL_DISABLE);
    CentrePointer();
    return false;
}

void SdlCloseInput()
{
    SDL_ShowCursor(SDL_ENABLE);
}

bool SdlReadKeyboard(uint8_t state[256])
{
    for (int i = 0; i < 256; i++)
        state[i] = (keysdown[i] | keyspressed[i]) ? KEY_DOWNBIT : 0;
    memset(keyspressed, 0, sizeof keyspressed);
    return false;
}

bool SdlReadMouse(MouseState* state)
{
    *state = MouseState{};
    state->x = movex;
    state->y = movey;
    state->z = wheel;
    for (int b = 0; b < 4; b++)
        state->buttons[b] = ((buttonsdown | buttonspressed) >> b) & 1 ? KEY_DOWNBIT : 0;
    movex = movey = wheel = 0;
    buttonspressed = 0;
    return false;
}

bool IsModifier(uint8_t code)
{
    return std::find(std::begin(modifiers), std::end(modifiers), code) != std::end(modifiers);
}

// A key goes down: it is seen by the next read, and so is every modifier held with it (Ctrl and Space
// may arrive in different frames, Ctrl let go before the read that sees Space).
void PressKey(uint8_t code)
{
    keysdown[code] = 1;
    keyspressed[code] = 1;
    if (IsModifier(code))
        return;
    for (const uint8_t modifier : modifiers)
        if (keysdown[modifier])
            keyspressed[modifier] = 1;
}

} // namespace

const InputOps sdlinput = {SdlOpenInput, SdlCloseInput, SdlReadKeyboard, SdlReadMouse};

void NoteInputEvent(const SDL_Event& e)
{
    switch (e.type) {
    case SDL_KEYDOWN:
        if (const uint8_t code = KeyCodeForScancode(e.key.keysym.scancode))
            PressKey(code);
        break;
    case SDL_KEYUP:
        if (const uint8_t code = KeyCodeForScancode(e.key.keysym.scancode))
            keysdown[code] = 0;
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (const int b = ButtonIndex(e.button.button); b >= 0) {
            buttonsdown |= (uint8_t)(1 << b);
            buttonspressed |= (uint8_t)(1 << b);
        }
        break;
    case SDL_MOUSEBUTTONUP:
        if (const int b = ButtonIndex(e.button.button); b >= 0)
            buttonsdown &= (uint8_t) ~(1 << b);
        break;
    case SDL_MOUSEMOTION:
        NotePointer(e.motion.x, e.motion.y);
        break;
    case SDL_MOUSEWHEEL:
        wheel += (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y) * wheelnotch;
        break;
    case SDL_WINDOWEVENT:
        // Releases that happen elsewhere never reach us.
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
            ReleaseAll();
        break;
    default:
        break;
    }
}
