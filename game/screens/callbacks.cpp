#include "game/screens/callbacks.h"

#include "game/model/moves.h"
#include "game/net/lobby.h"
#include "game/screens/states.h"
#include "game/shell/input.h"
#include "game/shell/music.h"
#include "game/shell/sound.h"
#include "game/view/board.h"
#include "game/view/geometry.h"
#include "platform/input.h"

uint8_t launchupdate = 0;

bool SetGS(int32_t value, int32_t)
{
    gs = value;
    return false;
}

bool ExitForUpdate(int32_t, int32_t)
{
    gs = GAME_EXIT;
    launchupdate = 1;
    return false;
}

bool ToggleMusic(int32_t, int32_t)
{
    musicon = !musicon;
    // Turning it on starts nothing: the next screen that asks for its song starts it.
    if (!musicon)
        StopAllSongs();
    return false;
}

bool ToggleSound(int32_t, int32_t)
{
    soundon = !soundon;
    return false;
}

bool ToggleMinimap(int32_t, int32_t)
{
    minimapon = !minimapon;
    return false;
}

bool ToggleGrid(int32_t, int32_t)
{
    gridon = !gridon;
    return false;
}

bool ToggleAutofocus(int32_t, int32_t)
{
    ToggleAutofocus();
    return false;
}

bool BeginGame(int32_t, int32_t)
{
    BeginGame(IsKeyDown(KEY_F9));
    return false;
}

bool SetShowNames(int32_t value, int32_t)
{
    SetShowNames(value != 0);
    return false;
}

bool LeaveGame(int32_t, int32_t)
{
    LeaveGame();
    return false;
}

bool SetStartMoney(int32_t value, int32_t)
{
    SetStartMoney(value);
    return false;
}
