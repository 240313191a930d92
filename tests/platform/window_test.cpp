// The window and queue over the headless back end: order, quit, destroy, close and injected input.
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <thread>
#include <vector>

#include "platform/headless.h"
#include "platform/window.h"

// Found by argument lookup, so outside the unnamed namespace.
static bool operator==(const SysMsg& a, const SysMsg& b)
{
    return a.message == b.message && a.wparam == b.wparam && a.lparam == b.lparam;
}

static void PrintTo(const SysMsg& m, std::ostream* os)
{
    *os << "{0x" << std::hex << m.message << ", " << std::dec << m.wparam << ", " << m.lparam << "}";
}

namespace {

struct Received {
    uint32_t message;
    uintptr_t wparam;
    intptr_t lparam;
    bool windowexisted;
};

std::vector<Received> received;

// Answers like the game: SYS_DESTROY posts the quit, everything else goes to the default.
intptr_t GameLikeProc(uint32_t message, uintptr_t wparam, intptr_t lparam)
{
    received.push_back({message, wparam, lparam, MainWindowExists()});
    if (message == SYS_DESTROY) {
        PostQuit(0);
        return 0;
    }
    if (message == SYS_CHAR)
        return 42;
    return DefaultWindowProc(message, wparam, lparam);
}

std::vector<SysMsg> Drain()
{
    std::vector<SysMsg> all;
    SysMsg m;
    while (PeekSysMessage(&m))
        all.push_back(m);
    return all;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        received.clear();
        ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
        ASSERT_FALSE(CreateMainWindow("Gorvanel", GameLikeProc));
    }
    void TearDown() override { StopPlatform(); }
};

TEST_F(WindowTest, QueueIsFirstInFirstOut)
{
    SysMsg m = {0x1234, 7, 8};
    EXPECT_FALSE(PeekSysMessage(&m));
    EXPECT_EQ(m.message, 0x1234u) << "an empty peek leaves the message alone";

    PostSysMessage(SYS_SOCKET, 3, 0x10);
    PostSysMessage(SYS_CHAR, 'a', 0);
    PostSysMessage(SYS_SOCKET, 3, -5);
    const std::vector<SysMsg> want = {{SYS_SOCKET, 3, 0x10}, {SYS_CHAR, 'a', 0}, {SYS_SOCKET, 3, -5}};
    EXPECT_EQ(Drain(), want);
    EXPECT_FALSE(PeekSysMessage(&m));
}

TEST_F(WindowTest, PostQuitCarriesTheExitCode)
{
    for (const int code : {0, 3, -1}) {
        PostQuit(code);
        SysMsg m;
        ASSERT_TRUE(PeekSysMessage(&m));
        EXPECT_EQ(m.message, SYS_QUIT);
        EXPECT_EQ((int)(intptr_t)m.wparam, code);
    }
}

TEST_F(WindowTest, DispatchHandsOverEverythingButQuit)
{
    const SysMsg chr = {SYS_CHAR, 'x', 9};
    EXPECT_EQ(DispatchSysMessage(&chr), 42);
    const SysMsg quit = {SYS_QUIT, 0, 0};
    EXPECT_EQ(DispatchSysMessage(&quit), 0);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, SYS_CHAR);
    EXPECT_EQ(received[0].wparam, (uintptr_t)'x');
    EXPECT_EQ(received[0].lparam, 9);
}

TEST_F(WindowTest, DestroyDeliversDestroyWhileTheWindowStillExists)
{
    DestroyMainWindow();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, SYS_DESTROY);
    EXPECT_TRUE(received[0].windowexisted);
    EXPECT_FALSE(MainWindowExists());

    // Once gone, it is not destroyed twice and receives nothing more.
    DestroyMainWindow();
    const SysMsg chr = {SYS_CHAR, 'x', 0};
    EXPECT_EQ(DispatchSysMessage(&chr), 0);
    EXPECT_EQ(received.size(), 1u);

    SysMsg m;
    ASSERT_TRUE(PeekSysMessage(&m));
    EXPECT_EQ(m.message, SYS_QUIT);
    EXPECT_FALSE(PeekSysMessage(&m));
}

