// The turn states. For now the least that lets a game run: each state does its work without drawing.
#include "game/screens/turn.h"

#include "game/ai/computerturn.h"
#include "game/model/state.h"
#include "game/screens/buttons.h"
#include "game/screens/callbacks.h"
#include "game/screens/modalbox.h"
#include "game/screens/states.h"
#include "game/screens/turnsteps.h"

bool EndTurnFrame()
{
    EndTurnStep();
    return false;
}

bool NextUnitFrame()
{
    NextUnitStep();
    return gs == GAME_UNITTURN;
}

bool UnitTurnFrame()
{
    return false;
}

bool WatchFrame()
{
    return false;
}

bool WaitPlayersFrame()
{
    WaitPlayersStep();
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
    ComputerUnitTurn(currplayer, currunit);
    return false;
}
