// The installer's window on the headless back end, with boxes answered by script: the screens and
// what moves between them, typing the directory, Play, and the start without a usable package.
#include <unistd.h>

#include <chrono>
#include <deque>
#include <thread>

#include "tests/readability/smallwindow.h"
#include "install_fixture.h"
#include "installer/failure.h"
#include "installer/installer.h"
#include "installer/record.h"
#include "installer/walks.h"
#include "platform/dialog.h"
#include "platform/font.h"
#include "platform/headless.h"
#include "winkit/button.h"
#include "winkit/editbox.h"
#include "winkit/smallwindow.h"

namespace {

struct Box {
    std::string caption;
    std::string text;
    BoxIcon icon;
};

std::vector<Box> boxes;
std::deque<BoxAnswer> answers;      // the next questions' answers; No when none is left

BoxAnswer AnswerBox(const char* caption, const char* text, BoxIcon icon, BoxButtons buttons)
{
    boxes.push_back({caption, text, icon});
    if (buttons != BOXBUTTONS_YESNO)
        return BOXANSWER_OK;
    if (answers.empty())
        return BOXANSWER_NO;
    const BoxAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

// The installer as it stands in its folder, the working directory.
class InstallerProgramTest : public InstallTest {
protected:
    void SetUp() override
    {
        InstallTest::SetUp();
        olddir = fs::current_path();
        fs::current_path(start);
        boxes.clear();
        answers.clear();
        SetAskBoxHook(AnswerBox);
    }
    void TearDown() override
    {
        SetAskBoxHook(nullptr);
        fs::current_path(olddir);
        InstallTest::TearDown();
    }
    fs::path olddir;
};

// The installer's window open, as InstallerMain opens it.
class InstallerWindowTest : public InstallerProgramTest {
protected:
    void SetUp() override
    {
        // fontconfig reads its configuration once a process, from the home it finds: the real one,
        // before the test's own HOME takes its place.
        FreeFont(MakeFont(-13, "DejaVu Sans"));
        InstallerProgramTest::SetUp();
        PackStandard();
    }
    void Open()
    {
        ASSERT_FALSE(StartPlatform(BACKEND_HEADLESS));
        ASSERT_FALSE(LoadInstallPackage());
        installed = IsInstalled();
        screen = installed ? SCREEN_INSTALLED : SCREEN_NOTINSTALLED;
        ASSERT_FALSE(OpenInstallerWindow(GORV_DIST "/Font.ttf"));
        StartInstaller();
        open = true;
        Pump();
    }
    void TearDown() override
    {
        if (open) {
            CloseSmallWindow();
            FreeInstallPackage();
            StopPlatform();
        }
        InstallerProgramTest::TearDown();
    }
    // Handles what is queued; true when the loop would end.
    bool Pump()
    {
        int code = 0;
        return PumpSmallWindow(&code);
    }
    // A real click in the middle of a button; true when the loop would end.
    bool Click(int id)
    {
        EXPECT_TRUE(KitButtonExists(id)) << id;
        const PixelRect r = KitButtonRect(id);
        InjectClick((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return Pump();
    }
    // The screen and its controls: "1: 200 400 300" (the edit box as "edit").
    std::string Shown()
    {
        std::string s = std::to_string(screen) + ":";
        for (const int id : {ID_INSTALL, ID_PLAY, ID_UNINSTALL, ID_QUIT, ID_INSTALLHERE, ID_CANCEL})
            if (KitButtonExists(id))
                s += " " + std::to_string(id);
        if (KitEditExists(ID_DIREDIT))
            s += " edit";
        return s;
    }
    std::string Captions()
    {
        std::string s;
        for (const Box& b : boxes)
            s += (s.empty() ? "" : ", ") + b.caption;
        return s;
    }
    void Picture(const char* name)
    {
        PaintSmallWindow();
        EXPECT_FALSE(SaveLastFramePng((olddir / name).c_str()));
    }
    // How many pixels of the rectangle of the last frame shown differ from the window's background.
    int ChangedPixels(const PixelRect& r)
    {
        int w = 0, h = 0;
        const uint32_t* const frame = LastPresentedFrame(&w, &h);
        int count = 0;
        for (int y = r.top; y < r.bottom; y++)
            for (int x = r.left; x < r.right; x++)
                count += (frame[y * w + x] & 0xFFFFFF) != ColourToPixel(ReadDCPixel(background.GetMemDC(), x, y));
        return count;
    }
    bool open = false;
};

const std::string installlead =
    "An error has occurred during the install process.\nPlease reinstall this program.\n\nError: ";

TEST_F(InstallerWindowTest, TheScreensAndTheirControls)
{
    Open();
    EXPECT_EQ(programname, "Gorvanel");
    EXPECT_EQ(Shown(), "0: 100 300");
    const struct {
        int id, x, y, w, h;
    } zero[] = {{ID_INSTALL, 125, 200, 150, 40}, {ID_QUIT, 125, 300, 150, 40}};
    for (const auto& b : zero) {
        const PixelRect r = KitButtonRect(b.id);
        EXPECT_EQ(r.left, b.x);
        EXPECT_EQ(r.top, b.y);
        EXPECT_EQ(r.right - r.left, b.w);
        EXPECT_EQ(r.bottom - r.top, b.h);
    }
    Click(ID_INSTALL);
    EXPECT_EQ(Shown(), "2: 500 600 edit");
    EXPECT_EQ(KitEditText(ID_DIREDIT), "~/Games/Gorvanel/");
    EXPECT_EQ(KitButtonRect(ID_INSTALLHERE).left, 250);
    EXPECT_EQ(KitButtonRect(ID_CANCEL).top, 325);
    SetInstallerScreen(SCREEN_INSTALLING);
    EXPECT_EQ(Shown(), "3:");
    SetInstallerScreen(4);
    EXPECT_EQ(Shown(), "4:");
    SetInstallerScreen(SCREEN_INSTALLED);
    EXPECT_EQ(Shown(), "1: 200 400 300");
    EXPECT_EQ(KitButtonRect(ID_UNINSTALL).top, 250);
}

// Each row: where it starts, what is done, the boxes' answers; the screen after, the boxes shown.
TEST_F(InstallerWindowTest, Transitions)
{
    enum Step { INSTALL, INSTALLHERE, CANCEL, UNINSTALL, TYPE_RELATIVE, TYPE_SYSTEM, TYPE_READONLY, SET_INSTALLED, LOSE_RECORD };
    const struct {
        const char* what;
        bool recorded;                      // an install is recorded at start
        std::vector<Step> steps;
        std::vector<BoxAnswer> answers;
        const char* shown;
        const char* captions;
    } cases[] = {
        {"start, not installed", false, {}, {}, "0: 100 300", ""},
        {"start, installed", true, {}, {}, "1: 200 400 300", ""},
        {"Install", false, {INSTALL}, {}, "2: 500 600 edit", ""},
        {"Cancel, not installed", false, {INSTALL, CANCEL}, {}, "0: 100 300", ""},
        {"Cancel, installed", true, {SET_INSTALLED, CANCEL}, {}, "1: 200 400 300", ""},
        {"No to the licence", false, {INSTALL, INSTALLHERE}, {BOXANSWER_NO}, "2: 500 600 edit", "License Agreement"},
        {"Yes to the licence", false, {INSTALL, INSTALLHERE}, {BOXANSWER_YES}, "1: 200 400 300",
         "License Agreement, Success!"},
        {"a relative directory, refused before the licence", false, {INSTALL, TYPE_RELATIVE, INSTALLHERE}, {},
         "2: 500 600 edit", "Error"},
        {"a system folder, refused before the licence", false, {INSTALL, TYPE_SYSTEM, INSTALLHERE}, {},
         "2: 500 600 edit", "Error"},
        {"a failed install", false, {INSTALL, TYPE_READONLY, INSTALLHERE}, {BOXANSWER_YES}, "0: 100 300",
         "License Agreement, Error"},
        {"No to uninstalling", true, {UNINSTALL}, {BOXANSWER_NO}, "1: 200 400 300", "Confirm uninstall"},
        {"Yes to uninstalling", true, {UNINSTALL}, {BOXANSWER_YES}, "0: 100 300", "Confirm uninstall, Success"},
        {"uninstalling without the record", true, {LOSE_RECORD, UNINSTALL}, {BOXANSWER_YES}, "1: 200 400 300",
         "Confirm uninstall, Error"},
        {"install, then uninstall", false, {INSTALL, INSTALLHERE, UNINSTALL}, {BOXANSWER_YES, BOXANSWER_YES},
         "0: 100 300", "License Agreement, Success!, Confirm uninstall, Success"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(home);
        fs::create_directories(home / ".config");
        if (c.recorded) {
            ASSERT_EQ(RunInstall(OpenPackage(), start.string(), "~/Games/Gorvanel", FIXTURE_REGKEY), "");
        }
        const auto before = Snapshot(home);
        boxes.clear();
        answers.assign(c.answers.begin(), c.answers.end());
        Open();
        for (const Step step : c.steps) {
            switch (step) {
            case INSTALL: Click(ID_INSTALL); break;
            case INSTALLHERE: Click(ID_INSTALLHERE); break;
            case CANCEL: Click(ID_CANCEL); break;
            case UNINSTALL: Click(ID_UNINSTALL); break;
            case TYPE_RELATIVE: SetKitEditText(ID_DIREDIT, "Games/Gorvanel"); break;
            case TYPE_SYSTEM: SetKitEditText(ID_DIREDIT, "/tmp/../"); break;
            case TYPE_READONLY:
                WriteBytes(home / "Games", "a file where a folder goes");
                SetKitEditText(ID_DIREDIT, (home / "Games/Gorvanel").string());
                break;
            case SET_INSTALLED: SetInstallerScreen(SCREEN_CHOOSEDIR); break;
            case LOSE_RECORD: DeleteRecordKey(FIXTURE_REGKEY); break;
            }
        }
        EXPECT_EQ(Shown(), c.shown);
        EXPECT_EQ(Captions(), c.captions);
        if (std::string(c.what).rfind("a relative directory", 0) == 0) {
            EXPECT_EQ(KitEditText(ID_DIREDIT), "Games/Gorvanel");     // what was typed stays to correct
            EXPECT_EQ(boxes[0].text, INSTALLDIR_INVALID);
        }
        if (std::string(c.what).rfind("a system folder", 0) == 0) {
            EXPECT_EQ(KitEditText(ID_DIREDIT), "/tmp/../");
            EXPECT_EQ(boxes[0].text, "/ is a folder of the system: the game's files would lie among the system's own, where "
                                     "removing them again could harm it.\nPlease choose a folder of your own, such as "
                                     + home.string() + "/Games/Gorvanel/");
        }
        EXPECT_TRUE(MainWindowExists());
        if (std::string(c.what) == "No to the licence" || std::string(c.what) == "No to uninstalling") {
            EXPECT_EQ(Snapshot(home), before);
        }
        CloseSmallWindow();
        FreeInstallPackage();
        StopPlatform();
        open = false;
    }
}

TEST_F(InstallerWindowTest, TheBoxesSayWhatHappened)
{
    answers = {BOXANSWER_YES, BOXANSWER_YES, BOXANSWER_YES};
    Open();
    Click(ID_INSTALL);
    WriteBytes(home / "Games", "a file where a folder goes");
    SetKitEditText(ID_DIREDIT, (home / "Games/Gorvanel").string());     // no directory can be made there
    Click(ID_INSTALLHERE);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Play fair.");
    EXPECT_EQ(boxes[0].icon, BOXICON_QUESTION);
    EXPECT_EQ(boxes[1].caption, "Error");
    // The operation and its number, and the system's own words for it.
    EXPECT_EQ(boxes[1].text, installlead + "SetCurrentDirectory(installdirectory)\nError Code: 20 (Not a directory)");
    EXPECT_EQ(boxes[1].icon, BOXICON_ERROR);

    fs::remove(home / "Games");
    Click(ID_INSTALL);
    Click(ID_INSTALLHERE);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[3].caption, "Success!");
    EXPECT_EQ(boxes[3].text, "\n              Installation complete!              \n");

    Click(ID_UNINSTALL);
    ASSERT_EQ(boxes.size(), 6u);
    EXPECT_EQ(boxes[4].text, "Do you really want to uninstall this program?");
    EXPECT_EQ(boxes[5].text, "Uninstall successful.");
    EXPECT_EQ(boxes[5].icon, BOXICON_INFORMATION);
}

// Typing in the edit box: the caret, the editing keys, the text that reaches the install.
TEST_F(InstallerWindowTest, TypingTheDirectory)
{
    answers = {BOXANSWER_NO, BOXANSWER_YES};
    Open();
    Click(ID_INSTALL);
    for (int i = 0; i < 9; i++)
        InjectKeyDown(SYSKEY_BACK);         // "~/Games/Gorvanel/" less "Gorvanel/"
    InjectText("Elsewhere");
    InjectKeyDown(SYSKEY_HOME);
    InjectKeyDown(SYSKEY_DELETE);           // the "~"
    InjectText("$HOME");
    InjectKeyDown(SYSKEY_END);
    InjectText("/Deep/Down/And/Far/Away/Past/The/Edge/Of/The/Box");
    Pump();
    const std::string typed = "$HOME/Games/Elsewhere/Deep/Down/And/Far/Away/Past/The/Edge/Of/The/Box";
    EXPECT_EQ(KitEditText(ID_DIREDIT), typed);
    EXPECT_EQ(KitEditCaret(ID_DIREDIT), typed.size());
    EXPECT_GT(KitEditFirstShown(ID_DIREDIT), 0u);       // scrolled to keep the caret in view
    Picture("installer_typing.png");

    Click(ID_INSTALLHERE);                  // No: the text stays
    EXPECT_EQ(Shown(), "2: 500 600 edit");
    EXPECT_EQ(KitEditText(ID_DIREDIT), typed);
    Click(ID_INSTALLHERE);                  // Yes
    EXPECT_EQ(installdir, typed);
    EXPECT_EQ(Shown(), "1: 200 400 300");
    const fs::path into = home / "Games/Elsewhere/Deep/Down/And/Far/Away/Past/The/Edge/Of/The/Box";
    EXPECT_EQ(ReadBytes(into / "Gorvanel"), gamefiles[0].bytes);
    std::string recorded;
    ASSERT_FALSE(ReadRecordValue(FIXTURE_REGKEY, VALUE_INSTALLED, &recorded));
    EXPECT_EQ(recorded, into.string() + "/");
}

TEST_F(InstallerWindowTest, PlayStartsTheInstalledGameFromItsDirectoryAndCloses)
{
    gamefiles[0] = {"Gorvanel", "#!/bin/sh\npwd > played.txt\necho \"$0\" >> played.txt\n", 0755};
    Pack("GAME.DLL", ComponentManifest("#", gamefiles));
    ASSERT_EQ(RunInstall(OpenPackage(), start.string(), "~/Games/Gorvanel", FIXTURE_REGKEY), "");
    Open();
    EXPECT_EQ(Shown(), "1: 200 400 300");
    EXPECT_TRUE(Click(ID_PLAY));
    EXPECT_FALSE(MainWindowExists());
    const fs::path marker = GameDir() + "played.txt";
    for (int i = 0; i < 500 && ReadBytes(marker).find('\n', 0) == ReadBytes(marker).rfind('\n'); i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ReadBytes(marker), home.string() + "/Games/Gorvanel\n" + GameDir() + "Gorvanel\n");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(InstallerWindowTest, PlayWithoutTheRecordSaysSoAndCloses)
{
    ASSERT_EQ(RunInstall(OpenPackage(), start.string(), "~/Games/Gorvanel", FIXTURE_REGKEY), "");
    Open();
    fs::remove(home / ".config/gorvanel/Thornquill/Gorvanel/installed");
    EXPECT_TRUE(Click(ID_PLAY));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Unable to locate installed program files.");
    EXPECT_EQ(fs::current_path(), start);
}

// EXECUTE is started only when it lies inside the install directory.
TEST_F(InstallerWindowTest, PlayRefusesAProgramOutsideTheInstall)
{
    for (const char* execute : {"../../outside.sh", "/bin/true", "Music/../../outside.sh", "link.sh"}) {
        SCOPED_TRACE(execute);
        fs::remove_all(home);
        fs::create_directories(home / ".config");
        boxes.clear();
        WriteBytes(home / "Games/outside.sh", "#!/bin/sh\ntouch started\n");
        fs::permissions(home / "Games/outside.sh", fs::perms(0755));
        Pack("INSTALL.DLL", [&] {
            std::string m = PackageManifest({"GAME.DLL", "MUSIC.DLL"});
            m.replace(m.find("EXECUTE Gorvanel"), 16, std::string("EXECUTE ") + execute);
            return m;
        }());
        ASSERT_EQ(RunInstall(OpenPackage(), start.string(), "~/Games/Gorvanel", FIXTURE_REGKEY), "");
        fs::create_symlink(home / "Games/outside.sh", GameDir() + "link.sh");
        Open();
        EXPECT_TRUE(Click(ID_PLAY));
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Unable to start " + GameDir() + execute + ": it is not inside the install directory.");
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_FALSE(fs::exists(start / "started"));
        EXPECT_FALSE(fs::exists(GameDir() + "started"));
        CloseSmallWindow();
        FreeInstallPackage();
        StopPlatform();
        open = false;
    }
}

// The installer's window stands on the desktop with a title bar, its caption and a close box, which
// closes it.
TEST_F(InstallerWindowTest, ABorderedWindowWithItsCaption)
{
    Open();
    std::string caption;
    EXPECT_TRUE(HeadlessSmallWindowFramed(&caption));
    EXPECT_EQ(caption, "Gorvanel");
    InjectCloseRequest();
    EXPECT_TRUE(Pump());
    EXPECT_FALSE(MainWindowExists());
}

TEST_F(InstallerWindowTest, EveryTextReads)
{
    Pack("INSTALL.DLL", PackageManifest({"GAME.DLL", "MUSIC.DLL"},
                                        "resource BITMAP BACKGROUND " GORV_INSTALL_BACKGROUND "\n"));
    Open();
    const std::vector<int> buttons = {ID_INSTALL, ID_PLAY, ID_UNINSTALL, ID_QUIT, ID_INSTALLHERE, ID_CANCEL};
    for (const int shown : {SCREEN_NOTINSTALLED, SCREEN_INSTALLED, SCREEN_INSTALLING}) {
        SetInstallerScreen(shown);
        for (const std::string& faint : FaintSmallWindowTexts(buttons))
            ADD_FAILURE() << "screen " << shown << ": " << faint;
    }
    SetInstallerScreen(SCREEN_NOTINSTALLED);
    Click(ID_INSTALL);
    for (const std::string& faint : FaintSmallWindowTexts(buttons))
        ADD_FAILURE() << "directory screen: " << faint;
}

TEST_F(InstallerWindowTest, QuitCloses)
{
    Open();
    EXPECT_TRUE(Click(ID_QUIT));
    EXPECT_FALSE(MainWindowExists());
}

TEST_F(InstallerWindowTest, Pictures)
{
    Pack("INSTALL.DLL", PackageManifest({"GAME.DLL", "MUSIC.DLL"},
                                        "resource BITMAP BACKGROUND " GORV_INSTALL_BACKGROUND "\n"));
    Open();
    ASSERT_TRUE(background.IsLoaded());
    EXPECT_EQ(background.GetWidth(), INSTALLERWIDTH);
    EXPECT_EQ(background.GetHeight(), INSTALLERHEIGHT);
    // The background, the two buttons where they stand, nothing between them.
    Picture("installer_screen0.png");
    EXPECT_EQ(ChangedPixels({0, 0, 400, 200}), 0);
    EXPECT_EQ(ChangedPixels({125, 200, 275, 240}), 150 * 40);
    EXPECT_EQ(ChangedPixels({125, 240, 275, 300}), 0);
    EXPECT_EQ(ChangedPixels({125, 300, 275, 340}), 150 * 40);
    EXPECT_EQ(ChangedPixels({0, 340, 400, 400}), 0);
    Click(ID_INSTALL);
    Picture("installer_screen2.png");
    EXPECT_EQ(ChangedPixels({25, 210, 375, 245}), 350 * 35);
    EXPECT_EQ(ChangedPixels({0, 246, 250, 400}), 0);     // below the focus ring
    SetInstallerScreen(SCREEN_INSTALLING);
    // Only the line across the middle.
    Picture("installer_screen3.png");
    EXPECT_GT(ChangedPixels({0, 190, 400, 210}), 200);
    EXPECT_EQ(ChangedPixels({0, 0, 400, 188}), 0);
    EXPECT_EQ(ChangedPixels({0, 212, 400, 400}), 0);
    SetInstallerScreen(SCREEN_INSTALLED);
    Picture("installer_screen1.png");
    EXPECT_EQ(ChangedPixels({125, 250, 275, 290}), 150 * 40);
}

// Started without a usable package, it says so and ends with 0, having written nothing.
TEST_F(InstallerProgramTest, AStartWithoutAUsablePackage)
{
    const std::string missing = "The installation program could not locate the install package.\nIf you downloaded "
                                "a compressed version of this program, please extract it before running.";
    const struct {
        const char* what;
        std::function<void()> prepare;
        std::string text;
    } cases[] = {
        {"no package", [] {}, missing},
        {"a package cut short",
         [this] {
             PackStandard();
             std::string bytes = ReadBytes(start / "INSTALL.DLL");
             WriteBytes(start / "INSTALL.DLL", bytes.substr(0, bytes.size() - 10));
         },
         missing},
        {"a package without its licence",
         [this] { Pack("INSTALL.DLL", PackageManifest({}).substr(0, PackageManifest({}).find("text RCDATA LICENSE"))); },
         "INSTALL.DLL is loaded, but not a valid install package.\n\nError: LICENSE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const fs::directory_entry& e : fs::directory_iterator(start))
            fs::remove_all(e.path());
        c.prepare();
        boxes.clear();
        const auto before = Snapshot(root);
        EXPECT_EQ(InstallerMain(BACKEND_HEADLESS), 0);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "Install Error");
        EXPECT_EQ(boxes[0].text, c.text);
        EXPECT_EQ(Snapshot(root), before);
    }
}

} // namespace
