#include <gtest/gtest.h>

#include "fakes.h"
#include "game/main/winmain.h"
#include "game/shell/shell.h"
#include "platform/window.h"

using Calls = std::vector<std::string>;

class WndProc : public testing::Test {
protected:
    void SetUp() override
    {
        ResetFakes();
        ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
        ASSERT_FALSE(CreateMainWindow("Gorvanel", GameWndProc));
        appactive = 1;
        candraw = 1;
        startupdone = 1;
        editmode = EDIT_NONE;
        editstring = nullptr;
    }
    void TearDown() override
    {
        editstring = nullptr;
        StopPlatform();
    }
    static int QueuedQuits()
    {
        int quits = 0;
        SysMsg msg;
        while (PeekSysMessage(&msg))
            quits += msg.message == SYS_QUIT;
        return quits;
    }
};

struct CharCase {
    int32_t mode;
    std::string before;
    int ch;
    std::string after;
};

TEST_F(WndProc, TypedCharactersFollowTheEditMode)
{
    const std::string name49(49, 'a'), name50(50, 'a');
    const std::string addr14 = "192.168.100.10", addr15 = "192.168.100.100";
    const CharCase cases[] = {
        { EDIT_NONE, "x", 'a', "x" },
        { EDIT_NAME, "Bo", 'b', "Bob" },
        { EDIT_NAME, "", ' ', " " },
        { EDIT_NAME, "", '~', "~" },
        { EDIT_NAME, "", 0x7F, "" },
        { EDIT_NAME, "", 0xE9, "" },            // above 0x7E: a negative signed byte
        { EDIT_NAME, "", '\t', "" },
        { EDIT_NAME, name49, 'z', name49 + "z" },
        { EDIT_NAME, name50, 'z', name50 },     // the 51st is swallowed
        { EDIT_DIGITS, "12", '3', "123" },
        { EDIT_DIGITS, "12", '.', "12" },
        { EDIT_DIGITS, "12", 'a', "12" },
        { EDIT_DIGITS, std::string(80, '9'), '9', std::string(81, '9') },
        { EDIT_ADDRESS, "10.0", '.', "10.0." },
        { EDIT_ADDRESS, "10.0", '7', "10.07" },
        { EDIT_ADDRESS, "10.0", 'x', "10.0" },
        { EDIT_ADDRESS, addr14, '5', addr14 + "5" },
        { EDIT_ADDRESS, addr15, '5', addr15 },  // the 16th is swallowed
        { EDIT_TEXT, "hi", '!', "hi!" },
        { EDIT_TEXT, std::string(199, 'a'), 'b', std::string(199, 'a') + "b" },
        { EDIT_TEXT, std::string(200, 'a'), 'b', std::string(200, 'a') },  // a chat line's limit: one frame
        { EDIT_TEXT, "hi", 0x80, "hi" },
    };
    for (const CharCase& c : cases) {
        std::string text = c.before;
        editmode = c.mode;
        editstring = &text;
        EXPECT_EQ(GameWndProc(SYS_CHAR, (uintptr_t)c.ch, 0), 0);
        EXPECT_EQ(text, c.after) << "mode " << c.mode << " char " << c.ch;
    }
    editmode = EDIT_TEXT;
    editstring = nullptr;       // no field: nothing to append to, and no crash
    EXPECT_EQ(GameWndProc(SYS_CHAR, 'a', 0), 0);
}

TEST_F(WndProc, BackAndDeleteRemoveTheLastCharacter)
{
    std::string text = "abc";
    editstring = &text;
    editmode = EDIT_NAME;
    GameWndProc(SYS_KEYDOWN, SYSKEY_BACK, 0);
    EXPECT_EQ(text, "ab");
    GameWndProc(SYS_KEYDOWN, SYSKEY_DELETE, 0);
    EXPECT_EQ(text, "a");
    GameWndProc(SYS_KEYDOWN, 0x41, 0);     // any other key leaves the text alone
    EXPECT_EQ(text, "a");
    GameWndProc(SYS_KEYDOWN, SYSKEY_BACK, 0);
    GameWndProc(SYS_KEYDOWN, SYSKEY_BACK, 0);   // empty text: nothing to remove
    EXPECT_EQ(text, "");
    text = "abc";
    editmode = EDIT_NONE;
    GameWndProc(SYS_KEYDOWN, SYSKEY_BACK, 0);
    EXPECT_EQ(text, "abc");
}

TEST_F(WndProc, LosingTheForegroundTwiceFreesOnce)
{
    GameWndProc(SYS_ACTIVATEAPP, 0, 0);
    GameWndProc(SYS_ACTIVATE, 0, 0);    // deactivation is often reported both ways
    EXPECT_EQ(calls, (Calls{ "FreeImages", "FreeUnitPictures", "StopAllSongs" }));
    EXPECT_EQ(appactive, 0);
    EXPECT_EQ(candraw, 0);
}

TEST_F(WndProc, RegainingTheForegroundRestoresEverything)
{
    localplayer = 2;
    GameWndProc(SYS_ACTIVATEAPP, 0, 0);
    calls.clear();
    modesthatfail = 2;
    EXPECT_EQ(GameWndProc(SYS_ACTIVATEAPP, 1, 0), 0);
    EXPECT_EQ(calls, (Calls{ "SetScreenMode 32", "SetScreenMode 24", "SetScreenMode 16", "RestoreSurfaces",
                             "LoadImages", "RedrawUnitPictures", "RebuildBoardImage", "RebuildMinimap 2 1" }));
    EXPECT_EQ(appactive, 1);
    EXPECT_EQ(candraw, 1);
    EXPECT_EQ(QueuedQuits(), 0);

    calls.clear();
    GameWndProc(SYS_ACTIVATEAPP, 1, 0);     // already active: nothing
    EXPECT_TRUE(calls.empty());
}

TEST_F(WndProc, NoDisplayModeEndsTheProgramButStillRestores)
{
    GameWndProc(SYS_ACTIVATEAPP, 0, 0);
    calls.clear();
    modesthatfail = 4;
    GameWndProc(SYS_ACTIVATEAPP, 1, 0);
    EXPECT_EQ(QueuedQuits(), 1);
    EXPECT_EQ(calls.size(), 9u);
    EXPECT_EQ(calls.back(), "RebuildMinimap 0 1");
}

TEST_F(WndProc, FocusBackBeforeStartupDoneStaysInactive)
{
    startupdone = 0;
    GameWndProc(SYS_ACTIVATEAPP, 0, 0);
    GameWndProc(SYS_ACTIVATEAPP, 1, 0);
    EXPECT_EQ(appactive, 0);
    startupdone = 1;
    GameWndProc(SYS_ACTIVATEAPP, 1, 0);   // after start-up the next return brings it back
    EXPECT_EQ(appactive, 1);
}

TEST_F(WndProc, ActivationOtherThanInactiveChangesNothing)
{
    GameWndProc(SYS_ACTIVATE, 1, 0);
    GameWndProc(SYS_ACTIVATE, 2, 0);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(appactive, 1);
}

TEST_F(WndProc, SocketEventsGoToTheNetworkAndDestroyQuits)
{
    EXPECT_EQ(GameWndProc(SYS_SOCKET, 12, 0x10020), 77);
    EXPECT_EQ(calls, Calls{ "HandleSocketEvent 12 65568" });
    EXPECT_EQ(GameWndProc(SYS_DESTROY, 0, 0), 0);
    EXPECT_EQ(QueuedQuits(), 1);
}
