// Input: the key table from SDL's scancodes, the headless script's reads, and the SDL back end's
// reads from real events (SDL's dummy video driver, no display needed).
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <map>
#include <vector>

#include "platform/headless.h"
#include "platform/input.h"
#include "platform/inputscript.h"
#include "platform/window.h"

namespace {

struct KeyCase {
    SDL_Scancode scancode;
    uint8_t code;       // written as the number the game tests, not through our names
};

TEST(KeyTable, EveryKeyTheGameReads)
{
    const KeyCase cases[] = {
        {SDL_SCANCODE_ESCAPE, 0x01}, {SDL_SCANCODE_1, 0x02}, {SDL_SCANCODE_2, 0x03}, {SDL_SCANCODE_3, 0x04},
        {SDL_SCANCODE_4, 0x05}, {SDL_SCANCODE_5, 0x06}, {SDL_SCANCODE_6, 0x07}, {SDL_SCANCODE_7, 0x08},
        {SDL_SCANCODE_8, 0x09}, {SDL_SCANCODE_9, 0x0A}, {SDL_SCANCODE_0, 0x0B}, {SDL_SCANCODE_TAB, 0x0F},
        {SDL_SCANCODE_RETURN, 0x1C}, {SDL_SCANCODE_LCTRL, 0x1D}, {SDL_SCANCODE_RCTRL, 0x9D},
        {SDL_SCANCODE_LSHIFT, 0x2A}, {SDL_SCANCODE_SPACE, 0x39},
        {SDL_SCANCODE_F1, 0x3B}, {SDL_SCANCODE_F2, 0x3C}, {SDL_SCANCODE_F3, 0x3D}, {SDL_SCANCODE_F4, 0x3E},
        {SDL_SCANCODE_F5, 0x3F}, {SDL_SCANCODE_F7, 0x41}, {SDL_SCANCODE_F9, 0x43}, {SDL_SCANCODE_F12, 0x58},
        {SDL_SCANCODE_UP, 0xC8}, {SDL_SCANCODE_LEFT, 0xCB}, {SDL_SCANCODE_RIGHT, 0xCD}, {SDL_SCANCODE_DOWN, 0xD0},
        // The letters, for the spell shortcuts and the board keys.
        {SDL_SCANCODE_A, 0x1E}, {SDL_SCANCODE_B, 0x30}, {SDL_SCANCODE_C, 0x2E}, {SDL_SCANCODE_D, 0x20},
        {SDL_SCANCODE_E, 0x12}, {SDL_SCANCODE_F, 0x21}, {SDL_SCANCODE_G, 0x22}, {SDL_SCANCODE_H, 0x23},
        {SDL_SCANCODE_I, 0x17}, {SDL_SCANCODE_J, 0x24}, {SDL_SCANCODE_K, 0x25}, {SDL_SCANCODE_L, 0x26},
        {SDL_SCANCODE_M, 0x32}, {SDL_SCANCODE_N, 0x31}, {SDL_SCANCODE_O, 0x18}, {SDL_SCANCODE_P, 0x19},
        {SDL_SCANCODE_Q, 0x10}, {SDL_SCANCODE_R, 0x13}, {SDL_SCANCODE_S, 0x1F}, {SDL_SCANCODE_T, 0x14},
        {SDL_SCANCODE_U, 0x16}, {SDL_SCANCODE_V, 0x2F}, {SDL_SCANCODE_W, 0x11}, {SDL_SCANCODE_X, 0x2D},
        {SDL_SCANCODE_Y, 0x15}, {SDL_SCANCODE_Z, 0x2C},
        // A few of the rest, the keypad's twins of the main keys above all.
        {SDL_SCANCODE_BACKSPACE, 0x0E}, {SDL_SCANCODE_LALT, 0x38}, {SDL_SCANCODE_RALT, 0xB8},
        {SDL_SCANCODE_KP_ENTER, 0x9C}, {SDL_SCANCODE_KP_8, 0x48}, {SDL_SCANCODE_KP_DIVIDE, 0xB5},
        {SDL_SCANCODE_DELETE, 0xD3}, {SDL_SCANCODE_PAGEDOWN, 0xD1}, {SDL_SCANCODE_F11, 0x57},
    };
    for (const KeyCase& c : cases)
        EXPECT_EQ(KeyCodeForScancode(c.scancode), c.code) << SDL_GetScancodeName(c.scancode);
    EXPECT_EQ(KeyCodeForScancode(SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(KeyCodeForScancode(SDL_SCANCODE_F24), 0) << "a key without a code";
}

TEST(KeyTable, NoTwoKeysShareACodeButTheSameKeyOnOtherBoards)
{
    // Keys that are one key in two layouts may share; no other pair may.
    const std::map<uint8_t, int> shared = {{KEY_BACKSLASH, 2}, {KEY_MUTE, 2}};
    std::map<uint8_t, int> seen;
    for (int s = 0; s < SDL_NUM_SCANCODES; s++)
        if (const uint8_t code = KeyCodeForScancode(s))
            seen[code]++;
    for (const auto& [code, count] : seen) {
        const auto allowed = shared.find(code);
        EXPECT_EQ(count, allowed == shared.end() ? 1 : allowed->second) << "code " << (int)code;
    }
    EXPECT_GT(seen.size(), 100u);
}

class ScriptedInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
        ClearInputScript();
    }
    void TearDown() override
    {
        ClearInputScript();
        StopPlatform();
    }

    uint8_t state[256];
    bool Down(uint8_t code) const { return state[code] & KEY_DOWNBIT; }
};

TEST_F(ScriptedInputTest, APressIsSeenByExactlyOneRead)
{
    ScriptKeys({KEY_SPACE});
    ScriptKeys({KEY_LCONTROL, KEY_SPACE});
    ASSERT_FALSE(ReadKeyboard(state));
    EXPECT_TRUE(Down(KEY_SPACE));
    EXPECT_FALSE(Down(KEY_LCONTROL));
    ASSERT_FALSE(ReadKeyboard(state));
    EXPECT_TRUE(Down(KEY_LCONTROL) && Down(KEY_SPACE)) << "a chord is one read";
    ASSERT_FALSE(ReadKeyboard(state));
    for (int k = 0; k < 256; k++)
        ASSERT_FALSE(Down((uint8_t)k)) << "released on the next read";
}

TEST_F(ScriptedInputTest, AHeldKeyStaysDownForItsReads)
{
    ScriptKeys({KEY_F7, KEY_ESCAPE}, 3);
    for (int read = 1; read <= 3; read++) {
        ASSERT_FALSE(ReadKeyboard(state));
        EXPECT_TRUE(Down(KEY_F7) && Down(KEY_ESCAPE)) << "read " << read;
    }
    ASSERT_FALSE(ReadKeyboard(state));
    EXPECT_FALSE(Down(KEY_F7));
    EXPECT_EQ(ScriptedKeyboardReads(), 4);
}

TEST_F(ScriptedInputTest, MovementOnceAndButtonsForTheirReads)
{
    ScriptMouse(30, -20);
    ScriptMouse(0, 0, 1 << 0 | 1 << 1, 2);
    MouseState m;
    ASSERT_FALSE(ReadMouse(&m));
    EXPECT_EQ(m.x, 30);
    EXPECT_EQ(m.y, -20);
    EXPECT_EQ(m.buttons[0], 0);
    for (int read = 0; read < 2; read++) {
        ASSERT_FALSE(ReadMouse(&m));
        EXPECT_EQ(m.x, 0);
        EXPECT_EQ(m.buttons[0], KEY_DOWNBIT);
        EXPECT_EQ(m.buttons[1], KEY_DOWNBIT);
        EXPECT_EQ(m.buttons[2], 0);
    }
    ASSERT_FALSE(ReadMouse(&m));
    EXPECT_EQ(m.buttons[0], 0);
    EXPECT_EQ(ScriptedMouseReads(), 4);
}

TEST_F(ScriptedInputTest, AFailedReadTakesNothingFromTheScript)
{
    ScriptKeys({KEY_RETURN});
    FailInputReads(2);
    EXPECT_TRUE(ReadKeyboard(state));
    MouseState m;
    EXPECT_TRUE(ReadMouse(&m));
    ASSERT_FALSE(ReadKeyboard(state));
    EXPECT_TRUE(Down(KEY_RETURN));
}

TEST_F(ScriptedInputTest, AReadQueuesWhatArrivedMeanwhile)
{
    ASSERT_FALSE(CreateMainWindow("Gorvanel", DefaultWindowProc));
    InjectText("k");
    ASSERT_FALSE(ReadKeyboard(state));
    // Posted after the read: it queues behind the character only if the read took that in already.
    PostSysMessage(SYS_PAINT, 0, 0);
    SysMsg m;
    ASSERT_TRUE(PeekSysMessage(&m));
    EXPECT_EQ(m.message, (uint32_t)SYS_CHAR);
    EXPECT_EQ(m.wparam, (uintptr_t)'k');
    ASSERT_TRUE(PeekSysMessage(&m));
    EXPECT_EQ(m.message, (uint32_t)SYS_PAINT);
}

// The SDL back end over SDL's dummy video driver: events pushed as the system would send them.
class SdlInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_FALSE(StartPlatform(BACKEND_SDL)) << "SDL's dummy video driver must start";
        ASSERT_FALSE(CreateMainWindow("Gorvanel", DefaultWindowProc));
        ASSERT_FALSE(OpenInput());
        uint8_t state[256];
        MouseState m;
        ReadKeyboard(state);
        ReadMouse(&m);
    }
    void TearDown() override
    {
        CloseInput();
        StopPlatform();
        unsetenv("SDL_VIDEODRIVER");
    }

    static void Key(SDL_Scancode scancode, bool down)
    {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.scancode = scancode;
        SDL_PushEvent(&e);
    }
    static void Button(uint8_t button, bool down)
    {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = button;
        SDL_PushEvent(&e);
    }
    // Pointer positions in the 800 x 600 frame (no window named, so no scaling applies).
    static void Motion(int x, int y)
    {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        SDL_PushEvent(&e);
    }
};

