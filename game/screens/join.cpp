#include "game/screens/join.h"

#include <string>

#include "game/net/link.h"
#include "game/screens/buttons.h"
#include "game/screens/callbacks.h"
#include "game/screens/frontlook.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/gdiobjects.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/shell/music.h"
#include "game/shell/shell.h"
#include "game/shell/sound.h"
#include "game/view/drawing.h"
#include "game/view/text.h"
#include "platform/input.h"

bool JoinFrame()
{
    editmode = EDIT_ADDRESS;
    editstring = &hostaddress;
    gs = GAME_ENTERIP;
    return false;
}

bool EnterIpFrame()
{
    PlaySong(SONG_MENU);
    DrawSurface(0, 0, imgback);
    BeginText(FONT_BOARDLARGE);
    DrawTextBox(0, 0, 800, 50, "Enter Host's IP Address", COLOUR_WHITE, FORMAT_CENTREDLINE);
    SelectDCPen(textdc, graphframepen);
    SelectDCBrush(textdc, StockBrush(STOCK_BLACKBRUSH));
    DrawRectangle(textdc, 180, 330, 620, 380);
    DrawTextBox(0, 300, 800, 100, hostaddress, COLOUR_WHITE, FORMAT_CENTREDLINE);
    EndText();
    DrawTextButton(595, 545, "Cancel", LeaveGame, 0, 0, buttonstates[BUTTON_LEAVE], 1);
    DrawTextButton(595, 490, "Connect", SetGS, GAME_CONNECT, 0, buttonstates[BUTTON_CONNECT], 1);
    EndFrame();
    // Enter works as "Connect" does.
    if (IsKeyDown(KEY_RETURN)) {
        WaitKeyRelease(KEY_RETURN);
        gs = GAME_CONNECT;
    }
    return false;
}

bool ConnectFrame()
{
    editmode = EDIT_NONE;
    editstring = nullptr;
    gs = GAME_CONNECTING;
    // A connection that fails later comes back as the error screen, whose "OK" returns to the entry.
    JoinHost(std::string(hostaddress));
    PlaySfx(".\\Sound\\GSConnect.wav");
    return false;
}

bool ConnectingFrame()
{
    PlaySong(SONG_MENU);
    DrawSurface(0, 0, imgback);
    BeginText(FONT_BOARDLARGE);
    DrawTextBox(0, 0, 800, 600, "Please wait...", COLOUR_WHITE, FORMAT_CENTREDLINE);
    SelectDCFont(textdc, fonts[FONT_MEDIUM]);
    DrawTextBox(0, 200, 800, 400, "Connecting...", COLOUR_WHITE, FORMAT_CENTREDLINE);
    EndText();
    DrawTextButton(595, 545, "Cancel", LeaveGame, 0, 0, buttonstates[BUTTON_LEAVE], 1);
    EndFrame();
    // The lobby opens on the host's answer: a connection alone may be to anything.
    if (connected && joinanswered)
        gs = GAME_ENTERLOBBY;
    return false;
}
