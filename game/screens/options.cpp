// The in-game menu, the options box, leaving a game and the victory.
#include "game/screens/options.h"

#include <string>

#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/model/winner.h"
#include "game/net/lobby.h"
#include "game/screens/buttons.h"
#include "game/screens/callbacks.h"
#include "game/screens/frontlook.h"
#include "game/screens/modalbox.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/music.h"
#include "game/shell/shell.h"
#include "game/shell/sound.h"
#include "game/view/board.h"
#include "game/view/unitpicture.h"
#include "game/view/drawing.h"
#include "game/view/geometry.h"
#include "game/view/header.h"
#include "game/view/text.h"

namespace {

enum : int32_t { BOXLOOK = 2, VICTORYLOOK = 0 };

std::string Switch(const char* name, uint8_t on)
{
    return std::string(name) + (on ? " ON" : " OFF");
}

void OpenBox(const PixelRect& box, bool divider, int32_t next)
{
    PlaySfx(".\\Sound\\GSMenu.wav");
    BuildModalBox(box, divider);
    gs = next;
}

} // namespace

bool MenuOpenFrame()
{
    OpenBox(menubox, true, GAME_MENU);
    return false;
}

bool MenuFrame()
{
    DrawModalBox();
    DrawTextButton(300, 125, "Quit Current Game", LeaveGame, 0, 0, buttonstates[BUTTON_MENU], BOXLOOK);
    DrawTextButton(300, 200, "Exit Program", SetGS, GAME_EXIT, 0, buttonstates[BUTTON_MENU + 1], BOXLOOK);
    DrawTextButton(300, 325, "Cancel", SetGS, GAME_RESUME, 0, buttonstates[BUTTON_MENU + 2], BOXLOOK);
    EndModalFrame();
    return false;
}

bool ResumeFrame()
{
    // Opened over the main menu or a game, or left over by a message that moved the game on: the
    // remembered state, else the main menu.
    gs = returngs >= 0 ? returngs : GAME_TOMAINMENU;
    returngs = -1;
    candraw = 1;
    // What messages changed while the box was up is shown now.
    RedrawUnitPictures();
    RebuildBoardImage();
    return false;
}

bool LeaveGameFrame()
{
    LeaveGame();
    return false;
}

bool OptionsOpenFrame()
{
    OpenBox(optionsbox, false, GAME_OPTIONS);
    return false;
}

bool OptionsFrame()
{
    DrawModalBox();
    uint8_t* const bytes = &buttonstates[BUTTON_OPTIONS];
    DrawTextButton(300, 80, Switch("Sound", soundon), ToggleSound, 0, 0, bytes[0], BOXLOOK);
    DrawTextButton(300, 155, Switch("Music", musicon), ToggleMusic, 0, 0, bytes[1], BOXLOOK);
    DrawTextButton(300, 230, Switch("Grid", gridon), ToggleGrid, 0, 0, bytes[2], BOXLOOK);
    DrawTextButton(300, 305, Switch("Minimap", minimapon), ToggleMinimap, 0, 0, bytes[3], BOXLOOK);
    // Autofocus follows the units of others: it is offered while somebody else acts.
    if (currplayer != YouToInt())
        DrawTextButton(300, 380, Switch("Autofocus", autofocus), ToggleAutofocus, 0, 0, bytes[4], BOXLOOK);
    DrawTextButton(300, 455, "Accept", SetGS, GAME_RESUME, 0, bytes[5], BOXLOOK);
    EndModalFrame();
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
    ClearAndDrawBoard(1, YouToInt());
    DrawScreenBorder();
    DrawTurnHeader();
    BeginText(FONT_BOARDLARGE);
    DrawTextBox(5, 130, 790, 200, winnername, COLOUR_WHITE, FORMAT_CENTREDLINE);
    EndText();
    BeginText(FONT_MEDIUM);
    DrawTextBox(5, 130, 790, 360, "IS VICTORIOUS!", COLOUR_WHITE, FORMAT_CENTREDLINE);
    EndText();
    DrawTextButton(300, 535, "OK", LeaveGame, 0, 0, buttonstates[BUTTON_VICTORYOK], VICTORYLOOK);
    EndFrame();
    return false;
}
