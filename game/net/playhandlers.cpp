// The kinds of play: units made and deployed, turns, moves, the next unit, upgrades, attacks, spells,
// kills and experience. Each checks its fields against the game before its rule runs.
#include "game/net/handlers.h"

#include <cstddef>
#include <vector>

#include "game/magic/targets.h"
#include "game/model/announce.h"
#include "game/model/cast.h"
#include "game/model/catalogue.h"
#include "game/model/combat.h"
#include "game/model/dayphase.h"
#include "game/model/death.h"
#include "game/model/experience.h"
#include "game/model/localplayer.h"
#include "game/model/moves.h"
#include "game/model/setup.h"
#include "game/model/sight.h"
#include "game/model/state.h"
#include "game/model/states.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/turns.h"
#include "game/model/turnstart.h"
#include "game/model/units.h"
#include "game/model/upgrade.h"
#include "game/net/builders.h"
#include "game/net/checks.h"
#include "game/net/codings.h"
#include "game/net/routing.h"
#include "game/shell/debuglog.h"

namespace {

enum { MAXMASK = 31 };
// A placement lies within this range (in the range marks' measure, Range x 10 + 5) of the camp
// square, or within the shorter one of the player's first unit: the deployment screen's marked area.
enum { DEPLOYREACH = 5, DEPLOYREACHNEARFIRST = 2 };
enum : uint32_t { REMOTEMOVEPAUSE = 100 };     // ms after another player's move

// The fields of '/' and '_'.
struct NewUnit {
    int32_t player, type, id, x, y;
};

bool ReadNewUnit(const Incoming& in, const char* kind, NewUnit* unit)
{
    MsgReader r(in.text);
    unit->player = r.Num();
    unit->type = r.NumUnsigned();
    unit->id = r.Id();
    unit->x = r.Raw() - 1;
    unit->y = r.Raw() - 1;
    if (!CheckFields(r.bad, kind) || !CheckPlayer(unit->player, "Invalid Player!")
        || !CheckUnitType(unit->type, "ERROR: No such unit type.") || !CheckSquare(unit->x, unit->y, "ERROR: Off the map."))
        return false;
    if (ishost && unit->player != in.sender) {
        debuglog << "ERROR: Player " << in.sender << " placed a unit for player " << unit->player << ".\n";
        return false;
    }
    return true;
}

// A client's placement: a type he can have bought and can pay for, on a free square of his deployment
// area (near his camp or his first unit), while he may deploy: in his morning turn, or before the day's
// first turn when he is the first player with an army (his shop's "Done" takes him straight there)
// until he says he is done.
bool DeployAllowed(const NewUnit& unit)
{
    bool buyabletype = false;
    for (const UnitListEntry& entry : buyable)
        buyabletype = buyabletype || entry.type == unit.type;
    const Player& owner = p[unit.player];
    const bool histurn = turnholder == unit.player && turncount == 0;
    const bool first = turnholder == -1 && NextPlayerWithUnits(0) == unit.player && !owner.shopped;
    const bool inarea = WithinRange(owner.startx, owner.starty, unit.x, unit.y, DEPLOYREACH)
        || (!owner.units.empty()
            && WithinRange(owner.units[0].x, owner.units[0].y, unit.x, unit.y, DEPLOYREACHNEARFIRST));
    const int32_t price = GetResNumber(static_cast<uint32_t>(unit.type % TYPESPERLEVEL + STR_UNITCOST));
    if (!buyabletype || !(histurn || first) || !inarea || owner.gold < price
        || !IsSquareFree(unit.player, 0, unit.x, unit.y, 0)) {
        debuglog << "ERROR: Player " << unit.player << " may not deploy unit type " << unit.type << " at " << unit.x
                 << ", " << unit.y << " now.\n";
        return false;
    }
    return true;
}

// The bought entry a placed unit came from: the one deployment had selected, else the first of its type.
void SpendBought(int32_t player, int32_t type)
{
    std::vector<UnitListEntry>& bought = p[player].bought;
    size_t k = 0;
    if (hoveritem >= 0 && static_cast<size_t>(hoveritem) < bought.size() && bought[hoveritem].type == type)
        k = static_cast<size_t>(hoveritem);
    else
        while (k < bought.size() && bought[k].type != type)
            k++;
    if (k < bought.size())
        bought.erase(bought.begin() + static_cast<std::ptrdiff_t>(k));
}

// A unit a request names must belong to the player who sent it.
bool SenderOwns(const Incoming& in, const UnitRef& unit)
{
    if (!ishost || unit.player == in.sender)
        return true;
    debuglog << "ERROR: Player " << in.sender << " gave an order to a unit of player " << unit.player << ".\n";
    return false;
}

// The target of '[' and 'i', after the caster's id: a unit for target kinds below 4, given back as its
// player and unit index, else a square on the map.
bool ReadSpellTarget(const Incoming& in, int32_t spell, int32_t* a, int32_t* b)
{
    MsgReader r(in.text);
    r.pos = 3;
    if (spells[spell].target < UNITTARGETKINDS) {
        UnitRef target;
        if (!CheckUnit(r.Id(), &target, "ERROR: p2,u2 is not a unit."))
            return false;
        *a = target.player;
        *b = target.unit;
        return true;
    }
    *a = r.Num();
    *b = r.Num();
    return CheckSquare(*a, *b, "ERROR: Spell target off the map.");
}

// The host's answer to an attack or spell request ends the requester's wait; with the menu or the
// options open over the wait, closing them returns to the unit turn instead.
void EndRequestWait()
{
    if (gs == GAME_REQUESTSENT || gs == GAME_WAITRESULT)
        gs = GAME_UNITTURN;
    else if (returngs == GAME_REQUESTSENT || returngs == GAME_WAITRESULT)
        returngs = GAME_UNITTURN;
}

} // namespace

