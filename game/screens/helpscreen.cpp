// The help screen: one tab per folder on the left, the page's picture, title and text, and two arrows
// that turn the folder's pages.
#include <string>

#include "game/screens/frontlook.h"
#include "game/screens/help.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/images.h"
#include "game/view/drawing.h"
#include "game/view/pointer.h"
#include "game/view/text.h"

namespace {

enum : int32_t { FONT_HELP = 3, FONT_HELPTITLE = 5 };
enum : int32_t { ICON_NEXTPAGE = 3, ICON_PREVPAGE = 4, HELPPICTURESIZE = 80 };
enum : uint32_t { TABCOLOUR = 0x604020, TABSELECTEDCOLOUR = 0xC08040 };

// An arrow icon; true when it was pressed, once the mouse button is up again.
bool PressedArrow(int32_t x, int32_t y, int32_t icon)
{
    DrawSheetIcon(x, y, icon, imgicons);
    if (!MouseOn(hotrect) || !LeftButtonDown())
        return false;
    HoldUntilRelease();
    return true;
}

void DrawTabs()
{
    BeginText(FONT_HELP);
    for (size_t i = 0; i < helpfolders.size(); i++) {
        const int32_t y = 60 + (int32_t)i * helptabheight;
        const std::string& name = helpfolders[i].name;
        DrawTextBox(50, y, 80, helptabheight, name, (int32_t)i == helpfolder ? TABSELECTEDCOLOUR : TABCOLOUR,
                    FORMAT_CENTREDLINE);
        if (!MouseOn(hotrect))
            continue;
        DrawTextBox(50, y, 80, helptabheight, name, TABSELECTEDCOLOUR, FORMAT_CENTREDLINE);
        if (LeftButtonDown())
            helpfolder = (int32_t)i;
    }
    EndText();
}

// The texts of the page shown, read only when the folder or the page changes.
void LoadShownPage()
{
    if (helpfolder != helpshownfolder) {
        helpshownfolder = helpfolder;
        helpshownpage = -1;
    }
    const int32_t page = helpfolders[helpfolder].page;
    if (page == helpshownpage)
        return;
    helpshownpage = page;
    const uint32_t n = HELP_FOLDERSTRIDE * (uint32_t)helpfolder + (uint32_t)page;
    helppicture = LoadHelpNumber(n + HELP_PICTURE);
    helpbody = LoadHelpString(n + HELP_BODY);
    helptitle = LoadHelpString(n + HELP_TITLE);
    helppictureset = LoadHelpNumber(n + HELP_SHEET);
}

const Surface& PictureSheet()
{
    switch (helppictureset) {
    case HELPSHEET_SPELLS:
        return imgspellicon;
    case HELPSHEET_TERRAIN:
        return imgterrain;
    default:
        return imgunits;
    }
}

} // namespace

bool HelpOpenFrame()
{
    gs = GAME_HELP;
    helpfolder = 0;
    return false;
}

bool HelpFrame()
{
    ClearBackBuffer();
    DrawHelpScreen();
    EndFrame();
    return false;
}

void DrawHelpScreen()
{
    DrawSurface(0, 0, imghelp);
    if (helpfolders.empty())
        return;
    if (helpfolder < 0 || (size_t)helpfolder >= helpfolders.size())
        helpfolder = 0;
    int32_t& page = helpfolders[helpfolder].page;
    const uint32_t next = HELP_FOLDERSTRIDE * (uint32_t)helpfolder + HELP_NEXT + (uint32_t)page;
    if (PressedArrow(700, 500, ICON_NEXTPAGE) && LoadHelpNumber(next) != 0 && page + 1 < MAXHELPPAGES)
        page++;
    if (PressedArrow(655, 500, ICON_PREVPAGE) && page > 0)
        page--;
    DrawTabs();
    LoadShownPage();
    DrawTileClipped(140, 60, helppicture, PictureSheet(), HELPPICTURESIZE);
    BeginText(FONT_HELPTITLE);
    DrawTextBox(220, 60, 520, 80, helptitle, COLOUR_BLACK, TEXT_SINGLELINE | TEXT_VCENTRE | TEXT_RIGHT);
    SelectDCFont(textdc, fonts[FONT_HELP]);
    DrawTextBox(140, 140, 600, 360, helpbody, COLOUR_BLACK, TEXT_WORDBREAK);
    EndText();
}
