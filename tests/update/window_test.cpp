// The updater's window on the headless back end: its commands, a whole update through a click, Play.
#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <functional>

#include <chrono>
#include <thread>

#include "fake_http_server.h"
#include "common/module.h"
#include "platform/dialog.h"
#include "platform/headless.h"
#include "update/resources.h"
#include "update/updater.h"
#include "update/version.h"
#include "tests/readability/smallwindow.h"
#include "update_fixture.h"
#include "winkit/button.h"
#include "winkit/smallwindow.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* base = "/download/files/gorvanel/";

std::vector<RecordedBox> boxes;
BoxAnswer RecordBox(const char* caption, const char* text, BoxIcon icon, BoxButtons)
{
    boxes.push_back({caption, text, icon == BOXICON_ERROR});
    return BOXANSWER_OK;
}

// The game directory as the working directory, where the updater runs; boxes recorded.
class UpdaterStartTest : public GameDirTest {
protected:
    void SetUp() override
    {
        GameDirTest::SetUp();
        olddir = fs::current_path();
        fs::current_path(dir);
        boxes.clear();
        SetAskBoxHook(RecordBox);
    }
    void TearDown() override
    {
        SetAskBoxHook(nullptr);
        fs::current_path(olddir);
        GameDirTest::TearDown();
    }
    fs::path olddir;
};

// The updater's window open on a game at version 1.0.0.0, updating from the fake server.
class UpdaterWindowTest : public UpdaterStartTest {
protected:
    void SetUp() override
    {
        UpdaterStartTest::SetUp();
        Write("Tessarine.dll", VersionModule("1", "0", "0", "0"));
        Write("Gorvanel", "game A", 0755);
        baseurl = server.Url(base);
        ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
        ASSERT_FALSE(ReadCurrentVersion());
        hinstance = OpenModuleFromBytes(UpdaterResources());
        LoadUpdaterBackground();
        ASSERT_FALSE(OpenUpdaterWindow(GORV_DIST_DIR "/Font.ttf"));
        InitUpdaterWindow();
    }
    void TearDown() override
    {
        ShutdownUpdater();
        CloseSmallWindow();
        StopPlatform();
        FreeUpdaterResources();
        statustext.clear();     // a test that set the status line leaves the next one a window without it
        UpdaterStartTest::TearDown();
    }
    // Handles messages until no update runs and nothing is left; true when the loop would end.
    bool Settle()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        int code = 0;
        for (;;) {
            if (PumpSmallWindow(&code))
                return true;
            if (!UpdateRunning() || std::chrono::steady_clock::now() > deadline)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return PumpSmallWindow(&code);
    }
    void OfferVersionB()
    {
        const std::string strings = VersionModule("1", "0", "0", "1");
        server.Serve(std::string(base) + "__download.txt",
                     "GORV_MRV_DATA\nGorvanel\nB\n1\n0\n0\n1\n2\nTessarine.dll\n" + std::to_string(strings.size())
                         + "\nGorvanel\n6\n");
        server.Serve(std::string(base) + "PKG.000", strings);
        server.Serve(std::string(base) + "PKG.001", "game B");
    }
    void CloseDuringAnUpdate(const std::function<void()>& close)
    {
        OfferVersionB();
        server.Route(std::string(base) + "PKG.001", {200, "game B", FAKE_STALL, 3});   // never ends by itself
        const auto before = Listing();
        PostSysMessage(SYS_COMMAND, 138, 0);
        int code = 0;
        ASSERT_FALSE(PumpSmallWindow(&code));
        ASSERT_TRUE(UpdateRunning());
        for (int i = 0; i < 500 && server.Requests().size() < 3; i++)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_EQ(server.Requests().size(), 3u);
        const auto start = std::chrono::steady_clock::now();
        close();
        PostSysMessage(SYS_COMMAND, 138, 0);    // a second update is not started
        EXPECT_TRUE(Settle());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
        EXPECT_FALSE(MainWindowExists());
        EXPECT_TRUE(boxes.empty());
        EXPECT_EQ(server.Requests().size(), 3u);
        EXPECT_EQ(Listing(), before);       // no work file
        EXPECT_EQ(Read("Gorvanel"), "game A");
        EXPECT_NE(Read(UPDATELOG_FILE).find("The update was cancelled"), std::string::npos);
    }
    void ExpectTheThreeButtons()
    {
        EXPECT_EQ(KitButtonCount(), 3);
        const struct {
            int id, top;
        } expected[] = {{138, 150}, {139, 200}, {137, 250}};
        for (const auto& e : expected) {
            const PixelRect r = KitButtonRect(e.id);
            EXPECT_EQ(r.left, 125);
            EXPECT_EQ(r.top, e.top);
            EXPECT_EQ(r.right - r.left, 150);
            EXPECT_EQ(r.bottom - r.top, 35);
        }
    }

