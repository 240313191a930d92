#include "game/screens/boardkeys.h"

#include "game/model/localplayer.h"
#include "game/model/queries.h"
#include "game/model/rangemarks.h"
#include "game/model/state.h"
#include "game/model/upgrade.h"
#include "game/screens/states.h"
#include "game/screens/turnsteps.h"
#include "game/shell/debuglog.h"
#include "game/shell/input.h"
#include "game/view/board.h"
#include "game/view/geometry.h"
#include "game/view/minimap.h"
#include "game/view/pointer.h"
#include "game/view/unitpicture.h"

const uint8_t unithotkeycodes[HOTKEYS] = { KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9, KEY_0 };

namespace {

// The three keys held together that upgrade the acting unit at once.
const uint8_t upgradechord[] = { KEY_U, KEY_9, KEY_LSHIFT };

// The acting unit (unit currunit of player currplayer); null when either index is stale.
Unit* ActingUnit()
{
    if (currplayer < 0 || static_cast<size_t>(currplayer) >= p.size() || currunit < 0
        || static_cast<size_t>(currunit) >= p[currplayer].units.size())
        return nullptr;
    return &p[currplayer].units[currunit];
}

bool CtrlDown()
{
    return IsKeyDown(KEY_LCONTROL) || IsKeyDown(KEY_RCONTROL);
}

// The next-unit step takes unit u of the current player, even when he has nothing left to do.
void PickUnit(const int32_t u)
{
    currunit = u - 1;
    pickedunit = 1;
    gs = GAME_NEXTUNIT;
}

// Slot k of the current player's hot keys: a plain press recalls the unit stored there, with Ctrl the
// acting unit is stored.
void HotKey(const int32_t k)
{
    if (currplayer < 0 || static_cast<size_t>(currplayer) >= p.size())
        return;
    int32_t& slot = p[currplayer].unithotkeys[k];
    if (CtrlDown()) {
        if (const Unit* const unit = ActingUnit())
            slot = unit->id;
        else
            debuglog << "Unusual circumstance trying to cache unit entry.\n";
        return;
    }
    const UnitRef found = FindUnit(slot);
    if (found.player < 0 || found.player != currplayer) {
        debuglog << "Couldn't find the unit called... assumed it was killed.\n";
        return;
    }
    PickUnit(found.unit);
}

// A left click on an own unit on the board makes it the acting one, once the button is let go.
bool PickClickedUnit()
{
    const int32_t x = mousex / SQUARESIZE + view.left;
    const int32_t y = mousey / SQUARESIZE + view.top;
    if (!MouseOnBoard() || !LeftButtonDown() || !InBounds(x, y) || currplayer < 0
        || static_cast<size_t>(currplayer) >= p.size())
        return false;
    const std::vector<Unit>& units = p[currplayer].units;
    for (size_t u = 0; u < units.size(); u++)
        if (units[u].x == x && units[u].y == y) {
            HoldUntilRelease();
            PickUnit(static_cast<int32_t>(u));
            return true;
        }
    return false;
}

void EndUnitTurn()
{
    ClearRange();
    Unit* const unit = ActingUnit();
    // Done with for this turn, not spent: its moves and actions are the same on every machine, and
    // no message tells the others of a rest.
    RestActingUnit();
    gs = GAME_NEXTUNIT;
    bool wholeturn = false;
    for (const uint8_t ctrl : { KEY_LCONTROL, KEY_RCONTROL })
        if (IsKeyDown(ctrl)) {
            WaitKeyRelease(ctrl);
            wholeturn = true;
        }
    if (wholeturn)
        gs = GAME_ENDTURN;
    WaitKeyRelease(KEY_SPACE);
    if (unit)
        RenderUnitPicture(currplayer, currunit);
}

// Only the host upgrades, through its queue, which tells every client: a unit upgraded on one machine
// alone would leave the others playing another game.
void UpgradeChord()
{
    for (const uint8_t key : upgradechord)
        if (!IsKeyDown(key))
            return;
    if (ActingUnit() && !QueueUpgrade(currplayer, currunit))
        debuglog << "Only the host upgrades a unit by the keyboard.\n";
    for (const uint8_t key : upgradechord)
        WaitKeyRelease(key);
}

} // namespace

bool OpenOptions(int32_t, int32_t)
{
    returngs = gs;
    gs = GAME_OPTIONSOPEN;
    return false;
}

void HandleGameKeys()
{
    if (IsKeyDown(KEY_G)) {
        WaitKeyRelease(KEY_G);
        gridon = !gridon;
    }
    if (IsKeyDown(KEY_M)) {
        WaitKeyRelease(KEY_M);
        minimapon = !minimapon;
        RebuildMinimap(YouToInt(), 0);
    }
    if (IsKeyDown(KEY_P)) {
        WaitKeyRelease(KEY_P);
        OpenOptions(0, 0);
    }
    if (IsKeyDown(KEY_C)) {
        WaitKeyRelease(KEY_C);
        if (const Unit* const unit = ActingUnit())
            FollowSquare(unit->x, unit->y);
    }
    if (gs != GAME_UNITTURN)
        return;
    for (int32_t k = 0; k < HOTKEYS; k++)
        if (IsKeyDown(unithotkeycodes[k]))
            HotKey(k);
}

void HandleUnitTurnKeys()
{
    if (PickClickedUnit())
        return;
    if (IsKeyDown(KEY_SPACE))
        EndUnitTurn();
    UpgradeChord();
}
