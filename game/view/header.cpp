#include "game/view/header.h"

#include <cstdint>

#include "game/model/state.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/music.h"
#include "game/shell/shell.h"
#include "game/view/board.h"
#include "game/view/cursor.h"
#include "game/view/drawing.h"
#include "game/view/names.h"
#include "game/view/text.h"

namespace {

enum : int32_t { BORDERSIDEPIECES = 6, BORDERSIDESTEP = 100, BORDERRIGHTX = 795 };

const char* const phasenames[3] = { "Morning.", "Afternoon.", "Night." };

} // namespace

bool DrawScreenBorder()
{
    if (!candraw || !appactive)
        return true;
    DrawSurface(0, 0, imgborder[BORDER_TOP]);
    DrawSurface(0, BOARDHEIGHT, imgborder[BORDER_BOTTOM]);
    for (int32_t i = 0; i < BORDERSIDEPIECES; i++) {
        DrawSurface(0, BORDERSIDESTEP * i, imgborder[BORDER_LEFT]);
        DrawSurface(BORDERRIGHTX, BORDERSIDESTEP * i, imgborder[BORDER_RIGHT]);
    }
    return false;
}

std::string TurnHeaderText()
{
    std::string text = "Day " + std::to_string(daycount) + ", ";
    if (turncount >= MORNING && turncount <= NIGHT)
        text += phasenames[turncount];
    // The neutral side is "Unaligned"; every other holder is named as the names setting says.
    return text + "  (" + PlayerPossessive(currplayer) + " turn).";
}

bool DrawTurnHeader()
{
    if (!candraw)
        return true;
    BeginText(FONT_MEDIUM);
    DrawShadowText(15, 0, 800, 30, TurnHeaderText(), COLOUR_WHITE, TEXT_SINGLELINE | TEXT_VCENTRE);
    if (!p.empty())
        DrawShadowText(0, 0, 795, 30, GoldText(p[YouToInt()].gold), COLOUR_GOLD, FORMAT_RIGHTLINE);
    EndText();
    return false;
}

bool WaitForServer()
{
    PlaySong(SONG_MENU);
    DrawSurface(0, 0, imgback);
    BeginText(FONT_BOARDLARGE);
    DrawTextBox(0, 0, 800, 50, "Waiting for Server...", COLOUR_WHITE, FORMAT_CENTREDLINE);
    EndText();
    DrawCursor(0);
    FlipScreen();
    return false;
}
