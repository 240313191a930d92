// The SDL2 back end: one desktop full-screen window showing the 800 x 600 frame letterboxed.
#include <SDL.h>

#include <cstdio>
#include <string>

#include "platform/backend.h"
#include "platform/cp1252.h"
#include "platform/display.h"
#include "platform/window.h"

namespace {

constexpr int logicalwidth = 800;
constexpr int logicalheight = 600;

SDL_Window* sdlwindow = nullptr;
SDL_Renderer* renderer = nullptr;
SDL_Texture* frametexture = nullptr;
int texturewidth = 0;
int textureheight = 0;

bool SdlStart()
{
    // Closing the window is the game's decision (SYS_CLOSE), not a second quit event.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The 800 x 600 frame is scaled up sharp: nearest pixel, never blurred.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        SDL_Log("SDL video: %s", SDL_GetError());
        return true;
    }
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

bool SdlOpenWindow(const char* caption)
{
    if (OnlyInvisibleDriver())
        return true;
    const std::string title = Cp1252ToUtf8(caption ? caption : "");
    sdlwindow = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                 logicalwidth, logicalheight, SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (!sdlwindow) {
        SDL_Log("SDL window: %s", SDL_GetError());
        return true;
    }
    renderer = SDL_CreateRenderer(sdlwindow, -1, 0);
    if (!renderer)
        renderer = SDL_CreateRenderer(sdlwindow, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer || MakeTexture(logicalwidth, logicalheight)) {
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

void SdlPresent(const uint32_t* pixels, int width, int height)
{
    if (!renderer)
        return;
    if ((width != texturewidth || height != textureheight) && MakeTexture(width, height))
        return;
    void* upload = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(frametexture, nullptr, &upload, &pitch) != 0)
        return;
    CopyFrameToUpload(upload, pitch, pixels, width, height);
    SDL_UnlockTexture(frametexture);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, frametexture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
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
        PostSysMessage(SYS_PAINT, 0, 0);
        break;
    default:
        break;
    }
}

void SdlPump()
{
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        NoteInputEvent(e);
        switch (e.type) {
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
            if (e.key.keysym.sym == SDLK_BACKSPACE)
                PostSysMessage(SYS_KEYDOWN, SYSKEY_BACK, 0);
            else if (e.key.keysym.sym == SDLK_DELETE)
                PostSysMessage(SYS_KEYDOWN, SYSKEY_DELETE, 0);
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

bool SdlMessageBox(const char* caption, const char* text)
{
    // A box behind a full-screen window would never be seen.
    if (sdlwindow)
        SDL_SetWindowFullscreen(sdlwindow, 0);
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, sdlwindow) != 0;
}

} // namespace

const BackendOps sdlbackend = {
    SdlStart, SdlStop, SdlOpenWindow, SdlCloseWindow, SdlPresent, SdlPump, SdlWait, SdlMessageBox,
};
