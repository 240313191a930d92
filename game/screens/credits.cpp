#include "game/screens/credits.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "game/model/strings.h"
#include "game/screens/buttons.h"
#include "game/screens/callbacks.h"
#include "game/screens/frontlook.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/images.h"
#include "game/view/drawing.h"
#include "game/view/frames.h"
#include "game/view/linestrips.h"
#include "game/view/text.h"

namespace {

enum : int32_t { COLUMNWIDTH = 200, ROWHEIGHT = 30, SOURCELINE = 28 };
enum : uint32_t { ROLECOLOUR = 0x804040, NAMECOLOUR = 0xC06060 };
// The page behind the heading, the sources and every name row, above "Return".
constexpr PixelRect page = { 4, 8, 796, 510 };

const char* const roles[CREDITROLES] = { "Programming", "Design", "Testing", "Director" };

} // namespace

bool CreditsOpenFrame()
{
    screencounter = 0;
    gs = GAME_CREDITSFADE;
    return false;
}

bool CreditsFadeFrame()
{
    SlideFrame(GAME_CREDITS, [](int32_t offset) {
        ClearBackBuffer();
        DrawPaperPage(page);
        BltFastKeyed(offset, 0, imgback.GetSurface(), { 0, 0, SCREENWIDTH - offset, SCREENHEIGHT });
    });
    return false;
}

bool CreditsFrame()
{
    ClearBackBuffer();
    DrawPaperPage(page);
    BeginText(FONT_BOARDLARGE);
    DrawTextBox(0, 0, 800, 100, DottedWord("CREDITS") + " ", PulseColour(), FORMAT_CENTREDLINE);
    SelectDCFont(textdc, fonts[FONT_SMALL]);
    for (int32_t j = 0; j < MAXCREDITSOURCES; j++) {
        const char* const line = GetString(STR_CREDITSOURCES + (uint32_t)j);
        if (!*line)
            break;
        DrawTextBox(0, 110 + SOURCELINE * j, 800, SOURCELINE, line, NAMECOLOUR, FORMAT_CENTREDLINE);
    }
    SelectDCFont(textdc, fonts[FONT_MEDIUM]);
    for (int32_t c = 0; c < CREDITROLES; c++) {
        const int32_t x = COLUMNWIDTH * c;
        DrawTextBox(x, 250, COLUMNWIDTH, ROWHEIGHT, roles[c], ROLECOLOUR, FORMAT_CENTREDLINE);
        for (int32_t j = 0; j < MAXCREDITNAMES; j++) {
            const char* const name = GetString(STR_CREDITNAMES + 100 * (uint32_t)c + (uint32_t)j);
            if (!*name)
                break;
            DrawTextBox(x, 300 + ROWHEIGHT * j, COLUMNWIDTH, ROWHEIGHT, name, NAMECOLOUR, FORMAT_CENTREDLINE);
        }
    }
    EndText();
    const int32_t s = std::abs((int32_t)(std::sin(framecount * 0.03) * 50));
    for (int32_t c = 0; c < CREDITROLES; c++)
        DrawStripB(COLUMNWIDTH * c + COLUMNWIDTH / 2 - s, 290, 2 * s);
    DrawTextButton(300, 515, "Return", SetGS, GAME_TOMAINMENU, 0, buttonstates[BUTTON_CREDITSRETURN], 1);
    EndFrame();
    return false;
}
