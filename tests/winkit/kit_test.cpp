// The small-window kit on the headless back end: buttons, edit boxes, the loop.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/headless.h"
#include "platform/window.h"
#include "winkit/button.h"
#include "winkit/editbox.h"
#include "winkit/smallwindow.h"

namespace {

std::vector<SysMsg> seen;       // what reached the program's procedure

intptr_t RecordingProc(uint32_t message, uintptr_t wparam, intptr_t lparam)
{
    seen.push_back({message, wparam, lparam});
    if (message == SYS_DESTROY)
        PostQuit(3);
    return DefaultWindowProc(message, wparam, lparam);
}

int painted = 0;
void CountPaint(GdiDC*)
{
    painted++;
}

class KitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        seen.clear();
        painted = 0;
        ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
        ASSERT_FALSE(OpenSmallWindow("Kit", 400, 400, RecordingProc, CountPaint));
    }
    void TearDown() override
    {
        CloseSmallWindow();
        StopPlatform();
    }
    // Handles what is queued; true when the loop would end.
    bool Pump()
    {
        int code = 0;
        return PumpSmallWindow(&code);
    }
    std::vector<uintptr_t> Commands()
    {
        std::vector<uintptr_t> ids;
        for (const SysMsg& m : seen)
            if (m.message == SYS_COMMAND)
                ids.push_back(m.wparam);
        return ids;
    }
};

