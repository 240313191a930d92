// Start-up and shutdown, run for real from a copy of the game directory on the headless back end and
// a virtual clock: every step in turn failing, the splash's marks, the shutdown's releases.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "game/main/startup.h"
#include "game/main/winmain.h"
#include "game/model/catalogue.h"
#include "game/model/state.h"
#include "game/model/strings.h"
#include "game/net/link.h"
#include "game/screens/callbacks.h"
#include "game/screens/menu.h"
#include "game/screens/runscreen.h"
#include "game/screens/states.h"
#include "game/screens/summary.h"
#include "game/shell/debuglog.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/gdiobjects.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/shell/music.h"
#include "game/shell/sound.h"
#include "game/shell/shell.h"
#include "game/view/feed.h"
#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/inputscript.h"
#include "platform/window.h"
#include "tempdir.h"

namespace {

const uint32_t clockstart = 5000;

std::vector<std::pair<std::string, std::string>> boxes;

void CaptureBox(const char* caption, const char* text)
{
    boxes.emplace_back(caption, text);
}

class StartupTest : public InTempDir {
protected:
    void SetUp() override
    {
        InTempDir::SetUp();
        // The game directory as built, each entry linked, so this test's own files stay its own.
        for (const auto& entry : std::filesystem::directory_iterator(GORV_DIST_DIR)) {
            const std::string name = entry.path().filename().string();
            if (name != "debug.txt" && name != "gorvanel.ini")
                std::filesystem::create_symlink(entry.path(), dir / name);
        }
        boxes.clear();
        ClearInputScript();
        SetMessageBoxHook(CaptureBox);
        UseVirtualClock(clockstart);
        ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
        ASSERT_FALSE(CreateMainWindow("Gorvanel", GameWndProc));
        gs = GAME_MAINMENU;
        startupdone = 0;
        launchupdate = 0;
    }

    void TearDown() override
    {
        FailStartupStep(0);
        SetMessageBoxHook(nullptr);
        StopPlatform();
        UseRealClock();
        CaptureDebugLog(nullptr);
        startupdone = 0;
        editstring = nullptr;
        InTempDir::TearDown();
    }

