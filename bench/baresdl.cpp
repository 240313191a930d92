// baresdl: the least an SDL program does before a player sees anything, as the yardstick of the game's
// first frame: a desktop full-screen window (as the game opens), a renderer, one present; then it says
// "presented" on standard output and ends. It takes what SDL picks by default (an accelerated renderer
// where it can, on a GL stack); `baresdl software` asks for the software renderer on the window
// system's own framebuffer, as the game does.
#include <SDL.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    const bool software = argc > 1 && strcmp(argv[1], "software") == 0;
    if (software) {
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        fprintf(stderr, "baresdl: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* const window = SDL_CreateWindow("baresdl", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 800,
                                                600, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_Renderer* const renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
    if (!renderer) {
        fprintf(stderr, "baresdl: %s\n", SDL_GetError());
        return 1;
    }
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
    printf("presented\n");
    fflush(stdout);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
