// The SDL2 back end: one desktop full-screen window showing the 800 x 600 frame letterboxed, or a
// small fixed window (the updater's, the installer's) showing its frame pixel for pixel.
#include <SDL.h>

#include <cstdio>
#include <string>

#include "platform/backend.h"
#include "platform/cp1252.h"
#include "platform/dialog.h"
#include "platform/display.h"
#include "platform/window.h"

namespace {

constexpr int logicalwidth = 800;
constexpr int logicalheight = 600;
constexpr uint64_t FRAMEMS = 16;        // the shortest time between two presented frames (about 60 a second)

SDL_Window* sdlwindow = nullptr;
SDL_Renderer* renderer = nullptr;
SDL_Texture* frametexture = nullptr;
int texturewidth = 0;
int textureheight = 0;
bool smallwindow = false;       // the mouse is reported as messages
uint64_t lastpresent = 0;       // SDL_GetTicks64 of the last present
uint32_t wakeevent = (uint32_t)-1;

bool SdlStart()
{
    // Closing the window is the game's decision (SYS_CLOSE), not a second quit event.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The 800 x 600 frame is scaled up sharp: nearest pixel, never blurred.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // One streamed texture copied to the window is all the drawing there is: SDL's software renderer
    // onto the window system's own framebuffer (on X11 shared memory, not a GL texture) shows it sooner
    // after start and without the memory of a GL stack.
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        SDL_Log("SDL video: %s", SDL_GetError());
        return true;
    }
    if (wakeevent == (uint32_t)-1)
        wakeevent = SDL_RegisterEvents(1);
    return false;
}

void SdlStop()
{
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
        SDL_Quit();
}

void SdlCloseWindow()
{
    if (frametexture)
        SDL_DestroyTexture(frametexture);
    if (renderer)
        SDL_DestroyRenderer(renderer);
    if (sdlwindow)
        SDL_DestroyWindow(sdlwindow);
    frametexture = nullptr;
    renderer = nullptr;
    sdlwindow = nullptr;
    texturewidth = textureheight = 0;
    smallwindow = false;
}

bool MakeTexture(int width, int height)
{
    if (frametexture)
        SDL_DestroyTexture(frametexture);
    frametexture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!frametexture) {
        texturewidth = textureheight = 0;
        return true;
    }
    // The frame's top byte is not alpha: copy it, never blend with it.
    SDL_SetTextureBlendMode(frametexture, SDL_BLENDMODE_NONE);
    SDL_RenderSetLogicalSize(renderer, width, height);
    texturewidth = width;
    textureheight = height;
    return false;
}

// SDL falls back on a driver that shows nothing when no display can be reached; unless someone asked
// for it, the game would run unseen.
bool OnlyInvisibleDriver()
{
    const char* const driver = SDL_GetCurrentVideoDriver();
    const char* const asked = SDL_getenv("SDL_VIDEODRIVER");
    if (!driver || (asked && *asked))
        return false;
    if (SDL_strcasecmp(driver, "offscreen") != 0 && SDL_strcasecmp(driver, "dummy") != 0)
        return false;
    std::fprintf(stderr, "Gorvanel: no display to show the game on (only SDL's \"%s\" video driver works here).\n",
                 driver);
    return true;
}

// Opens the window with its renderer and a frame texture of width x height; true on failure.
bool OpenWindowOfSize(const char* caption, int x, int y, int width, int height, uint32_t flags)
{
    if (OnlyInvisibleDriver())
        return true;
    const std::string title = Cp1252ToUtf8(caption ? caption : "");
    sdlwindow = SDL_CreateWindow(title.c_str(), x, y, width, height, flags);
    if (!sdlwindow) {
        SDL_Log("SDL window: %s", SDL_GetError());
        return true;
    }
    renderer = SDL_CreateRenderer(sdlwindow, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer)
        renderer = SDL_CreateRenderer(sdlwindow, -1, 0);
    if (!renderer || MakeTexture(width, height)) {
        SDL_Log("SDL renderer: %s", SDL_GetError());
        SdlCloseWindow();
        return true;
    }
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
    SDL_StartTextInput();
    return false;
}

bool SdlOpenWindow(const char* caption)
{
    return OpenWindowOfSize(caption, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, logicalwidth, logicalheight,
                            SDL_WINDOW_FULLSCREEN_DESKTOP);
}

bool SdlOpenSmall(const char* caption, int width, int height, bool framed)
{
    if (OpenWindowOfSize(caption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                         framed ? 0 : SDL_WINDOW_BORDERLESS))
        return true;
    smallwindow = true;
    return false;
}

// A flip waits for the screen's next refresh: the game's frame-counted timings (the caret, the pulsing
// titles, the edge scrolling) assume about 60 frames a second, so a frame never ends sooner than that
// after the last, whether it was shown or had nothing new to show.
void SdlPace()
{
    const uint64_t now = SDL_GetTicks64();
    if (now - lastpresent < FRAMEMS)
        SDL_Delay((uint32_t)(FRAMEMS - (now - lastpresent)));
    lastpresent = SDL_GetTicks64();
}

bool SdlFrameDue()
{
    return SDL_GetTicks64() - lastpresent >= FRAMEMS;
}

// Whether the renderer's buffer keeps what the last present showed, so that drawing the changed rows
// alone shows the whole frame: the software renderer's does (it is the window's own framebuffer), and
// at a whole-number scale each frame row lands on the same screen rows whichever band is drawn.
bool KeepsShownFrame()
{
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || !(info.flags & SDL_RENDERER_SOFTWARE))
        return false;
    float sx = 0;
    float sy = 0;
    SDL_RenderGetScale(renderer, &sx, &sy);
    return sx >= 1 && sy >= 1 && sx == (float)(int)sx && sy == (float)(int)sy;
}

