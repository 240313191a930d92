#include "game/model/turns.h"

#include <cstddef>

#include "game/model/abilityslots.h"
#include "game/model/announce.h"
#include "game/model/dayphase.h"
#include "game/model/death.h"
#include "game/model/localplayer.h"
#include "game/model/mines.h"
#include "game/model/names.h"
#include "game/model/state.h"
#include "game/model/states.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/turnstart.h"
#include "game/net/builders.h"
#include "game/net/kinds.h"
#include "game/net/routing.h"
#include "game/shell/debuglog.h"

int32_t turnholder = -1;

namespace {

bool IsPlayerIndex(int32_t player)
{
    return player >= 0 && static_cast<size_t>(player) < p.size();
}

// Counts the turns handed on, and what the last hand-over returned: a kill resolved before a turn
// passes may pass it itself (a warlord fell in his own turn).
uint32_t turnspassed = 0;
bool lastpassresult = false;

} // namespace

int32_t NextPlayerWithUnits(const int32_t from)
{
    for (size_t i = from < 0 ? 0 : static_cast<size_t>(from); i < p.size(); i++)
        if (!p[i].units.empty())
            return static_cast<int32_t>(i);
    return -1;
}

void RunTurnEndAbilities(const int32_t player)
{
    if (!IsPlayerIndex(player))
        return;
    // A handler may remove units, so the list is measured again at every step.
    for (size_t u = 0; u < p[player].units.size(); u++)
        for (int32_t slot = 0; slot < MAXABILITIES; slot++)
            if (UnitHasAbilityKind(player, static_cast<int32_t>(u), slot, ABILITY_TURNEND))
                ExecuteAbilitySlot(player, static_cast<int32_t>(u), slot, player, static_cast<int32_t>(u), player,
                                   static_cast<int32_t>(u), 0, 0);
}

bool ServerNextTurn(const int32_t lastplayer)
{
    debuglog << "ServerNextTurn()\nlastplayer=" << lastplayer << '\n';
    if (lastplayer != -1 && !IsPlayerIndex(lastplayer)) {
        debuglog << "ERROR: ServerNextTurn for player " << lastplayer << ", who is not in the game.\n";
        return true;
    }
    // The ending turn's kills count in it: they are resolved, and their messages sent ahead of the
    // next-turn message, before the turn passes.
    if (ishost && lastplayer != -1 && !deathlist.empty()) {
        const uint32_t before = turnspassed;
        ProcessDeaths();
        if (turnspassed != before)
            return lastpassresult;
    }
    turnspassed++;
    lastpassresult = true;
    AnnouncePictures();
    if (lastplayer != -1)
        AddMineIncome(lastplayer, GetResNumber(STR_MINEINCOME));

    int32_t next = NextPlayerWithUnits(lastplayer + 1);
    const bool wrapped = next < 0;
    if (wrapped) {
        if (ishost) {
            SendCode(MSG_ADVANCEDAY, -1);
            if (AdvanceDayPhase())
                return true;
        }
        next = NextPlayerWithUnits(0);
        if (next < 0)
            return true;
    }
    if (lastplayer != -1)
        RunTurnEndAbilities(lastplayer);

    debuglog << "Found next player: " << PlayerName(next) << '\n';
    SendToPlayer(BuildNextTurn(next), -1);
    currplayer = next;
    turnholder = next;
    // Every machine brings the new player's units up to date when it learns of the turn, his own
    // included: the update then falls between the same messages everywhere (a deployment or an attack
    // that follows sees updated units on every machine).
    UpdateUnits(currplayer);
    if (p[next].hostplayer) {
        currunit = -1;
        gs = GAME_STARTTURN;
    } else {
        // As on the clients: a new turn starts at its player's first unit.
        currunit = 0;
        if (!wrapped)
            AnnounceSound(".\\Sound\\GSEnemy.wav");
    }
    if (p[next].neutral) {
        currunit = -1;
        gs = GAME_COMPTURN;
    }
    lastpassresult = false;
    return false;
}

void EndTurn()
{
    if (ishost)
        ServerNextTurn(currplayer);
    else
        SendToPlayer(BuildBeginNextTurn(YouToInt()), -1);
}

void FollowNextTurn(const int32_t player)
{
    // The host paid and ran the abilities of the player whose turn ended; so does every client, for the
    // turn the host's last message began (none at the start of a day).
    if (IsPlayerIndex(turnholder)) {
        AddMineIncome(turnholder, GetResNumber(STR_MINEINCOME));
        RunTurnEndAbilities(turnholder);
    }
    if (!IsPlayerIndex(player)) {
        debuglog << "ERROR: Not a player.\n";
        return;
    }
    currunit = 0;
    currplayer = player;
    turnholder = player;
    debuglog << "It is now " << PlayerName(player) << "'s turn.\n";
    // Here also for the local player, as the host and the other clients do at this message: the
    // units his deployment adds are brought up to date one by one as they arrive.
    UpdateUnits(currplayer);
    if (player == YouToInt()) {
        autofocus = 1;
        AnnounceYourTurn();
        if (turncount == 0) {
            currunit = 0;
            gs = GAME_BEGINDEPLOY;
        } else {
            currunit = -1;
            gs = GAME_STARTTURN;
        }
        return;
    }
    AnnounceSound(".\\Sound\\GSEnemy.wav");
    gs = GAME_WATCH;
}