intptr_t DestroyAgainProc(uint32_t message, uintptr_t, intptr_t)
{
    received.push_back({message, 0, 0, MainWindowExists()});
    if (message == SYS_DESTROY)
        DestroyMainWindow();
    return 0;
}

TEST_F(WindowTest, DestroyFromWithinDestroyDeliversOnce)
{
    StopPlatform();
    ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
    ASSERT_FALSE(CreateMainWindow("Gorvanel", DestroyAgainProc));
    DestroyMainWindow();
    EXPECT_EQ(received.size(), 1u);
    EXPECT_FALSE(MainWindowExists());
}

TEST_F(WindowTest, DefaultProcClosesOnlyOnClose)
{
    for (const uint32_t message : {SYS_PAINT, SYS_ACTIVATE, SYS_KEYDOWN, SYS_SOCKET, SYS_NULL})
        EXPECT_EQ(DefaultWindowProc(message, 1, 1), 0);
    EXPECT_TRUE(MainWindowExists());
    EXPECT_EQ(DefaultWindowProc(SYS_CLOSE, 0, 0), 0);
    EXPECT_FALSE(MainWindowExists());
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, SYS_DESTROY);
}

TEST_F(WindowTest, CloseRequestRunsThroughToQuit)
{
    // The main loop's drain: close -> destroy -> quit, all within one pass.
    InjectCloseRequest();
    SysMsg m;
    int quitcode = -99;
    while (PeekSysMessage(&m)) {
        if (m.message == SYS_QUIT) {
            quitcode = (int)(intptr_t)m.wparam;
            break;
        }
        DispatchSysMessage(&m);
    }
    EXPECT_EQ(quitcode, 0);
    EXPECT_FALSE(MainWindowExists());
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].message, SYS_CLOSE);
    EXPECT_EQ(received[1].message, SYS_DESTROY);
}

TEST_F(WindowTest, EndSignalsArriveAsOneCloseRequest)
{
    std::raise(SIGTERM);
    std::raise(SIGINT);
    EXPECT_EQ(Drain(), (std::vector<SysMsg>{ { SYS_CLOSE, 0, 0 } }));
    std::raise(SIGTERM);
    EXPECT_EQ(Drain(), (std::vector<SysMsg>{ { SYS_CLOSE, 0, 0 } }));
    // Stopped, the back end leaves the signals as it found them: a restart hears nothing old.
    StopPlatform();
    ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
    EXPECT_TRUE(Drain().empty());
}

TEST_F(WindowTest, DiscardDropsOnlyThatKindForThatParameter)
{
    PostSysMessage(SYS_SOCKET, 5, 1);
    PostSysMessage(SYS_SOCKET, 6, 1);
    PostSysMessage(SYS_CHAR, 5, 0);
    PostSysMessage(SYS_SOCKET, 5, 0x20);
    PostSysMessage(SYS_SOCKET, 7, 1);
    DiscardSysMessages(SYS_SOCKET, 5);
    const std::vector<SysMsg> want = {{SYS_SOCKET, 6, 1}, {SYS_CHAR, 5, 0}, {SYS_SOCKET, 7, 1}};
    EXPECT_EQ(Drain(), want);
}

TEST_F(WindowTest, InjectedInputArrivesAsMessagesInOrder)
{
    InjectFocusLost();
    InjectText("h\xE9");
    InjectKeyDown(SYSKEY_BACK);
    InjectKeyDown(SYSKEY_DELETE);
    InjectFocusGained();
    InjectCloseRequest();
    const std::vector<SysMsg> want = {
        {SYS_ACTIVATE, 0, 0}, {SYS_ACTIVATEAPP, 0, 0}, {SYS_CHAR, 'h', 0}, {SYS_CHAR, 0xE9, 0},
        {SYS_KEYDOWN, SYSKEY_BACK, 0}, {SYS_KEYDOWN, SYSKEY_DELETE, 0}, {SYS_ACTIVATEAPP, 1, 0},
        {SYS_CLOSE, 0, 0},
    };
    EXPECT_EQ(Drain(), want);
}

