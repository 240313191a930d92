// The day summary: each day's assets, kills and mines per player, the leaders of the day and the graph
// of one figure over all the days so far.
#include "game/screens/summary.h"

#include <string>

#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/screens/buttons.h"
#include "game/screens/callbacks.h"
#include "game/screens/frontlook.h"
#include "game/screens/states.h"
#include "game/screens/summaryfigures.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/music.h"
#include "game/shell/sound.h"
#include "game/view/drawing.h"
#include "game/view/graph.h"
#include "game/view/linestrips.h"
#include "game/view/names.h"
#include "game/view/text.h"

namespace {

enum : uint32_t { COLOUR_SUMMARY = 0xFF8000 };
enum : int32_t { TABLETOP = 125, TABLELINE = 40, FIGUREWIDTH = 60, NAMEX = 120, NAMEWIDTH = 100, HEADINGMARGIN = 8 };
enum : int32_t { ICON_LEADER = 5 };     // the icon row's marks of the assets, kills and mines leaders: 5, 6, 7

const int32_t figurex[GRAPHPAGES] = {220, 280, 340};
const char* const figureheadings[GRAPHPAGES] = {"Assets", "Kills", "Mines"};

uint8_t donebutton = 0, pagebutton = 0;     // the summary's buttons keep their own bytes

void DrawHeadings()
{
    DrawSurface(0, 0, imgback);
    DrawStripB(0, 75, 800);
    BeginText(FONT_BOARDLARGE);
    DrawTextBox(0, 0, 800, 75, "End of Day Summary", COLOUR_SUMMARY, TEXT_SINGLELINE | TEXT_VCENTRE | TEXT_LEFT);
    EndText();
    BeginText(FONT_MEDIUM);
    // The headings keep HEADINGMARGIN pixels of their columns free on either side, since the last
    // column reaches under the graph's frame; at the smaller size that takes, each stands on a band.
    SelectFittingFont(FONT_MEDIUM, { figureheadings[0], figureheadings[1], figureheadings[2] },
                      FIGUREWIDTH - 2 * HEADINGMARGIN);
    for (int32_t page = 0; page < GRAPHPAGES; page++)
        DrawBandTextBox(figurex[page], 75, FIGUREWIDTH, 50, figureheadings[page], COLOUR_SUMMARY, FORMAT_CENTREDLINE);
    EndText();
}

// One line per player with units, from the game as it stands now.
void DrawTable()
{
    int32_t leaders[GRAPHPAGES];
    for (int32_t page = 0; page < GRAPHPAGES; page++)
        leaders[page] = FigureLeader(page);
    int32_t line = 0;
    for (size_t i = 0; i < p.size(); i++) {
        const int32_t player = (int32_t)i;
        if (p[i].neutral || p[i].units.empty())
            continue;
        const int32_t y = TABLETOP + TABLELINE * line++;
        for (int32_t page = 0; page < GRAPHPAGES; page++)
            if (leaders[page] == player)
                DrawSheetIcon(CELLSIZE * page, y, ICON_LEADER + page, imgicons);
        const int32_t number = p[i].code - FIRSTCODE;
        BeginText(FONT_MEDIUM);
        DrawTextBox(NAMEX, y, NAMEWIDTH, TABLELINE, PlayerName(player),
                    number >= 0 && number < 6 ? playercolours[number] : COLOUR_WHITE, FORMAT_CENTREDLINE);
        for (int32_t page = 0; page < GRAPHPAGES; page++) {
            const std::string value = std::to_string(FigureValue(player, page));
            DrawTextBox(figurex[page], y, FIGUREWIDTH, TABLELINE, page == PAGE_ASSETS ? "$" + value : value,
                        COLOUR_WHITE, FORMAT_CENTREDLINE);
        }
        EndText();
    }
}

} // namespace

bool PrepareDaySummary()
{
    StopAllSongs();
    if (p.size() <= 1)
        return true;
    daysummary.push_back(DaySummaryFromGame());
    int32_t leaders[GRAPHPAGES];
    for (int32_t page = 0; page < GRAPHPAGES; page++)
        leaders[page] = FigureLeader(page);
    PlaySfx(SummarySound(YouToInt(), leaders));
    return false;
}

bool DrawDaySummary()
{
    DrawHeadings();
    DrawTable();
    DrawSummaryGraph();
    DrawTextButton(5, 545, "Done", SetGS, GAME_PRESHOP, 0, donebutton, 0);
    DrawTextButton(5, 490, GraphTitle(), NextGraphPage, 0, 0, pagebutton, 0);
    EndFrame();
    return false;
}

bool DaySummaryOpenFrame()
{
    PrepareDaySummary();
    gs = GAME_DAYSUMMARY;
    return false;
}

bool DaySummaryFrame()
{
    DrawDaySummary();
    return false;
}
