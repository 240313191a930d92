#include "game/screens/turnsteps.h"

#include <algorithm>

#include "game/ai/aistate.h"
#include "game/ai/computerturn.h"
#include "game/model/cast.h"
#include "game/model/catalogue.h"
#include "game/model/combat.h"
#include "game/model/localplayer.h"
#include "game/model/moves.h"
#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/model/turns.h"
#include "game/model/winner.h"
#include "game/net/builders.h"
#include "game/net/lobby.h"
#include "game/net/routing.h"
#include "game/screens/states.h"
#include "game/shell/debuglog.h"
#include "game/shell/music.h"
#include "game/shell/sound.h"
#include "game/view/commandmode.h"
#include "game/view/feed.h"
#include "game/view/geometry.h"
#include "game/view/minimap.h"
#include "platform/clock.h"

uint8_t pickedunit = 0;
uint32_t requesttime = 0;

namespace {

// The units the local player is done with, and the turn they rest in: a rest ends with its turn.
struct Rest {
    int32_t day = -1, phase = -1, holder = -1;
    std::vector<int32_t> ids;
};
Rest rest;

bool RestsThisTurn()
{
    return rest.day == daycount && rest.phase == turncount && rest.holder == turnholder;
}

bool IsActingUnit()
{
    return IsValidPlayer(currplayer) && currunit >= 0 && (size_t)currunit < p[currplayer].units.size()
        && currplayer == YouToInt();
}

bool CanAct(const Unit& u)
{
    return u.moves > 0 || u.hits > 0;
}

bool Resting(const Unit& u)
{
    return RestsThisTurn() && std::find(rest.ids.begin(), rest.ids.end(), u.id) != rest.ids.end();
}

// The found unit's turn begins on every machine.
void TakeUnit(int32_t unit, int32_t next)
{
    pickedunit = 0;
    currunit = unit;
    debuglog << "Found unit: " << unit << '\n';
    // As autofocus allows, and only onto land the local player has seen: a guard's camp in the dark
    // stays unseen while it acts.
    const Unit& u = p[currplayer].units[unit];
    FollowSquare(u.x, u.y);
    gs = next;
    SendToPlayer(BuildNextUnit(u.id), -1);
}

} // namespace

void WaitPlayersStep()
{
    // The turn holder and the day phase are left alone: only the host's first turn of the day sets
    // them, on every machine alike.
    if (ishost) {
        const int32_t local = YouToInt();
        if (IsValidPlayer(local))
            p[local].shopped = 1;  // the host is done: it waits here
        if (AllShoppersDone())
            StartFirstTurn();
    }
    for (Player& player : p)
        player.firstshop = 0;
}

void StartTurnStep()
{
    StopAllSongs();
    const int32_t local = YouToInt();
    bool alone = wincheck != 0;
    for (size_t i = 0; i < p.size() && alone; i++)
        if ((int32_t)i != local && !p[i].neutral && !p[i].units.empty())
            alone = false;
    if (!alone) {
        gs = GAME_YOURTURN;
        return;
    }
    SendToPlayer(BuildWinner(local), -1);
    if (ishost)
        DeclareWinner(local);
    else
        gs = GAME_WATCH;
}

void YourTurnStep()
{
    // The units were brought up to date when the turn began (the next-turn message), on every machine.
    AddMessage(currplayer, "It's your turn.", FEEDWHITE);
    PlaySfx(".\\Sound\\GSNextPlayer.wav");
    currunit = -1;
    rest = Rest{};
    RebuildMinimap(YouToInt(), 0);
    gs = GAME_NEXTUNIT;
}

void NextUnitStep()
{
    commandmode = COMMAND_MOVE;
    commandflag = 0;
    debuglog << "GAME_NEXTUNIT\nBefore: currunit=" << currunit << '\n';
    if (!IsValidPlayer(currplayer)) {
        gs = GAME_ENDTURN;
        return;
    }
    const std::vector<Unit>& units = p[currplayer].units;
    for (int32_t u = currunit + 1; u >= 0 && (size_t)u < units.size(); u++)
        if ((CanAct(units[u]) && !Resting(units[u])) || pickedunit) {
            TakeUnit(u, GAME_UNITTURN);
            return;
        }
    for (size_t u = 0; u < units.size(); u++)
        if (CanAct(units[u]) && !Resting(units[u])) {
            TakeUnit((int32_t)u, GAME_UNITTURN);
            return;
        }
    gs = GAME_ENDTURN;
}

void ResetTurnSteps()
{
    pickedunit = 0;
    requesttime = 0;
    rest = Rest{};
}

void RestActingUnit()
{
    if (!IsActingUnit())
        return;
    if (!RestsThisTurn())
        rest = Rest{daycount, turncount, turnholder, {}};
    rest.ids.push_back(p[currplayer].units[currunit].id);
}

void CompTurnStep()
{
    if (!ishost) {
        gs = GAME_WATCH;
        return;
    }
    debuglog << "GAME_COMPTURN\nBefore: currunit=" << currunit << '\n';
    if (IsValidPlayer(currplayer)) {
        const std::vector<Unit>& units = p[currplayer].units;
        for (int32_t u = currunit + 1; u >= 0 && (size_t)u < units.size(); u++)
            if (CanAct(units[u]) || pickedunit) {
                BeginComputerUnit();
                TakeUnit(u, GAME_COMPUNIT);
                return;
            }
    }
    // No unit left. The turn's end-of-turn abilities run once, when the turn is handed on.
    gs = GAME_ENDTURN;
}

void CompUnitStep()
{
    if (!ishost) {
        gs = GAME_WATCH;
        return;
    }
    ComputerUnitTurn(currplayer, currunit);
}

void EndTurnStep()
{
    gs = GAME_WATCH;
    EndTurn();
    debuglog << "turncount=" << turncount << '\n';
}

void RequestSentStep()
{
    requesttime = GetTicks();
    gs = GAME_WAITRESULT;
}

bool CommandStep(int32_t x, int32_t y)
{
    if (!IsActingUnit() || !ValidateMove(currplayer, currunit, x, y))
        return true;
    // The host's own step carries the mover's experience, as the computer player's does.
    if (ishost)
        MoveAndAnnounce(currplayer, currunit, x, y, true);
    else
        SendToPlayer(BuildMoveRequest(p[currplayer].units[currunit].id, x, y), -1);
    return false;
}

bool AttackUnit(int32_t tp, int32_t tu)
{
    if (!IsActingUnit() || !ValidateAttack(currplayer, currplayer, currunit, tp, tu))
        return true;
    if (ishost) {
        AttackAndAnnounce(currplayer, currunit, tp, tu);
        return false;
    }
    SendToPlayer(BuildAttackRequest(p[currplayer].units[currunit].id, p[tp].units[tu].id), -1);
    gs = GAME_REQUESTSENT;
    return false;
}

bool CommandCast(int32_t spell, int32_t a, int32_t b)
{
    if (!IsActingUnit() || !ValidateCast(currplayer, currplayer, currunit, a, b, spell))
        return true;
    const bool atunit = IsUnitTarget(spell);
    if (ishost)
        return !ResolveSpell(currplayer, currunit, a, b, atunit ? 1 : 0, spell);
    const int32_t caster = p[currplayer].units[currunit].id;
    SendToPlayer(atunit ? BuildSpellRequestAtUnit(caster, p[a].units[b].id, spell)
                        : BuildSpellRequestAtSquare(caster, a, b, spell),
                 -1);
    gs = GAME_REQUESTSENT;
    return false;
}