    // Nothing any step starts is still up.
    static void ExpectNothingStarted(const std::string& when)
    {
        SCOPED_TRACE(when);
        EXPECT_FALSE(netstarted);
        EXPECT_EQ(scratch, nullptr);
        EXPECT_EQ(dotpen, nullptr);
        EXPECT_TRUE(terrainbrushes.empty());
        EXPECT_EQ(stringmodule, nullptr);
        EXPECT_TRUE(spells.empty());
        EXPECT_TRUE(buyable.empty());
        EXPECT_FALSE(display.ddraw);
        EXPECT_EQ(backbuffer, nullptr);
        for (GdiFont* font : fonts)
            EXPECT_EQ(font, nullptr);
        EXPECT_TRUE(SystemCursorShown());
        EXPECT_EQ(input.initialised, 0);
        EXPECT_FALSE(InputOpen());
        EXPECT_EQ(musicready, 0);
        EXPECT_EQ(songs[SONG_LOAD], nullptr);
        EXPECT_EQ(soundmodule, nullptr);
        EXPECT_EQ(soundready, 0);
        EXPECT_EQ(soundcache, nullptr);
        EXPECT_EQ(imagemodules[IMAGES_VISTORN], nullptr);
        EXPECT_EQ(imagemodules[IMAGES_BRACKWEL], nullptr);
        EXPECT_TRUE(loadedimages.empty());
        EXPECT_FALSE(imglogo.IsCreated());
    }
};

TEST_F(StartupTest, StartsIntoTheIntroThenShutsDownAndDeletesTheLog)
{
    ASSERT_FALSE(StartGame()) << (boxes.empty() ? "" : boxes[0].second);
    EXPECT_TRUE(boxes.empty());
    std::vector<int32_t> all(STARTUPSTEPS);
    for (int32_t n = 1; n <= STARTUPSTEPS; n++)
        all[n - 1] = n;
    EXPECT_EQ(startuptrace, all);
    EXPECT_EQ(gs, GAME_INTRO);
    EXPECT_EQ(startupdone, 1);
    EXPECT_EQ(editmode, EDIT_NONE);
    ASSERT_NE(editstring, nullptr);
    EXPECT_TRUE(editstring->empty());
    EXPECT_EQ(versiontext.rfind("Version ", 0), 0u);
    EXPECT_GT(versiontext.size(), 8u);
    EXPECT_NE(stringmodule, nullptr);
    EXPECT_FALSE(spells.empty());
    EXPECT_FALSE(SystemCursorShown());
    EXPECT_TRUE(std::filesystem::exists("debug.txt"));
    EXPECT_TRUE(std::filesystem::exists("gorvanel.ini"));      // the script made it
    // No key was pressed: the splash waited for its first mark, then paused.
    EXPECT_GE(GetTicks() - clockstart, (uint32_t)SPLASHMARK1 + (uint32_t)SPLASHPAUSE);
    EXPECT_LT(GetTicks() - clockstart, SPLASHMARK2);

    EXPECT_NE(ReadText("debug.txt").find("Total images:41\n"), std::string::npos);
    // The splash: the logo at (200, 100) on black (written for eyes).
    int width = 0;
    int height = 0;
    const uint32_t* const splash = LastPresentedFrame(&width, &height);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash[0], 0u);
    EXPECT_EQ(splash[99 * width + 199], 0u);
    EXPECT_NE(std::count_if(splash + 100 * width, splash + 500 * width, [](uint32_t px) { return px != 0; }), 0);
    SaveLastFramePng((std::filesystem::path(GORV_TEST_DIR) / "splash.png").c_str());

    // The first frame of the screens.
    const int splashframes = PresentedFrameCount();
    EXPECT_GE(splashframes, 1 + LOADSTEPS);
    RunScreen();
    EXPECT_EQ(PresentedFrameCount(), splashframes + 1);

    // A game in progress is emptied by the shutdown.
    p.resize(2);
    p[0].units.resize(3);
    map.assign(30, std::vector<MapSquare>(30));
    mapsize = 30;
    deathlist.resize(1);
    upgradequeue.push_back(7);
    messages.push_back({ "line", 0, 0 });
    daysummary.resize(2);
    std::string log;
    CaptureDebugLog(&log);
    ShutdownGame();
    EXPECT_FALSE(std::filesystem::exists("debug.txt"));
    EXPECT_NE(log.find("Finished the unload process.\n"), std::string::npos);
    EXPECT_EQ(log.find("Launching"), std::string::npos);
    EXPECT_TRUE(p.empty());
    EXPECT_TRUE(map.empty());
    EXPECT_EQ(mapsize, 0);
    EXPECT_TRUE(deathlist.empty());
    EXPECT_TRUE(upgradequeue.empty());
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(daysummary.empty());
    ExpectNothingStarted("after the shutdown");
    // The preferences were saved in their own format.
    EXPECT_EQ(ReadText("gorvanel.ini").rfind("[Gorvanel Preferences]\n\nsound = ", 0), 0u);
}

const char* const steptexts[STARTUPSTEPS] = {
    "Gorvanel was unable to locate all necessary game files.",
    "Gorvanel was unable to read default game preferences.",
    "Gorvanel was unable to initialize the network protocol.",
    "Gorvanel was unable to allocate the necessary memory.",
    "Gorvanel was unable to initialize the music hardware.",
    "Gorvanel was unable to create the button objects.",
    "Gorvanel was unable to create the necessary GDI objects",
    "Gorvanel was unable to initialize the Tessarine engine.",
    "Gorvanel was unable to initialize the Lumeth engine.",
    "Gorvanel was unable to cache spells and abilities.",
    "Gorvanel was unable to intialize the sound hardware.",
    "Gorvanel was unable to initialize the video hardware.",
    "Gorvanel was unable to initialize the input hardware.",
    "Gorvanel was unable to configure the mouse drivers.",
    "Gorvanel was unable to load the proper game fonts.",
    "Gorvanel was unable to load the image files.",
};

