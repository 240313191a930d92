#include "game/screens/listener.h"

#include "game/model/announce.h"
#include "game/screens/errorscreen.h"
#include "game/shell/music.h"
#include "game/shell/shell.h"
#include "game/shell/sound.h"
#include "game/view/animate.h"
#include "game/view/board.h"
#include "game/view/commandmode.h"
#include "game/view/damagefigure.h"
#include "game/view/feed.h"
#include "game/view/geometry.h"
#include "game/view/minimap.h"
#include "game/view/unitpicture.h"
#include "platform/clock.h"
#include "platform/dialog.h"

namespace {

void Feed(const int32_t player, const std::string& text, const uint32_t colour, const int32_t delay)
{
    AddMessage(player, text, colour, delay);
}

void Sound(const std::string& name)
{
    PlaySfx(name.c_str());
}

void Effect(const int32_t a, const int32_t b, const int32_t kind, const int32_t first, const uint8_t reverse,
            const uint8_t clipped)
{
    if (clipped)
        AnimateOnUnitClipped(a, b, kind, first, reverse);
    else
        AnimateOnUnit(a, b, kind, first, reverse);
}

// The pauses only hold what is drawn.
void Pause(const uint32_t ms)
{
    if (candraw)
        SleepMs(ms);
}

void Picture(const int32_t player, const int32_t unit)
{
    RenderUnitPicture(player, unit);
}

void Pictures()
{
    RedrawUnitPictures();
}

void Minimap(const int32_t viewer)
{
    RebuildMinimap(viewer, 0);
}

void Board()
{
    RebuildBoardImage();
}

void CommandDone()
{
    commandmode = COMMAND_MOVE;
    commandflag = 0;
}

// A player away from the window is told by a box of its own.
void YourTurn()
{
    if (!appactive)
        ShowMessageBox("Gorvanel", "\n     It's your turn.     \n");
}

void Error(const std::string& title, const std::string& text, const int32_t next)
{
    ShowErrorScreen(title, text, next);
}

void GameLeft()
{
    StopAllSongs();
    FreeUnitPictures();
    messages.clear();
}

const Announcer screenlistener = {
    Feed, Sound, Effect, ShowDamage, Pause, Picture, Pictures, FreeUnitPicture, Minimap, Board,
    CenterView, FollowSquare, CommandDone, YourTurn, Error, GameLeft,
};

} // namespace

void ShowRulesOnScreen()
{
    ListenToRules(&screenlistener);
}
