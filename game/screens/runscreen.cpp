// One frame of the screens.
#include "game/screens/runscreen.h"

#include "game/screens/control.h"
#include "game/screens/statetable.h"
#include "game/screens/states.h"
#include "game/screens/turn.h"
#include "game/shell/input.h"
#include "game/shell/shell.h"
#include "game/view/frames.h"
#include "platform/input.h"
#include "platform/window.h"

uint8_t escheld = 0;

namespace {

// The states in which Esc opens the in-game menu over the game.
bool OpensMenu(int32_t state)
{
    switch (state) {
    case GAME_SELECTWARLORD:
    case GAME_SHOP:
    case GAME_DEPLOY:
    case GAME_UNITTURN:
    case GAME_WATCH:
    case GAME_WAITPLAYERS:
    case GAME_REQUESTSENT:
    case GAME_COMPTURN:
    case GAME_COMPUNIT:
        return true;
    default:
        return false;
    }
}

} // namespace

// The menu opens on a press, not while Esc is held: a menu closed by a message (a new turn, the day's
// end) rather than by its own buttons leaves the state it was opened over in returngs, and that must
// not keep Esc from opening the menu there again.
void EscapeKeys()
{
    // Esc with F7 ends the program from anywhere, the help included, before Esc's other uses.
    if (IsKeyDown(KEY_ESCAPE) && IsKeyDown(KEY_F7)) {
        appactive = 0;
        DestroyMainWindow();
        escheld = 1;
        return;
    }
    if (IsKeyDown(KEY_ESCAPE) && !escheld && OpensMenu(gs)) {
        returngs = gs;
        gs = GAME_MENUOPEN;
    }
    if (IsKeyDown(KEY_ESCAPE) && gs == GAME_HELP) {
        // The main menu must not see the same press.
        WaitKeyRelease(KEY_ESCAPE);
        gs = GAME_TOMAINMENU;
    }
    escheld = IsKeyDown(KEY_ESCAPE);
}

void RunScreen()
{
    PollControl();
    framecount++;
    if (appactive) {
        candraw = 1;
        PollKeyboard();
        PollMouse(&mousex, &mousey);
        const StateFrame frame = FrameOfState(gs);
        if (frame && frame())
            return;
        EscapeKeys();
    }
    // The neutral side's turn goes on while the game is in the background.
    if (gs == GAME_COMPTURN)
        CompTurnFrame();
    else if (gs == GAME_COMPUNIT)
        CompUnitFrame();
}
