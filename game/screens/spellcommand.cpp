#include "game/screens/spellcommand.h"

#include "game/model/cast.h"
#include "game/model/catalogue.h"
#include "game/model/localplayer.h"
#include "game/model/queries.h"
#include "game/model/rangemarks.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/screens/boardcommands.h"
#include "game/screens/turnsteps.h"
#include "game/shell/debuglog.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/view/commandmode.h"
#include "game/view/drawing.h"
#include "game/view/geometry.h"
#include "game/view/minimap.h"
#include "game/view/pointer.h"

namespace {

enum : int32_t { RANGEPERSTEP = 10 };

bool IsSpellIndex(int32_t s)
{
    return s >= 0 && (size_t)s < spells.size();
}

bool Accepts(int32_t s, int32_t a, int32_t b, int32_t kind)
{
    return spells[s].test && spells[s].test(currplayer, currunit, a, b, kind);
}

// The first unit on the square (players in table order, units in list order); player -1 for none.
UnitRef UnitOn(int32_t x, int32_t y)
{
    for (size_t pl = 0; pl < p.size(); pl++)
        for (size_t u = 0; u < p[pl].units.size(); u++)
            if (p[pl].units[u].x == x && p[pl].units[u].y == y)
                return UnitRef{(int32_t)pl, (int32_t)u};
    return UnitRef{-1, -1};
}

// The marker of a square that is marked and explored: a visible unit the spell may take, or a square
// it may take.
int32_t TargetMarker(int32_t s, int32_t x, int32_t y)
{
    if (spells[s].target >= UNITTARGETKINDS)
        return Accepts(s, x, y, 0) ? MARKER_TARGET : MARKER_REFUSED;
    int32_t marker = MARKER_REFUSED;
    for (size_t pl = 0; pl < p.size(); pl++)
        for (size_t u = 0; u < p[pl].units.size(); u++) {
            const Unit& unit = p[pl].units[u];
            if (unit.x == x && unit.y == y && Accepts(s, (int32_t)pl, (int32_t)u, 0))
                marker = UnitVisibleAt((int32_t)pl, (int32_t)u, x, y) ? MARKER_TARGET : MARKER_REFUSED;
        }
    return marker;
}

void Prepare(int32_t s)
{
    const Unit& u = p[currplayer].units[currunit];
    const int32_t range = spells[s].range;
    MarkRange(u.x, u.y, range * RANGEPERSTEP);
    // A range-0 spell aims at the caster's own square, any other never at it.
    if (InBounds(u.x, u.y))
        map[u.x][u.y].mark = range == 0 ? 1 : 0;
    debuglog << "Preparing to cast spell #" << s << " (" << GetString((uint32_t)(STR_SPELLTITLE + spells[s].number))
             << ")\n";
    commandflag = 1;
    cursorframe = COMMAND_SPELL;
}

} // namespace

bool PrepareSpellCast()
{
    if (!HasActingUnit())
        return false;
    const int32_t s = selectedspell;
    if (!IsSpellIndex(s)) {
        commandmode = COMMAND_MOVE;
        commandflag = 0;
        return false;
    }
    if (!commandflag)
        Prepare(s);
    if (!MouseOnBoard())
        return false;
    const CursorCell cell = CursorSquare();
    if (!InBounds(cell.x, cell.y) || !map[cell.x][cell.y].mark || !IsSquareExplored(YouToInt(), cell.x, cell.y)) {
        DrawSheetIcon(cell.px, cell.py, MARKER_REFUSED, imgterrain);
        return false;
    }
    DrawSheetIcon(cell.px, cell.py, TargetMarker(s, cell.x, cell.y), imgterrain);
    if (!(mousestate.buttons[0] & KEY_DOWNBIT))
        return false;
    const int32_t kind = spells[s].target;
    int32_t a = cell.x, b = cell.y;
    if (kind < UNITTARGETKINDS) {
        const UnitRef target = UnitOn(cell.x, cell.y);
        if (target.player < 0)
            return false;
        a = target.player;
        b = target.unit;
    }
    HoldUntilRelease();
    if (!CastSpellAt(currplayer, currunit, s, a, b, kind))
        return false;
    commandmode = COMMAND_MOVE;
    commandflag = 0;
    RebuildMinimap(YouToInt(), 0);
    return true;
}

bool CastSpellAt(int32_t cp, int32_t cu, int32_t s, int32_t a, int32_t b, int32_t kind)
{
    // The index first: the target test is read from the spell's record.
    if (!IsSpellIndex(s)) {
        debuglog << "ERROR: Cast of spell " << s << ", which does not exist.\n";
        return false;
    }
    if (cp != currplayer || cu != currunit || !HasActingUnit() || !Accepts(s, a, b, kind))
        return false;
    return !CommandCast(s, a, b);
}
