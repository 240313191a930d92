// The keyboard and mouse reads of the screens over the headless back end's script.
#include <gtest/gtest.h>

#include "game/shell/debuglog.h"
#include "game/shell/input.h"
#include "platform/clock.h"
#include "platform/inputscript.h"
#include "platform/window.h"

namespace {

class InputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseVirtualClock(0);
        ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
        ClearInputScript();
        CaptureDebugLog(&log);
        ASSERT_FALSE(DInputGo());
        EXPECT_FALSE(BindMouse());
        mousex = 400;
        mousey = 300;
    }
    void TearDown() override
    {
        ReleaseInput();
        CaptureDebugLog(nullptr);
        ClearInputScript();
        StopPlatform();
        UseRealClock();
        input = InputState{0, 0, 0, 0, 0, 0};
    }

    std::string log;
};

TEST_F(InputTest, StartUpTakesTheDevicesAndHoldsTheCursorToTheScreen)
{
    EXPECT_EQ(log, "DInputGo()\nBinding Mouse.\n");
    EXPECT_EQ(input.initialised, 1);
    EXPECT_EQ(input.left, 0);
    EXPECT_EQ(input.top, 0);
    EXPECT_EQ(input.right, 799);
    EXPECT_EQ(input.bottom, 599);
    EXPECT_EQ(input.clamp, 1);
    ReleaseInput();
    EXPECT_EQ(input.initialised, 0);
    EXPECT_FALSE(InputOpen());
    ReleaseInput();
}

TEST(InputWithoutBackEnd, StartUpFails)
{
    EXPECT_TRUE(DInputGo());
    EXPECT_EQ(input.initialised, 0);
}

TEST_F(InputTest, TheCursorMovesByTheMouseAndStaysInTheClipRectangle)
{
    const struct {
        int32_t x, y, dx, dy;
        int32_t wantx, wanty;
    } cases[] = {
        {400, 300, 25, -40, 425, 260},
        {780, 300, 50, 0, 799, 300},        // never past the last pixel of the screen
        {10, 300, -50, 0, 0, 300},
        {400, 590, 0, 50, 400, 599},
        {400, 5, 0, -50, 400, 0},
        {-30, 700, 0, 0, 0, 599},           // a cursor outside is brought back
    };
    for (const auto& c : cases) {
        int32_t x = c.x;
        int32_t y = c.y;
        ScriptMouse(c.dx, c.dy);
        PollMouse(&x, &y);
        EXPECT_EQ(x, c.wantx) << c.x << "," << c.y << " by " << c.dx << "," << c.dy;
        EXPECT_EQ(y, c.wanty) << c.x << "," << c.y << " by " << c.dx << "," << c.dy;
    }
}

TEST_F(InputTest, WithClampingOffTheCursorGoesAnywhere)
{
    input.clamp = 0;
    ScriptMouse(500, -400);
    PollMouse(&mousex, &mousey);
    EXPECT_EQ(mousex, 900);
    EXPECT_EQ(mousey, -100);
}

TEST_F(InputTest, MovementAddsUpAndButtonsAreThoseOfTheLastRead)
{
    ScriptMouse(10, 5);
    ScriptMouse(7, -2, 1);
    PollMouse(&mousex, &mousey);
    PollMouse(&mousex, &mousey);
    EXPECT_EQ(mousex, 417);
    EXPECT_EQ(mousey, 303);
    EXPECT_EQ(mousestate.buttons[0], KEY_DOWNBIT);
    PollMouse(&mousex, &mousey);
    EXPECT_EQ(mousestate.buttons[0], 0);
}

TEST_F(InputTest, AFailedMouseReadMovesNothingAndHoldsNoButton)
{
    ScriptMouse(0, 0, 1, 5);
    PollMouse(&mousex, &mousey);
    FailInputReads(1);
    PollMouse(&mousex, &mousey);
    EXPECT_EQ(mousestate.buttons[0], 0);
    EXPECT_EQ(mousex, 400);
}

TEST_F(InputTest, IsKeyDownTellsTheLastReadNotTheLiveKey)
{
    ScriptKeys({KEY_TAB});
    EXPECT_FALSE(IsKeyDown(KEY_TAB));
    PollKeyboard();
    EXPECT_TRUE(IsKeyDown(KEY_TAB));
    EXPECT_TRUE(IsKeyDown(0x100 | KEY_TAB)) << "only the low 8 bits name the key";
    EXPECT_FALSE(IsKeyDown(KEY_W));
    PollKeyboard();
    EXPECT_FALSE(IsKeyDown(KEY_TAB));
}

TEST_F(InputTest, AFailedKeyboardReadIsTriedAgain)
{
    ScriptKeys({KEY_RETURN});
    FailInputReads(3);
    PollKeyboard();
    EXPECT_TRUE(IsKeyDown(KEY_RETURN));
    EXPECT_EQ(ScriptedKeyboardReads(), 1);
}

TEST_F(InputTest, WaitKeyReleaseUsesThePressUntilTheKeyIsLetGo)
{
    ScriptKeys({KEY_F12, KEY_W}, 3);
    ScriptKeys({KEY_F12});
    PollKeyboard();
    ASSERT_TRUE(IsKeyDown(KEY_F12));
    WaitKeyRelease(KEY_F12);
    EXPECT_FALSE(IsKeyDown(KEY_F12)) << "up at once, in this frame's keys";
    EXPECT_TRUE(IsKeyDown(KEY_W));
    EXPECT_EQ(ScriptedKeyboardReads(), 1) << "the frame goes on: no read waits for the release";
    for (int read = 2; read <= 3; read++) {
        PollKeyboard();
        EXPECT_FALSE(IsKeyDown(KEY_F12)) << "still held, read " << read;
        EXPECT_TRUE(IsKeyDown(KEY_W)) << "only the key waited for is used, read " << read;
    }
    PollKeyboard();
    EXPECT_TRUE(IsKeyDown(KEY_F12)) << "pressed again";
}

TEST_F(InputTest, AKeyboardThatCannotBeReadReadsEveryKeyUp)
{
    ScriptKeys({KEY_ESCAPE}, 1000000);
    PollKeyboard();
    ASSERT_TRUE(IsKeyDown(KEY_ESCAPE));
    FailInputReads(1000000);
    PollKeyboard();
    EXPECT_FALSE(IsKeyDown(KEY_ESCAPE)) << "a lost keyboard counts as every key up";
    EXPECT_NE(log.find("ERROR: The keyboard cannot be read.\n"), std::string::npos);
}

} // namespace
