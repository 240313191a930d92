#include "game/view/text.h"

#include "game/view/drawing.h"

bool DrawTextBox(const int32_t x, const int32_t y, const int32_t w, const int32_t h, const std::string_view text,
                 const uint32_t colour, const uint32_t format)
{
    hotrect = { x + 1, y + 1, x + w + 1, y + h + 1 };
    SetDCTextColour(textdc, colour);
    DrawDCText(textdc, text, hotrect, format);
    return false;
}

bool DrawShadowText(const int32_t x, const int32_t y, const int32_t w, const int32_t h, const std::string_view text,
                    const uint32_t colour, const uint32_t format)
{
    SetDCTextColour(textdc, COLOUR_BLACK);
    DrawDCText(textdc, text, { x + 1, y + 1, x + w + 1, y + h + 1 }, format);
    hotrect = { x, y, x + w, y + h };
    SetDCTextColour(textdc, colour);
    DrawDCText(textdc, text, hotrect, format);
    return false;
}
