#include "game/view/graph.h"

#include <algorithm>

#include "game/model/state.h"
#include "game/net/lobby.h"
#include "game/shell/display.h"
#include "game/shell/gdiobjects.h"
#include "game/shell/shell.h"
#include "platform/gdi.h"

std::vector<DaySummaryRow> daysummary;
int32_t summarypage = PAGE_ASSETS;

namespace {

// The frame, the zero line, the full height and the spacing of the days.
enum : int32_t {
    FRAMELEFT = 395, FRAMETOP = 95, FRAMERIGHT = 795, FRAMEBOTTOM = 595,
    GRAPHLEFT = 400, GRAPHZERO = 590, GRAPHHEIGHT = 480,
    FEWDAYS = 4, FEWDAYSTEP = 95, GRAPHWIDTH = 385,
};
// The lowest a point goes: a player without units that day drops just below the zero line, and stays
// inside the frame whatever the scale.
enum : int32_t { GRAPHLOW = GRAPHZERO + 2 };

// A slot is its player's number: his line and its points in his colour, as his pen draws it, even
// after other players left the table.
GdiBrush* SlotBrush(const int32_t slot)
{
    return slot >= 0 && static_cast<size_t>(slot) < playerbrushes.size() ? playerbrushes[slot] : nullptr;
}

void DrawSlotLine(GdiDC* dc, const int32_t slot, const int32_t step, const int64_t scale)
{
    SelectDCPen(dc, slot < 5 ? graphpens[slot] : nullptr);
    const GdiBrush* const brush = SlotBrush(slot);
    int32_t x = GRAPHLEFT;
    int32_t y = summarypage == PAGE_ASSETS ? GraphY(startgold, scale) : GRAPHZERO;
    for (const DaySummaryRow& row : daysummary) {
        const int32_t value = GraphFigure(row, summarypage, slot);
        if (value == SLOT_EMPTY)
            break;          // the player left the game: he has no figure from here on
        const int32_t nx = x + step;
        const int32_t ny = GraphY(value, scale);
        MoveDCTo(dc, x, y + slot);
        DrawLineTo(dc, nx, ny + slot);
        FillDCRect(dc, { nx - 2, ny - 2 + slot, nx + 3, ny + 3 + slot }, brush);
        x = nx;
        y = ny;
        if (value == SLOT_NOUNITS)
            break;
    }
}

} // namespace

bool NextGraphPage(int32_t, int32_t)
{
    summarypage = (summarypage + 1) % GRAPHPAGES;
    return false;
}

std::string GraphTitle()
{
    switch (summarypage) {
    case PAGE_ASSETS:
        return "Graph Assets";
    case PAGE_KILLS:
        return "Graph Kills";
    case PAGE_MINES:
        return "Graph Mines";
    default:
        return "GRAPH FAILURE";
    }
}

int32_t GraphFigure(const DaySummaryRow& row, const int32_t page, const int32_t slot)
{
    if (slot < 0 || slot >= SUMMARYSLOTS)
        return SLOT_EMPTY;
    switch (page) {
    case PAGE_ASSETS:
        return row.assets[slot];
    case PAGE_KILLS:
        return row.kills[slot];
    case PAGE_MINES:
        return row.mines[slot];
    default:
        return SLOT_EMPTY;
    }
}

int64_t GraphScale(const int32_t page)
{
    // With every figure 0 (no kills yet) the lines lie flat on the zero line.
    int64_t scale = page == PAGE_ASSETS ? std::max(startgold, 0) : 0;
    for (const DaySummaryRow& row : daysummary)
        for (int32_t slot = 0; slot < SUMMARYSLOTS; slot++)
            scale = std::max<int64_t>(scale, GraphFigure(row, page, slot));
    return std::max<int64_t>(scale, 1);
}

int32_t GraphY(const int64_t value, const int64_t scale)
{
    const int64_t y = GRAPHZERO - value * GRAPHHEIGHT / std::max<int64_t>(scale, 1);
    return static_cast<int32_t>(std::clamp<int64_t>(y, GRAPHZERO - GRAPHHEIGHT, GRAPHLOW));
}

bool DrawSummaryGraph()
{
    if (!candraw || !backbuffer)
        return true;
    GdiDC* const dc = OpenSurfaceDC(backbuffer);
    SelectDCPen(dc, graphframepen);
    SelectDCBrush(dc, StockBrush(STOCK_BLACKBRUSH));
    DrawRectangle(dc, FRAMELEFT, FRAMETOP, FRAMERIGHT, FRAMEBOTTOM);
    if (!daysummary.empty()) {
        const size_t rows = daysummary.size();
        const int32_t step = rows < FEWDAYS ? FEWDAYSTEP : static_cast<int32_t>(GRAPHWIDTH / rows);
        const int64_t scale = GraphScale(summarypage);
        for (int32_t slot = 0; slot < SUMMARYSLOTS; slot++)
            if (GraphFigure(daysummary.front(), summarypage, slot) != SLOT_EMPTY)
                DrawSlotLine(dc, slot, step, scale);
    }
    CloseDC(dc);
    return false;
}
