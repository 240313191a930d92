#include "game/screens/setupsteps.h"

#include <algorithm>

#include "game/magic/targets.h"
#include "game/model/catalogue.h"
#include "game/model/ids.h"
#include "game/model/localplayer.h"
#include "game/model/mapgen.h"
#include "game/model/players.h"
#include "game/model/queries.h"
#include "game/model/rangemarks.h"
#include "game/model/setup.h"
#include "game/model/sight.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/turns.h"
#include "game/model/turnstart.h"
#include "game/model/upgrade.h"
#include "game/net/builders.h"
#include "game/net/lobby.h"
#include "game/net/routing.h"
#include "game/screens/states.h"
#include "game/shell/debuglog.h"
#include "game/shell/music.h"
#include "game/view/board.h"
#include "game/view/unitpicture.h"
#include "game/view/geometry.h"
#include "game/view/minimap.h"
#include "platform/clock.h"
#include "platform/random.h"

int32_t campcounter = 0;

namespace {

enum { GUARDPASSES = 500, TYPEDRAWS = 500, SQUARETRIES = 10, UPGRADECHANCE = 4 };
enum { FIRSTCAMP = 1, LASTCAMP = 254 };     // camp 0 is "no camp", 0xFF a unit of none
enum { WARLORDSIGHT = 70 };
enum { DEPLOYBUDGET = 50, FIRSTUNITBUDGET = 20 };     // the range marks' budgets of the legal area

int32_t LocalPlayer()
{
    return YouToInt();
}

// One guard of the mine at (mx, my) out of budget: the points it cost (twice its value when it is to
// be upgraded), or 0 when no type or no square was found.
int32_t PlaceGuard(int32_t neutral, int32_t mx, int32_t my, int32_t budget, int32_t cap)
{
    const int32_t points = Random() % std::min(budget, cap) + 2;
    int32_t k = -1;
    for (int32_t draw = 0; draw < TYPEDRAWS && k < 0; draw++) {
        const int32_t pick = Random() % std::max<int32_t>((int32_t)neutralpoints.size(), 1);
        if (pick < (int32_t)neutralpoints.size() && neutralpoints[pick].points == points)
            k = pick;
    }
    if (k < 0)
        return 0;
    int32_t x = -1, y = -1;
    bool found = false;
    for (int32_t tries = 0; tries < SQUARETRIES && !found; tries++) {
        x = mx + 1 - Random() % 3;
        y = my + 1 - Random() % 3;
        found = InBounds(x, y) && IsSquareFree(0, 0, x, y, 0);
    }
    if (!found)
        return 0;
    const int32_t u = CreateUnitAndAnnounce(neutral, x, y, neutralpoints[k].type, 0);
    if (u >= 0) {
        p[neutral].units[u].group = (uint8_t)campcounter;
        p[neutral].units[u].alerted = 0;
    }
    if (budget - points < points || Random() % UPGRADECHANCE != 0)
        return points;
    if (u >= 0)
        QueueUpgrade(neutral, u);
    return 2 * points;
}

} // namespace

void CreateMapStep()
{
    if (ishost)
        GenerateMap();
}

void SendMapStep()
{
    if (ishost)
        SendNextMapRow();
}

void CreateNeutralsStep()
{
    if (!ishost)
        return;
    ResetReadyFlags();
    AddComputerPlayer();
    minelist.clear();
    for (int32_t x = 0; x < mapsize; x++)
        for (int32_t y = 0; y < mapsize; y++)
            if (map[x][y].terrain == TERRAIN_MINE)
                minelist.push_back(MineSquare{x, y});
    mapattempts = 0;
    gs = GAME_PLACENEUTRALS;
}

void PlaceNeutralsStep()
{
    if (!ishost)
        return;
    shoppers = 0;
    for (Player& player : p)
        player.shopped = 0;
    campcounter = campcounter >= LASTCAMP ? FIRSTCAMP : campcounter + 1;
    const int32_t neutral = (int32_t)p.size() - 1;
    if (minelist.empty() || neutral < 0 || !p[neutral].neutral) {
        gs = GAME_PREWARLORD;
        SendToPlayer(BuildSetGs(GAME_PREWARLORD), -1);
        ResetReadyFlags();
        return;
    }
    const MineSquare mine = minelist.front();
    debuglog << "There are " << minelist.size() << " mines left.\n";
    int32_t budget = GetResNumber(STR_NEUTRALBUDGET) + Random() % std::max(GetResNumber(STR_NEUTRALBUDGETRANGE), 1);
    debuglog << "Total sum of units: " << budget << '\n';
    const int32_t cap = std::max(GetResNumber(STR_NEUTRALUNITCAP), 1);
    for (int32_t pass = 0; pass < GUARDPASSES && budget > 0; pass++) {
        const int32_t spent = PlaceGuard(neutral, mine.x, mine.y, budget, cap);
        if (spent == 0)
            continue;
        budget -= spent;
        debuglog << "##Total is now " << budget << '\n';
    }
    minelist.erase(minelist.begin());
}

void PreWarlordStep()
{
    hoveritem = 0;
    currplayer = 0;
    gs = GAME_SELECTWARLORD;
}

