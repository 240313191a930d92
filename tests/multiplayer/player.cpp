// The scripted player: the decisions a person would make on each screen, and the screens' own frame
// work (game/screens/setupsteps.h, turnsteps.h), with the checkpoint discipline of scripted.h.
//
// The host plays an attacker: its army marches on the nearest enemy warlord and strikes whatever comes
// within reach. Ann defends her camp: she strikes and casts at what comes near, and once claims the win
// falsely. Bo plays a turn or two and then leaves the game in the middle of his own turn.
#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <vector>

#include "game/magic/targets.h"
#include "game/model/cast.h"
#include "game/model/catalogue.h"
#include "game/model/combat.h"
#include "game/model/localplayer.h"
#include "game/model/moves.h"
#include "game/model/queries.h"
#include "game/model/setup.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/turns.h"
#include "game/model/winner.h"
#include "game/net/builders.h"
#include "game/net/lobby.h"
#include "game/net/routing.h"
#include "game/screens/errorscreen.h"
#include "game/screens/setupsteps.h"
#include "game/screens/states.h"
#include "game/screens/turnsteps.h"
#include "scripted.h"

Script script;

namespace {

enum { MONEYFIFTHS = 150, ACTIONSPERUNIT = 6, SURRENDERDAY = 7, BOLEAVESDAY = 2 };

// Spells the script casts: aimed at a unit, hurting, hindering or healing it, never moving anybody (a
// unit moved by another's spell earns its exploration on its owner's machine, outside this turn's
// order).
const char* const castable[] = {"Sparks", "EnergyArc", "DrainLife", "Ice",   "Ultra",        "Discharge",
                                "Curse",  "Enervate",  "Sluggishness", "Freezing", "Heal", "Vitality"};
// The warlord each role would rather have: the host's casts at his enemies, Ann's heals her own.
const char* const favourite[] = {"Wizard", "Savior", "Knight"};
enum { ANNREACH = 8 };          // Ann goes out to meet enemies this near her units

std::map<int32_t, int32_t> actionsbyunit;   // this turn's actions of each unit (by id)
std::set<int32_t> doneunits;                // units the script has finished with this turn
int32_t lastturnday = -1, lastturnphase = -1;

int32_t Local()
{
    return YouToInt();
}

int32_t Price(int32_t type)
{
    return GetResNumber((uint32_t)(type % 10000 + STR_UNITCOST));
}

bool IsEnemy(int32_t player)
{
    return player != Local() && IsValidPlayer(player);
}

bool Castable(int32_t spell)
{
    for (const char* name : castable)
        if (std::strcmp(spells[spell].name, name) == 0)
            return true;
    return false;
}

// The checkpoint gate: nothing that changes the game happens while one is awaited.
bool Waiting()
{
    if (ishost)
        return script.syncpending || script.awaitdone;
    return script.mustwaitsync || script.awaitsync || script.waitingconfirm || script.needdone;
}

void Request(int32_t kind, int32_t id)
{
    script.waitingconfirm = true;
    script.needdone = true;
    script.confirmkind = kind;
    script.confirmid = id;
}

// After the local player's action: the host starts a checkpoint next pass; a client waits for the
// host's answer first (Request).
void Acted(int32_t kind, int32_t id)
{
    if (ishost)
        script.syncpending = true;
    else
        Request(kind, id);
}

// The shop: the host buys fast strikers, Ann shooters, Bo the cheapest; a few each day.
void Shop()
{
    const int32_t local = Local();
    const int32_t wanted = daycount <= 1 ? 3 : 1;
    for (int32_t n = 0; n < wanted; n++) {
        int32_t best = -1, score = -1;
        for (size_t i = 0; i < buyable.size(); i++) {
            const int32_t t = buyable[i].type;
            if (Price(t) > p[local].gold)
                continue;
            const int32_t attack = GetResNumber((uint32_t)(t + STR_UNITSTAT));
            const int32_t moves = GetResNumber((uint32_t)(t + STR_UNITSTAT + 200));
            const int32_t range = GetResNumber((uint32_t)(t + STR_UNITSTAT + 300));
            const int32_t s = script.role == ROLE_HOST ? attack * 2 + moves * 3
                : script.role == ROLE_ANN             ? range * 10 + attack
                                                      : 1000 - Price(t);
            if (s > score) {
                score = s;
                best = (int32_t)i;
            }
        }
        if (best < 0 || BuyUnit(best))
            break;
    }
    DoneShopping();
}

// The free marked square nearest the camp.
void Deploy()
{
    const Player& me = p[Local()];
    int32_t bx = -1, by = -1, bd = 1 << 30;
    for (int32_t x = 0; x < mapsize; x++)
        for (int32_t y = 0; y < mapsize; y++) {
            const int32_t d = (x - me.startx) * (x - me.startx) + (y - me.starty) * (y - me.starty);
            if (map[x][y].mark && d < bd && IsSquareFree(0, 0, x, y, 0)) {
                bd = d;
                bx = x;
                by = y;
            }
        }
    if (bx < 0) {
        Note("no square to deploy on; the rest stays unbought");
        p[Local()].bought.clear();
        gs = GAME_PREPAREDEPLOY;
        return;
    }
    const int32_t before = UnitIdAt(bx, by);
    if (DeployAt(bx, by)) {
        Note("deployment refused");
        return;
    }
    if (!ishost && before < 0) {
        Request('_', Local());
        // Before the day's first turn (the first player with an army deploys from his shop) the
        // others are still shopping: no checkpoint then; the first turn's follows.
        if (turnholder < 0)
            script.needdone = false;
    }
}

// The first step of a shortest walk (along rows and columns, over free squares a step can pay for)
// from the unit to a square next to (tx, ty); false when there is none.
bool StepToward(const Unit& u, int32_t tx, int32_t ty, int32_t* sx, int32_t* sy)
{
    const int32_t n = mapsize;
    std::vector<int32_t> from((size_t)n * n, -1);
    std::deque<int32_t> queue;
    const int32_t start = u.x * n + u.y;
    from[start] = start;
    queue.push_back(start);
    const int32_t dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
    while (!queue.empty()) {
        const int32_t at = queue.front();
        queue.pop_front();
        const int32_t x = at / n, y = at % n;
        if (std::abs(x - tx) + std::abs(y - ty) <= 1 && at != start) {
            int32_t step = at;
            while (from[step] != start)
                step = from[step];
            *sx = step / n;
            *sy = step % n;
            return true;
        }
        for (int k = 0; k < 4; k++) {
            const int32_t nx = x + dx[k], ny = y + dy[k];
            if (!InBounds(nx, ny) || from[nx * n + ny] >= 0 || map[nx][ny].cost > 2 || map[nx][ny].counter2 != 0
                || !IsSquareFree(0, 0, nx, ny, 0))
                continue;
            from[nx * n + ny] = at;
            queue.push_back(nx * n + ny);
        }
    }
    return false;
}

// Until a cast has been resisted, the host's unit casts at a target that can resist, and it does.
bool CastToBeResisted(int32_t me, int32_t cu)
{
    if (!ishost || script.resisted)
        return false;
    const Unit& u = p[me].units[cu];
    for (const int32_t spell : u.spells) {
        if (spell < 0 || spell >= spellcount || !IsUnitTarget(spell))
            continue;
        for (size_t tp = 0; tp < p.size(); tp++)
            for (size_t tu = 0; tu < p[tp].units.size(); tu++) {
                const int32_t resistance = GetStat((int32_t)tp, (int32_t)tu, STAT_RESIST);
                if ((int32_t)tp == me || !SpellResisted(resistance, spells[spell].resist, 1)
                    || !ValidateCast(me, me, cu, (int32_t)tp, (int32_t)tu, spell))
                    continue;
                const int32_t id = u.id;
                actionsbyunit[id]++;
                NextDrawResists();
                if (CommandCast(spell, (int32_t)tp, (int32_t)tu))
                    return false;
                Note(std::string("cast ") + spells[spell].name + ", to be resisted");
                script.resisted = true;
                RecordEvent("resist");
                Acted('x', id);
                return true;
            }
    }
    return false;
}

// One action of the acting unit; false when it has nothing left to do.
bool Act()
{
    const int32_t me = currplayer, cu = currunit;
    const Unit& u = p[me].units[cu];
    int32_t& count = actionsbyunit[u.id];
    if (count >= ACTIONSPERUNIT)
        return false;
    if (CastToBeResisted(me, cu))
        return true;
    // Strike: a human enemy before a guard.
    for (int pass = 0; pass < 2; pass++)
        for (size_t tp = 0; tp < p.size(); tp++) {
            if (!IsEnemy((int32_t)tp) || (pass == 0) == (bool)p[tp].neutral)
                continue;
            for (size_t tu = 0; tu < p[tp].units.size(); tu++)
                if (ValidateAttack(me, me, cu, (int32_t)tp, (int32_t)tu)) {
                    const int32_t id = u.id;
                    count++;
                    if (!AttackUnit((int32_t)tp, (int32_t)tu)) {
                        Note("attack");
                        Acted('k', id);
                        return true;
                    }
                }
        }
    // Cast: at an enemy, or for a friend.
    for (const int32_t spell : u.spells) {
        if (spell < 0 || spell >= spellcount || !IsUnitTarget(spell) || !Castable(spell))
            continue;
        for (size_t tp = 0; tp < p.size(); tp++) {
            for (size_t tu = 0; tu < p[tp].units.size(); tu++)
                if (ValidateCast(me, me, cu, (int32_t)tp, (int32_t)tu, spell)) {
                    const int32_t id = u.id;
                    count++;
                    if (!CommandCast(spell, (int32_t)tp, (int32_t)tu)) {
                        Note(std::string("cast ") + spells[spell].name);
                        Acted('[', id);   // or 'x' when resisted
                        return true;
                    }
                }
        }
    }
    // March on the nearest enemy (Ann only on one that comes near).
    if (u.moves < 1)
        return false;
    int32_t tx = -1, ty = -1, best = 1 << 30;
    for (size_t tp = 0; tp < p.size(); tp++) {
        if (!IsEnemy((int32_t)tp) || p[tp].neutral)
            continue;
        for (const Unit& w : p[tp].units) {
            const int32_t d = std::abs(w.x - u.x) + std::abs(w.y - u.y);
            if (d < best) {
                best = d;
                tx = w.x;
                ty = w.y;
            }
        }
    }
    if (script.role == ROLE_ANN && best > ANNREACH)
        return false;
    int32_t sx, sy;
    if (tx < 0 || !StepToward(u, tx, ty, &sx, &sy) || map[sx][sy].cost > u.moves)
        return false;
    const int32_t id = u.id;
    count++;
    if (CommandStep(sx, sy))
        return false;
    script.moves++;
    Acted('#', id);
    return true;
}

void UnitTurn()
{
    if (!IsValidPlayer(currplayer) || currunit < 0 || (size_t)currunit >= p[currplayer].units.size()) {
        gs = GAME_NEXTUNIT;
        return;
    }
    const int32_t id = p[currplayer].units[currunit].id;
    if (!doneunits.count(id) && Act())
        return;
    doneunits.insert(id);
    // Every unit that could still act is done: the turn ends; else the next one.
    bool more = false;
    for (const Unit& other : p[currplayer].units)
        more = more || ((other.moves > 0 || other.hits > 0) && !doneunits.count(other.id));
    gs = more ? GAME_NEXTUNIT : GAME_ENDTURN;
}

void BeginOwnTurn()
{
    if (daycount != lastturnday || turncount != lastturnphase) {
        actionsbyunit.clear();
        doneunits.clear();
        lastturnday = daycount;
        lastturnphase = turncount;
    }
}

void Leave(const char* why)
{
    Note(std::string("leaving the game: ") + why);
    LeaveGame();
    script.finished = true;
}

void Lobby()
{
    if (ishost) {
        if (p.size() == 3 && script.chatsheard >= 2) {
            if (!script.chatted) {
                std::string line = "Welcome, both of you.";
                SendChat(line, PUBLICCHAT);
                script.chatted = true;
                return;
            }
            Note("beginning the game");
            BeginGame(false);
        }
        return;
    }
    // Bo answers Ann's line, so that the lines cross the wire in one order in every run.
    if (you != NOSTAMP && !script.chatted && p.size() == 3 && (script.role == ROLE_ANN || script.chatsheard > 0)) {
        std::string line = script.role == ROLE_ANN ? "Hello from Ann." : "Bo is ready.";
        SendChat(line, PUBLICCHAT);
        script.chatted = true;
    }
}

bool EveryWarlordChosen()
{
    for (const Player& player : p)
        if (!player.neutral && player.units.empty())
            return false;
    return true;
}

} // namespace

