// Text placement by the TEXT_ flags, checked by measured extents and where ink lands (not glyph shapes),
// and the face lookup. DejaVu Sans from fonts-dejavu-core is the test face.
#include <gtest/gtest.h>

#include <string>

#include "platform/font.h"
#include "platform/gdi.h"

namespace {

const char* const DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr uint32_t PAPER = 0x000000;

struct Box {
    int32_t left, top, right, bottom;
    bool Empty() const { return left >= right; }
};

class TextTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_GT(AddFontFile(DEJAVU), 0) << "install fonts-dejavu-core";
        font = MakeFont(-20, "DejaVu Sans");
        ASSERT_NE(font, nullptr);
        surface = CreateSysSurface(300, 200, 0);
        dc = OpenSurfaceDC(surface);
        SelectDCFont(dc, font);
        SetDCBackMode(dc, BACK_TRANSPARENT);
        SetDCTextColour(dc, MakeColour(255, 255, 255));
        cell = FontCellHeight(font);
    }
    void TearDown() override
    {
        CloseDC(dc);
        DestroySysSurface(surface);
        FreeFont(font);
        RemoveFontFile(DEJAVU);
        ClearFontAliases();
    }
    // Where the drawn pixels are.
    Box Ink() const
    {
        Box box = {surface->width, surface->height, 0, 0};
        for (int32_t y = 0; y < surface->height; y++)
            for (int32_t x = 0; x < surface->width; x++)
                if (surface->pixels[y * surface->width + x] != PAPER) {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x + 1);
                    box.bottom = std::max(box.bottom, y + 1);
                }
        return box;
    }
    Box Draw(const std::string& text, const PixelRect& rect, uint32_t flags)
    {
        FillSurface(surface, nullptr, PAPER);
        drawnheight = DrawDCText(dc, text, rect, flags);
        return Ink();
    }
    GdiFont* font = nullptr;
    SysSurface* surface = nullptr;
    GdiDC* dc = nullptr;
    int32_t cell = 0;
    int32_t drawnheight = 0;
};

TEST_F(TextTest, ExtentIsTheSumOfTheLettersAndTheCellHeight)
{
    const GdiSize one = MeasureDCText(dc, "H");
    const GdiSize three = MeasureDCText(dc, "HHH");
    EXPECT_GT(one.width, 8);
    EXPECT_EQ(three.width, 3 * one.width);
    EXPECT_EQ(three.height, cell);
    EXPECT_GE(cell, 20);
    EXPECT_EQ(MeasureDCText(dc, "").width, 0);
    EXPECT_EQ(MeasureDCText(nullptr, "H").width, 0);
}

TEST_F(TextTest, HorizontalPlacementByFlag)
{
    const PixelRect rect = {20, 10, 280, 60};
    const int32_t width = MeasureDCText(dc, "Gold").width;
    struct Case {
        const char* what;
        uint32_t flags;
        int32_t start;      // where the text's advance box starts
    };
    const Case cases[] = {
        {"left", TEXT_LEFT | TEXT_SINGLELINE, rect.left},
        {"centre", TEXT_CENTRE | TEXT_SINGLELINE, rect.left + (rect.right - rect.left - width) / 2},
        {"right", TEXT_RIGHT | TEXT_SINGLELINE, rect.right - width},
    };
    for (const Case& c : cases) {
        const Box ink = Draw("Gold", rect, c.flags);
        ASSERT_FALSE(ink.Empty()) << c.what;
        // The ink lies within the advance box, give or take the side bearings of G and d.
        EXPECT_NEAR(ink.left, c.start, 3) << c.what;
        EXPECT_NEAR(ink.right, c.start + width, 3) << c.what;
    }
}