    FakeHttpServer server;
};

TEST_F(UpdaterWindowTest, ButtonIds)
{
    EXPECT_EQ(ButtonIndexToId(0), 137);
    EXPECT_EQ(ButtonIndexToId(2), 139);
    EXPECT_EQ(ButtonIdToIndex(138), 1);
    EXPECT_EQ(ButtonIdToIndex(1179), 1042);
}

TEST_F(UpdaterWindowTest, OtherCommandsDoNothing)
{
    for (const int id : {0, 1, 100, 136, 140, 141, 500, 1042, 1178, 1180, 65535}) {
        SCOPED_TRACE(id);
        PostSysMessage(SYS_COMMAND, (uintptr_t)id, 0);
        EXPECT_FALSE(Settle());
        EXPECT_TRUE(MainWindowExists());
        EXPECT_FALSE(UpdateRunning());
        ExpectTheThreeButtons();
    }
}

TEST_F(UpdaterWindowTest, ClickingUpdateBringsTheGameToTheNewVersion)
{
    OfferVersionB();
    EXPECT_EQ(currentversiontext, "Current Version: 1.0.0.0");
    InjectClick(200, 167);
    int code = 0;
    ASSERT_FALSE(PumpSmallWindow(&code));
    EXPECT_TRUE(UpdateRunning());
    EXPECT_EQ(KitButtonCount(), 0);     // no button while the worker runs
    EXPECT_FALSE(Settle());
    ASSERT_FALSE(UpdateRunning());
    ExpectTheThreeButtons();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Gorvanel Update");
    EXPECT_EQ(boxes[0].text, "Update complete!");
    EXPECT_FALSE(boxes[0].error);
    EXPECT_EQ(currentversiontext, "Current Version: 1.0.0.1");
    EXPECT_EQ(currentversion, (1u << 24) + 1);
    EXPECT_EQ(Read("Gorvanel"), "game B");
    EXPECT_EQ(Read("ftplist.txt"), "<missing>");
    EXPECT_TRUE(statustext.empty());
}

TEST_F(UpdaterWindowTest, AFailedUpdateKeepsTheVersionAndGivesTheButtonsBack)
{
    // Nothing served: the manifest is not found.
    PostSysMessage(SYS_COMMAND, 138, 0);
    EXPECT_FALSE(Settle());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, MSG_DOWNLOAD);
    EXPECT_TRUE(boxes[0].error);
    EXPECT_EQ(currentversiontext, "Current Version: 1.0.0.0");
    ExpectTheThreeButtons();
    // And it can be tried again.
    OfferVersionB();
    PostSysMessage(SYS_COMMAND, 138, 0);
    EXPECT_FALSE(Settle());
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Update complete!");
}

// Closing the window, or SIGTERM, during an update stops the transfer, leaves the game as it was with no
// work file, and then closes.
TEST_F(UpdaterWindowTest, ClosingDuringAnUpdateCancelsItCleanly)
{
    CloseDuringAnUpdate([] { InjectCloseRequest(); });
}

TEST_F(UpdaterWindowTest, SigtermDuringAnUpdateCancelsItCleanly)
{
    CloseDuringAnUpdate([] { raise(SIGTERM); });
}

// An unreadable string module does not keep the updater from starting: it reads as 0.0.0.0, says so,
// and an update repairs it.
TEST_F(UpdaterWindowTest, ADamagedStringModuleIsRepaired)
{
    Write("Tessarine.dll", "<html>not a module</html>");
    EXPECT_TRUE(ReadCurrentVersion());
    EXPECT_EQ(currentversion, 0u);
    EXPECT_EQ(currentversiontext, "Current Version: 0.0.0.0");
    boxes.clear();
    OfferVersionB();
    PostSysMessage(SYS_COMMAND, 138, 0);
    EXPECT_FALSE(Settle());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Update complete!");
    EXPECT_EQ(currentversiontext, "Current Version: 1.0.0.1");
    EXPECT_EQ(Read("Gorvanel"), "game B");
}

TEST_F(UpdaterWindowTest, TheWindowHasNoTitleBar)
{
    std::string caption;
    EXPECT_FALSE(HeadlessSmallWindowFramed(&caption));
    EXPECT_EQ(caption, "Gorvanel Update");
}

TEST_F(UpdaterWindowTest, QuitCloses)
{
    PostSysMessage(SYS_COMMAND, 137, 0);
    EXPECT_TRUE(Settle());
    EXPECT_FALSE(MainWindowExists());
}