TEST_F(SdlInputTest, AKeyPressedAndReleasedBetweenReadsIsSeenOnce)
{
    uint8_t state[256];
    Key(SDL_SCANCODE_A, true);
    Key(SDL_SCANCODE_A, false);
    Key(SDL_SCANCODE_LCTRL, true);
    ASSERT_FALSE(ReadKeyboard(state));
    EXPECT_EQ(state[KEY_A], KEY_DOWNBIT);
    EXPECT_EQ(state[KEY_LCONTROL], KEY_DOWNBIT);
    ASSERT_FALSE(ReadKeyboard(state));
    EXPECT_EQ(state[KEY_A], 0);
    EXPECT_EQ(state[KEY_LCONTROL], KEY_DOWNBIT) << "a held key stays down";
    Key(SDL_SCANCODE_LCTRL, false);
    ASSERT_FALSE(ReadKeyboard(state));
    EXPECT_EQ(state[KEY_LCONTROL], 0);
}

TEST_F(SdlInputTest, AModifierHeldWhenAKeyComesIsReadWithThatKey)
{
    struct Event {
        SDL_Scancode key;
        bool down;
    };
    struct Row {
        const char* what;
        std::vector<Event> first, second;     // the events before the first read, and before the second
        bool ctrl;                            // the second read sees Ctrl with Space
    };
    const Row rows[] = {
        {"Ctrl let go after Space came, in the next frame", {{SDL_SCANCODE_LCTRL, true}},
         {{SDL_SCANCODE_SPACE, true}, {SDL_SCANCODE_SPACE, false}, {SDL_SCANCODE_LCTRL, false}}, true},
        {"Ctrl let go before Space came", {{SDL_SCANCODE_LCTRL, true}},
         {{SDL_SCANCODE_LCTRL, false}, {SDL_SCANCODE_SPACE, true}, {SDL_SCANCODE_SPACE, false}}, false},
        {"Ctrl tapped and let go in the frame before", {{SDL_SCANCODE_LCTRL, true}, {SDL_SCANCODE_LCTRL, false}},
         {{SDL_SCANCODE_SPACE, true}, {SDL_SCANCODE_SPACE, false}}, false},
        {"Ctrl held across both frames", {{SDL_SCANCODE_LCTRL, true}},
         {{SDL_SCANCODE_SPACE, true}, {SDL_SCANCODE_SPACE, false}}, true},
    };
    uint8_t state[256];
    for (const Row& r : rows) {
        for (const Event& e : r.first)
            Key(e.key, e.down);
        ASSERT_FALSE(ReadKeyboard(state));
        EXPECT_EQ(state[KEY_LCONTROL], KEY_DOWNBIT) << r.what;
        for (const Event& e : r.second)
            Key(e.key, e.down);
        ASSERT_FALSE(ReadKeyboard(state));
        EXPECT_EQ(state[KEY_SPACE], KEY_DOWNBIT) << r.what;
        EXPECT_EQ(state[KEY_LCONTROL], r.ctrl ? KEY_DOWNBIT : 0) << r.what;
        // Up again for the next row.
        Key(SDL_SCANCODE_LCTRL, false);
        ASSERT_FALSE(ReadKeyboard(state));
        ASSERT_FALSE(ReadKeyboard(state));
        EXPECT_EQ(state[KEY_LCONTROL], 0) << r.what;
        EXPECT_EQ(state[KEY_SPACE], 0) << r.what;
    }
}

