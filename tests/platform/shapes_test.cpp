// The mini-GDI's shapes and pixels on small surfaces, drawn as text pictures: '.' untouched,
// letters for the colours the test uses.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi.h"

namespace {

constexpr uint32_t PAPER = 0x808080;

struct Canvas {
    SysSurface* surface;
    GdiDC* dc;
    Canvas(int width, int height)
    {
        surface = CreateSysSurface(width, height, 0);
        FillSurface(surface, nullptr, PAPER);
        dc = OpenSurfaceDC(surface);
    }
    ~Canvas()
    {
        CloseDC(dc);
        DestroySysSurface(surface);
    }
    // Rows joined by '|': '.' paper, 'R' red, 'G' green, 'B' blue, 'K' black, 'W' white, '?' anything else.
    std::string Picture() const
    {
        std::string out;
        for (int y = 0; y < surface->height; y++) {
            if (y)
                out += '|';
            for (int x = 0; x < surface->width; x++) {
                const uint32_t p = surface->pixels[y * surface->width + x];
                out += p == PAPER      ? '.'
                       : p == 0xFF0000 ? 'R'
                       : p == 0x00FF00 ? 'G'
                       : p == 0x0000FF ? 'B'
                       : p == 0x000000 ? 'K'
                       : p == 0xFFFFFF ? 'W'
                                       : '?';
            }
        }
        return out;
    }
};

const uint32_t RED = MakeColour(255, 0, 0);
const uint32_t GREEN = MakeColour(0, 255, 0);
const uint32_t BLUE = MakeColour(0, 0, 255);

struct PenDeleter {
    void operator()(GdiPen* p) const { FreePen(p); }
};
struct BrushDeleter {
    void operator()(GdiBrush* b) const { FreeBrush(b); }
};
using PenPtr = std::unique_ptr<GdiPen, PenDeleter>;
using BrushPtr = std::unique_ptr<GdiBrush, BrushDeleter>;

TEST(Colours, ReferenceAndPixelOrder)
{
    EXPECT_EQ(MakeColour(1, 2, 3), 0x030201u);
    EXPECT_EQ(ColourToPixel(0x030201), 0x010203u);
    EXPECT_EQ(PixelToColour(0x010203), 0x030201u);
}

TEST(Lines, EndPixelExcludedInEveryDirection)
{
    struct Case {
        const char* what;
        GdiPoint from, to;
        const char* picture;
    };
    const Case cases[] = {
        {"right", {0, 1}, {4, 1}, ".....|RRRR.|.....|.....|....."},
        {"left", {4, 1}, {0, 1}, ".....|.RRRR|.....|.....|....."},
        {"down", {2, 0}, {2, 4}, "..R..|..R..|..R..|..R..|....."},
        {"diagonal", {0, 0}, {4, 4}, "R....|.R...|..R..|...R.|....."},
        {"shallow", {0, 0}, {4, 2}, "R....|.RR..|...R.|.....|....."},
        {"to itself", {2, 2}, {2, 2}, ".....|.....|.....|.....|....."},
        {"clipped", {-3, 2}, {9, 2}, ".....|.....|RRRRR|.....|....."},
    };
    PenPtr pen(MakePen(PEN_SOLID, 0, RED));
    for (const Case& c : cases) {
        Canvas canvas(5, 5);
        SelectDCPen(canvas.dc, pen.get());
        MoveDCTo(canvas.dc, c.from.x, c.from.y);
        DrawLineTo(canvas.dc, c.to.x, c.to.y);
        EXPECT_EQ(canvas.Picture(), c.picture) << c.what;
    }
}

TEST(Lines, ConsecutiveLinesJoinAndTheNullPenDrawsNothing)
{
    PenPtr pen(MakePen(PEN_SOLID, 1, GREEN));
    Canvas canvas(4, 3);
    SelectDCPen(canvas.dc, pen.get());
    MoveDCTo(canvas.dc, 0, 0);
    DrawLineTo(canvas.dc, 3, 0);
    DrawLineTo(canvas.dc, 3, 3);
    EXPECT_EQ(canvas.Picture(), "GGGG|...G|...G");
    SelectDCPen(canvas.dc, StockPen(STOCK_NULLPEN));
    DrawLineTo(canvas.dc, 0, 2);
    EXPECT_EQ(canvas.Picture(), "GGGG|...G|...G");
}

TEST(Lines, DottedPenLeavesOrPaintsTheGaps)
{
    PenPtr pen(MakePen(PEN_DOT, 0, RED));
    Canvas canvas(12, 1);
    SelectDCPen(canvas.dc, pen.get());
    SetDCBackMode(canvas.dc, BACK_TRANSPARENT);
    MoveDCTo(canvas.dc, 0, 0);
    DrawLineTo(canvas.dc, 12, 0);
    EXPECT_EQ(canvas.Picture(), "RRR...RRR...");
    SetDCBackMode(canvas.dc, BACK_OPAQUE);
    SetDCBackColour(canvas.dc, BLUE);
    MoveDCTo(canvas.dc, 0, 0);
    DrawLineTo(canvas.dc, 12, 0);
    EXPECT_EQ(canvas.Picture(), "RRRBBBRRRBBB");
}

TEST(Rectangles, OutlineWithThePenFillWithTheBrush)
{
    PenPtr pen(MakePen(PEN_SOLID, 0, RED));
    BrushPtr brush(MakeBrush(BLUE));
    Canvas canvas(6, 5);
    SelectDCPen(canvas.dc, pen.get());
    SelectDCBrush(canvas.dc, brush.get());
    DrawRectangle(canvas.dc, 1, 1, 5, 4);
    EXPECT_EQ(canvas.Picture(), "......|.RRRR.|.RBBR.|.RRRR.|......");
    SelectDCBrush(canvas.dc, StockBrush(STOCK_NULLBRUSH));
    SelectDCPen(canvas.dc, StockPen(STOCK_WHITEPEN));
    DrawRectangle(canvas.dc, 0, 0, 6, 5);
    EXPECT_EQ(canvas.Picture(), "WWWWWW|WRRRRW|WRBBRW|WRRRRW|WWWWWW");
}

TEST(Rectangles, FillIsExclusiveAndClipped)
{
    Canvas canvas(5, 3);
    FillDCRect(canvas.dc, {1, 0, 3, 2}, StockBrush(STOCK_BLACKBRUSH));
    FillDCRect(canvas.dc, {3, -5, 9, 1}, StockBrush(STOCK_WHITEBRUSH));
    FillDCRect(canvas.dc, {0, 0, 5, 3}, StockBrush(STOCK_NULLBRUSH));
    FillDCRect(canvas.dc, {0, 0, 5, 3}, nullptr);
    EXPECT_EQ(canvas.Picture(), ".KKWW|.KK..|.....");
}

TEST(Polygons, AlternateFillInsideTheRightAndBottomEdges)
{
    struct Case {
        const char* what;
        int width, height;
        std::vector<GdiPoint> points;
        const char* picture;
    };
    const Case cases[] = {
        {"square", 6, 6, {{1, 1}, {5, 1}, {5, 5}, {1, 5}}, "......|.BBBB.|.BBBB.|.BBBB.|.BBBB.|......"},
        {"triangle", 7, 4, {{0, 0}, {7, 0}, {0, 4}}, "BBBBBB.|BBBB...|BBB....|B......"},
        // Two overlapping squares as one closed outline: the overlap is crossed twice, so stays unfilled.
        {"crossed", 7, 5, {{0, 0}, {4, 0}, {4, 4}, {2, 4}, {2, 1}, {6, 1}, {6, 5}, {0, 5}, {0, 0}},
         "BBBB...|BB..BB.|BB..BB.|BB..BB.|BBBBBB."},
        {"clipped", 3, 2, {{-5, -5}, {9, -5}, {9, 9}}, "BBB|.BB"},
        {"a line", 3, 2, {{0, 0}, {3, 0}}, "...|..."},
    };
    BrushPtr brush(MakeBrush(BLUE));
    for (const Case& c : cases) {
        Canvas canvas(c.width, c.height);
        SelectDCPen(canvas.dc, StockPen(STOCK_NULLPEN));
        SelectDCBrush(canvas.dc, brush.get());
        DrawPolygon(canvas.dc, c.points.data(), (int32_t)c.points.size());
        EXPECT_EQ(canvas.Picture(), c.picture) << c.what;
    }
}

TEST(Polygons, OutlineClosesOverTheFill)
{
    BrushPtr brush(MakeBrush(BLUE));
    PenPtr pen(MakePen(PEN_SOLID, 0, RED));
    Canvas canvas(6, 6);
    SelectDCPen(canvas.dc, pen.get());
    SelectDCBrush(canvas.dc, brush.get());
    const GdiPoint square[] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}};
    DrawPolygon(canvas.dc, square, 4);
    EXPECT_EQ(canvas.Picture(), "......|.RRRRR|.RBBBR|.RBBBR|.RBBBR|.RRRRR");
}