class StepFailure : public StartupTest, public testing::WithParamInterface<int32_t> {};

TEST_P(StepFailure, ShowsItsMessageRunsNothingLaterAndUndoesWhatStarted)
{
    const int32_t k = GetParam();
    FailStartupStep(k);
    EXPECT_TRUE(StartGame());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].first, "Gorvanel");
    EXPECT_EQ(boxes[0].second, std::string("Gorvanel encountered an error: ") + steptexts[k - 1]
                                   + "\nIf this problem persists, please reinstall Gorvanel.");
    // Steps 1..k ran, then the undoing, last step first.
    std::vector<int32_t> ran;
    std::vector<int32_t> undone;
    for (const int32_t t : startuptrace)
        (t > 0 ? ran : undone).push_back(t);
    std::vector<int32_t> upto(k);
    for (int32_t n = 1; n <= k; n++)
        upto[n - 1] = n;
    EXPECT_EQ(ran, upto);
    EXPECT_TRUE(std::is_sorted(undone.begin(), undone.end()));
    EXPECT_EQ(std::find(startuptrace.begin(), startuptrace.end(), k) - startuptrace.begin(), k - 1);
    ExpectNothingStarted("after step " + std::to_string(k) + " failed");
    EXPECT_EQ(startupdone, 0);
    EXPECT_EQ(gs, GAME_MAINMENU);
    // The log stays, and says why.
    EXPECT_NE(ReadText("debug.txt").find(std::string("ERROR: Gorvanel encountered an error: ") + steptexts[k - 1]),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(EachStep, StepFailure, testing::Range(1, STARTUPSTEPS + 1));

TEST_F(StartupTest, AnUnexpectedExceptionIsAnUnknownFatalErrorAndIsUndoneToo)
{
    FailStartupStep(13, true);
    EXPECT_TRUE(StartGame());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].second, "An unknown fatal error had occured.  Please rerun Gorvanel.");
    ExpectNothingStarted("after the exception");
    EXPECT_TRUE(std::filesystem::exists("debug.txt"));
}

TEST_F(StartupTest, MissingOrBrokenStartupScriptFailsTheFirstStep)
{
    const std::string message = std::string("Gorvanel encountered an error: ") + steptexts[0]
                                + "\nIf this problem persists, please reinstall Gorvanel.";
    std::filesystem::remove("startup.dat");
    EXPECT_TRUE(StartGame());
    WriteText("startup.dat", "fil Tessarine.dll\nrem no stop here\n");
    EXPECT_TRUE(StartGame());
    WriteText("startup.dat", "fil Tessarine.dll\nfil Missing.dll\nstp\n");
    EXPECT_TRUE(StartGame());
    ASSERT_EQ(boxes.size(), 3u);
    for (const auto& box : boxes)
        EXPECT_EQ(box.second, message);
    EXPECT_EQ(startuptrace, std::vector<int32_t>{ 1 });
    EXPECT_NE(ReadText("debug.txt").find("\"fil Missing.dll\" failed"), std::string::npos);
}

TEST_F(StartupTest, QuitThroughTheUpdateScreenStartsTheUpdaterBeforeTheLogGoes)
{
    // A stand-in updater that leaves a mark, in place of the link to the real one (never written through).
    std::filesystem::remove("update");
    WriteText("update", "#!/bin/sh\necho started > updated.txt\n");
    std::filesystem::permissions("update", std::filesystem::perms::owner_all);
    ASSERT_FALSE(StartGame());
    launchupdate = 1;
    std::string log;
    CaptureDebugLog(&log);
    ShutdownGame();
    EXPECT_NE(log.find("Finished the unload process.\nLaunching update.exe...\nFinished!\n"), std::string::npos) << log;
    EXPECT_FALSE(std::filesystem::exists("debug.txt"));
    // The updater runs on its own; give it a moment of real time.
    UseRealClock();
    for (int i = 0; i < 500 && !std::filesystem::exists(dir / "updated.txt"); i++)
        SleepMs(10);
    EXPECT_TRUE(std::filesystem::exists(dir / "updated.txt"));
}

