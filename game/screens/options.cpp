// The in-game menu, the options and the victory. For now the least that lets a game run: the menu and
// the options close at once, and the victory leaves the game.
#include "game/screens/options.h"

#include "game/net/lobby.h"
#include "game/screens/states.h"
#include "game/shell/music.h"

bool MenuOpenFrame()
{
    gs = GAME_RESUME;
    return false;
}

bool MenuFrame()
{
    gs = GAME_RESUME;
    return false;
}

bool ResumeFrame()
{
    gs = returngs >= 0 ? returngs : GAME_TOMAINMENU;
    returngs = -1;
    return false;
}

bool LeaveGameFrame()
{
    LeaveGame();
    return false;
}

bool OptionsOpenFrame()
{
    gs = GAME_RESUME;
    return false;
}

bool OptionsFrame()
{
    gs = GAME_RESUME;
    return false;
}

bool VictoryFrame()
{
    StopAllSongs();
    gs = GAME_VICTORYSCREEN;
    return false;
}

bool VictoryScreenFrame()
{
    LeaveGame();
    return false;
}
