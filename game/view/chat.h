// The chat line of the play screens: Enter opens a line to everybody and sends it, F1 to F5 address
// it to one player; while open, typed characters go into paneltext and the line shows at the top of
// the board with a blinking caret.
#pragma once
#include <cstdint>
#include <string>

enum : int32_t { CHATCLOSED = -1 };     // chattarget: no line is being typed (PUBLICCHAT: to everybody)
enum : int32_t { CHATWIDTH = 550 };     // pixels the drawn line stays below, prompt included

extern int32_t chattarget;              // CHATCLOSED, PUBLICCHAT, or the index of the addressee
extern std::string paneltext;           // the line typed so far
extern std::string chatprompt;          // "Message", or "To " and the addressee's name
extern std::string chatline;            // the line last drawn: prompt, ": ", the text and the caret

bool ChatEntry();                       // one frame of the chat line; false
void ResetChat();                       // closed, empty, to everybody
// The line as it goes out after the prompt heading: only printable characters, and short enough for
// the width of the drawn line and for one frame.
std::string ChatLineToSend(const std::string& heading, const std::string& text);
