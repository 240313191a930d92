#include "game/screens/errorscreen.h"

#include <utility>

#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/images.h"
#include "game/shell/shell.h"
#include "game/shell/sound.h"
#include "platform/gdi.h"

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
    if (!candraw || !backbuffer)
        return;
    ClearBackBuffer();
    DrawSurface(0, 0, imgback);
    GdiDC* const dc = OpenSurfaceDC(backbuffer);
    SetDCBackMode(dc, BACK_TRANSPARENT);
    SelectDCFont(dc, fonts[2]);
    const uint32_t titleflags = TEXT_CENTRE | TEXT_VCENTRE | TEXT_SINGLELINE;
    SetDCTextColour(dc, MakeColour(0, 0, 0));
    DrawDCText(dc, errortitle, PixelRect{1, 1, SCREENWIDTH + 1, 51}, titleflags);
    SetDCTextColour(dc, MakeColour(255, 0, 0));
    DrawDCText(dc, errortitle, PixelRect{0, 0, SCREENWIDTH, 50}, titleflags);
    SelectDCFont(dc, fonts[1]);
    SetDCTextColour(dc, MakeColour(255, 255, 255));
    DrawDCText(dc, errortext, PixelRect{0, 100, SCREENWIDTH, 500}, TEXT_CENTRE | TEXT_WORDBREAK);
    CloseDC(dc);
}
