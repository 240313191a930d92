// Deployment: the units bought in the shop placed one by one near the player's camp.
#include "game/screens/deploy.h"

#include <string>

#include "game/magic/targets.h"
#include "game/model/localplayer.h"
#include "game/model/queries.h"
#include "game/model/setup.h"
#include "game/model/state.h"
#include "game/net/routing.h"
#include "game/screens/boardcommands.h"
#include "game/screens/boardkeys.h"
#include "game/screens/setupsteps.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/music.h"
#include "game/view/board.h"
#include "game/view/chat.h"
#include "game/view/cursor.h"
#include "game/view/drawing.h"
#include "game/view/feed.h"
#include "game/view/geometry.h"
#include "game/view/minimap.h"
#include "game/view/names.h"
#include "game/view/pointer.h"
#include "game/view/squareinfo.h"
#include "game/view/strips.h"
#include "game/view/text.h"

std::string deploycaption;

namespace {

// The marker under the cursor, and a press on a square that takes the unit places it.
void PointAtSquare()
{
    const CursorCell cell = CursorSquare();
    const bool legal = MouseOnBoard() && InBounds(cell.x, cell.y) && map[cell.x][cell.y].mark
        && IsSquareFree(0, 0, cell.x, cell.y, 0);
    DrawSheetIcon(cell.px, cell.py, legal ? MARKER_TARGET : MARKER_REFUSED, imgterrain);
    if (legal && LeftButtonDown() && !DeployAt(cell.x, cell.y))
        HoldUntilRelease();
}

} // namespace

bool BeginDeployFrame()
{
    PlaySong(SONG_IDLE);
    BeginDeployStep();
    return false;
}

bool ShadeMapFrame()
{
    ShadeMapStep();
    return false;
}

bool PrepareDeployFrame()
{
    PlaySong(SONG_IDLE);
    PrepareDeployStep();
    return false;
}

bool DeployFrame()
{
    PlaySong(SONG_IDLE);
    DeployScreen(YouToInt());
    return false;
}

void DeployScreen(int32_t player)
{
    if (!IsValidPlayer(player))
        return;
    deploycaption = PlayerName(player) + ", deploy your units.";
    // The strip and the cursor show the deploying player's own bought units; the turn holder is the
    // game's and is given back at the end of the frame.
    const int32_t holder = currplayer;
    currplayer = player;
    ClearAndDrawBoard(0, player);
    PointAtSquare();
    ScrollView();
    DrawSurface(0, BOARDHEIGHT, imgborder[BORDER_BOTTOM]);
    BeginText(FONT_MEDIUM);
    DrawBandText(0, 0, 800, 30, deploycaption, COLOUR_WHITE, FORMAT_CENTREDLINE);
    EndText();
    DrawBoughtUnits();
    if (!DrawSquareInfo(5, 360))
        DescribeMapObject();
    if (minimapon)
        DrawMinimap();
    if (chattarget == CHATCLOSED)
        HandleGameKeys();
    DrawMessageFeed(player);
    ChatEntry();
    const std::vector<UnitListEntry>& bought = p[player].bought;
    if (hoveritem >= 0 && (size_t)hoveritem < bought.size())
        DrawCursorCell(bought[hoveritem].picture);
    else
        DrawCursor(0);
    FlipScreen();
    currplayer = holder;
}
