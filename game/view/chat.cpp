#include "game/view/chat.h"

#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/net/lobby.h"
#include "game/shell/fonts.h"
#include "game/shell/input.h"
#include "game/shell/shell.h"
#include "game/view/drawing.h"
#include "game/view/frames.h"
#include "game/view/names.h"
#include "game/view/text.h"

int32_t chattarget = CHATCLOSED;
std::string paneltext;
std::string chatprompt = "Message";
std::string chatline;

namespace {

enum : int32_t { CARETFRAMES = 20, RECIPIENTKEYS = 5 };
const uint8_t recipientkeys[RECIPIENTKEYS] = { KEY_F1, KEY_F2, KEY_F3, KEY_F4, KEY_F5 };

// Characters every machine can show: CP1252's printable ones. Control bytes, DEL and the five bytes
// CP1252 leaves undefined are dropped.
bool IsChatChar(const uint8_t c)
{
    return c >= 0x20 && c != 0x7F && c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D;
}

// Width of the line in the chat's font, between BeginText and EndText.
int32_t LineWidth(const std::string& line)
{
    return MeasureDCText(textdc, line).width;
}

// Enter: opens a line to everybody, or sends the line typed (when there is one) and closes it.
void Enter()
{
    if (chattarget == CHATCLOSED) {
        chattarget = PUBLICCHAT;
    } else {
        paneltext = ChatLineToSend(chatprompt, paneltext);
        if (!paneltext.empty())
            SendChat(paneltext, chattarget);
        chattarget = CHATCLOSED;
    }
    WaitKeyRelease(KEY_RETURN);
    chatprompt = "Message";
}

// F1..F5 address the line to player 0..4: another human player who is in the game. A later key wins.
void PickRecipient()
{
    for (int32_t k = 0; k < RECIPIENTKEYS; k++) {
        if (!IsKeyDown(recipientkeys[k]) || static_cast<size_t>(k) >= p.size() || YouToInt() == k || p[k].neutral)
            continue;
        chattarget = k;
        WaitKeyRelease(recipientkeys[k]);
        chatprompt = "To " + PlayerName(k);
    }
}

} // namespace

std::string ChatLineToSend(const std::string& heading, const std::string& text)
{
    std::string clean;
    for (const char c : text)
        if (IsChatChar(static_cast<uint8_t>(c)))
            clean += c;
    // Characters typed while the frame loop was held up were never trimmed on screen: trim them now.
    if (clean.size() > CHATLIMIT)
        clean.resize(CHATLIMIT);
    BeginText(FONT_MEDIUM);
    while (!clean.empty() && LineWidth(heading + ": " + clean) >= CHATWIDTH)
        clean.pop_back();
    EndText();
    return clean;
}

bool ChatEntry()
{
    if (IsKeyDown(KEY_RETURN))
        Enter();
    PickRecipient();
    if (chattarget == CHATCLOSED) {
        editmode = EDIT_NONE;
        editstring = nullptr;
        chatline.clear();
        return false;
    }
    chatline = chatprompt + ": " + paneltext;
    BeginText(FONT_MEDIUM);
    // One character a frame: the line drawn this frame still shows it.
    if (!paneltext.empty() && (LineWidth(chatline) >= CHATWIDTH || paneltext.size() > CHATLIMIT))
        paneltext.pop_back();
    if (framecount / CARETFRAMES % 2 == 1)
        chatline += '|';
    editmode = EDIT_TEXT;
    editstring = &paneltext;
    DrawBandText(5, 30, 790, 30, chatline, COLOUR_WHITE, TEXT_LEFT | TEXT_TOP);
    EndText();
    return false;
}

void ResetChat()
{
    chattarget = CHATCLOSED;
    paneltext.clear();
    chatprompt = "Message";
    chatline.clear();
}
