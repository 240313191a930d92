#include "game/model/cast.h"

#include <cstddef>
#include <string>

#include "game/model/announce.h"
#include "game/model/catalogue.h"
#include "game/model/combat.h"
#include "game/model/death.h"
#include "game/model/experience.h"
#include "game/model/localplayer.h"
#include "game/model/names.h"
#include "game/model/queries.h"
#include "game/model/rangemarks.h"
#include "game/model/sight.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/turns.h"
#include "game/net/builders.h"
#include "game/net/routing.h"
#include "game/shell/debuglog.h"
#include "platform/random.h"

namespace {

enum : int32_t { MAXRESISTEDCLASS = 3, CASTALERT = -4 };

bool IsUnit(int32_t player, int32_t unit)
{
    return player >= 0 && static_cast<size_t>(player) < p.size() && unit >= 0
        && static_cast<size_t>(unit) < p[player].units.size();
}

bool IsSpell(int32_t spell)
{
    return spell >= 0 && static_cast<size_t>(spell) < spells.size();
}

// The square a cast lands on: the target unit's for a unit target, else (a, b).
void TargetSquare(int32_t a, int32_t b, int32_t spell, int32_t* x, int32_t* y)
{
    if (IsUnitTarget(spell)) {
        *x = p[a].units[b].x;
        *y = p[a].units[b].y;
    } else {
        *x = a;
        *y = b;
    }
}

// The acting unit of the turn, named by id, so that it can be found again after units moved in lists.
int32_t ActingUnitId()
{
    return IsUnit(currplayer, currunit) ? p[currplayer].units[currunit].id : -1;
}

void RepointActingUnit(int32_t id)
{
    if (id < 0)
        return;
    const UnitRef acting = FindUnit(id);
    if (acting.player == currplayer)
        currunit = acting.unit;
    else
        currunit = IsUnit(currplayer, 0) ? 0 : -1;
}

} // namespace

bool IsUnitTarget(int32_t spell)
{
    return spells[spell].target < UNITTARGETKINDS;
}

bool SpellResisted(int32_t resistance, int32_t resistclass, int32_t roll)
{
    const int32_t chance = resistance >= 1 ? resistance + 1 : 1;
    return roll % chance != 0 && resistclass <= MAXRESISTEDCLASS;
}

bool SpellTargetValid(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t spell)
{
    if (!IsSpell(spell) || !IsUnit(cp, cu)) {
        debuglog << "ERROR: Spell " << spell << " cast by player " << cp << "'s unit #" << cu << ", which is not one.\n";
        return false;
    }
    if (IsUnitTarget(spell) ? !IsUnit(a, b) : !InBounds(a, b)) {
        debuglog << "ERROR: Spell target " << a << ", " << b << " does not exist.\n";
        return false;
    }
    const TargetTest test = spells[spell].test;
    if (!test || !test(cp, cu, a, b, 0)) {
        debuglog << "ERROR: Spell " << spell << " cannot be aimed at " << a << ", " << b << ".\n";
        return false;
    }
    return true;
}

bool ValidateCast(int32_t sender, int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t spell)
{
    if (!IsSpell(spell) || !IsUnit(cp, cu)) {
        debuglog << "ERROR: Invalid spell request.\n";
        return false;
    }
    if (cp != sender) {
        debuglog << "ERROR: Player " << sender << " cast with a unit of player " << cp << ".\n";
        return false;
    }
    // The turn that runs, not the screen's idea of it: between days nobody holds one.
    if (cp != turnholder) {
        debuglog << "ERROR: Player " << cp << " cast while the turn is player " << turnholder << "'s.\n";
        return false;
    }
    const Unit& c = p[cp].units[cu];
    bool known = false;
    for (const int32_t slot : c.spells)
        known = known || slot == spell;
    if (!known) {
        debuglog << "ERROR: The caster does not know spell " << spell << ".\n";
        return false;
    }
    if (c.hits < CASTACTIONS || c.mana < spells[spell].mana) {
        debuglog << "ERROR: The caster lacks the actions or the mana for spell " << spell << ".\n";
        return false;
    }
    if (!InBounds(c.x, c.y) || (map[c.x][c.y].bits & CLAIMMASK) != NOCLAIM || IsUnitDying(cp, cu)) {
        debuglog << "ERROR: The caster cannot cast here.\n";
        return false;
    }
    if (!SpellTargetValid(cp, cu, a, b, spell))
        return false;
    // A dying target's kill is paid already; a second would pay it again.
    if (IsUnitTarget(spell) && IsUnitDying(a, b)) {
        debuglog << "ERROR: The spell's target is dying already.\n";
        return false;
    }
    int32_t tx, ty;
    TargetSquare(a, b, spell, &tx, &ty);
    const int32_t range = spells[spell].range;
    const bool own = tx == c.x && ty == c.y;
    if (own ? range != 0 : !WithinRange(c.x, c.y, tx, ty, range)) {
        debuglog << "ERROR: Spell target " << tx << ", " << ty << " is out of range.\n";
        return false;
    }
    return true;
}

