#include "game/screens/boardcommands.h"

#include "game/magic/targets.h"
#include "game/model/localplayer.h"
#include "game/model/queries.h"
#include "game/model/rangemarks.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/net/routing.h"
#include "game/screens/spellcommand.h"
#include "game/screens/states.h"
#include "game/screens/turnsteps.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/view/commandmode.h"
#include "game/view/drawing.h"
#include "game/view/geometry.h"

namespace {

enum : int32_t { HIDDENSTEALTH = 2, RANGEPERSTAT = 10 };

// The arrow keys in the order they are tested, with their steps.
struct ArrowKey {
    uint8_t key;
    int32_t dx, dy;
};
const ArrowKey arrowkeys[] = {
    {KEY_LEFT, -1, 0}, {KEY_RIGHT, 1, 0}, {KEY_UP, 0, -1}, {KEY_DOWN, 0, 1},
};

Unit& ActingUnit()
{
    return p[currplayer].units[currunit];
}

void SetMode(int32_t mode)
{
    commandmode = mode;
    commandflag = 0;
}

void DrawMarker(const CursorCell& cell, int32_t marker)
{
    DrawSheetIcon(cell.px, cell.py, marker, imgterrain);
}

} // namespace

bool HasActingUnit()
{
    return you != NOSTAMP && IsValidPlayer(currplayer) && currplayer == YouToInt() && currunit >= 0
        && (size_t)currunit < p[currplayer].units.size();
}

CursorCell CursorSquare()
{
    return CursorCell{mousex / SQUARESIZE * SQUARESIZE, mousey / SQUARESIZE * SQUARESIZE,
                      mousex / SQUARESIZE + view.left, mousey / SQUARESIZE + view.top};
}

bool UnitVisibleAt(int32_t player, int32_t unit, int32_t x, int32_t y)
{
    return InBounds(x, y) && map[x][y].dark + GetStat(player, unit, STAT_STEALTH) < HIDDENSTEALTH;
}

void HandleBoardClick()
{
    if (!HasActingUnit())
        return;
    switch (commandmode) {
    case COMMAND_MOVE: CommandMove(); break;
    case COMMAND_SPELL: PrepareSpellCast(); break;
    case COMMAND_ATTACK: CommandAttack(); break;
    default: break;
    }
    // A command may have ended the unit's turn, or killed it.
    if (!HasActingUnit())
        return;
    if (IsKeyDown(KEY_TAB)) {
        SetMode(commandmode == COMMAND_MOVE && ActingUnit().hits > 1 ? COMMAND_ATTACK : COMMAND_MOVE);
        WaitKeyRelease(KEY_TAB);
    }
    if (mousestate.buttons[1] & KEY_DOWNBIT)
        SetMode(COMMAND_MOVE);
    if (IsKeyDown(KEY_C)) {
        const Unit& u = ActingUnit();
        if (autofocus && IsSquareExplored(YouToInt(), u.x, u.y))
            CenterView(u.x, u.y);
        WaitKeyRelease(KEY_C);
    }
    if (IsKeyDown(KEY_W)) {
        gs = GAME_NEXTUNIT;
        WaitKeyRelease(KEY_W);
    }
}

void CommandMove()
{
    if (!HasActingUnit())
        return;
    if (!commandflag) {
        ClearRange();
        commandflag = 1;
        cursorframe = COMMAND_MOVE;
    }
    const ArrowKey* pressed = nullptr;
    for (const ArrowKey& a : arrowkeys)
        if (IsKeyDown(a.key)) {
            pressed = &a;
            break;
        }
    if (!pressed)
        return;
    // One press is one step.
    WaitKeyRelease(pressed->key);
    const Unit& u = ActingUnit();
    const int32_t tx = u.x + pressed->dx, ty = u.y + pressed->dy;
    if (u.moves <= 0 || !InBounds(tx, ty) || map[tx][ty].counter2 != 0)
        return;
    if (!IsSquareFree(currplayer, currunit, tx, ty, 0)) {
        const UnitRef there = FindUnit(UnitIdAt(tx, ty));
        if (u.hits > 1 && there.player >= 0 && there.player != currplayer)
            SetMode(COMMAND_ATTACK);
        return;
    }
    CommandStep(tx, ty);
}

bool CommandAttack()
{
    if (!HasActingUnit())
        return true;
    const CursorCell cell = CursorSquare();
    if (!commandflag) {
        const Unit& u = ActingUnit();
        if (u.hits < 2 || u.rocks < 1) {
            SetMode(COMMAND_MOVE);
            return true;
        }
        // Marks a spell left must not widen the attack's reach.
        ClearRange();
        MarkRange(u.x, u.y, GetStat(currplayer, currunit, STAT_RANGE) * RANGEPERSTAT);
        if (InBounds(u.x, u.y))
            map[u.x][u.y].mark = 0;
        commandflag = 1;
        cursorframe = COMMAND_ATTACK;
    }
    if (!MouseOnBoard() || !InBounds(cell.x, cell.y) || !map[cell.x][cell.y].mark
        || !IsSquareExplored(YouToInt(), cell.x, cell.y) || IsSquareFree(0, 0, cell.x, cell.y, 0)) {
        DrawMarker(cell, MARKER_REFUSED);
        return false;
    }
    DrawMarker(cell, MARKER_REFUSED);
    for (size_t tp = 0; tp < p.size(); tp++) {
        if ((int32_t)tp == currplayer)
            continue;
        for (size_t tu = 0; tu < p[tp].units.size(); tu++) {
            const Unit& target = p[tp].units[tu];
            if (target.x != cell.x || target.y != cell.y)
                continue;
            DrawMarker(cell, UnitVisibleAt((int32_t)tp, (int32_t)tu, cell.x, cell.y) ? MARKER_TARGET : MARKER_REFUSED);
            // A hidden enemy under a marked square is struck as well: the click does not ask.
            // One press is one attack: the next frame is in move mode (a client's also waits for the answer).
            if ((mousestate.buttons[0] & KEY_DOWNBIT) && !AttackUnit((int32_t)tp, (int32_t)tu))
                SetMode(COMMAND_MOVE);
            return false;
        }
    }
    return false;
}
