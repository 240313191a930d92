#include "game/view/geometry.h"

#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/shell/display.h"
#include "game/shell/input.h"
#include "game/view/board.h"
#include "game/view/frames.h"

ViewRect view = { 0, 0, 0, 0 };
ViewRect oldview = { 0, 0, 0, 0 };
uint8_t minimapon = 1;

namespace {

bool Inside(const PixelRect& r, const int32_t x, const int32_t y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

constexpr PixelRect boardrect = { 5, 30, 795, 520 };
constexpr PixelRect unitpanelrect = { 5, 30, 45, 150 };
enum : int32_t { MINIMAPTOP = 30, MINIMAPRIGHT = 795, MINIMAPSCALE = 4 };
// Edge scrolling: the cursor on the last pixel at the right or bottom, or within two of the left or top
// edge, moves the view every second frame, until one column (row) of squares off the map shows at
// the left, top and right, two rows at the bottom.
enum : int32_t { EDGE = 2, SCROLLLEFT = -1, SCROLLTOP = -1, SCROLLRIGHT = 1, SCROLLBOTTOM = 2 };

PixelRect MinimapRect()
{
    return { MINIMAPRIGHT - MINIMAPSCALE * mapsize, MINIMAPTOP, MINIMAPRIGHT, MINIMAPTOP + MINIMAPSCALE * mapsize };
}

bool SameView(const ViewRect& a, const ViewRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

ScreenPoint SquareToScreen(const int32_t x, const int32_t y)
{
    return { (x - view.left) * SQUARESIZE, (y - view.top) * SQUARESIZE };
}

bool IsOnBoard(const int32_t x, const int32_t y)
{
    if (!Inside(boardrect, x, y))
        return false;
    if (minimapon && Inside(MinimapRect(), x, y))
        return false;
    if (currplayer == YouToInt() && Inside(unitpanelrect, x, y))
        return false;
    return true;
}

bool MouseOnBoard()
{
    return IsOnBoard(mousex, mousey);
}

void CenterView(const int32_t x, const int32_t y)
{
    oldview = view;
    view = { x - 10, y - 6, x + 10, y + 7 };
    if (!SameView(view, oldview))
        RebuildBoardImage();
}

void FollowSquare(const int32_t x, const int32_t y)
{
    if (autofocus && IsSquareExplored(0, x, y))
        CenterView(x, y);
}

void ScrollView()
{
    const PixelRect minimap = MinimapRect();
    if (minimapon && (mousestate.buttons[0] & KEY_DOWNBIT) && Inside(minimap, mousex, mousey))
        CenterView((mousex - minimap.left) / MINIMAPSCALE, (mousey - minimap.top) / MINIMAPSCALE);
    if (framecount % 2 != 0)
        return;
    // A later test wins: in a corner the view moves up or down only.
    int32_t dx = 0;
    int32_t dy = 0;
    if (mousex >= SCREENWIDTH - 1 && view.right < mapsize + SCROLLRIGHT)
        dx = 1;
    if (mousex < EDGE && view.left > SCROLLLEFT)
        dx = -1;
    if (mousey >= SCREENHEIGHT - 1 && view.bottom < mapsize + SCROLLBOTTOM) {
        dx = 0;
        dy = 1;
    }
    if (mousey < EDGE && view.top > SCROLLTOP) {
        dx = 0;
        dy = -1;
    }
    if (dx == 0 && dy == 0)
        return;
    view = { view.left + dx, view.top + dy, view.right + dx, view.bottom + dy };
    RebuildBoardImage();
}
