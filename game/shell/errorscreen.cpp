#include "game/shell/errorscreen.h"

#include <utility>

#include "game/screens/states.h"
#include "game/shell/sound.h"

std::string errortitle;
std::string errortext;
int32_t aftererror = GAME_TOMAINMENU;

void ShowErrorScreen(std::string title, std::string text, const int32_t next)
{
    PlaySfx(".\\Sound\\GSError.wav");
    errortext = std::move(text);
    errortitle = std::move(title);
    // The error screen as its own next state would never let the player out: keep the one before.
    if (next != GAME_ERRORSCREEN)
        aftererror = next;
    gs = GAME_ERRORSCREEN;
}

void DrawErrorScreen()
{
}