TEST_F(KitTest, AClickIsAPressAndAReleaseOnTheSameButton)
{
    ASSERT_FALSE(CreateKitButton(10, "One", 100, 100, 150, 35));
    ASSERT_FALSE(CreateKitButton(11, "Two", 100, 200, 150, 35));
    EXPECT_TRUE(CreateKitButton(10, "Again", 0, 0, 10, 10));     // an id is taken once
    struct Case {
        const char* name;
        std::vector<std::pair<uint32_t, GdiPoint>> mouse;
        std::vector<uintptr_t> commands;
    } const cases[] = {
        {"click", {{SYS_LBUTTONDOWN, {175, 117}}, {SYS_LBUTTONUP, {175, 117}}}, {10}},
        {"click the corner", {{SYS_LBUTTONDOWN, {100, 200}}, {SYS_LBUTTONUP, {249, 234}}}, {11}},
        {"just outside", {{SYS_LBUTTONDOWN, {250, 117}}, {SYS_LBUTTONUP, {250, 117}}}, {}},
        {"slide off", {{SYS_LBUTTONDOWN, {175, 117}}, {SYS_MOUSEMOVE, {175, 160}}, {SYS_LBUTTONUP, {175, 160}}}, {}},
        {"slide off and back", {{SYS_LBUTTONDOWN, {175, 117}}, {SYS_MOUSEMOVE, {5, 5}}, {SYS_LBUTTONUP, {120, 110}}},
         {10}},
        {"press one, release on another", {{SYS_LBUTTONDOWN, {175, 117}}, {SYS_LBUTTONUP, {175, 210}}}, {}},
        {"press outside, release on one", {{SYS_LBUTTONDOWN, {10, 10}}, {SYS_LBUTTONUP, {175, 210}}}, {}},
        {"release alone", {{SYS_LBUTTONUP, {175, 117}}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        seen.clear();
        for (const auto& [message, at] : c.mouse)
            PostSysMessage(message, 0, PointParam(at.x, at.y));
        Pump();
        Pump();     // the commands posted while handling
        EXPECT_EQ(Commands(), c.commands);
    }
}

TEST_F(KitTest, InjectedClicksReachTheButtons)
{
    CreateKitButton(138, "Update", 125, 150, 150, 35);
    InjectClick(200, 167);
    Pump();
    Pump();
    EXPECT_EQ(Commands(), std::vector<uintptr_t>{138});
}

TEST_F(KitTest, ButtonsComeAndGo)
{
    CreateKitButton(1, "a", 0, 0, 10, 10);
    CreateKitButton(2, "b", 0, 20, 10, 10);
    EXPECT_EQ(KitButtonCount(), 2);
    EXPECT_FALSE(DestroyKitButton(1));
    EXPECT_TRUE(DestroyKitButton(1));
    EXPECT_FALSE(KitButtonExists(1));
    EXPECT_TRUE(KitButtonExists(2));
    EXPECT_EQ(KitButtonRect(2).top, 20);
    // A button destroyed while held posts nothing on release.
    PostSysMessage(SYS_LBUTTONDOWN, 0, PointParam(5, 25));
    Pump();
    DestroyKitButton(2);
    PostSysMessage(SYS_LBUTTONUP, 0, PointParam(5, 25));
    Pump();
    Pump();
    EXPECT_TRUE(Commands().empty());
}

TEST_F(KitTest, EditBoxKeys)
{
    ASSERT_FALSE(CreateKitEdit(5, {20, 20, 380, 44}, "~/Games/"));
    struct Step {
        const char* name;
        uint32_t message;   // SYS_CHAR or SYS_KEYDOWN
        uint32_t value;
        const char* text;
        size_t caret;
    } const steps[] = {
        {"starts at the end", SYS_NULL, 0, "~/Games/", 8},
        {"type", SYS_CHAR, 'G', "~/Games/G", 9},
        {"backspace", SYS_KEYDOWN, SYSKEY_BACK, "~/Games/", 8},
        {"delete at the end", SYS_KEYDOWN, SYSKEY_DELETE, "~/Games/", 8},
        {"home", SYS_KEYDOWN, SYSKEY_HOME, "~/Games/", 0},
        {"backspace at the start", SYS_KEYDOWN, SYSKEY_BACK, "~/Games/", 0},
        {"left at the start", SYS_KEYDOWN, SYSKEY_LEFT, "~/Games/", 0},
        {"delete", SYS_KEYDOWN, SYSKEY_DELETE, "/Games/", 0},
        {"right", SYS_KEYDOWN, SYSKEY_RIGHT, "/Games/", 1},
        {"insert in the middle", SYS_CHAR, 'x', "/xGames/", 2},
        {"a CP1252 letter", SYS_CHAR, 0xE9, "/x\xE9Games/", 3},
        {"control characters are not text", SYS_CHAR, '\t', "/x\xE9Games/", 3},
        {"nor is DEL", SYS_CHAR, 0x7F, "/x\xE9Games/", 3},
        {"end", SYS_KEYDOWN, SYSKEY_END, "/x\xE9Games/", 9},
        {"right at the end", SYS_KEYDOWN, SYSKEY_RIGHT, "/x\xE9Games/", 9},
        {"left", SYS_KEYDOWN, SYSKEY_LEFT, "/x\xE9Games/", 8},
        {"other keys do nothing", SYS_KEYDOWN, SYSKEY_RETURN, "/x\xE9Games/", 8},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        if (s.message != SYS_NULL)
            PostSysMessage(s.message, s.value, 0);
        Pump();
        EXPECT_EQ(KitEditText(5), s.text);
        EXPECT_EQ(KitEditCaret(5), s.caret);
    }
    // Text of any length.
    SetKitEditText(5, std::string(1000, 'a'));
    PostSysMessage(SYS_CHAR, 'b', 0);
    Pump();
    EXPECT_EQ(KitEditText(5).size(), 1001u);
}

TEST_F(KitTest, TheClickedEditBoxHasTheKeyboard)
{
    CreateKitEdit(1, {0, 0, 100, 20}, "one");
    CreateKitEdit(2, {0, 40, 100, 60}, "two");
    PostSysMessage(SYS_CHAR, 'x', 0);           // the last made has it
    PostSysMessage(SYS_LBUTTONDOWN, 0, PointParam(50, 10));
    PostSysMessage(SYS_CHAR, 'y', 0);
    Pump();
    EXPECT_EQ(KitEditText(2), "twox");
    EXPECT_EQ(KitEditText(1).size(), 4u);
    EXPECT_NE(KitEditText(1).find('y'), std::string::npos);
    DestroyKitEdit(1);
    PostSysMessage(SYS_CHAR, 'z', 0);
    Pump();
    EXPECT_EQ(KitEditText(2), "twoxz");
}

TEST_F(KitTest, EveryMessageReachesTheProgramAndTheLoopEndsWithItsCode)
{
    CreateKitButton(7, "Quit", 0, 0, 50, 20);
    PostSysMessage(SYS_USER + 5, 1, 2);
    InjectCloseRequest();
    EXPECT_TRUE(Pump());
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[0].message, SYS_USER + 5);
    EXPECT_EQ(seen[1].message, SYS_CLOSE);
    EXPECT_EQ(seen[2].message, SYS_DESTROY);
    EXPECT_FALSE(MainWindowExists());
    int code = 0;
    PostQuit(3);
    EXPECT_TRUE(PumpSmallWindow(&code));
    EXPECT_EQ(code, 3);
}

TEST_F(KitTest, PaintsOnlyWhenSomethingChanged)
{
    Pump();
    const int first = painted;
    EXPECT_EQ(first, 1);
    const int frames = PresentedFrameCount();
    PostSysMessage(SYS_USER + 1, 0, 0);
    Pump();
    EXPECT_EQ(painted, first);
    CreateKitButton(1, "a", 0, 0, 10, 10);
    Pump();
    EXPECT_EQ(painted, first + 1);
    EXPECT_EQ(PresentedFrameCount(), frames + 1);
    PostSysMessage(SYS_PAINT, 0, 0);
    Pump();
    EXPECT_EQ(painted, first + 2);
}

TEST_F(KitTest, TheLoopSleepsUntilAnotherThreadPosts)
{
    seen.clear();
    // The worker's message comes while the loop waits; the procedure closes the window on it.
    std::thread worker([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        PostSysMessage(SYS_CLOSE, 0, 0);
    });
    EXPECT_EQ(RunSmallWindow(), 3);
    worker.join();
    EXPECT_FALSE(MainWindowExists());
}

} // namespace

