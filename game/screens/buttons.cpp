#include "game/screens/buttons.h"

#include <algorithm>
#include <iterator>

#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/sound.h"
#include "game/view/drawing.h"
#include "game/view/pointer.h"

uint8_t buttonstates[BUTTONCOUNT];

namespace {

struct ButtonLook {
    uint32_t normal, hover;             // caption colours (colour references)
};

const ButtonLook looks[BUTTONLOOKS] = {
    { 0x7FFFFF, 0xFFFFFF },
    { 0x5C5C5C, 0xC0C0C0 },
    { 0x80FFFF, 0xFFFFFF },
};

void DrawCaption(const PixelRect& r, std::string_view text, uint32_t colour)
{
    BeginText(FONT_MEDIUM);
    SetDCTextColour(textdc, colour);
    DrawDCText(textdc, text, r, TEXT_SINGLELINE | TEXT_VCENTRE | TEXT_CENTRE);
    EndText();
}

} // namespace

bool CreateButtons()
{
    std::fill(std::begin(buttonstates), std::end(buttonstates), 0);
    return false;
}

bool DrawTextButton(int32_t x, int32_t y, std::string_view text, ButtonCallback callback, int32_t a1, int32_t a2,
                    uint8_t& state, int32_t look)
{
    if (look < 0 || look >= BUTTONLOOKS)
        look = 0;
    const PixelRect r = { x, y, x + BUTTONWIDTH, y + BUTTONHEIGHT };
    const bool inside = MouseOn(r);
    if (LeftButtonDown() && inside) {
        if (state == 0) {
            PlaySfx(".\\Sound\\GSButton.wav");
            state = 1;
        }
        DrawSurface(x, y, imgbuttons[2 * look + 1]);
        DrawCaption({ r.left, r.top + 2, r.right, r.bottom + 2 }, text, looks[look].hover);
        return false;
    }
    if (state == 1 && inside) {
        // Released over the button: the click. The callback runs before the rest of the frame is drawn.
        PlaySfx(".\\Sound\\GSOK.wav");
        if (callback && callback(a1, a2))
            return true;
        HoldUntilRelease();
    }
    state = 0;
    DrawSurface(x, y, imgbuttons[2 * look]);
    DrawCaption(r, text, MouseOn(r) ? looks[look].hover : looks[look].normal);
    return false;
}