TEST_F(SdlInputTest, MovementFollowsThePointerHeldToTheFrame)
{
    MouseState m;
    Motion(100, 100);
    ReadMouse(&m);
    Motion(150, 90);
    Motion(170, 95);
    ASSERT_FALSE(ReadMouse(&m));
    EXPECT_EQ(m.x, 70);
    EXPECT_EQ(m.y, -5);
    // Past the frame's edges the pointer counts as on them, so the movements add up to where it is.
    Motion(-40, 900);
    ASSERT_FALSE(ReadMouse(&m));
    EXPECT_EQ(m.x, -170);
    EXPECT_EQ(m.y, 599 - 95);
    Motion(10, 599);
    ASSERT_FALSE(ReadMouse(&m));
    EXPECT_EQ(m.x, 10);
    EXPECT_EQ(m.y, 0);
}

TEST_F(SdlInputTest, AClickBetweenReadsIsSeenOnce)
{
    MouseState m;
    Button(SDL_BUTTON_LEFT, true);
    Button(SDL_BUTTON_LEFT, false);
    Button(SDL_BUTTON_RIGHT, true);
    ASSERT_FALSE(ReadMouse(&m));
    EXPECT_EQ(m.buttons[0], KEY_DOWNBIT);
    EXPECT_EQ(m.buttons[1], KEY_DOWNBIT);
    ASSERT_FALSE(ReadMouse(&m));
    EXPECT_EQ(m.buttons[0], 0);
    EXPECT_EQ(m.buttons[1], KEY_DOWNBIT);
}

} // namespace