namespace {

TEST_F(KitTest, TheEditBoxScrollsToKeepTheCaretInView)
{
    CreateKitEdit(1, {20, 20, 120, 44}, "");
    const std::string path = "/home/player/Games/Gorvanel/Saves/Campaign";
    for (const char c : path)
        PostSysMessage(SYS_CHAR, (uint8_t)c, 0);
    Pump();
    EXPECT_EQ(KitEditText(1), path);
    EXPECT_GT(KitEditFirstShown(1), 0u);            // the start has scrolled out of the 92-pixel field
    PostSysMessage(SYS_KEYDOWN, SYSKEY_HOME, 0);
    Pump();
    EXPECT_EQ(KitEditFirstShown(1), 0u);
    PostSysMessage(SYS_KEYDOWN, SYSKEY_END, 0);
    Pump();
    const size_t first = KitEditFirstShown(1);
    EXPECT_GT(first, 0u);
    // A click near the right end puts the caret near the end; near the left, near the first shown.
    PostSysMessage(SYS_LBUTTONDOWN, 0, PointParam(117, 30));
    Pump();
    EXPECT_GE(KitEditCaret(1), path.size() - 1);
    PostSysMessage(SYS_LBUTTONDOWN, 0, PointParam(25, 30));
    Pump();
    EXPECT_LE(KitEditCaret(1), first + 1);
    EXPECT_EQ(KitEditFirstShown(1), first);
}

TEST_F(KitTest, PicturesOfTheControls)
{
    CreateKitButton(1, "Install", 20, 20, 150, 35);
    CreateKitButton(2, "Under the mouse", 20, 70, 150, 35);
    CreateKitButton(3, "Held down", 20, 120, 150, 35);
    CreateKitEdit(4, {20, 180, 380, 204}, "~/Games/Gorvanel/");
    CreateKitEdit(5, {20, 220, 380, 244}, "not focused");
    PostSysMessage(SYS_LBUTTONDOWN, 0, PointParam(50, 190));   // the first box gets the keyboard back
    PostSysMessage(SYS_MOUSEMOVE, 0, PointParam(60, 80));
    Pump();
    EXPECT_FALSE(SaveLastFramePng("kit_controls.png"));
    const PixelRect normal = KitButtonRect(1);
    const PixelRect hot = KitButtonRect(2);
    int w = 0, h = 0;
    const uint32_t* frame = LastPresentedFrame(&w, &h);
    ASSERT_NE(frame, nullptr);
    // The body under the mouse is lighter than the one beside it.
    EXPECT_GT(frame[(hot.top + 8) * w + hot.left + 5] & 0xFF, frame[(normal.top + 8) * w + normal.left + 5] & 0xFF);

    PostSysMessage(SYS_LBUTTONDOWN, 0, PointParam(50, 130));
    Pump();
    EXPECT_FALSE(SaveLastFramePng("kit_pressed.png"));
    frame = LastPresentedFrame(&w, &h);
    const PixelRect held = KitButtonRect(3);
    // A held button is lit from below: darker at the top than at the bottom.
    EXPECT_LT(frame[(held.top + 4) * w + held.left + 5] & 0xFF, frame[(held.bottom - 4) * w + held.left + 5] & 0xFF);
}

} // namespace