void SdlPresent(const uint32_t* pixels, int width, int height, int top, int bottom)
{
    if (!renderer)
        return;
    bool whole = (top == 0 && bottom == height - 1) || !KeepsShownFrame();
    if (width != texturewidth || height != textureheight) {
        if (MakeTexture(width, height))
            return;
        whole = true;
    }
    const SDL_Rect band = {0, whole ? 0 : top, width, whole ? height : bottom - top + 1};
    void* upload = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(frametexture, &band, &upload, &pitch) != 0)
        return;
    CopyFrameToUpload(upload, pitch, pixels + (size_t)band.y * width, width, band.h);
    SDL_UnlockTexture(frametexture);
    if (whole)
        SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, frametexture, &band, &band);
    SDL_RenderPresent(renderer);
    SdlPace();
}

void TranslateWindowEvent(const SDL_WindowEvent& e)
{
    switch (e.event) {
    case SDL_WINDOWEVENT_FOCUS_LOST:
    case SDL_WINDOWEVENT_MINIMIZED:
        PostFocusChange(false);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        PostFocusChange(true);
        break;
    case SDL_WINDOWEVENT_CLOSE:
        PostSysMessage(SYS_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:     // a new size is a new buffer, showing nothing yet
        PostSysMessage(SYS_PAINT, 0, 0);
        break;
    default:
        break;
    }
}

uint32_t TranslateKey(SDL_Keycode key)
{
    switch (key) {
    case SDLK_BACKSPACE: return SYSKEY_BACK;
    case SDLK_TAB: return SYSKEY_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return SYSKEY_RETURN;
    case SDLK_ESCAPE: return SYSKEY_ESCAPE;
    case SDLK_END: return SYSKEY_END;
    case SDLK_HOME: return SYSKEY_HOME;
    case SDLK_LEFT: return SYSKEY_LEFT;
    case SDLK_RIGHT: return SYSKEY_RIGHT;
    case SDLK_DELETE: return SYSKEY_DELETE;
    default: return 0;
    }
}

void SdlPump()
{
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        NoteInputEvent(e);
        switch (e.type) {
        case SDL_MOUSEMOTION:
            if (smallwindow)
                PostSysMessage(SYS_MOUSEMOVE, 0, PointParam(e.motion.x, e.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (smallwindow && e.button.button == SDL_BUTTON_LEFT)
                PostSysMessage(e.type == SDL_MOUSEBUTTONDOWN ? SYS_LBUTTONDOWN : SYS_LBUTTONUP, 0,
                               PointParam(e.button.x, e.button.y));
            break;
        case SDL_WINDOWEVENT:
            TranslateWindowEvent(e.window);
            break;
        case SDL_QUIT:
            PostSysMessage(SYS_CLOSE, 0, 0);
            break;
        case SDL_TEXTINPUT:
            for (const char c : Utf8ToCp1252(e.text.text))
                PostSysMessage(SYS_CHAR, (uint8_t)c, 0);
            break;
        case SDL_KEYDOWN:
            if (const uint32_t key = TranslateKey(e.key.keysym.sym))
                PostSysMessage(SYS_KEYDOWN, key, 0);
            break;
        default:
            break;
        }
    }
}

void SdlWait(int timeoutms)
{
    // A null event leaves what arrived in SDL's queue for the next pump.
    SDL_WaitEventTimeout(nullptr, timeoutms);
}

void SdlWake()
{
    // Thread-safe: the window thread's wait returns, and the event itself is dropped by the pump.
    SDL_Event e = {};
    e.type = wakeevent;
    SDL_PushEvent(&e);
}

// The last frame presented, again: the box was drawn over the window, and with no window manager to
// ask for a repaint its pixels would stay there (under the next box, too) until the window drew anew.
void ShowLastFrame()
{
    if (!renderer || !frametexture)
        return;
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, frametexture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
}

int SdlMessageBox(const char* caption, const char* text, int icon, int buttons)
{
    // A box behind a full-screen window would never be seen.
    if (sdlwindow && !smallwindow)
        SDL_SetWindowFullscreen(sdlwindow, 0);
    static const SDL_MessageBoxButtonData ok[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, BOXANSWER_OK, "OK"},
    };
    static const SDL_MessageBoxButtonData yesno[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, BOXANSWER_YES, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, BOXANSWER_NO, "No"},
    };
    SDL_MessageBoxData box = {};
    box.flags = icon == BOXICON_ERROR ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    // No parent: SDL's X11 box, placed over a parent, counts the parent's place on the screen twice and
    // opens right of and below it, past the edge of a small screen; without one it is centred on the
    // screen.
    box.window = nullptr;
    box.title = caption;
    box.message = text;
    box.numbuttons = buttons == BOXBUTTONS_YESNO ? 2 : 1;
    box.buttons = buttons == BOXBUTTONS_YESNO ? yesno : ok;
    int answer = -1;
    const int shown = SDL_ShowMessageBox(&box, &answer);
    ShowLastFrame();
    if (shown != 0)
        return -1;
    // Closing the box without a button is the escape answer.
    return answer >= 0 ? answer : buttons == BOXBUTTONS_YESNO ? BOXANSWER_NO : BOXANSWER_OK;
}

} // namespace

const BackendOps sdlbackend = {
    SdlStart, SdlStop,       SdlOpenWindow, SdlCloseWindow, SdlPresent, SdlPace, SdlFrameDue,
    SdlPump,  SdlWait,       SdlMessageBox, SdlOpenSmall,   SdlWake,
};