TEST_F(TextTest, VerticalPlacementOfASingleLine)
{
    const PixelRect rect = {0, 40, 300, 140};
    const Box top = Draw("Ex", rect, TEXT_SINGLELINE);
    const Box centred = Draw("Ex", rect, TEXT_SINGLELINE | TEXT_VCENTRE);
    const Box bottom = Draw("Ex", rect, TEXT_SINGLELINE | TEXT_BOTTOM);
    // Same glyphs, moved down by exactly the cell's offsets.
    EXPECT_EQ(centred.top - top.top, (100 - cell) / 2);
    EXPECT_EQ(bottom.top - top.top, 100 - cell);
    EXPECT_GE(top.top, rect.top);
    EXPECT_LE(top.bottom, rect.top + cell);
    // Without a single line the vertical flags do nothing.
    EXPECT_EQ(Draw("Ex", rect, TEXT_VCENTRE).top, top.top);
}

TEST_F(TextTest, TheNumberedCombinations)
{
    const PixelRect rect = {0, 0, 300, 100};
    EXPECT_EQ(Draw("Ok", rect, 37).top, Draw("Ok", rect, TEXT_SINGLELINE | TEXT_VCENTRE | TEXT_CENTRE).top);
    EXPECT_EQ(Draw("Ok", rect, 38).right, Draw("Ok", rect, TEXT_SINGLELINE | TEXT_VCENTRE | TEXT_RIGHT).right);
    EXPECT_EQ(Draw("Ok", rect, 17).left, Draw("Ok", rect, TEXT_WORDBREAK | TEXT_CENTRE).left);
}

TEST_F(TextTest, WordBreakAtBlanksToFitTheWidth)
{
    const int32_t word = MeasureDCText(dc, "mmm").width;
    const int32_t two = MeasureDCText(dc, "mmm mmm").width;
    const PixelRect rect = {0, 0, two + 1, 200};
    const Box ink = Draw("mmm mmm mmm mmm mmm", rect, TEXT_WORDBREAK);
    EXPECT_EQ(drawnheight, 3 * cell) << "two words a line";
    EXPECT_LE(ink.right, two + 1);
    // One word a line when two do not fit; the blanks at a break are not drawn as a line.
    Draw("mmm   mmm", {0, 0, word + 2, 200}, TEXT_WORDBREAK);
    EXPECT_EQ(drawnheight, 2 * cell);
    // Without the flag the line runs on, clipped at the rectangle.
    const Box one = Draw("mmm mmm mmm", rect, TEXT_LEFT);
    EXPECT_EQ(drawnheight, cell);
    EXPECT_LE(one.right, rect.right);
    EXPECT_GT(one.right, rect.right - word);
}

TEST_F(TextTest, LongWordIsClippedNotSplit)
{
    const int32_t width = MeasureDCText(dc, "Unbreakable").width;
    const PixelRect rect = {10, 10, 10 + width / 2, 150};
    const Box ink = Draw("Unbreakable word", rect, TEXT_WORDBREAK);
    EXPECT_EQ(drawnheight, 2 * cell);
    EXPECT_LE(ink.right, rect.right);
    EXPECT_GE(ink.left, rect.left);
    // With no clip the word runs past the rectangle.
    const Box free = Draw("Unbreakable word", rect, TEXT_WORDBREAK | TEXT_NOCLIP);
    EXPECT_GT(free.right, rect.right + width / 3);
}

TEST_F(TextTest, LineEndsBreakUnlessSingleLine)
{
    const PixelRect rect = {0, 0, 300, 200};
    Draw("one\ntwo\r\nthree", rect, TEXT_LEFT);
    EXPECT_EQ(drawnheight, 3 * cell);
    Draw("one\n\nthree", rect, TEXT_WORDBREAK);
    EXPECT_EQ(drawnheight, 3 * cell) << "an empty line keeps its place";
    const Box single = Draw("one\ntwo", rect, TEXT_SINGLELINE);
    EXPECT_EQ(drawnheight, cell);
    EXPECT_LE(single.bottom, cell);
    EXPECT_NEAR(single.right, MeasureDCText(dc, "onetwo").width, 3);
}

