#include "game/screens/lobby.h"

#include "game/model/state.h"
#include "game/net/link.h"
#include "game/net/lobby.h"
#include "game/screens/buttons.h"
#include "game/screens/callbacks.h"
#include "game/screens/errorscreen.h"
#include "game/screens/frontlook.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/gdiobjects.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/shell/music.h"
#include "game/shell/shell.h"
#include "game/view/chat.h"
#include "game/view/drawing.h"
#include "game/view/feed.h"
#include "game/view/names.h"
#include "game/view/text.h"
#include "platform/input.h"

namespace {

enum : int32_t { CHATBOTTOM = 495, CHATLINE = 15, FONT_CHAT = 4 };
enum : uint32_t { LABELCOLOUR = 0xC06060 };

const char* const rowwords[] = { "One", "Two", "Three", "Four", "Five" };

void DrawLobbyFrame()
{
    SelectDCPen(textdc, lightbluepen);
    SelectDCBrush(textdc, StockBrush(STOCK_BLACKBRUSH));
    MoveDCTo(textdc, 0, 80);
    DrawLineTo(textdc, 795, 80);
    DrawRectangle(textdc, 450, 80, 796, 501);
    DrawRectangle(textdc, 450, 500, 796, 529);
    DrawRectangle(textdc, 45, 120, 326, 296);
    SelectDCPen(textdc, greenpen);
    MoveDCTo(textdc, 455, 510);
    DrawLineTo(textdc, 459, 514);
    DrawLineTo(textdc, 454, 519);
}

void DrawPlayerRows()
{
    DrawTextBox(50, 90, 300, 30, "Players Here:", COLOUR_WHITE, TEXT_SINGLELINE | TEXT_LEFT);
    for (size_t i = 0; i < p.size(); i++) {
        const std::string name = PlayerName((int32_t)i);
        const std::string row = shownames && i < std::size(rowwords) ? "Player " + std::string(rowwords[i]) + ": " + name : name;
        DrawShadowText(50, 125 + 30 * (int32_t)i, 500, 30, row, playercolours[std::min<size_t>(i, 5)],
                       TEXT_SINGLELINE | TEXT_LEFT);
    }
}

} // namespace

void DrawLobbyChat()
{
    if (!candraw || messages.empty())
        return;
    int32_t y = CHATBOTTOM - CHATLINE * (int32_t)messages.size();
    for (size_t i = 0; i < messages.size();) {
        if (y < LOBBYCHATTOP) {
            messages.erase(messages.begin() + (std::ptrdiff_t)i);
        } else {
            DrawTextBox(455, y, 335, 30, messages[i].text, messages[i].colour, TEXT_SINGLELINE | TEXT_LEFT);
            i++;
        }
        y += CHATLINE;
    }
}

bool HostFrame()
{
    HostGame();
    return false;
}

bool EnterLobbyFrame()
{
    editmode = EDIT_NAME;
    editstring = &paneltext;
    paneltext.clear();
    gs = GAME_LOBBY;
    return false;
}

bool LobbyFrame()
{
    PlaySong(SONG_MENU);
    ClearAndDrawBackdrop(imgback);
    BeginText(FONT_BOARDLARGE);
    DrawLobbyFrame();
    DrawTextBox(400, 0, 400, 80, hostaddress, COLOUR_WHITE, TEXT_SINGLELINE | TEXT_VCENTRE | TEXT_LEFT);
    SelectDCFont(textdc, fonts[FONT_MEDIUM]);
    DrawTextBox(0, 0, 350, 80, ishost ? "Your IP address is" : "You are now connected to", LABELCOLOUR,
                TEXT_SINGLELINE | TEXT_VCENTRE | TEXT_RIGHT);
    DrawPlayerRows();
    SelectDCFont(textdc, fonts[FONT_CHAT]);
    DrawLobbyChat();
    DrawTextBox(465, 500, 330, 28, paneltext, COLOUR_WHITE, TEXT_SINGLELINE | TEXT_VCENTRE);
    EndText();
    if (ishost) {
        DrawTextButton(595, 545, "Start Game", BeginGame, GAME_CREATEMAP, 0, buttonstates[BUTTON_STARTGAME], 0);
        DrawTextButton(390, 545, shownames ? "Names Unmasked" : "Names Masked", SetShowNames, !shownames, 0,
                       buttonstates[BUTTON_SHOWNAMES], 0);
    }
    DrawTextButton(5, 545, ishost ? "Cancel" : "Leave Game", LeaveGame, 0, 0, buttonstates[BUTTON_LEAVE], 0);
    EndFrame();
    if (IsKeyDown(KEY_RETURN) && !paneltext.empty()) {
        WaitKeyRelease(KEY_RETURN);
        SendChat(paneltext, PUBLICCHAT);
    }
    return false;
}

bool ErrorScreenFrame()
{
    DrawErrorScreen();
    DrawTextButton(300, 525, "OK", SetGS, aftererror, 0, buttonstates[BUTTON_ERROROK], 1);
    EndFrame();
    return false;
}