struct SplashCase {
    uint32_t loading;                   // ms from the splash start to the wait
    uint32_t waitsuntil;                // ms from the splash start when the wait ends
};

TEST_F(StartupTest, SplashWaitsForTheNextMarkNotYetPassed)
{
    const SplashCase cases[] = {
        { 0, SPLASHMARK1 }, { 5000, SPLASHMARK1 }, { 11853, SPLASHMARK1 }, { 11854, SPLASHMARK2 },
        { 15000, SPLASHMARK2 }, { 25000, SPLASHMARK3 }, { 33999, SPLASHMARK3 }, { 34000, 34000 }, { 40000, 40000 },
    };
    for (const SplashCase& c : cases) {
        const uint32_t start = GetTicks();
        AdvanceClock(c.loading);
        SplashWait(start);
        EXPECT_EQ(GetTicks() - start, c.waitsuntil) << c.loading;
    }
    EXPECT_EQ(SplashMark(40000), 0u);
}

// The window closed, or SIGTERM, while the loading bar or the splash logo shows: the program ends through
// its shutdown (preferences saved, log deleted) at once, not at the splash's mark seconds later.
struct CloseCase {
    const char* what;
    void (*ask)();
    bool onsplash;                      // at the splash logo's frame; else at the loading bar's first
};

const CloseCase* closecase = nullptr;
bool asked = false;
std::string startlog;

TEST_F(StartupTest, AClosedWindowOrSigtermWhileLoadingOrOnTheSplashEndsThroughTheShutdownAtOnce)
{
    const CloseCase cases[] = {
        { "closed while loading", InjectCloseRequest, false },
        { "closed on the splash", InjectCloseRequest, true },
        { "SIGTERM while loading", [] { std::raise(SIGTERM); }, false },
        { "SIGTERM on the splash", [] { std::raise(SIGTERM); }, true },
    };
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove("gorvanel.ini");
        closecase = &c;
        asked = false;
        startlog.clear();
        CaptureDebugLog(&startlog);
        // The logo is the first frame after the loading's last line.
        WatchPresentedFrames([](const uint32_t*, int, int) {
            if (!asked && closecase->onsplash == (startlog.find("Total images:") != std::string::npos)) {
                asked = true;
                closecase->ask();
            }
        });
        const uint32_t start = GetTicks();
        EXPECT_EQ(GameMain(BACKEND_HEADLESS), 0);
        WatchPresentedFrames(nullptr);
        CaptureDebugLog(nullptr);
        EXPECT_TRUE(asked);
        EXPECT_LT(GetTicks() - start, (uint32_t)SPLASHPAUSE) << "no pause after the splash either";
        EXPECT_NE(startlog.find("Finished the unload process."), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists("debug.txt"));
        EXPECT_EQ(ReadText("gorvanel.ini").rfind("[Gorvanel Preferences]\n\nsound = ", 0), 0u) << "saved";
        ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
        ASSERT_FALSE(CreateMainWindow("Gorvanel", GameWndProc));
    }
}

TEST_F(StartupTest, AKeyDownWhenTheSplashBeginsEndsItAtOnce)
{
    ScriptKeys({ KEY_SPACE });
    ASSERT_FALSE(StartGame());
    // Nothing but the pause after the splash: the loading itself takes no virtual time.
    EXPECT_EQ(GetTicks() - clockstart, (uint32_t)SPLASHPAUSE);
    ShutdownGame();
}

} // namespace
