// The turn states: the local player's turn unit by unit, watching the others, waiting for the day's
// first turn, the wait for the host's answer, the end-turn box, and the host's play of the neutral side.
#include "game/screens/turn.h"

#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/model/turns.h"
#include "game/screens/boardcommands.h"
#include "game/screens/boardkeys.h"
#include "game/screens/buttons.h"
#include "game/screens/callbacks.h"
#include "game/screens/frontlook.h"
#include "game/screens/modalbox.h"
#include "game/screens/states.h"
#include "game/screens/turnsteps.h"
#include "game/screens/watch.h"
#include "game/shell/display.h"
#include "game/shell/music.h"
#include "game/shell/shell.h"
#include "game/view/ambience.h"
#include "game/view/board.h"
#include "game/view/chat.h"
#include "game/view/commandmode.h"
#include "game/view/cursor.h"
#include "game/view/drawing.h"
#include "game/view/geometry.h"
#include "game/view/text.h"
#include "platform/clock.h"

namespace {

enum : uint32_t { CANCELAFTERMS = 10000 };

bool Typing()
{
    return chattarget != CHATCLOSED;
}

} // namespace

bool EndTurnFrame()
{
    EndTurnStep();
    return false;
}

bool NextUnitFrame()
{
    NextUnitStep();
    // A unit taken ends the frame at once: the Esc keys wait for its first frame.
    return gs == GAME_UNITTURN;
}

bool UnitTurnFrame()
{
    const int32_t local = YouToInt();
    // The acting unit may have died, or the turn passed on, since the last frame.
    if (!HasActingUnit()) {
        gs = currplayer == local && turnholder == local && !p[local].units.empty() ? GAME_NEXTUNIT : GAME_WATCH;
        return false;
    }
    PlaySong(TimeOfDaySong());
    PlayAmbientSound();
    ClearAndDrawBoard(1, local);
    if (!Typing())
        HandleBoardClick();
    DrawPlayPanels(local, true);
    DrawCursor(cursorframe);
    ChatEntry();
    ScrollView();
    FlipScreen();
    if (!Typing()) {
        HandleUnitTurnKeys();
        HandleGameKeys();
    }
    return false;
}

bool WatchFrame()
{
    // Between turns nobody acts: the local player's view is drawn meanwhile.
    const bool between = currplayer == -1;
    if (between)
        currplayer = YouToInt();
    DrawWatchFrame();
    if (between)
        currplayer = -1;
    return false;
}

bool WaitPlayersFrame()
{
    const int32_t local = YouToInt();
    const int32_t holder = currplayer;
    currplayer = local;
    PlaySong(SONG_IDLE);
    ClearAndDrawBoard(0, local);
    DrawPlayPanels(local, false);
    ChatEntry();
    // The drawing showed the local player's side; the turn holder is the game's, shared by every machine.
    currplayer = holder;
    WaitPlayersStep();
    static uint8_t& preferences = buttonstates[BUTTON_PREFERENCES];
    DrawTextButton(15, 545, "Preferences", OpenOptions, 0, 0, preferences, 2);
    if (!Typing())
        HandleGameKeys();
    DrawCursor(0);
    ScrollView();
    FlipScreen();
    return false;
}

bool StartTurnFrame()
{
    StartTurnStep();
    return false;
}

bool RequestSentFrame()
{
    RequestSentStep();
    return false;
}

bool WaitResultFrame()
{
    const int32_t local = YouToInt();
    ClearAndDrawBoard(0, local);
    DrawPlayPanels(local, false);
    BeginText(FONT_BOARDLARGE);
    DrawTextBox(5, 30, 790, 490, "Please wait...", COLOUR_WHITE, FORMAT_CENTREDLINE);
    EndText();
    // The request stays sent: a late answer is still applied when it comes.
    if (GetTicks() - requesttime > CANCELAFTERMS)
        DrawTextButton(595, 525, "Cancel", SetGS, GAME_UNITTURN, 0, buttonstates[BUTTON_WAITCANCEL], 0);
    EndFrame();
    return false;
}

bool YourTurnFrame()
{
    YourTurnStep();
    return false;
}

bool EndTurnOpenFrame()
{
    BuildModalBox(endturnbox, false);
    gs = GAME_ENDTURNCONFIRM;
    return false;
}

bool EndTurnConfirmFrame()
{
    DrawModalBox();
    DrawTextButton(300, 200, "End Turn", SetGS, GAME_ENDTURN, 0, buttonstates[BUTTON_ENDTURN], 2);
    DrawTextButton(300, 325, "Cancel", SetGS, GAME_UNITTURN, 0, buttonstates[BUTTON_ENDTURNCANCEL], 2);
    EndModalFrame();
    return false;
}

bool CompTurnFrame()
{
    CompTurnStep();
    return gs == GAME_COMPUNIT;
}

bool CompUnitFrame()
{
    // In the background the neutral side plays on, unseen.
    if (appactive)
        DrawWatchFrame();
    CompUnitStep();
    return false;
}
