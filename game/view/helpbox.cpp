#include "game/view/helpbox.h"

#include <cstdint>

#include "game/shell/fonts.h"
#include "game/view/drawing.h"
#include "game/view/infobox.h"
#include "game/view/text.h"

namespace {

enum : int32_t { BOXWIDTH = 240, BOXCOLUMNS = 6, BOXROWS = 3, TITLEHEIGHT = 30 };

void DrawBox(const std::string& title, const std::string& text, const int32_t texty, const int32_t textheight)
{
    DrawShadingTiles(INFOBOXX, INFOBOXY, BOXCOLUMNS, BOXROWS);
    BeginText(FONT_MEDIUM);
    DrawShadowText(INFOBOXX, INFOBOXY, BOXWIDTH, TITLEHEIGHT, title, COLOUR_WHITE, FORMAT_CENTREDLINE);
    SelectDCFont(textdc, fonts[FONT_SMALL]);
    DrawShadowText(INFOBOXX, texty, BOXWIDTH, textheight, text, COLOUR_BODY, FORMAT_WRAPPED);
    EndText();
}

} // namespace

bool DrawInfoBox(const std::string title, const std::string text)
{
    DrawBox(title, text, 450, 70);
    return false;
}

void DrawHelpBox(const char* title, const char* text)
{
    DrawBox(title, text, 430, 130);
}