void ScriptStep()
{
    if (script.finished)
        return;
    if (gs == GAME_ERRORSCREEN) {
        Note("error screen: " + errortitle);
        gs = aftererror;
        return;
    }
    // A client says "#done" once the answer to its action is here.
    if (!ishost && script.needdone && !script.waitingconfirm) {
        std::string line = "#done";
        SendChat(line, PUBLICCHAT);
        script.needdone = false;
        script.awaitsync = true;
        return;
    }
    if (ishost && script.syncpending) {
        StartCheckpoint();
        return;
    }
    // Bo leaves in the middle of his own turn on the second day (or whenever he has no part left).
    if (script.role == ROLE_BO && !Waiting()
        && ((daycount >= BOLEAVESDAY && (gs == GAME_YOURTURN || gs == GAME_NEXTUNIT))
            || (daycount > BOLEAVESDAY && gs == GAME_WATCH))) {
        Leave("Bo has had enough");
        return;
    }
    // Ann gives up when the war drags on, so that the game still ends.
    if (script.role == ROLE_ANN && !Waiting() && daycount >= SURRENDERDAY && gs == GAME_YOURTURN) {
        Leave("Ann surrenders");
        return;
    }
    switch (gs) {
    case GAME_ENTERLOBBY:
        gs = GAME_LOBBY;
        break;
    case GAME_LOBBY:
        Lobby();
        break;
    case GAME_SELECTMONEY:
        SetStartMoney(MONEYFIFTHS);
        break;
    case GAME_CREATEMAP:
        CreateMapStep();
        break;
    case GAME_SENDMAP:
        SendMapStep();
        break;
    case GAME_CREATENEUTRALS:
        CreateNeutralsStep();
        break;
    case GAME_PLACENEUTRALS:
        PlaceNeutralsStep();
        break;
    case GAME_PREWARLORD:
        PreWarlordStep();
        // The map, the neutral side and its guards are everywhere now: the first checkpoint.
        if (ishost)
            StartCheckpoint();
        break;
    case GAME_SELECTWARLORD: {
        // In table order, so that the host numbers the warlords alike in every run.
        if (Local() > 0 && p[Local() - 1].units.empty())
            break;
        int32_t choice = warlordtypes[(int32_t)script.role % std::max(warlordtypecount, 1)];
        for (int32_t i = 0; i < warlordtypecount; i++)
            if (std::strcmp(GetString((uint32_t)(warlordtypes[i] + STR_UNITNAME)), favourite[script.role]) == 0)
                choice = warlordtypes[i];
        ChooseWarlord(choice, Local());
        break;
    }
    case GAME_WAITSERVER:
        WaitServerStep();
        break;
    case GAME_DAYSUMMARYOPEN:
        if (!Waiting())
            gs = GAME_DAYSUMMARY;
        break;
    case GAME_DAYSUMMARY:
        if (!Waiting())
            gs = GAME_PRESHOP;
        break;
    case GAME_PRESHOP:
        // The host shops once every warlord is here, so that units are numbered alike in every run.
        if (!Waiting() && (!ishost || EveryWarlordChosen()))
            PreShopStep();
        break;
    case GAME_SHOP:
        Shop();
        break;
    case GAME_BEGINDEPLOY:
        if (!Waiting())
            BeginDeployStep();
        break;
    case GAME_SHADEMAP:
        ShadeMapStep();
        break;
    case GAME_PREPAREDEPLOY:
        if (!Waiting())
            PrepareDeployStep();
        break;
    case GAME_DEPLOY:
        if (!Waiting())
            Deploy();
        break;
    case GAME_WAITPLAYERS:
        WaitPlayersStep();
        if (ishost && gs != GAME_WAITPLAYERS)
            script.syncpending = true;      // the day's first turn has begun
        break;
    case GAME_STARTTURN:
        if (!Waiting()) {
            BeginOwnTurn();
            // Once, at the start of an afternoon turn, Ann claims a win she has not won; the host
            // refuses and sends her back to her turn.
            if (script.role == ROLE_ANN && !script.claimed && turncount == AFTERNOON) {
                script.claimed = true;
                Note("claiming the win");
                SendToPlayer(BuildWinner(Local()), -1);
                gs = GAME_WATCH;
                Request('q', -1);
                break;
            }
            StartTurnStep();
        }
        break;
    case GAME_YOURTURN:
        if (!Waiting())
            YourTurnStep();
        break;
    case GAME_NEXTUNIT:
        if (!Waiting())
            NextUnitStep();
        break;
    case GAME_UNITTURN:
        if (!Waiting())
            UnitTurn();
        break;
    case GAME_ENDTURN:
        if (Waiting())
            break;
        EndTurnStep();
        if (ishost) {
            script.syncpending = true;
        } else {
            std::string line = "#done";
            SendChat(line, PUBLICCHAT);
            script.awaitsync = true;
        }
        break;
    case GAME_COMPTURN:
        if (!Waiting())
            CompTurnStep();
        break;
    case GAME_COMPUNIT:
        if (!Waiting()) {
            CompUnitStep();     // the computer player: one step of the acting guard
            script.syncpending = true;
        }
        break;
    case GAME_REQUESTSENT:
        RequestSentStep();
        break;
    case GAME_VICTORY:
        if (!script.victory) {
            script.victory = true;
            script.winner = winnername;
            Note("the winner: " + winnername);
            if (ishost)
                script.syncpending = true;
        }
        break;
    default:
        break;
    }
}

