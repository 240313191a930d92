// The shared pens, brushes and work buffers.
#include "game/shell/gdiobjects.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/gdi.h"

namespace {

class GdiObjectsTest : public testing::Test {
protected:
    void TearDown() override
    {
        DeleteGdiObjects();
        FailGdiCreation(GDIOBJECT_PEN, 0);
        FailGdiCreation(GDIOBJECT_BRUSH, 0);
    }
};

TEST_F(GdiObjectsTest, EveryPenAndBrushMade)
{
    ASSERT_FALSE(CreateGdiObjects());
    for (const GdiPen* pen : {dotpen, graphframepen, lightbluepen, greenpen, yellowpen})
        EXPECT_NE(pen, nullptr);
    for (const GdiPen* pen : graphpens)
        EXPECT_NE(pen, nullptr);
    for (const GdiBrush* brush : {navybrush, darkgreybrush, palecyanbrush})
        EXPECT_NE(brush, nullptr);
    EXPECT_EQ(terrainbrushes.size(), 11u);
    EXPECT_EQ(playerbrushes.size(), 6u);
}

TEST_F(GdiObjectsTest, ColoursAsTheyDraw)
{
    ASSERT_FALSE(CreateGdiObjects());
    SysSurface* const s = CreateSysSurface(4, 1, 0);
    GdiDC* const dc = OpenSurfaceDC(s);
    FillDCRect(dc, {0, 0, 1, 1}, terrainbrushes[3]);
    FillDCRect(dc, {1, 0, 2, 1}, playerbrushes[5]);
    SelectDCPen(dc, graphframepen);
    MoveDCTo(dc, 2, 0);
    DrawLineTo(dc, 3, 0);
    SelectDCPen(dc, graphpens[3]);
    DrawLineTo(dc, 4, 0);
    EXPECT_EQ(ReadDCPixel(dc, 0, 0), MakeColour(250, 210, 0));
    EXPECT_EQ(ReadDCPixel(dc, 1, 0), MakeColour(128, 128, 128));
    EXPECT_EQ(ReadDCPixel(dc, 2, 0), MakeColour(0, 64, 128));
    EXPECT_EQ(ReadDCPixel(dc, 3, 0), MakeColour(255, 128, 0));
    CloseDC(dc);
    DestroySysSurface(s);
}

TEST_F(GdiObjectsTest, NullBrushEndsTheStepKeepingWhatCameBefore)
{
    // Brushes come as navy, dark grey, pale cyan, then the eleven terrain brushes: the 6th is terrain 2.
    FailGdiCreation(GDIOBJECT_BRUSH, 6);
    EXPECT_TRUE(CreateGdiObjects());
    EXPECT_NE(navybrush, nullptr);
    EXPECT_EQ(terrainbrushes.size(), 2u);
    EXPECT_TRUE(playerbrushes.empty()) << "nothing after the failure is made";
}

TEST_F(GdiObjectsTest, NullPenEndsTheStepButGraphPensAreNotChecked)
{
    FailGdiCreation(GDIOBJECT_PEN, 3);
    EXPECT_TRUE(CreateGdiObjects());
    EXPECT_NE(graphframepen, nullptr);
    EXPECT_EQ(lightbluepen, nullptr);
    EXPECT_EQ(navybrush, nullptr);
    DeleteGdiObjects();
    FailGdiCreation(GDIOBJECT_PEN, 7);      // the second graph pen
    EXPECT_FALSE(CreateGdiObjects());
    EXPECT_EQ(graphpens[1], nullptr);
    EXPECT_NE(graphpens[2], nullptr);
}

TEST_F(GdiObjectsTest, DeleteLeavesNothing)
{
    ASSERT_FALSE(CreateGdiObjects());
    DeleteGdiObjects();
    EXPECT_EQ(dotpen, nullptr);
    EXPECT_EQ(graphpens[4], nullptr);
    EXPECT_EQ(palecyanbrush, nullptr);
    EXPECT_TRUE(terrainbrushes.empty());
    EXPECT_TRUE(playerbrushes.empty());
    DeleteGdiObjects();
}

TEST(Buffers, ZeroFilledAndFreed)
{
    ASSERT_FALSE(CreateBuffers());
    EXPECT_STREQ(scratch, "");
    for (int i = 0; i < SCRATCHSIZE; i++)
        ASSERT_EQ(scratch[i], 0);
    for (int i = 0; i < RECVBUFFERSIZE; i++)
        ASSERT_EQ(recvbuffer[i], 0);
    for (int i = 0; i < MESSAGEBUFFERSIZE; i++)
        ASSERT_EQ(messagebuffer[i], 0);
    DestroyBuffers();
    EXPECT_EQ(scratch, nullptr);
    EXPECT_EQ(recvbuffer, nullptr);
    DestroyBuffers();
}

} // namespace
