// Drawing steps of the play screen. Placeholders until the board view and its panels are drawn.
#include "game/view/drawing.h"

bool BeginText(int32_t)
{
    return false;
}

bool EndText()
{
    return false;
}

bool DrawSheetIcon(int32_t, int32_t, int32_t, const Surface*)
{
    return true;
}

void DrawShadowText(int32_t, int32_t, int32_t, int32_t, const std::string&, uint32_t, uint32_t)
{
}

void DrawBoard(int32_t, int32_t)
{
}

void DrawScreenBorder()
{
}

void DrawMinimap()
{
}

void DrawUnitPanel(int32_t, int32_t)
{
}

void DrawMessageFeed(int32_t)
{
}
