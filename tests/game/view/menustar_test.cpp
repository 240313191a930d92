// The main menu's star: the outline, the lit arrow and the eight icon buttons.
#include <gtest/gtest.h>

#include <vector>

#include "game/shell/display.h"
#include "game/shell/input.h"
#include "game/shell/sound.h"
#include "game/view/drawing.h"
#include "game/view/menustar.h"
#include "platform/inputscript.h"
#include "tests/game/view/viewtest.h"

namespace {

const uint32_t NAVY = 0x000080, YELLOW = 0xFFFF00;

std::vector<std::pair<int32_t, int32_t>> clicks;

bool Clicked(int32_t a, int32_t b)
{
    clicks.emplace_back(a, b);
    return false;
}

class MenuStarTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        ClearBackBuffer();
        clicks.clear();
        soundsplayed.clear();
        soundon = 1;
        for (uint8_t& h : menuhover)
            h = 0;
        mousestate = {};
    }
    void TearDown() override
    {
        mousestate = {};
        soundon = 0;
        ViewTest::TearDown();
    }
    static void PointAt(int32_t x, int32_t y, bool pressed = false)
    {
        mousex = x;
        mousey = y;
        mousestate.buttons[0] = pressed ? 0x80 : 0;
    }
};

TEST_F(MenuStarTest, TheArrowFillsTheCentreAndOneTriangleInNavy)
{
    DrawArrowPolygon(0);
    EXPECT_EQ(PixelAt(backbuffer, 400, 325), NAVY) << "the octagon";
    EXPECT_EQ(PixelAt(backbuffer, 400, 220), NAVY) << "icon 0's triangle";
    EXPECT_EQ(PixelAt(backbuffer, 520, 250), 0u) << "icon 2's triangle stays dark";
    EXPECT_EQ(PixelAt(backbuffer, 100, 100), 0u);
    ClearBackBuffer();
    DrawArrowPolygon(2);
    EXPECT_EQ(PixelAt(backbuffer, 480, 260), NAVY);
    EXPECT_EQ(PixelAt(backbuffer, 400, 220), 0u);
    ClearBackBuffer();
    DrawArrowPolygon(8);
    DrawArrowPolygon(-1);
    EXPECT_EQ(PixelAt(backbuffer, 400, 325), 0u);
    EXPECT_NE(log.find("ERROR: There is no menu icon 8."), std::string::npos);
}

TEST_F(MenuStarTest, TheFrameOutlinesTheStarInYellow)
{
    DrawPolygonFrame();
    // Each of the star's corners is on its outline; its middle stays empty (no brush).
    for (const GdiPoint& corner : menustar)
        EXPECT_TRUE(HasColour(backbuffer, { corner.x - 1, corner.y - 1, corner.x + 2, corner.y + 2 }, YELLOW))
            << corner.x << ", " << corner.y;
    EXPECT_EQ(PixelAt(backbuffer, 400, 325), 0u);
    // Halfway along the first edge, from (400, 127) to (541, 464).
    EXPECT_TRUE(HasColour(backbuffer, { 468, 293, 473, 298 }, YELLOW));
}

TEST_F(MenuStarTest, AnIconLightsUnderTheMouseAndSoundsOnceOnEntry)
{
    PointAt(10, 10);
    EXPECT_FALSE(DoSoundButton(3, Clicked, 1, 2));
    EXPECT_EQ(CellAt(backbuffer, 206 + 50, 469 + 25), (Probe{ SHEET_MENUICONS, 7 })) << "unlit";
    EXPECT_TRUE(soundsplayed.empty());

    PointAt(206 + 50, 469 + 25);
    for (int frame = 0; frame < 3; frame++)
        EXPECT_FALSE(DoSoundButton(3, Clicked, 1, 2));
    EXPECT_EQ(CellAt(backbuffer, 206 + 50, 469 + 25), (Probe{ SHEET_MENUICONS, 6 })) << "lit";
    EXPECT_EQ(PixelAt(backbuffer, 400, 325), NAVY) << "its arrow";
    EXPECT_EQ(soundsplayed, (std::vector<std::string>{ ".\\Sound\\GSButton.wav" }));

    PointAt(10, 10);
    DoSoundButton(3, Clicked, 1, 2);
    PointAt(206, 469);
    DoSoundButton(3, Clicked, 1, 2);
    EXPECT_EQ(soundsplayed.size(), 2u) << "again after leaving and coming back";
    EXPECT_TRUE(clicks.empty());
}

TEST_F(MenuStarTest, APressActsOnceWhenLetGo)
{
    PointAt(350 + 10, 75 + 10, true);
    EXPECT_TRUE(DoSoundButton(0, Clicked, 7, -3));
    EXPECT_EQ(clicks, (std::vector<std::pair<int32_t, int32_t>>{ { 7, -3 } }));
    EXPECT_EQ(soundsplayed, (std::vector<std::string>{ ".\\Sound\\GSButton.wav", ".\\Sound\\GSOK.wav" }));
    EXPECT_FALSE(DoSoundButton(0, Clicked, 7, -3)) << "the button is up again";
    EXPECT_EQ(clicks.size(), 1u);

    // The press holds the frame while the mouse is read; letting go outside the icon still acts.
    clicks.clear();
    PointAt(350 + 10, 75 + 10, true);
    ClearInputScript();
    ScriptMouse(300, 200, 1, 3);
    EXPECT_TRUE(DoSoundButton(0, Clicked, 1, 1));
    EXPECT_EQ(ScriptedMouseReads(), 4);
    EXPECT_EQ(mousex, 660);
    EXPECT_EQ(mousey, 285);
    EXPECT_EQ(clicks.size(), 1u);

    // With the sound option off the button is silent.
    soundon = 0;
    soundsplayed.clear();
    PointAt(98 + 10, 299 + 10, true);
    EXPECT_TRUE(DoSoundButton(7, nullptr, 0, 0));
    EXPECT_TRUE(soundsplayed.empty());
}

} // namespace