void ObserveMessage(const std::string& text, int32_t sender)
{
    const char kind = text.empty() ? 0 : text[0];
    ObserveEvents(text);
    if (kind == 'a' && text.size() > 3) {
        const std::string line = text.substr(3);
        if (ishost) {
            if (line.find("#done") != std::string::npos) {
                script.awaitdone = false;
                StartCheckpoint();
            } else if (sender >= 0) {
                script.chatsheard++;
            }
            return;
        }
        if (line.find("Hello from Ann.") != std::string::npos)
            script.chatsheard++;
        const size_t at = line.find("#sync ");
        if (at != std::string::npos) {
            RecordCheckpoint(std::atoi(line.c_str() + at + 6));
            script.mustwaitsync = false;
            script.awaitsync = false;
        }
        return;
    }
    if (ishost) {
        if (kind == '^')
            script.awaitdone = true;
        return;
    }
    if (kind == 'n' || (kind == 'q' && text.size() > 1 && (uint8_t)text[1] == GAME_DAYSUMMARYOPEN))
        script.mustwaitsync = true;
    if (script.waitingconfirm) {
        const bool answer = kind == script.confirmkind || (script.confirmkind == '[' && kind == 'x')
            || (script.confirmkind == 'k' && kind == 'x');
        if (answer)
            script.waitingconfirm = false;
    }
}