TEST_F(WindowTest, FocusChangesAreReportedOncePerChange)
{
    InjectFocusGained();    // the window starts in the foreground
    InjectFocusLost();
    InjectFocusLost();
    InjectFocusGained();
    InjectFocusGained();
    const std::vector<SysMsg> want = {{SYS_ACTIVATE, 0, 0}, {SYS_ACTIVATEAPP, 0, 0}, {SYS_ACTIVATEAPP, 1, 0}};
    EXPECT_EQ(Drain(), want);
}

TEST_F(WindowTest, WaitReturnsForQueuedPendingAndCrossThreadMessages)
{
    PostSysMessage(SYS_PAINT, 0, 0);
    WaitSysMessage();
    EXPECT_EQ(Drain().size(), 1u);

    InjectText("a");
    WaitSysMessage();
    EXPECT_EQ(Drain(), (std::vector<SysMsg>{{SYS_CHAR, 'a', 0}}));

    std::thread poster([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        PostSysMessage(SYS_SOCKET, 9, 1);
    });
    WaitSysMessage();
    poster.join();
    EXPECT_EQ(Drain(), (std::vector<SysMsg>{{SYS_SOCKET, 9, 1}}));
}

TEST_F(WindowTest, PostingFromManyThreadsLosesNothing)
{
    constexpr int threads = 4;
    constexpr int each = 2000;
    std::vector<std::thread> posters;
    for (int t = 0; t < threads; t++)
        posters.emplace_back([t] {
            for (int i = 0; i < each; i++)
                PostSysMessage(SYS_SOCKET, (uintptr_t)t, i);
        });
    for (std::thread& p : posters)
        p.join();
    std::vector<int> next(threads, 0);
    SysMsg m;
    while (PeekSysMessage(&m)) {
        ASSERT_LT(m.wparam, (uintptr_t)threads);
        EXPECT_EQ(m.lparam, next[m.wparam]) << "each thread's messages keep their order";
        next[m.wparam]++;
    }
    EXPECT_EQ(next, std::vector<int>(threads, each));
}

TEST_F(WindowTest, OneWindowAtATimeAndARestartStartsClean)
{
    EXPECT_TRUE(CreateMainWindow("Second", GameLikeProc));
    EXPECT_EQ(PlatformBackend(), BACKEND_HEADLESS);
    PostSysMessage(SYS_PAINT, 0, 0);
    const uint32_t pixel = 0x123456;
    PresentFrame(&pixel, 1, 1);
    InjectCloseRequest();

    StopPlatform();
    EXPECT_FALSE(MainWindowExists());
    EXPECT_TRUE(CreateMainWindow("Gorvanel", GameLikeProc)) << "no window without a running platform";
    ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
    SysMsg m;
    EXPECT_FALSE(PeekSysMessage(&m));
    EXPECT_EQ(PresentedFrameCount(), 0);
    EXPECT_TRUE(received.empty()) << "stopping closes the window without a SYS_DESTROY";
}

TEST_F(WindowTest, PresentKeepsACopyOfTheLastFrame)
{
    int width = -1;
    int height = -1;
    EXPECT_EQ(LastPresentedFrame(&width, &height), nullptr);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);

    std::vector<uint32_t> frame = {1, 2, 3, 4, 5, 6};
    PresentFrame(frame.data(), 3, 2);
    frame[0] = 0xFFFFFF;
    frame[5] = 0xABCDEF;
    PresentFrame(frame.data(), 2, 3);
    frame[1] = 0;   // the copy is independent of the caller's buffer

    EXPECT_EQ(PresentedFrameCount(), 2);
    const uint32_t* last = LastPresentedFrame(&width, &height);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 3);
    EXPECT_EQ(std::vector<uint32_t>(last, last + 6), (std::vector<uint32_t>{0xFFFFFF, 2, 3, 4, 5, 0xABCDEF}));
}

} // namespace

