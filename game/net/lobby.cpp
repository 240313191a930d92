#include "game/net/lobby.h"

#include <vector>

#include "game/model/announce.h"
#include "game/model/localplayer.h"
#include "game/model/mapgen.h"
#include "game/model/names.h"
#include "game/model/state.h"
#include "game/model/states.h"
#include "game/model/turns.h"
#include "game/net/builders.h"
#include "game/net/link.h"
#include "game/net/routing.h"
#include "game/shell/debuglog.h"
#include "platform/random.h"

uint8_t wincheck = 1;
int32_t worldtype = 0;
int32_t startgold = 0;

namespace {

enum { WORLDTYPES = 5, MONEYUNIT = 5 };

} // namespace

bool BeginGame(bool alone)
{
    if (!ishost)
        return false;
    if (p.size() < 2 && !alone) {
        AnnounceFeed(YouToInt(), "Cannot begin game without other players!", FEEDWHITE);
        return false;
    }
    // Nobody to beat: the win test would end a game alone at its first turn.
    if (p.size() < 2)
        wincheck = 0;
    worldtype = Random() % WORLDTYPES + 1;
    SendToPlayer(BuildWorldType(worldtype), -1);
    gs = GAME_SELECTMONEY;
    treefactor = 1;
    roughfactor = 1;
    return false;
}

int32_t MapSizeFor(int32_t records)
{
    switch (records) {
    case 2:
        return 30;
    case 3:
        return 37;
    default:
        return 45;
    }
}

void SetStartMoney(int32_t fifths)
{
    for (Player& player : p)
        player.gold = fifths * MONEYUNIT;
    startgold = fifths * MONEYUNIT;
    if (!ishost)
        return;
    SendToPlayer(BuildSetMoney(fifths), -1);
    CreateAndSendMap(MapSizeFor((int32_t)p.size()));
}

void ResetReadyFlags()
{
    for (Player& player : p)
        player.ready = player.hostplayer ? 0 : player.neutral;
}

void CreateAndSendMap(int32_t size)
{
    if (CreateBlankMap(size)) {
        debuglog << "ERROR: The map of size " << size << " could not be made; the game stays in the lobby.\n";
        return;
    }
    ResetReadyFlags();
    SendToPlayer(BuildSetGs(GAME_SENDMAP), -1);
    gs = GAME_CREATEMAP;
    StartMapSearch();
    AnnounceSound(".\\Sound\\GSMap.wav");
}

bool AllPlayersReady()
{
    for (const Player& player : p)
        if (!player.hostplayer && !player.neutral && !player.ready)
            return false;
    return true;
}

bool SendNextMapRow()
{
    if (!ishost || map.empty() || (mapattempts != 0 && !AllPlayersReady()))
        return false;
    ResetReadyFlags();
    if (mapattempts < mapsize) {
        debuglog << "Preparing to send map block data\n";
        const int32_t row = mapattempts;
        std::vector<uint8_t> squares;
        for (int32_t x = 0; x < mapsize; x++) {
            const MapSquare& s = map[x][row];
            squares.push_back((uint8_t)(((s.terrain + 1) * 16 + s.extra) % 256));
        }
        SendToPlayer(BuildMapData(mapsize, row, squares), -1);
        mapattempts++;
        return true;
    }
    gs = GAME_CREATENEUTRALS;
    SendToPlayer(BuildSetGs(GAME_CREATENEUTRALS), -1);
    return true;
}

bool AllShoppersDone()
{
    // Out of the game is only a player whose warlord fell; one still choosing his has no units yet.
    // A flag of its own, not `ready`: a late answer to a set-up step must not count as shopping done.
    for (const Player& player : p)
        if (!player.hostplayer && !player.neutral && !player.shopped
            && (player.warlordtype == 0 || !player.units.empty()))
            return false;
    return true;
}

void StartFirstTurn()
{
    if (!ishost)
        return;
    SendToPlayer(BuildSetGs(GAME_WATCH), -1);
    // The host watches too until the turn order says otherwise; left waiting, it would start the day
    // again every frame while a client has the first turn.
    gs = GAME_WATCH;
    // The host has held the phase at -1 since the day ended; the clients wrapped it to the morning then.
    turncount = 0;
    ServerNextTurn(-1);
}

void SendChat(std::string& text, int32_t target)
{
    const int32_t me = YouToInt();
    debuglog << "YouToInt() on the chat function returned " << me << '\n';
    const std::string name = PlayerName(me);
    const bool personal = IsValidPlayer(target);
    SendToPlayer(BuildChat(me, personal ? target : PUBLICCHAT, name + (personal ? " (private)" : "") + ": " + text), -1);
    if (ishost) {
        AnnounceSound(".\\Sound\\GSChat.wav");
        AnnounceFeed(me, name + ": " + text, playercolours[me < 6 ? me : 0]);
    }
    text.clear();
}

void SetShowNames(bool on)
{
    shownames = on ? 1 : 0;
    if (ishost)
        SendToPlayer(BuildGameSetting(on), -1);
}

bool LobbyOpen()
{
    return gs == GAME_LOBBY || gs == GAME_ENTERLOBBY;
}

void LeaveGame()
{
    gs = GAME_TOMAINMENU;
    NetCleanup();
    ishost = 0;                         // also when the network never started
    // The players, the map, the counters and the local player go; so do the deaths and upgrades
    // still waiting, which name units of this game only, and what was shown of them.
    ClearGame();
    deathlist.clear();
    upgradequeue.clear();
    AnnounceGameLeft();
    mapattempts = 0;
}