TEST_F(UpdaterWindowTest, PlayStartsTheGameAndCloses)
{
    Write("Gorvanel", "#!/bin/sh\npwd > played.txt\n", 0755);
    PostSysMessage(SYS_COMMAND, 139, 0);
    EXPECT_TRUE(Settle());
    EXPECT_FALSE(MainWindowExists());
    for (int i = 0; i < 500 && Read("played.txt") == "<missing>"; i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(Read("played.txt"), fs::current_path().string() + "\n");
}

TEST_F(UpdaterWindowTest, PlayClosesEvenWithoutTheGame)
{
    fs::remove(File("Gorvanel"));
    PostSysMessage(SYS_COMMAND, 139, 0);
    EXPECT_TRUE(Settle());
    EXPECT_FALSE(MainWindowExists());
}

TEST_F(UpdaterStartTest, WithoutTheStringModuleItSaysSoAndEnds)
{
    char name[] = "update";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(UpdaterMain(1, argv, BACKEND_HEADLESS), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text,
              "Error: Gorvanel Update could not locate the file tessarine.dll.\n\nGorvanel Update will now close.");
}

TEST_F(UpdaterStartTest, ABrokenStringModuleStillOpensTheWindowToRepairIt)
{
    Write("Tessarine.dll", "not a module");
    char name[] = "update";
    char* argv[] = {name, nullptr};
    static int frames;
    frames = 0;
    // The window shows itself, then the user closes it.
    WatchPresentedFrames([](const uint32_t*, int, int) {
        if (frames++ == 0)
            InjectCloseRequest();
    });
    EXPECT_EQ(UpdaterMain(1, argv, BACKEND_HEADLESS), 0);
    WatchPresentedFrames(nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, MSG_REPAIR);
    EXPECT_GT(frames, 0);       // the window was there, offering Update
}

TEST_F(UpdaterStartTest, RequireFileFindsAnyCase)
{
    Write("Tessarine.dll", "x");
    EXPECT_FALSE(RequireFile("tessarine.dll"));
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(RequireFile("missing.dat"));
    EXPECT_EQ(boxes.size(), 1u);
}

} // namespace

namespace {

// How many pixels of the rectangle of the last frame shown differ from the window's background.
int ChangedPixels(const PixelRect& r)
{
    int w = 0, h = 0;
    const uint32_t* const frame = LastPresentedFrame(&w, &h);
    int count = 0;
    for (int y = r.top; y < r.bottom; y++)
        for (int x = r.left; x < r.right; x++)
            count += (frame[y * w + x] & 0xFFFFFF) != ColourToPixel(ReadDCPixel(backbitmap.GetMemDC(), x, y));
    return count;
}

TEST_F(UpdaterWindowTest, EveryTextReads)
{
    int code = 0;
    PumpSmallWindow(&code);
    const std::vector<int> buttons = {137, 138, 139};
    for (const std::string& faint : FaintSmallWindowTexts(buttons))
        ADD_FAILURE() << "idle: " << faint;
    statustext = "Downloading file 12 of 20 (40% complete)";
    DestroyUpdaterButtons();
    for (const std::string& faint : FaintSmallWindowTexts(buttons))
        ADD_FAILURE() << "updating: " << faint;
}

TEST_F(UpdaterWindowTest, APictureOfTheWindow)
{
    ASSERT_TRUE(backbitmap.IsLoaded());
    EXPECT_EQ(backbitmap.GetWidth(), 400);
    EXPECT_EQ(backbitmap.GetHeight(), 400);
    int code = 0;
    PumpSmallWindow(&code);
    int w = 0, h = 0;
    ASSERT_NE(LastPresentedFrame(&w, &h), nullptr);
    EXPECT_EQ(w, 400);
    EXPECT_EQ(h, 400);
    // The background, the three buttons where they stand, the version line at the bottom left.
    EXPECT_EQ(ChangedPixels({0, 0, 400, 140}), 0);
    for (const int top : {150, 200, 250})
        EXPECT_EQ(ChangedPixels({125, top, 275, top + 35}), 150 * 35) << top;
    EXPECT_EQ(ChangedPixels({0, 185, 124, 235}), 0);
    EXPECT_GT(ChangedPixels({0, 366, 200, 400}), 100);
    EXPECT_EQ(ChangedPixels({200, 366, 400, 400}), 0);
    EXPECT_FALSE(SaveLastFramePng((olddir / "updater_idle.png").c_str()));

    // While updating: no buttons, the status line across the middle.
    statustext = "Downloading file 12 of 20 (40% complete)";
    DestroyUpdaterButtons();
    PumpSmallWindow(&code);
    EXPECT_GT(ChangedPixels({0, 190, 400, 210}), 100);
    EXPECT_EQ(ChangedPixels({0, 140, 400, 185}), 0);
    EXPECT_EQ(ChangedPixels({0, 215, 400, 360}), 0);
    EXPECT_FALSE(SaveLastFramePng((olddir / "updater_busy.png").c_str()));
    statustext.clear();
}

} // namespace