namespace {

// A frame the same as the one shown is not presented again (it still counts as a frame); any changed
// pixel, a new shape of the same pixels, the window asking to be painted, or a new window presents it.
TEST_F(WindowTest, OnlyAFrameThatShowsSomethingNewIsPresented)
{
    // Presents the frame; whether the window was shown it anew (not a repeat of the one before).
    const auto presented = [](const std::vector<uint32_t>& frame, int width, int height) {
        const int frames = PresentedFrameCount();
        const int repeats = RepeatedFrameCount();
        PresentFrame(frame.data(), width, height);
        EXPECT_EQ(PresentedFrameCount(), frames + 1) << "every frame counts";
        return RepeatedFrameCount() == repeats;
    };
    const std::vector<uint32_t> shown(800 * 600, 0x336699);
    EXPECT_TRUE(presented(shown, 800, 600));
    EXPECT_FALSE(presented(shown, 800, 600)) << "the same picture again";

    const size_t changed[] = {0, 1, 800 * 300 + 400, 800 * 600 - 2, 800 * 600 - 1};
    for (const size_t at : changed) {
        std::vector<uint32_t> frame = shown;
        frame[at] ^= 1;
        EXPECT_TRUE(presented(frame, 800, 600)) << "pixel " << at << " changed";
        EXPECT_TRUE(presented(shown, 800, 600)) << "pixel " << at << " changed back";
        int width = 0;
        int height = 0;
        const uint32_t* const last = LastPresentedFrame(&width, &height);
        ASSERT_NE(last, nullptr);
        EXPECT_EQ(std::vector<uint32_t>(last, last + shown.size()), shown);
    }

    EXPECT_TRUE(presented(shown, 600, 800)) << "the same pixels in another shape";
    PostSysMessage(SYS_PAINT, 0, 0);
    EXPECT_TRUE(presented(shown, 600, 800)) << "the window asked to be painted";
    EXPECT_FALSE(presented(shown, 600, 800)) << "painted once is enough";

    DestroyMainWindow();
    ASSERT_FALSE(CreateMainWindow("Gorvanel", GameLikeProc));
    EXPECT_TRUE(presented(shown, 600, 800)) << "a new window shows nothing yet";
}

// A frame whose caller names the rows that can have changed is compared there alone: a change there
// is presented as the band it makes, one elsewhere is taken on the caller's word. The window asking
// to be painted, or a new shape, still presents it whole.
TEST_F(WindowTest, AFrameIsComparedOnlyInTheRowsItsCallerNames)
{
    const std::vector<uint32_t> shown(800 * 600, 0x336699);
    PresentFrame(shown.data(), 800, 600);
    struct Case {
        int row;            // the row with a changed pixel
        int from, to;       // the rows named
        bool presented;
    };
    const Case cases[] = {
        {10, 0, 65, true}, {64, 0, 65, true}, {0, 0, 65, true}, {65, 0, 65, false},
        {300, 0, 65, false}, {10, 0, 0, false}, {599, 500, 600, true}, {10, 20, 10, false},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> frame = shown;
        frame[(size_t)c.row * 800 + 7] ^= 1;
        const int repeats = RepeatedFrameCount();
        int top = -1;
        int bottom = -1;
        EXPECT_EQ(PresentFrameRows(frame.data(), 800, 600, c.from, c.to, &top, &bottom), c.presented)
            << "row " << c.row << " of " << c.from << ".." << c.to;
        EXPECT_EQ(RepeatedFrameCount() == repeats, c.presented);
        if (c.presented) {
            EXPECT_EQ(top, c.row);
            EXPECT_EQ(bottom, c.row);
        }
        ASSERT_TRUE(PresentFrame(shown.data(), 800, 600) == c.presented) << "back to the frame shown";
    }

    std::vector<uint32_t> frame = shown;
    frame[800 * 300] ^= 1;
    PostSysMessage(SYS_PAINT, 0, 0);
    int top = -1;
    int bottom = -1;
    EXPECT_TRUE(PresentFrameRows(frame.data(), 800, 600, 0, 0, &top, &bottom)) << "asked to be painted";
    EXPECT_EQ(top, 0);
    EXPECT_EQ(bottom, 599);
    EXPECT_TRUE(PresentFrameRows(shown.data(), 600, 800, 0, 0)) << "another shape";
}

} // namespace
