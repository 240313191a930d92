#include "game/screens/menu.h"

#include "game/net/link.h"
#include "game/screens/boardkeys.h"
#include "game/screens/buttons.h"
#include "game/screens/callbacks.h"
#include "game/screens/frontlook.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/gdiobjects.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/shell/music.h"
#include "game/shell/shell.h"
#include "game/view/cursor.h"
#include "game/view/drawing.h"
#include "game/view/frames.h"
#include "game/view/linestrips.h"
#include "game/view/menustar.h"
#include "game/view/pointer.h"
#include "game/view/text.h"

namespace {

enum : uint32_t { MENUFOOTCOLOUR = 0xFF8040 };
enum : int32_t { MENUTITLEBOTTOM = 65 };     // the pulsing title lies above this row

// What the main menu's picture is made of, besides what never changes.
struct MenuLook {
    int32_t x, y;               // the cursor
    bool pressed;
    std::string version, address;
    bool operator==(const MenuLook&) const = default;
};

// The last menu frame: what it showed, its title's colour, its pass and the flip that showed it. The
// menu drawn on the very next pass with no flip between finds it still in the back buffer; as the menu
// draws nothing but opaque and keyed pictures and text over its full-screen background, drawing the
// same again would give the same picture.
struct LastMenu {
    MenuLook look;
    uint32_t pulse;
    int32_t frame;
    uint64_t flip;
    bool valid;
};
LastMenu lastmenu = {};

struct MenuIcon {
    ButtonCallback callback;
    int32_t state;
};

// The menu icons in their sheet's order: host, join, help, credits, options, quit, update, name.
const MenuIcon menuicons[MENUICONS] = {
    { SetGS, GAME_HOST },       { SetGS, GAME_JOIN },      { SetGS, GAME_HELPOPEN }, { SetGS, GAME_CREDITSOPEN },
    { OpenOptions, 0 },         { SetGS, GAME_QUIT },      { SetGS, GAME_UPDATE },   { SetGS, GAME_ENTERNAME },
};

// A dialog over the back picture: a title with a line under it and a question.
void DrawDialog(const char* title, const char* question)
{
    DrawSurface(0, 0, imgback);
    BeginText(FONT_BOARDLARGE);
    DrawShadowText(0, 0, 800, 75, title, COLOUR_WHITE, FORMAT_CENTREDLINE);
    EndText();
    DrawStripA(0, 75, 800);
    BeginText(FONT_MEDIUM);
    DrawTextBox(0, 100, 800, 50, question, COLOUR_WHITE, FORMAT_CENTREDLINE);
    EndText();
}

} // namespace

std::string versiontext;

bool ToMainMenuFrame()
{
    screencounter = 0;
    gs = GAME_MAINMENUFADE;
    return false;
}

bool MainMenuFadeFrame()
{
    // Drawn over the last picture, which the slide covers from the left.
    SlideFrame(GAME_MAINMENU, [](int32_t offset) {
        BltFastKeyed(0, 0, imgback.GetSurface(), { SCREENWIDTH - offset, 0, SCREENWIDTH, SCREENHEIGHT });
    });
    return false;
}

bool MainMenuFrame()
{
    editmode = EDIT_NONE;
    editstring = nullptr;
    returngs = -1;
    PlaySong(SONG_MENU);
    const MenuLook look = { mousex, mousey, LeftButtonDown(), versiontext, localaddress };
    const uint32_t pulse = PulseColour();
    const bool same = lastmenu.valid && lastmenu.frame + 1 == framecount && lastmenu.flip == display.flips &&
                      lastmenu.look == look;
    const bool samepulse = pulse == lastmenu.pulse;
    lastmenu = { look, pulse, framecount, 0, false };
    // Only the title's colour changes from one idle frame to the next, and often not even that: an
    // unchanged frame is not drawn again, and of a new one only the title's rows are compared.
    if (same && samepulse) {
        FlipScreenRows(0, 0);
        lastmenu.flip = display.flips;
        lastmenu.valid = true;
        return false;
    }
    // A new title colour alone: the title's rows are drawn again over the last frame, and nothing else
    // reaches into them but the cursor.
    if (same) {
        BltFastKeyed(0, 0, imgback.GetSurface(), { 0, 0, SCREENWIDTH, MENUTITLEBOTTOM });
        DrawParchmentBand({ 100, 8, 700, 62 });
        BeginText(FONT_BOARDLARGE);
        DrawTextBox(0, 0, 800, MENUTITLEBOTTOM, WordMarkLine(), pulse, FORMAT_CENTREDLINE);
        EndText();
        DrawCursor(0);
        FlipScreenRows(0, MENUTITLEBOTTOM);
        lastmenu.flip = display.flips;
        lastmenu.valid = true;
        return false;
    }
    DrawSurface(0, 0, imgback);
    DrawParchmentBand({ 100, 8, 700, 62 });
    BeginText(FONT_BOARDLARGE);
    DrawTextBox(0, 0, 800, MENUTITLEBOTTOM, WordMarkLine(), pulse, FORMAT_CENTREDLINE);
    SelectDCFont(textdc, fonts[FONT_SMALL]);
    DrawTextBox(0, 575, 800, 30, versiontext, MENUFOOTCOLOUR, TEXT_SINGLELINE | TEXT_VCENTRE | TEXT_LEFT);
    DrawTextBox(0, 575, 800, 30, localaddress, MENUFOOTCOLOUR, TEXT_SINGLELINE | TEXT_VCENTRE | TEXT_RIGHT);
    SelectDCPen(textdc, graphframepen);
    MoveDCTo(textdc, 0, 65);
    DrawLineTo(textdc, 800, 65);
    EndText();
    for (int32_t icon = 0; icon < MENUICONS; icon++)
        DoSoundButton(icon, menuicons[icon].callback, menuicons[icon].state, 0);
    DrawPolygonFrame();
    DrawCursor(0);
    FlipScreen();
    lastmenu.flip = display.flips;
    lastmenu.valid = true;
    return false;
}

bool UpdateFrame()
{
    DrawDialog("Update Gorvanel", "Gorvanel will now close to check for updates.  Do you want to continue?");
    DrawTextButton(300, 245, "Continue", ExitForUpdate, 0, 0, buttonstates[BUTTON_DIALOGTOP], 0);
    DrawTextButton(300, 305, "Cancel", SetGS, GAME_MAINMENU, 0, buttonstates[BUTTON_DIALOGBOTTOM], 0);
    EndFrame();
    return false;
}

bool QuitFrame()
{
    // The safe choice stands on top here; in the update dialog the top button goes on.
    DrawDialog("Quit Gorvanel", "Do you really want to quit Gorvanel?");
    DrawTextButton(300, 245, "Cancel", SetGS, GAME_MAINMENU, 0, buttonstates[BUTTON_DIALOGBOTTOM], 0);
    DrawTextButton(300, 305, "Quit", SetGS, GAME_EXIT, 0, buttonstates[BUTTON_DIALOGTOP], 0);
    EndFrame();
    return false;
}
