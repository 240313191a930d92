#include "game/view/geometry.h"

#include "game/model/queries.h"
#include "game/model/state.h"
#include "game/view/board.h"

ViewRect view = { 0, 0, 0, 0 };
ViewRect oldview = { 0, 0, 0, 0 };
uint8_t minimapon = 1;

namespace {

struct PixelRect {
    int32_t left, top, right, bottom;   // right and bottom exclusive
};

bool Inside(const PixelRect& r, const int32_t x, const int32_t y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

constexpr PixelRect boardrect = { 5, 30, 795, 520 };
constexpr PixelRect unitpanelrect = { 5, 30, 45, 150 };

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
    if (minimapon && Inside({ 795 - 4 * mapsize, 30, 795, 30 + 4 * mapsize }, x, y))
        return false;
    if (currplayer == YouToInt() && Inside(unitpanelrect, x, y))
        return false;
    return true;
}

bool IsSquareExplored(int32_t, const int32_t x, const int32_t y)
{
    return InBounds(x, y) && map[x][y].explored;
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