TEST(Pixels, ReadWriteInColourReferences)
{
    Canvas canvas(3, 2);
    WriteDCPixel(canvas.dc, 1, 1, RED);
    WriteDCPixel(canvas.dc, 3, 0, RED);
    WriteDCPixel(canvas.dc, -1, 0, RED);
    EXPECT_EQ(canvas.Picture(), "...|.R.");
    EXPECT_EQ(ReadDCPixel(canvas.dc, 1, 1), RED);
    EXPECT_EQ(ReadDCPixel(canvas.dc, 0, 0), PixelToColour(PAPER));
    EXPECT_EQ(ReadDCPixel(canvas.dc, 3, 0), COLOUR_INVALID);
    EXPECT_EQ(ReadDCPixel(nullptr, 0, 0), COLOUR_INVALID);
}

TEST(Copies, FromAMemoryDCsBitmap)
{
    SysSurface* const picture = CreateSysSurface(2, 2, 0);
    picture->pixels[0] = 0xFF0000;
    picture->pixels[1] = 0;
    picture->pixels[2] = 0x00FF00;
    picture->pixels[3] = 0x0000FF;
    GdiDC* const memory = CreateMemoryDC();
    EXPECT_EQ(SelectDCBitmap(memory, picture), nullptr);
    Canvas canvas(4, 3);
    EXPECT_FALSE(CopyDCBits(canvas.dc, 2, 1, 2, 2, memory, 0, 0));
    EXPECT_EQ(canvas.Picture(), "....|..RK|..GB") << "a plain copy: black is copied";
    EXPECT_TRUE(CopyDCBits(canvas.dc, 0, 0, 2, 2, nullptr, 0, 0));
    EXPECT_EQ(SelectDCBitmap(memory, nullptr), picture);
    EXPECT_TRUE(CopyDCBits(canvas.dc, 0, 0, 2, 2, memory, 0, 0)) << "nothing selected";
    CloseDC(memory);
    DestroySysSurface(picture);
}

