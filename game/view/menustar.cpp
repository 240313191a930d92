#include "game/view/menustar.h"

#include <string>

#include "game/shell/gdiobjects.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/shell/sound.h"
#include "game/view/drawing.h"
#include "game/view/pointer.h"

// The values are exact, including the three arrow corners a pixel off the star's own points.
const GdiPoint menustar[8] = { { 400, 127 }, { 541, 464 }, { 202, 324 }, { 541, 185 },
                               { 398, 522 }, { 260, 183 }, { 597, 327 }, { 260, 466 } };
const GdiPoint menucentre[8] = { { 400, 244 }, { 458, 268 }, { 482, 324 }, { 456, 385 },
                                 { 403, 407 }, { 341, 381 }, { 318, 325 }, { 343, 267 } };
const GdiPoint menuarrows[MENUICONS][3] = {
    { { 400, 127 }, { 458, 268 }, { 343, 267 } }, { { 260, 183 }, { 400, 244 }, { 318, 325 } },
    { { 400, 244 }, { 541, 185 }, { 482, 324 } }, { { 318, 325 }, { 403, 407 }, { 260, 466 } },
    { { 403, 407 }, { 482, 324 }, { 540, 464 } }, { { 341, 381 }, { 456, 385 }, { 398, 522 } },
    { { 459, 268 }, { 456, 385 }, { 597, 327 } }, { { 343, 267 }, { 340, 381 }, { 202, 324 } },
};
const GdiPoint menuiconpos[MENUICONS] = { { 350, 75 }, { 206, 131 }, { 495, 131 }, { 206, 469 },
                                          { 495, 469 }, { 350, 525 }, { 602, 302 }, { 98, 299 } };
uint8_t menuhover[MENUICONS] = {};

namespace {

bool IsIcon(const int32_t icon)
{
    if (icon >= 0 && icon < MENUICONS)
        return true;
    LogBadInput("ERROR: There is no menu icon " + std::to_string(icon) + ".");
    return false;
}

} // namespace

bool DrawArrowPolygon(const int32_t icon)
{
    if (!IsIcon(icon))
        return false;
    BeginText(FONT_BOARDLARGE);
    SelectDCPen(textdc, StockPen(STOCK_NULLPEN));
    SelectDCBrush(textdc, navybrush);
    DrawPolygon(textdc, menucentre, 8);
    DrawPolygon(textdc, menuarrows[icon], 3);
    EndText();
    return false;
}

bool DrawPolygonFrame()
{
    BeginText(FONT_BOARDLARGE);
    SelectDCPen(textdc, yellowpen);
    SelectDCBrush(textdc, StockBrush(STOCK_NULLBRUSH));
    DrawPolygon(textdc, menustar, 8);
    EndText();
    return false;
}

bool DoSoundButton(const int32_t icon, const ButtonCallback callback, const int32_t a, const int32_t b)
{
    if (!IsIcon(icon))
        return false;
    const int32_t x = menuiconpos[icon].x;
    const int32_t y = menuiconpos[icon].y;
    if (!MouseOn({ x, y, x + MENUICONWIDTH, y + MENUICONHEIGHT })) {
        DrawSheetCell(x, y, 2 * icon + 1, imgmenuicons, MENUICONWIDTH, MENUICONHEIGHT, 2);
        menuhover[icon] = 0;
        return false;
    }
    if (!menuhover[icon]) {
        menuhover[icon] = 1;
        PlaySfx(".\\Sound\\GSButton.wav");
    }
    DrawArrowPolygon(icon);
    DrawSheetCell(x, y, 2 * icon, imgmenuicons, MENUICONWIDTH, MENUICONHEIGHT, 2);
    if (!LeftButtonDown())
        return false;
    PlaySfx(".\\Sound\\GSOK.wav");
    HoldUntilRelease();
    if (callback)
        callback(a, b);
    return true;
}