TEST_F(TextTest, ClippedToTheRectangleVertically)
{
    const PixelRect rect = {0, 50, 300, 50 + cell / 2};
    const Box ink = Draw("Hg", rect, TEXT_LEFT);
    EXPECT_GE(ink.top, rect.top);
    EXPECT_LE(ink.bottom, rect.bottom);
    const Box free = Draw("Hg", rect, TEXT_LEFT | TEXT_NOCLIP);
    EXPECT_GT(free.bottom, rect.bottom);
    // Text wholly outside the surface draws nothing and does not fault.
    EXPECT_TRUE(Draw("Hg", {-500, -500, -100, -400}, TEXT_NOCLIP).Empty());
    EXPECT_TRUE(Draw("Hg", {400, 300, 900, 900}, TEXT_LEFT).Empty());
}

TEST_F(TextTest, OpaqueBackgroundFillsTheLineBox)
{
    SetDCBackMode(dc, BACK_OPAQUE);
    SetDCBackColour(dc, MakeColour(0, 0, 255));
    const int32_t width = MeasureDCText(dc, "ab").width;
    const Box ink = Draw("ab", {5, 7, 300, 200}, TEXT_LEFT);
    EXPECT_EQ(ink.left, 5);
    EXPECT_EQ(ink.top, 7);
    EXPECT_EQ(ink.right, 5 + width);
    EXPECT_EQ(ink.bottom, 7 + cell);
    EXPECT_EQ(surface->pixels[7 * 300 + 5], 0x0000FFu);
}

TEST_F(TextTest, TextColourAndAntialiasing)
{
    SetDCTextColour(dc, MakeColour(255, 0, 0));
    Draw("W", {0, 0, 300, 200}, TEXT_LEFT);
    bool solid = false;
    bool blended = false;
    for (int i = 0; i < 300 * 200; i++) {
        const uint32_t p = surface->pixels[i];
        if (p & 0x00FFFF)
            FAIL() << "only red is drawn";
        solid |= p == 0xFF0000;
        blended |= p != 0 && p != 0xFF0000;
    }
    EXPECT_TRUE(solid);
    EXPECT_TRUE(blended) << "edges are anti-aliased";
}

TEST_F(TextTest, CellHeightAndEmSizes)
{
    GdiFont* const bycell = MakeFont(60, "DejaVu Sans");
    EXPECT_NEAR(FontCellHeight(bycell), 60, 1);
    GdiFont* const small = MakeFont(-10, "DejaVu Sans");
    EXPECT_LT(FontCellHeight(small), cell);
    EXPECT_GT(FontAscent(small), 0);
    FreeFont(bycell);
    FreeFont(small);
}

TEST_F(TextTest, FacesFromAddedFilesThenAliasesThenTheSystem)
{
    EXPECT_STREQ(FontFilePath(font), DEJAVU);
    AliasFontFace("Papyrus", DEJAVU);
    GdiFont* const aliased = MakeFont(-12, "papyrus");
    EXPECT_STREQ(FontFilePath(aliased), DEJAVU) << "an alias to an added file, case ignored";
    AliasFontFace("Eurostile", "DejaVu Sans");
    GdiFont* const byfamily = MakeFont(-12, "Eurostile");
    EXPECT_STREQ(FontFamily(byfamily), "DejaVu Sans");
    GdiFont* const system = MakeFont(-12, "No Such Face At All");
    EXPECT_NE(system, nullptr) << "the system always offers a face";
    EXPECT_TRUE(FontHasGlyph(font, 0xB7));
    EXPECT_TRUE(FontHasGlyph(font, 0x8A));
    EXPECT_FALSE(FontHasGlyph(font, 0x81)) << "an unused byte";
    FreeFont(aliased);
    FreeFont(byfamily);
    FreeFont(system);
    EXPECT_FALSE(RemoveFontFile(DEJAVU));
    EXPECT_TRUE(RemoveFontFile(DEJAVU)) << "already removed";
    EXPECT_EQ(AddFontFile("/nonexistent/Font.ttf"), 0);
    EXPECT_GT(AddFontFile(DEJAVU), 0);
}

