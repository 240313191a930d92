#include "game/screens/intro.h"

#include <algorithm>

#include "game/model/localplayer.h"
#include "game/screens/buttons.h"
#include "game/screens/callbacks.h"
#include "game/screens/frontlook.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/input.h"
#include "game/shell/music.h"
#include "game/shell/shell.h"
#include "game/view/drawing.h"
#include "game/view/frames.h"
#include "game/view/text.h"
#include "platform/clock.h"
#include "platform/window.h"

std::string entrydisplay;

namespace {

enum : int32_t {
    INTROFRAMES = 140,              // the intro ends after the frame that passes this count
    INTROFRAMEMS = 40,              // every intro frame lasts at least this long
    LETTERDELAY = 5,                // frames between one letter's start and the next's
    LETTERBLUE = 96,                // the letters' full brightness
    NAMELENGTH = 9,                 // the name box holds this many characters
    CARETFRAMES = 16,               // the caret shows and hides for this many frames each
};

enum : uint32_t { NAMEMARKCOLOUR = 0x600000, NAMECOLOUR = 0x808080 };

void DrawWordMark(int32_t blue, bool brightening)
{
    for (int32_t k = 0; k < WORDMARKLETTERS; k++) {
        const int32_t b = brightening ? std::clamp<int32_t>(screencounter - LETTERDELAY * k, 0, LETTERBLUE) : blue;
        DrawTextBox(100 * k, 0, 100, 100, WordMarkLetter(k), (uint32_t)b << 16, FORMAT_CENTREDLINE);
    }
}

bool HasNonBlank(const std::string& s)
{
    return s.find_first_not_of(' ') != std::string::npos;
}

} // namespace

bool IntroFrame()
{
    const uint32_t t0 = GetTicks();
    ClearBackBuffer();
    DrawParchmentBand({ 10, 24, 790, 92 });
    BeginText(FONT_BOARDLARGE);
    DrawWordMark(0, true);
    EndText();
    FlipScreen();
    if (++screencounter > INTROFRAMES)
        gs = GAME_ENTERNAME;
    // The rest of the frame's time listens for a key, starting with the frame's own read (a quick tap
    // shows in that one only); a key ends the intro, and the keys down then are used by it, so the
    // next screen sees none of them while they are held.
    for (;;) {
        if (UseKeysDown()) {
            gs = GAME_INTROEND;
            return false;
        }
        if (GetTicks() - t0 >= INTROFRAMEMS)
            return false;
        SleepMs(1);
        PollKeyboard();
    }
}

bool IntroEndFrame()
{
    gs = GAME_ENTERNAME;
    return false;
}

bool EnterNameFrame()
{
    editmode = EDIT_NAME;
    editstring = &playername;
    if (playername.size() > NAMELENGTH)
        playername.resize(NAMELENGTH);
    PlaySong(SONG_MENU);
    ClearBackBuffer();
    entrydisplay = playername + ((framecount / CARETFRAMES) % 2 ? "|" : " ");
    DrawParchmentBand({ 10, 24, 790, 92 });
    DrawParchmentBand({ 270, 134, 530, 172 });
    DrawEntryField({ 288, 276, 612, 324 });
    BeginText(FONT_BOARDLARGE);
    DrawWordMark(NAMEMARKCOLOUR >> 16, false);
    DrawTextBox(300, 275, 500, 50, entrydisplay, NAMECOLOUR, TEXT_SINGLELINE | TEXT_VCENTRE | TEXT_LEFT);
    SelectDCFont(textdc, fonts[FONT_MEDIUM]);
    DrawTextBox(0, 100, 800, 100, "Please Enter Your Name", PulseColour(), FORMAT_CENTREDLINE);
    EndText();
    if (HasNonBlank(playername))
        DrawTextButton(595, 545, "Accept", SetGS, GAME_TOMAINMENU, 0, buttonstates[BUTTON_NAMEACCEPT], 1);
    DrawTextButton(5, 545, "Quit", SetGS, GAME_EXIT, 0, buttonstates[BUTTON_NAMEQUIT], 1);
    EndFrame();
    return false;
}

bool ExitFrame()
{
    appactive = 0;
    DestroyMainWindow();
    return true;
}
