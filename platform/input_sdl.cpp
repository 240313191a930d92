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

// The keys that change what another key does: a key that comes while one of them is down takes it
// along to the read that sees the key, even when it is let go before that read.
constexpr uint8_t modifiers[] = {KEY_LCONTROL, KEY_RCONTROL, KEY_LSHIFT, KEY_RSHIFT, KEY_LALT, KEY_RALT};
constexpr size_t maxpresses = 64;   // presses kept for reads to come; a game that reads nothing drops the rest

// A key that went down and is not yet read, with the modifiers down when it came (bit n: modifiers[n]).
struct Press {
    uint8_t code;
    uint8_t modifiers;
};

uint8_t keysdown[256];
uint8_t keysqueued[256];            // presses of the key in the queue
uint8_t keysconsumed[256];          // down, but its press is used up: it reads up until let go
Press presses[maxpresses];          // in the order they came
size_t presscount = 0;
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
    memset(keysconsumed, 0, sizeof keysconsumed);
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
    memset(keysqueued, 0, sizeof keysqueued);
    presscount = 0;
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

// Takes the queued presses in order up to a key's second press, which is left to the next read, so
// every press is seen by a read of its own. A held key whose press waits in the queue is not seen
// before it.
bool SdlReadKeyboard(uint8_t state[256])
{
    uint8_t taken[256] = {};
    uint8_t shown[256] = {};
    size_t n = 0;
    for (; n < presscount && !taken[presses[n].code]; n++) {
        const Press& press = presses[n];
        taken[press.code] = 1;
        shown[press.code] = 1;
        keysqueued[press.code]--;
        for (size_t m = 0; m < std::size(modifiers); m++)
            if (press.modifiers >> m & 1)
                shown[modifiers[m]] = 1;
    }
    std::copy(presses + n, presses + presscount, presses);
    presscount -= n;
    for (int i = 0; i < 256; i++) {
        const bool held = keysdown[i] && !keysconsumed[i] && !keysqueued[i];
        state[i] = (shown[i] || held) ? KEY_DOWNBIT : 0;
    }
    return false;
}

// The key's presses still queued are later ones: they are read all the same.
void SdlConsumeKeyHold(uint8_t code)
{
    if (keysdown[code])
        keysconsumed[code] = 1;
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

// A key goes down: a read sees it in its turn, and with it every modifier held when it came (Ctrl and
// Space may arrive in different frames, Ctrl let go before the read that sees Space). The system's
// repeats of a held key are no presses.
void PressKey(uint8_t code)
{
    if (keysdown[code])
        return;
    keysdown[code] = 1;
    keysconsumed[code] = 0;
    if (presscount == maxpresses)
        return;
    uint8_t held = 0;
    for (size_t m = 0; m < std::size(modifiers); m++)
        if (keysdown[modifiers[m]] && modifiers[m] != code)
            held |= (uint8_t)(1 << m);
    presses[presscount++] = Press{code, held};
    keysqueued[code]++;
}

} // namespace

const InputOps sdlinput = {SdlOpenInput, SdlCloseInput, SdlReadKeyboard, SdlReadMouse, SdlConsumeKeyHold};

void NoteInputEvent(const SDL_Event& e)
{
    switch (e.type) {
    case SDL_KEYDOWN:
        if (const uint8_t code = KeyCodeForScancode(e.key.keysym.scancode))
            PressKey(code);
        break;
    case SDL_KEYUP:
        if (const uint8_t code = KeyCodeForScancode(e.key.keysym.scancode)) {
            keysdown[code] = 0;
            keysconsumed[code] = 0;
        }
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