void HandleCreateUnit(const Incoming& in)
{
    NewUnit unit;
    if (!ReadNewUnit(in, "CREATEUNIT", &unit))
        return;
    if (FindUnit(unit.id).player >= 0) {
        debuglog << "ERROR: A unit with id " << unit.id << " exists already.\n";
        return;
    }
    debuglog << "ACTION: Create Unit\nUnit: " << unit.type << " id " << unit.id << " at (" << unit.x << ", " << unit.y
             << ")\n";
    // Only the host numbers units: it creates them by its own rules, never on a client's word.
    if (ishost) {
        debuglog << "ERROR: Player " << in.sender << " asked the host to create a unit.\n";
        return;
    }
    CreateUnit(unit.player, unit.x, unit.y, unit.type, unit.id);
}

void HandleDeployUnit(const Incoming& in)
{
    NewUnit unit;
    if (!ReadNewUnit(in, "DEPLOYUNIT", &unit))
        return;
    // The host numbers units itself; a client's copy must bring an id not yet in use.
    if (!ishost && FindUnit(unit.id).player >= 0) {
        debuglog << "ERROR: A unit with id " << unit.id << " exists already.\n";
        return;
    }
    debuglog << "ACTION: Deploy Unit\n";
    // A unit placed in its owner's turn is brought up to date at once, on every machine (its owner's
    // too); one placed before his turn is updated with the rest of his army when the turn begins.
    const bool update = turnholder == unit.player;
    if (ishost) {
        // A refused client is sent back to his deployment, which he left to wait for this answer.
        if (!DeployAllowed(unit)) {
            SendToPlayer(BuildSetGs(GAME_PREPAREDEPLOY), unit.player);
            return;
        }
        // The host's own id for it; the client's counters in the message mean nothing here.
        const int32_t u = CreateUnit(unit.player, unit.x, unit.y, unit.type, 0);
        AnnounceMinimap(YouToInt());
        if (u < 0) {
            SendToPlayer(BuildSetGs(GAME_PREPAREDEPLOY), unit.player);
            return;
        }
        if (!UnitHasFlag(unit.type, '~'))
            SendToPlayer(BuildDeployUnit(unit.player, unit.type, p[unit.player].units[u].id, unit.x, unit.y), -1);
        if (update)
            UpdateUnit(unit.player, u);
    } else {
        const int32_t u = CreateUnit(unit.player, unit.x, unit.y, unit.type, unit.id);
        if (u < 0 || p[unit.player].units[u].id != unit.id) {
            debuglog << "ERROR: The unit " << unit.player << ", " << u << " is not a unit!\n";
        } else {
            if (update)
                UpdateUnit(unit.player, u);
            if (unit.player == YouToInt()) {
                SpendBought(unit.player, unit.type);
                gs = GAME_PREPAREDEPLOY;    // his deployment goes on
            }
        }
    }
    AnnounceMinimap(YouToInt());
}

void HandleBeginNextTurn(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t player = r.Num();
    if (!CheckFields(r.bad, "BEGINNEXTTURN") || !CheckPlayer(player, "ERROR: Not a player."))
        return;
    // Only the player whose turn runs may end it; a late copy must not end the next player's turn, nor
    // one between days (nobody holds a turn then) start the day for everybody.
    if (player != in.sender || player != turnholder) {
        debuglog << "ERROR: Player " << in.sender << " ended the turn of player " << player << " while it is player "
                 << turnholder << "'s.\n";
        return;
    }
    debuglog << "ACTION: Begin the next player's turn.\n";
    // ServerNextTurn runs the ending player's end-of-turn abilities, once, as every client does.
    currunit = 0;
    ServerNextTurn(player);
    AnnounceSound(".\\Sound\\GSEnemy.wav");
}