TEST_F(TextTest, NullAndEmptyDrawNothing)
{
    EXPECT_EQ(DrawDCText(nullptr, "x", {0, 0, 10, 10}, 0), 0);
    EXPECT_TRUE(Draw("", {0, 0, 300, 200}, TEXT_LEFT).Empty());
    EXPECT_EQ(drawnheight, 0);
}

TEST_F(TextTest, ARecordingSinkHearsEveryTextDrawnWithWhatLayUnderIt)
{
    std::vector<DrawnText> sink;
    RecordDrawnText(&sink);
    FillSurface(surface, nullptr, PAPER);
    const PixelRect patch = {60, 10, 70, 60};
    FillSurface(surface, &patch, 0x123456);
    SetDCTextColour(dc, MakeColour(1, 2, 3));
    DrawDCText(dc, "one", {1, 2, 300, 40}, TEXT_CENTRE);
    DrawDCText(dc, "", {0, 0, 10, 10}, 0);              // nothing drawn: nothing heard
    DrawDCText(nullptr, "none", {0, 0, 10, 10}, 0);
    SetDCBackMode(dc, BACK_OPAQUE);
    SetDCBackColour(dc, MakeColour(200, 100, 50));
    DrawDCText(dc, "two", {0, 100, 300, 200}, TEXT_LEFT);
    RecordDrawnText(nullptr);
    DrawDCText(dc, "unheard", {0, 0, 10, 10}, 0);
    ASSERT_EQ(sink.size(), 2u);
    const DrawnText& one = sink[0];
    EXPECT_EQ(one.text, "one");
    EXPECT_EQ(one.rect.left, 1);
    EXPECT_EQ(one.rect.bottom, 40);
    EXPECT_EQ(one.colour, MakeColour(1, 2, 3));
    EXPECT_EQ(one.flags, uint32_t(TEXT_CENTRE));
    EXPECT_EQ(one.font, font);
    EXPECT_EQ(one.surface, surface);
    EXPECT_EQ(one.size, 20);
    // The ink box is where the glyphs landed, and under holds the paper and the patch as they were.
    SetDCBackMode(dc, BACK_TRANSPARENT);
    const Box drawn = Draw("one", {1, 2, 300, 40}, TEXT_CENTRE);
    EXPECT_LE(one.ink.left, drawn.left);
    EXPECT_LE(one.ink.top, drawn.top);
    EXPECT_GE(one.ink.right, drawn.right);
    EXPECT_GE(one.ink.bottom, drawn.bottom);
    EXPECT_LT(one.ink.right - one.ink.left, 60) << "the glyphs' box, not the rectangle asked for";
    ASSERT_EQ(one.under.size(), size_t(one.ink.right - one.ink.left) * (one.ink.bottom - one.ink.top));
    const int32_t width = one.ink.right - one.ink.left;
    for (int32_t y = one.ink.top; y < one.ink.bottom; y++)
        for (int32_t x = one.ink.left; x < one.ink.right; x++) {
            const bool inpatch = x >= patch.left && x < patch.right && y >= patch.top && y < patch.bottom;
            ASSERT_EQ(one.under[(y - one.ink.top) * width + x - one.ink.left], inpatch ? 0x123456u : PAPER);
        }
    // An opaque background is what the text is read against.
    for (const uint32_t pixel : sink[1].under)
        ASSERT_EQ(pixel, ColourToPixel(MakeColour(200, 100, 50)));
}

TEST_F(TextTest, TheFacesKerningPairsCloseUpTheirLetters)
{
    // "Wa" kerns in DejaVu Sans; "HH" does not.
    const int32_t w = MeasureDCText(dc, "W").width;
    const int32_t a = MeasureDCText(dc, "a").width;
    EXPECT_LT(MeasureDCText(dc, "Wa").width, w + a);
    EXPECT_EQ(MeasureDCText(dc, "HH").width, 2 * MeasureDCText(dc, "H").width);
    // Drawing follows the measure: a right-aligned "Wa" ends where the measure says.
    const Box box = Draw("Wa", {0, 0, 200, 100}, TEXT_LEFT);
    EXPECT_LE(box.right, MeasureDCText(dc, "Wa").width + 1);
}

} // namespace