bool ResolveSpell(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t extra, int32_t spell)
{
    if (!ishost) {
        debuglog << "ERROR: Only the host resolves spells.\n";
        return false;
    }
    if (!SpellTargetValid(cp, cu, a, b, spell))
        return false;
    const int32_t kind = spells[spell].target;
    const int32_t casterid = p[cp].units[cu].id;
    if (kind < UNITTARGETKINDS) {
        const int32_t targetid = p[a].units[b].id;
        // One draw for every unit-target cast, whatever the spell's class.
        const int32_t roll = Random();
        if (SpellResisted(GetStat(a, b, STAT_RESIST), spells[spell].resist, roll)) {
            ResistSpell(cp, cu, a, b, spell);
            SendToPlayer(BuildResist(targetid, casterid, spell), -1);
            return true;
        }
        handlerfired = 0;
        CastSpellEffect(cp, cu, a, b, spell, extra, 0);
        SendToPlayer(BuildCastSpellAtUnit(casterid, targetid, spell, kind), -1);
        return true;
    }
    handlerfired = 0;
    CastSpellEffect(cp, cu, a, b, spell, extra, 0);
    SendToPlayer(BuildCastSpellAtSquare(casterid, a, b, spell, kind), -1);
    return true;
}

bool ResistSpell(int32_t cp, int32_t cu, int32_t tp, int32_t tu, int32_t spell)
{
    if (!IsSpell(spell) || !IsUnit(cp, cu)) {
        debuglog << "ERROR: A resisted spell " << spell << " of player " << cp << "'s unit #" << cu
                 << ", which is not one.\n";
        return false;
    }
    const int32_t local = YouToInt();
    if (IsUnit(tp, tu) && IsSquareExplored(local, p[tp].units[tu].x, p[tp].units[tu].y)) {
        AnnounceSound(".\\Sound\\GSResist.wav");
        AnnounceFeed(local, "The target resisted the spell!", FEEDWHITE, 0);
    }
    ClearRange();
    AnnounceCommandDone();
    Unit& c = p[cp].units[cu];
    c.mana -= spells[spell].mana;
    c.hits -= CASTACTIONS;
    if (c.hits < 1)
        c.moves = 0;
    AnnounceEffect(tp, tu, 0, RESISTANIMCELL, 0);
    AnnouncePause(CASTPAUSEMS);
    AnnouncePicture(cp, cu);
    return true;
}

bool CastSpellEffect(int32_t cp, int32_t cu, int32_t a, int32_t b, int32_t spell, int32_t extra, int32_t last)
{
    if (!IsSpell(spell) || !IsUnit(cp, cu) || (IsUnitTarget(spell) ? !IsUnit(a, b) : !InBounds(a, b))) {
        debuglog << "ERROR: Spell " << spell << " of player " << cp << "'s unit #" << cu << " at " << a << ", " << b
                 << " names no caster or target.\n";
        return false;
    }
    const SpellInfo& info = spells[spell];
    const bool unittarget = IsUnitTarget(spell);
    const int32_t local = YouToInt();
    const int32_t casterid = p[cp].units[cu].id;
    const int32_t targetid = unittarget ? p[a].units[b].id : -1;
    const int32_t actingid = ActingUnitId();
    int32_t tx, ty;
    TargetSquare(a, b, spell, &tx, &ty);

    if (IsSquareExplored(local, tx, ty)) {
        map[tx][ty].visible = 1;
        map[tx][ty].explored = 1;
        needredraw = 1;
        AnnounceBoard();
    }
    {
        const Unit& c = p[cp].units[cu];
        if (cp == local)
            AnnounceFollow(c.x, c.y);
        AnnounceFollow(tx, ty);
    }
    AnnouncePause(CASTPAUSEMS);
    ClearRange();

    {
        const Unit& c = p[cp].units[cu];
        if (IsSquareExplored(local, c.x, c.y)) {
            const std::string line = PlayerPossessive(cp) + " " + GetString(STR_UNITNAME + c.type) + " cast "
                + GetString(STR_SPELLTITLE + info.number) + "!";
            AnnounceFeed(local, line, FEEDWHITE, 0);
        }
        // The victim sees who cast.
        if (unittarget && a == local)
            RevealSquare(local, c.x, c.y);
        if (IsSquareExplored(local, c.x, c.y) || IsSquareExplored(local, tx, ty))
            AnnounceSound((std::string(".\\Sound\\SP") + GetString(STR_SPELLNAME + info.number) + ".wav").c_str());
    }
    AnnounceEffect(a, b, info.target, info.anim, 0);

    handlerfired = 0;
    if (info.effect)
        info.effect(cp, cu, a, b, extra, last);

    // The handler may have moved, added or removed units: caster and target are named by id again.
    RepointActingUnit(actingid);
    const UnitRef caster = FindUnit(casterid);
    if (caster.player >= 0) {
        Unit& c = p[caster.player].units[caster.unit];
        c.hits -= CASTACTIONS;
        c.mana -= info.mana;
        if (c.hits == 0)
            c.moves = 0;
    }
    AnnouncePause(CASTPAUSEMS);
    if (caster.player >= 0)
        AddExperience(caster.player, caster.unit, info.castexp + p[caster.player].spellexpbonus);
    if (unittarget) {
        const UnitRef target = FindUnit(targetid);
        if (target.player >= 0) {
            const Unit& t = p[target.player].units[target.unit];
            tx = t.x;
            ty = t.y;
        }
        AlertCamps(tx, ty, CASTALERT);
        if (target.player >= 0)
            AnnouncePicture(target.player, target.unit);
    }
    AnnounceMinimap(local);
    if (caster.player >= 0)
        AnnouncePicture(caster.player, caster.unit);
    return false;
}