void HandleNextTurn(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t player = r.Num();
    if (!CheckFields(r.bad, "NEXTTURN") || !CheckPlayer(player, "ERROR: Not a player."))
        return;
    debuglog << "ACTION: Next player's turn.\n";
    FollowNextTurn(player);
}

void HandleAdvanceDay(const Incoming&)
{
    debuglog << "ACTION: Advance the day phase.\n";
    AdvanceDayPhase();
}

void HandleMoveRequest(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t id = r.Id();
    const int32_t x = r.Num();
    const int32_t y = r.Num();
    UnitRef unit;
    if (!CheckFields(r.bad, "MOVEREQUEST") || !CheckUnit(id, &unit, "ERROR: Invalid unit.") || !SenderOwns(in, unit)
        || !CheckSquare(x, y, "ERROR: Move off the map."))
        return;
    debuglog << "ACTION: Move request\n";
    if (unit.player != turnholder) {
        debuglog << "ERROR: Player " << unit.player << " asked to move while the turn is player " << turnholder
                 << "'s.\n";
        return;
    }
    if (!ValidateMove(unit.player, unit.unit, x, y))
        return;
    MoveAndAnnounce(unit.player, unit.unit, x, y);
}

void HandleMove(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t id = r.Id();
    const int32_t x = r.Num();
    const int32_t y = r.Num();
    UnitRef unit;
    if (!CheckFields(r.bad, "MOVE") || !CheckUnit(id, &unit, "ERROR: Invalid unit.")
        || !CheckSquare(x, y, "ERROR: Move off the map."))
        return;
    debuglog << "ACTION: Move\n";
    MoveUnit(unit.player, unit.unit, x, y);
    // Lets the player follow another's moves; only while anything is shown.
    if (unit.player != YouToInt())
        AnnouncePause(REMOTEMOVEPAUSE);
}

void HandleNextUnit(const Incoming& in)
{
    MsgReader r(in.text);
    UnitRef unit;
    if (!CheckFields(r.bad, "NEXTUNIT") || !CheckUnit(r.Id(), &unit, "ERROR: Invalid unit.") || !SenderOwns(in, unit))
        return;
    // Only a unit of the player whose turn runs can be his acting unit.
    if (unit.player != turnholder) {
        debuglog << "ERROR: NEXTUNIT names a unit of player " << unit.player << " while the turn is player "
                 << turnholder << "'s.\n";
        return;
    }
    debuglog << "ACTION: Next Unit\n";
    // The local player's own units are his to choose.
    if (unit.player != YouToInt()) {
        currunit = unit.unit;
        if (YouCanSeeUnit(unit.player, unit.unit))
            AnnounceFollow(p[unit.player].units[unit.unit].x, p[unit.player].units[unit.unit].y);
    }
    if (ishost)
        RerouteMessage(in.text);
}

void HandleUpgradeUnit(const Incoming& in)
{
    MsgReader r(in.text);
    UnitRef unit;
    if (!CheckFields(r.bad, "UPGRADEUNIT") || !CheckUnit(r.Id(), &unit, "ERROR: Invalid unit."))
        return;
    debuglog << "ACTION: Upgrade unit\n";
    UpgradeUnit(unit.player, unit.unit);
}

void HandleAttackRequest(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t id1 = r.Id();
    const int32_t id2 = r.Id();
    UnitRef attacker, target;
    if (!CheckFields(r.bad, "ATTACKREQUEST") || !CheckUnit(id1, &attacker, "ERROR: Invalid unit pair.")
        || !CheckUnit(id2, &target, "ERROR: Invalid unit pair.") || !SenderOwns(in, attacker))
        return;
    debuglog << "ACTION: Request to attack.\n";
    if (!ValidateAttack(in.sender, attacker.player, attacker.unit, target.player, target.unit))
        return;
    AttackAndAnnounce(attacker.player, attacker.unit, target.player, target.unit);
}

