#include "game/screens/setup.h"

#include <algorithm>
#include <string>

#include "game/model/mapgen.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/net/lobby.h"
#include "game/screens/buttons.h"
#include "game/screens/callbacks.h"
#include "game/screens/frontlook.h"
#include "game/screens/setupsteps.h"
#include "game/screens/states.h"
#include "game/screens/warlord.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/images.h"
#include "game/shell/music.h"
#include "game/view/drawing.h"
#include "game/view/feed.h"
#include "game/view/graph.h"
#include "game/view/header.h"
#include "game/view/text.h"

namespace {

enum : int32_t { MONEYCHOICES = 5, FIRSTFIFTHS = 120, FIFTHSSTEP = 15 };
enum : int32_t { WORLDX = 175, WORLDY = 50, WORLDWIDTH = 450, WORLDHEIGHT = 325 };

// The screen of the map's making: the back picture, a heading with its figure and the start gold.
void DrawSetupScreen(const std::string& heading)
{
    DrawSurface(0, 0, imgback);
    BeginText(FONT_BOARDLARGE);
    DrawTextBox(0, 500, 800, 50, heading, COLOUR_WHITE, FORMAT_CENTREDLINE);
    SelectDCFont(textdc, fonts[FONT_MEDIUM]);
    DrawTextBox(0, 550, 800, 50, "Starting Gold: $" + std::to_string(startgold), COLOUR_WHITE, FORMAT_CENTREDLINE);
    EndText();
}

// The world picture revealed from the left, over its faded form, as the map is made and sent.
void DrawWorld(int32_t revealed)
{
    DrawSurface(WORLDX, WORLDY, imgworldfade);
    const int32_t width = std::clamp<int32_t>(revealed, 0, WORLDWIDTH);
    BltFastKeyed(WORLDX, WORLDY, imgworld.GetSurface(), { 0, 0, width, WORLDHEIGHT });
}

std::string Percent(int64_t part, int64_t whole)
{
    return std::to_string(std::clamp<int64_t>(part * 100 / std::max<int64_t>(whole, 1), 0, 100)) + "%";
}

void DrawNeutralsScreen()
{
    DrawSetupScreen("Creating Neutral Units...");
    DrawSurface(WORLDX, WORLDY, imgworld);
    EndFrame();
}

} // namespace

bool SelectMoneyFrame()
{
    PlaySong(SONG_MENU);
    DrawSurface(0, 0, imgback);
    BeginText(FONT_BOARDLARGE);
    DrawTextBox(0, 0, 800, 50, "Select Starting Money", COLOUR_WHITE, FORMAT_CENTREDLINE);
    EndText();
    for (int32_t k = 0; k < MONEYCHOICES; k++) {
        const int32_t fifths = FIRSTFIFTHS + FIFTHSSTEP * k;
        DrawTextButton(300, 100 + 100 * k, "$" + std::to_string(fifths * 5), SetStartMoney, fifths, 0,
                       buttonstates[BUTTON_MONEY + k], 1);
    }
    EndFrame();
    return false;
}

bool CreateMapFrame()
{
    PlaySong(SONG_MENU);
    const int32_t limit = std::max(GetResNumber(STR_MAPSEARCHTRIES), 1);
    DrawSetupScreen("Creating Map: " + Percent(mapattempts, limit));
    DrawWorld((int32_t)std::min<int64_t>((int64_t)mapattempts * (WORLDWIDTH / 2) / limit, WORLDWIDTH));
    EndFrame();
    CreateMapStep();
    return false;
}

bool SendMapFrame()
{
    daysummary.clear();
    messages.clear();
    PlaySong(SONG_MENU);
    const int32_t size = std::max(mapsize, 1);
    DrawSetupScreen((ishost ? "Sending Map: " : "Downloading Map: ") + Percent(mapattempts, size));
    // The host's half follows the search's; a client's row count comes from the wire, so it is held
    // to the picture.
    if (imgworldfade.IsCreated())
        DrawWorld(ishost ? (int32_t)((int64_t)mapattempts * (WORLDWIDTH / 2) / size + WORLDWIDTH / 2)
                         : (int32_t)((int64_t)mapattempts * WORLDWIDTH / size));
    SendMapStep();
    EndFrame();
    return false;
}

bool CreateNeutralsFrame()
{
    PlaySong(SONG_MENU);
    DrawNeutralsScreen();
    CreateNeutralsStep();
    return false;
}

bool PlaceNeutralsFrame()
{
    shoppers = 0;
    PlaySong(SONG_MENU);
    DrawNeutralsScreen();
    PlaceNeutralsStep();
    return false;
}

bool PreWarlordFrame()
{
    PlaySong(SONG_MENU);
    PreWarlordStep();
    return false;
}

bool SelectWarlordFrame()
{
    PlaySong(SONG_MENU);
    ClearAndDrawBackdrop(imgnewback);
    DrawWarlordSelection();
    DrawSelectWarlordButton();
    EndFrame();
    return false;
}

bool WaitServerFrame()
{
    WaitForServer();
    WaitServerStep();
    return false;
}
