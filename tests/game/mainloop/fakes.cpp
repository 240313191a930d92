#include "fakes.h"

#include <cstdint>

#include "game/main/startup.h"
#include "game/model/death.h"
#include "game/model/state.h"
#include "game/model/upgrade.h"
#include "game/net/sendqueue.h"
#include "game/net/socketevents.h"
#include "game/screens/runscreen.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/music.h"
#include "game/view/board.h"
#include "game/view/minimap.h"

std::vector<std::string> calls;
bool startfails;
int modesthatfail;
int localplayer;
std::function<void(int)> onscreen;
std::function<void()> onsocket;
static int passes;

void ResetFakes()
{
    calls.clear();
    startfails = false;
    modesthatfail = 0;
    localplayer = 0;
    onscreen = nullptr;
    onsocket = nullptr;
    passes = 0;
}

bool StartGame()
{
    calls.push_back("StartGame");
    return startfails;
}

void ShutdownGame() { calls.push_back("ShutdownGame"); }

void RunScreen()
{
    calls.push_back("RunScreen");
    if (onscreen)
        onscreen(++passes);
}

void SendQueuedMessage() { calls.push_back("SendQueuedMessage"); }
void ProcessUpgrades() { calls.push_back("ProcessUpgrades"); }
void ProcessDeaths() { calls.push_back("ProcessDeaths"); }
bool LoadImages()
{
    calls.push_back("LoadImages");
    return false;
}
void FreeImages() { calls.push_back("FreeImages"); }
void StopAllSongs() { calls.push_back("StopAllSongs"); }

bool SetScreenMode(int, int, const int bpp)
{
    calls.push_back("SetScreenMode " + std::to_string(bpp));
    const int tried = bpp == 32 ? 1 : bpp == 24 ? 2 : bpp == 16 ? 3 : 4;
    return tried <= modesthatfail;
}

bool RestoreSurfaces()
{
    calls.push_back("RestoreSurfaces");
    return false;
}

bool RedrawUnitPictures()
{
    calls.push_back("RedrawUnitPictures");
    return false;
}
bool FreeUnitPictures()
{
    calls.push_back("FreeUnitPictures");
    return false;
}
bool RebuildBoardImage()
{
    calls.push_back("RebuildBoardImage");
    return false;
}
bool RebuildMinimap(const int32_t player, const uint8_t force)
{
    calls.push_back("RebuildMinimap " + std::to_string(player) + " " + std::to_string(force));
    return false;
}

int32_t YouToInt(bool, bool) { return localplayer; }

intptr_t HandleSocketEvent(const uintptr_t socket, const intptr_t event)
{
    calls.push_back("HandleSocketEvent " + std::to_string(socket) + " " + std::to_string(event));
    if (onsocket)
        onsocket();
    return 77;
}
