#include "game/screens/watch.h"

#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/screens/boardkeys.h"
#include "game/shell/display.h"
#include "game/shell/music.h"
#include "game/view/ambience.h"
#include "game/view/board.h"
#include "game/view/chat.h"
#include "game/view/cursor.h"
#include "game/view/feed.h"
#include "game/view/geometry.h"
#include "game/view/header.h"
#include "game/view/minimap.h"
#include "game/view/squareinfo.h"
#include "game/view/unitpanel.h"

void DrawPlayPanels(int32_t viewer, bool withunit)
{
    DrawScreenBorder();
    if (withunit) {
        DrawUnitPanel(currplayer, currunit);
        DrawTurnHeader();
    }
    DrawMessageFeed(viewer);
    if (minimapon)
        DrawMinimap();
    DrawSquareInfo(5, 360);
}

bool DrawWatchFrame()
{
    PlaySong(TimeOfDaySong());
    PlayAmbientSound();
    const int32_t local = YouToInt();
    ClearAndDrawBoard(1, local);
    DrawPlayPanels(local, true);
    ChatEntry();
    DrawCursor(0);
    ScrollView();
    FlipScreen();
    if (chattarget == CHATCLOSED)
        HandleGameKeys();
    return false;
}