bool ChooseWarlord(int32_t warlord, int32_t player)
{
    const int32_t local = LocalPlayer();
    debuglog << "ChooseWarlord: YouToInt()=" << local << '\n';
    if (!IsValidPlayer(local))
        return false;
    if (ishost && PlaceWarlord(warlord, player, 0))
        return false;
    const int32_t x = p[local].startx, y = p[local].starty;
    RevealSight(local, x, y, WARLORDSIGHT);
    // The usual 20 x 13 squares round the camp: a taller view would run under the panels.
    CenterView(x, y);
    SendToPlayer(BuildWarlordSelected(local, warlord, unitidhigh * 256 + unitidlow), -1);
    gs = GAME_WAITSERVER;
    return false;
}

void WaitServerStep()
{
    const int32_t local = YouToInt(true, true);
    if (IsValidPlayer(local) && !p[local].units.empty())
        gs = GAME_PRESHOP;
}

void PreShopStep()
{
    // The day count and the turn holder are shared: they change on the messages every machine gets,
    // not on this screen, which only some machines reach and each at its own time.
    const int32_t local = LocalPlayer();
    hoveritem = -1;
    gs = GAME_SHOP;
    if (!IsValidPlayer(local) || p[local].units.empty()) {
        gs = GAME_WAITPLAYERS;
        if (!ishost)
            SendToPlayer(BuildDoneShopping(), -1);
    }
    StopAllSongs();
}

bool BuyUnit(int32_t entry)
{
    const int32_t local = LocalPlayer();
    if (entry < 0 || (size_t)entry >= buyable.size() || !IsValidPlayer(local))
        return true;
    const int32_t price = GetResNumber((uint32_t)(buyable[entry].type % TYPESPERLEVEL + STR_UNITCOST));
    if (price > p[local].gold)
        return true;
    p[local].gold -= price;
    p[local].bought.push_back(buyable[entry]);
    return false;
}

bool DoneShopping()
{
    const int32_t local = LocalPlayer();
    RebuildMinimap(local, 1);
    RedrawUnitPictures();
    RebuildBoardImage();
    int32_t first = -1;
    for (size_t i = 0; i < p.size() && first < 0; i++)
        if (!p[i].units.empty() || p[i].firstshop)
            first = (int32_t)i;
    if (first >= 0)
        p[first].firstshop = 0;
    // Only the host deploys at once. A client first in the table (the host's army is gone) deploys when
    // the day's first turn names him, as every other client does: deploying now, he would play a turn
    // the host never gave him.
    if (first >= 0 && first == local && ishost) {
        gs = GAME_BEGINDEPLOY;
        return false;
    }
    if (!ishost)
        SendToPlayer(BuildDoneShopping(), -1);
    gs = GAME_WAITPLAYERS;
    return false;
}

void BeginDeployStep()
{
    gs = GAME_SHADEMAP;
}

void ShadeMapStep()
{
    const int32_t local = LocalPlayer();
    gs = GAME_PREPAREDEPLOY;
    if (!IsValidPlayer(local) || map.empty())
        return;
    const Player& player = p[local];
    FollowSquare(player.startx, player.starty);
    debuglog << "p[YouToInt()].pt.x=" << player.startx << "\np[YouToInt()].pt.y=" << player.starty
             << "\nShading map for player " << local << '\n';
    ClearRange();
    MarkRange(player.startx, player.starty, DEPLOYBUDGET);
    if (!player.units.empty())
        MarkRange(player.units[0].x, player.units[0].y, FIRSTUNITBUDGET);
}

void PrepareDeployStep()
{
    const int32_t local = LocalPlayer();
    debuglog << "Calling PrepareDeploy(" << local << ");\n";
    if (!PrepareDeploy(local))
        gs = GAME_DEPLOY;
}

bool DeployAt(int32_t x, int32_t y)
{
    const int32_t player = LocalPlayer();
    if (!IsValidPlayer(player) || hoveritem < 0 || (size_t)hoveritem >= p[player].bought.size() || !InBounds(x, y)
        || !map[x][y].mark || !IsSquareFree(0, 0, x, y, 0))
        return true;
    const int32_t type = p[player].bought[hoveritem].type;
    SendDeployMessage(player, x, y, type, 0);
    // On the host the unit stands there now (a client's comes with the host's answer). In its owner's
    // turn it is brought up to date at once, as every client does with it.
    const UnitRef placed = FindUnit(UnitIdAt(x, y));
    if (ishost && placed.player == player && turnholder == player)
        UpdateUnit(placed.player, placed.unit);
    const UnitRef there = FindUnit(UnitIdAt(x, y));
    if (there.player >= 0)
        WakeCamp(there.player, there.unit);
    const int32_t near[8][3] = {{1, 0, 10}, {-1, 0, 10}, {0, 1, 10}, {0, -1, 10},
                                {1, 1, 6},  {-1, 1, 6},  {1, -1, 6}, {-1, -1, 6}};
    for (const auto& n : near)
        AlertCamps(x + n[0], y + n[1], n[2]);
    debuglog << "Just put player " << player << "'s unit #" << hoveritem << " at point " << x << ", " << y
             << " at time " << GetTicks() << '\n';
    // A client's unit is spent when the host's copy comes back: a refused one stays to be placed again.
    if (ishost)
        p[player].bought.erase(p[player].bought.begin() + hoveritem);
    RebuildMinimap(player, 0);
    gs = ishost ? GAME_PREPAREDEPLOY : GAME_DEPLOYWAIT;
    return false;
}
