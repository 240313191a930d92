#include "game/model/state.h"

#include "game/model/ids.h"
#include "game/model/sight.h"
#include "game/model/turns.h"
#include "game/shell/debuglog.h"

std::vector<Player> p;
int32_t currplayer = 0;
int32_t currunit = 0;
uint8_t ishost = 0;
std::vector<std::vector<MapSquare>> map;
int32_t mapsize = 0;
int32_t turncount = 0;
int32_t daycount = 0;
int32_t shoppers = 0;
int32_t playersleft = 0;
int32_t nextsizeattime = 0;
uint8_t needredraw = 0;
std::vector<DeathEntry> deathlist;
std::deque<int32_t> upgradequeue;
uint8_t autofocus = 1;

namespace {

bool CodeInUse(int32_t code)
{
    for (const Player& player : p)
        if (player.code == code)
            return true;
    return false;
}

// The player's number follows his place in the table; when a record has left and that number is taken,
// the lowest free one. Numbers never reach the neutral side's, which is also a mine's "nobody".
uint8_t FreePlayerCode()
{
    const int32_t byplace = FIRSTCODE + static_cast<int32_t>(p.size());
    if (!CodeInUse(byplace))
        return static_cast<uint8_t>(byplace);
    for (int32_t code = FIRSTCODE; code < int32_t(FIRSTCODE) + int32_t(MAXHUMANS); code++)
        if (!CodeInUse(code))
            return static_cast<uint8_t>(code);
    return static_cast<uint8_t>(byplace);   // AddPlayer refuses a full table before this
}

} // namespace

int32_t AddPlayer()
{
    if (p.size() >= MAXHUMANS) {
        debuglog << "ERROR: Too many players!  Can't add another.\n";
        return 0;
    }
    // The neutral side stays last: every rule that finds it by its place relies on that.
    if (!p.empty() && p.back().neutral) {
        debuglog << "ERROR: The game has begun; no player can be added.\n";
        return 0;
    }
    // Every field starts at zero, also those the warlord placement fills later: the warlord is created
    // before its bonus and filter are set, and must come out the same on every machine.
    Player player = BlankPlayer();
    player.gold = 750;
    player.code = FreePlayerCode();
    player.sizeattime = nextsizeattime++;
    player.firstshop = 1;
    p.push_back(player);
    DropLocalPlayerCache();
    playersleft++;
    const int32_t count = static_cast<int32_t>(p.size());
    debuglog << "There are now " << count << " players.\n";
    return count;
}

void AddNeutralRecord()
{
    Player player = BlankPlayer();
    player.code = NEUTRALCODE;
    player.neutral = 1;
    player.sizeattime = NOSTAMP;
    SetPlayerName(player, "Unaligned");
    p.push_back(player);
    DropLocalPlayerCache();
}

void ClearGame()
{
    map.clear();
    mapsize = 0;
    turncount = 0;
    daycount = 0;
    shoppers = 0;
    p.clear();
    // No players are left either; a machine that joins the next game counts them afresh.
    playersleft = 0;
    turnholder = -1;
    unreportedlooks.clear();
    you = NOSTAMP;
    YouToInt(true, true);
}

void ResetGameState()
{
    ClearGame();
    currplayer = 0;
    currunit = 0;
    ishost = 0;
    nextsizeattime = 0;
    needredraw = 0;
    deathlist.clear();
    upgradequeue.clear();
    autofocus = 1;
    ResetUnitIds();
}