TEST(Objects, SelectReturnsThePreviousAndStockObjectsSurviveFreeing)
{
    Canvas canvas(1, 1);
    PenPtr pen(MakePen(PEN_SOLID, 0, RED));
    EXPECT_EQ(SelectDCPen(canvas.dc, pen.get()), StockPen(STOCK_BLACKPEN));
    EXPECT_EQ(SelectDCPen(canvas.dc, StockPen(STOCK_BLACKPEN)), pen.get());
    EXPECT_EQ(SelectDCBrush(canvas.dc, StockBrush(STOCK_BLACKBRUSH)), StockBrush(STOCK_WHITEBRUSH));
    EXPECT_EQ(SetDCTextColour(canvas.dc, RED), 0u);
    EXPECT_EQ(SetDCTextColour(canvas.dc, 0), RED);
    EXPECT_EQ(SetDCBackMode(canvas.dc, BACK_TRANSPARENT), BACK_OPAQUE);
    FreePen(StockPen(STOCK_WHITEPEN));
    FreeBrush(StockBrush(STOCK_WHITEBRUSH));
    SelectDCBrush(canvas.dc, StockBrush(STOCK_WHITEBRUSH));
    FillDCRect(canvas.dc, {0, 0, 1, 1}, StockBrush(STOCK_WHITEBRUSH));
    EXPECT_EQ(canvas.Picture(), "W");
}

TEST(Objects, FailureHookRefusesTheNthCreation)
{
    FailGdiCreation(GDIOBJECT_BRUSH, 2);
    BrushPtr first(MakeBrush(RED));
    BrushPtr second(MakeBrush(RED));
    BrushPtr third(MakeBrush(RED));
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(second, nullptr);
    EXPECT_NE(third, nullptr);
    FailGdiCreation(GDIOBJECT_DC, 1);
    EXPECT_EQ(CreateMemoryDC(), nullptr);
    GdiDC* const dc = CreateMemoryDC();
    EXPECT_NE(dc, nullptr);
    CloseDC(dc);
}

} // namespace
