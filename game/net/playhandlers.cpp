// The kinds of play: units made and deployed, turns, moves, the next unit, upgrades, attacks, spells,
// kills and experience. Each checks its fields against the game before its rule runs.
#include "game/net/handlers.h"

#include "game/model/catalogue.h"
#include "game/model/dayphase.h"
#include "game/model/death.h"
#include "game/model/experience.h"
#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/model/turns.h"
#include "game/model/upgrade.h"
#include "game/net/checks.h"
#include "game/net/codings.h"
#include "game/shell/debuglog.h"
#include "game/shell/sound.h"

namespace {

enum { MAXMASK = 31, UNITTARGETKINDS = 4, MAXSENTGAIN = 127 };

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

// A unit a request names must belong to the player who sent it.
bool SenderOwns(const Incoming& in, const UnitRef& unit)
{
    if (!ishost || unit.player == in.sender)
        return true;
    debuglog << "ERROR: Player " << in.sender << " gave an order to a unit of player " << unit.player << ".\n";
    return false;
}

// The target of '[' and 'i', after the caster's id: a unit for target kinds below 4, else a square.
bool CheckSpellTarget(const Incoming& in, int32_t spell)
{
    MsgReader r(in.text);
    r.pos = 3;
    if (spells[spell].target < UNITTARGETKINDS) {
        UnitRef target;
        return CheckUnit(r.Id(), &target, "ERROR: p2,u2 is not a unit.");
    }
    const int32_t x = r.Num();
    const int32_t y = r.Num();
    return CheckSquare(x, y, "ERROR: Spell target off the map.");
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
    NotBuiltYet("creating a unit (CreateUnit)");
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
    NotBuiltYet("deploying a unit (CreateUnit, UpdateUnit)");
}

void HandleBeginNextTurn(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t player = r.Num();
    if (!CheckFields(r.bad, "BEGINNEXTTURN") || !CheckPlayer(player, "ERROR: Not a player."))
        return;
    // Only the player whose turn it is may end it; a late copy must not end the next player's turn.
    if (player != in.sender || player != currplayer) {
        debuglog << "ERROR: Player " << in.sender << " ended the turn of player " << player << " while it is player "
                 << currplayer << "'s.\n";
        return;
    }
    debuglog << "ACTION: Begin the next player's turn.\n";
    // ServerNextTurn runs the ending player's end-of-turn abilities, once, as every client does.
    currunit = 0;
    ServerNextTurn(player);
    PlaySfx(".\\Sound\\GSEnemy.wav");
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
    NotBuiltYet("moving a unit (ValidateMove, MoveUnit)");
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
    NotBuiltYet("moving a unit (MoveUnit)");
}

void HandleNextUnit(const Incoming& in)
{
    MsgReader r(in.text);
    UnitRef unit;
    if (!CheckFields(r.bad, "NEXTUNIT") || !CheckUnit(r.Id(), &unit, "ERROR: Invalid unit.") || !SenderOwns(in, unit))
        return;
    // Only a unit of the player whose turn it is can be his acting unit.
    if (unit.player != currplayer) {
        debuglog << "ERROR: NEXTUNIT names a unit of player " << unit.player << " during player " << currplayer
                 << "'s turn.\n";
        return;
    }
    debuglog << "ACTION: Next Unit\n";
    NotBuiltYet("following the next unit (FollowSquare)");
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
    NotBuiltYet("an attack (DoCombat)");
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
    NotBuiltYet("an attack (DoCombat)");
}

void HandleSpellRequest(const Incoming& in)
{
    // The spell decides how the target reads, so it is read first, at its fixed place.
    MsgReader r(in.text);
    const int32_t caster = r.Id();
    r.pos = 5;
    const int32_t spell = r.NumUnsigned();
    UnitRef unit;
    if (!CheckFields(r.bad, "SPELLREQUEST") || !CheckSpell(spell, "ERROR: Invalid spell!")
        || !CheckUnit(caster, &unit, "ERROR: p1,u1 is not a unit.") || !SenderOwns(in, unit)
        || !CheckSpellTarget(in, spell))
        return;
    debuglog << "ACTION: Request Spell\n";
    NotBuiltYet("a spell (ResolveSpell)");
}

void HandleCastSpell(const Incoming& in)
{
    MsgReader r(in.text);
    const int32_t caster = r.Id();
    r.pos = 5;
    const int32_t spell = r.NumUnsigned();
    UnitRef unit;
    if (!CheckFields(r.bad, "CASTSPELL") || !CheckSpell(spell, "ERROR: Bad spell ref.")
        || !CheckUnit(caster, &unit, "ERROR: p1,u1 is not a unit.") || !CheckSpellTarget(in, spell))
        return;
    debuglog << "ACTION: Cast spell!\n";
    NotBuiltYet("a spell's effect (CastSpellEffect)");
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
    NotBuiltYet("a resisted spell (ResistSpell)");
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
    debuglog << "ACTION: Add experience.\n";
    AddExperience(unit.player, unit.unit, amount);
}