void HandleAttack(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t id1 = r.Id();
    const int32_t id2 = r.Id();
    int32_t masks[4];
    bool maskbad = false;
    for (int32_t& mask : masks) {
        mask = r.NumUnsigned();
        maskbad = maskbad || mask > MAXMASK;
    }
    UnitRef attacker, target;
    if (!CheckFields(r.bad || maskbad, "ATTACK") || !CheckUnit(id1, &attacker, "ERROR: Invalid unit pair.")
        || !CheckUnit(id2, &target, "ERROR: Invalid unit pair."))
        return;
    debuglog << "ACTION: Attack!\n";
    EndRequestWait();
    DoCombat(attacker.player, attacker.unit, target.player, target.unit, masks[0], masks[1], masks[2], masks[3]);
}

void HandleSpellRequest(const Incoming& in)
{
    // The spell decides how the target reads, so it is read first, at its fixed place.
    MsgReader r(in.text);
    const int32_t caster = r.Id();
    r.pos = 5;
    const int32_t spell = r.NumUnsigned();
    UnitRef unit;
    int32_t a = -1, b = -1;
    if (!CheckFields(r.bad, "SPELLREQUEST") || !CheckSpell(spell, "ERROR: Invalid spell!")
        || !CheckUnit(caster, &unit, "ERROR: p1,u1 is not a unit.") || !SenderOwns(in, unit)
        || !ReadSpellTarget(in, spell, &a, &b))
        return;
    debuglog << "ACTION: Request Spell\n";
    if (!ValidateCast(in.sender, unit.player, unit.unit, a, b, spell))
        return;
    ResolveSpell(unit.player, unit.unit, a, b, spells[spell].target < UNITTARGETKINDS ? 1 : 0, spell);
}

void HandleCastSpell(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t caster = r.Id();
    r.pos = 5;
    const int32_t spell = r.NumUnsigned();
    UnitRef unit;
    int32_t a = -1, b = -1;
    if (!CheckFields(r.bad, "CASTSPELL") || !CheckSpell(spell, "ERROR: Bad spell ref.")
        || !CheckUnit(caster, &unit, "ERROR: p1,u1 is not a unit.") || !ReadSpellTarget(in, spell, &a, &b))
        return;
    debuglog << "ACTION: Cast spell!\n";
    EndRequestWait();
    CastSpellEffect(unit.player, unit.unit, a, b, spell, spells[spell].target, 0);
}

void HandleResist(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t id1 = r.Id();
    const int32_t id2 = r.Id();
    const int32_t spell = r.NumUnsigned();
    UnitRef target, caster;
    if (!CheckFields(r.bad, "RESIST") || !CheckSpell(spell, "ERROR: Bad spell ref.")
        || !CheckUnit(id1, &target, "p1,u1 is not a unit pair.") || !CheckUnit(id2, &caster, "p2,u2 is not a unit pair."))
        return;
    debuglog << "ACTION: Resist\n";
    // The wire names the target first; the rule takes the caster first.
    ResistSpell(caster.player, caster.unit, target.player, target.unit, spell);
    EndRequestWait();
}

void HandleKillUnit(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t id = r.Id();
    const int32_t killer = r.Num();
    UnitRef unit;
    if (!CheckFields(r.bad, "KILLUNIT") || !CheckUnit(id, &unit, "ERROR: Not a unit!")
        || !CheckPlayer(killer, "ERROR: Not a player."))
        return;
    debuglog << "ACTION: Kill Unit\n";
    // Resolved at once, where the host resolved it: a next-turn message behind it in the same read
    // must not change which turn the kill falls in.
    KillUnit(unit.player, unit.unit, killer);
    ProcessDeaths();
}

void HandleAddExperience(const Incoming& in)
{
    // The gain travels as an unsigned small number; a client never sends more than one message carries.
    MsgReader r(in.text);
    const int32_t id = r.Id();
    const int32_t amount = r.NumUnsigned();
    UnitRef unit;
    if (!CheckFields(r.bad || amount > MAXSENTGAIN, "ADDEXPERIENCE") || !CheckUnit(id, &unit, "ERROR: Invalid unit")
        || !SenderOwns(in, unit))
        return;
    // A look's experience is earned on its owner's machine, which added it before it said so.
    if (!ishost && unit.player == YouToInt()) {
        debuglog << "ERROR: Experience for a unit of the local player, who counted it already.\n";
        return;
    }
    // Paid only for a look the host saw the unit take, once, and up to what that look could earn.
    if (ishost && !TakeLook(id, amount)) {
        debuglog << "ERROR: Player " << in.sender << " claimed " << amount << " exploration experience for unit " << id
                 << " with no look of it that could earn that.\n";
        return;
    }
    debuglog << "ACTION: Add experience.\n";
    AddExperience(unit.player, unit.unit, amount);
    // Every other machine adds it too, once.
    if (ishost && amount > 0)
        RelayToOthers(in.text, in.sender);
}
