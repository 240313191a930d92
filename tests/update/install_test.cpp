// Installing downloaded files: all of them, keeping modes, or none at all.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "platform/dirhandle.h"
#include "update_fixture.h"

namespace fs = std::filesystem;

namespace {

class InstallTest : public GameDirTest {
protected:
    void SetUp() override
    {
        GameDirTest::SetUp();
        Write("Gorvanel", "old game", 0755);
        Write("Tessarine.dll", "old strings");
        Write("Music/Lull1.mid", "old song");
        Write("Blocker", "a file where a directory would be needed");
        job = MakeJob("http://unused/");
        job.runtag = "5eed";
    }
    // An update whose file i has the given target, already downloaded by this run as its work file for
    // PKG.i with content "new <target>".
    UpdateInfo Downloaded(const std::vector<std::string>& targets)
    {
        UpdateInfo info;
        info.count = (int32_t)targets.size();
        job.written.clear();
        for (size_t i = 0; i < targets.size(); i++) {
            info.targets.push_back(targets[i]);
            info.sizes.push_back(-1);
            Write(Work((int)i), "new " + targets[i]);
            EXPECT_FALSE(PathFileId(File(Work((int)i)).string(), &job.written[Work((int)i)]));
        }
        return info;
    }
    std::string Work(int i) { return WorkName(job, PackageName(i)); }
    // The game's files and their contents, without the work files.
    std::map<std::string, std::string> Game()
    {
        std::map<std::string, std::string> files;
        for (const std::string& name : Listing())
            if (name.rfind("PKG.", 0) != 0)
                files[name] = name.back() == '/' ? "" : Read(name);
        return files;
    }
    unsigned Mode(const std::string& name) { return (unsigned)fs::status(File(name)).permissions() & 0777; }
    // The message of the failure, or "" on success.
    std::string Install(const UpdateInfo& info)
    {
        try {
            InstallPackages(job, info);
        } catch (const InternetError& e) {
            detail = e.detail;
            return e.message;
        }
        return "";
    }
    std::string detail;
    UpdateJob job;
};

TEST_F(InstallTest, ReplacesKeepingModesAndAddsNewFiles)
{
    const UpdateInfo info = Downloaded({"Gorvanel", "tessarine.dll", "Data/Maps/north.map", "Music\\Lull2.mid"});
    ASSERT_EQ(Install(info), "") << detail;
    const std::map<std::string, std::string> expected = {
        {"Blocker", "a file where a directory would be needed"},
        {"Data/", ""},
        {"Data/Maps/", ""},
        {"Data/Maps/north.map", "new Data/Maps/north.map"},
        {"Gorvanel", "new Gorvanel"},
        {"Music/", ""},
        {"Music/Lull1.mid", "old song"},
        {"Music/Lull2.mid", "new Music\\Lull2.mid"},
        {"Tessarine.dll", "new tessarine.dll"},     // the existing file, found in any case
    };
    EXPECT_EQ(Game(), expected);
    EXPECT_EQ(Mode("Gorvanel"), 0755u);
    EXPECT_EQ(Mode("Tessarine.dll"), 0644u);
    EXPECT_EQ(Mode("Data/Maps/north.map"), 0644u);
    for (const std::string& name : Listing())
        EXPECT_EQ(name.find(".old"), std::string::npos) << name;   // no backups left behind
    EXPECT_EQ(ui.statuses, (std::vector<std::string>{"Installing file 1 of 4...", "Installing file 2 of 4...",
                                                     "Installing file 3 of 4...", "Installing file 4 of 4..."}));
}

TEST_F(InstallTest, AFailurePartWayLeavesTheGameAsItWas)
{
    struct Case {
        const char* name;
        std::vector<std::string> targets;
        int missing = -1;       // a package that never arrived
    } const cases[] = {
        {"a parent that is a file", {"Gorvanel", "New/Deep/a.txt", "Blocker/x.dat", "Music/Lull1.mid"}},
        {"a target that is a directory", {"Tessarine.dll", "Gorvanel", "Music"}},
        {"a package missing", {"Gorvanel", "Extra/b.dat", "Music/Lull1.mid"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::map<std::string, std::string> before = Game();
        const UpdateInfo info = Downloaded(c.targets);
        if (c.missing >= 0)
            fs::remove(File(Work(c.missing)));
        EXPECT_EQ(Install(info), MSG_INSTALL);
        EXPECT_EQ(detail.rfind("Couldn't move PKG.00", 0), 0u) << detail;
        EXPECT_EQ(Game(), before);
        EXPECT_EQ(Mode("Gorvanel"), 0755u);
    }
}

// Looks at the game directory each time a file is about to be installed.
class WatchingUi : public RecordingUi {
public:
    explicit WatchingUi(fs::path d) : dir(std::move(d)) {}
    void ShowStatus(const std::string& text) override
    {
        std::ifstream in(dir / "Tessarine.dll");
        std::string strings;
        std::getline(in, strings);
        seen.push_back(text + " " + strings);
    }
    fs::path dir;
    std::vector<std::string> seen;
};

TEST_F(InstallTest, TheVersionModuleGoesLast)
{
    const UpdateInfo info = Downloaded({"TESSARINE.DLL", "Gorvanel", "Music/Lull1.mid"});
    WatchingUi watcher(dir);
    job.ui = &watcher;
    InstallPackages(job, info);
    EXPECT_EQ(watcher.seen, (std::vector<std::string>{"Installing file 1 of 3... old strings",
                                                      "Installing file 2 of 3... old strings",
                                                      "Installing file 3 of 3... old strings"}));
    EXPECT_EQ(Read("Tessarine.dll"), "new TESSARINE.DLL");
    EXPECT_EQ(Read("Gorvanel"), "new Gorvanel");
}

TEST_F(InstallTest, AFailureAfterTheVersionModuleInTheListStillLeavesItOld)
{
    const UpdateInfo info = Downloaded({"Tessarine.dll", "Gorvanel", "Blocker/x"});
    WatchingUi watcher(dir);
    job.ui = &watcher;
    EXPECT_THROW(InstallPackages(job, info), InternetError);
    EXPECT_EQ(watcher.seen.size(), 2u);     // stopped at the third file before the version module was reached
    EXPECT_EQ(Read("Tessarine.dll"), "old strings");
    EXPECT_EQ(Read("Gorvanel"), "old game");
}

// Only the files this run wrote are installed: one put in a work file's place after the download (by
// another updater, say) or one the run never wrote leaves the game as it was.
TEST_F(InstallTest, OnlyThisRunsOwnWorkFilesGoIn)
{
    const struct {
        const char* name;
        std::function<void()> meddle;
    } cases[] = {
        {"replaced after the download",
         [&] {
             Write("other", "another run's half-written game");
             fs::rename(File("other"), File(Work(1)));
         }},
        {"not written by this run", [&] { job.written.erase(Work(1)); }},
        {"a link in its place",
         [&] {
             fs::remove(File(Work(1)));
             fs::create_symlink(File("Gorvanel"), File(Work(1)));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::map<std::string, std::string> before = Game();
        const UpdateInfo info = Downloaded({"Music/Lull1.mid", "Gorvanel", "Tessarine.dll"});
        c.meddle();
        EXPECT_EQ(Install(info), MSG_INSTALL);
        EXPECT_NE(detail.find("Couldn't move " + Work(1) + " to Gorvanel"), std::string::npos) << detail;
        EXPECT_EQ(Game(), before);
        EXPECT_EQ(Mode("Gorvanel"), 0755u);
    }
}

TEST_F(InstallTest, NeverWritesThroughLinks)
{
    const fs::path outside = dir / ".." / (dir.filename().string() + "_outside");
    fs::create_directories(outside);
    std::ofstream(outside / "precious") << "keep";
    fs::create_directory_symlink(outside, File("Linked"));
    fs::create_symlink(outside / "precious", File("link.dll"));

    // A link as a directory on the way is refused.
    EXPECT_EQ(Install(Downloaded({"Linked/precious"})), MSG_INSTALL);
    // A link as the target is replaced itself; what it pointed at is untouched.
    EXPECT_EQ(Install(Downloaded({"link.dll"})), "") << detail;
    EXPECT_FALSE(fs::is_symlink(File("link.dll")));
    EXPECT_EQ(Read("link.dll"), "new link.dll");
    std::ifstream in(outside / "precious");
    std::string kept;
    in >> kept;
    EXPECT_EQ(kept, "keep");
    EXPECT_EQ(fs::directory_iterator(outside)->path().filename(), "precious");
    fs::remove_all(outside);
}

// A folder of the game swapped for a link to a folder outside, before each step that reaches below it:
// the step fails, every file already replaced is put back where that can be done, and nothing outside
// is touched.
TEST_F(InstallTest, AFolderSwappedForALinkAtEachStep)
{
    static fs::path outside;
    static fs::path music;
    static int countdown;
    outside = dir / ".." / (dir.filename().string() + "_outside");
    music = File("Music");
    for (int step = 0;; step++) {
        SCOPED_TRACE("swapped before step " + std::to_string(step));
        fs::remove_all(outside);
        fs::create_directories(outside);
        std::ofstream(outside / "Lull1.mid") << "someone else's";
        fs::remove_all(music);
        fs::remove_all(File("Music.real"));
        Write("Music/Lull1.mid", "old song");
        const UpdateInfo info = Downloaded({"Gorvanel", "Music/Lull1.mid", "Music/Deep/Lull2.mid", "tessarine.dll"});
        countdown = step;
        beneathhook = [](const char*, const std::string& relative) {
            if ((relative == "Music" || relative.rfind("Music/", 0) == 0) && countdown-- == 0) {
                fs::rename(music, music.string() + ".real");
                fs::create_directory_symlink(outside, music);
            }
        };
        const std::string said = Install(info);
        beneathhook = nullptr;
        std::vector<std::string> there;
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(outside))
            there.push_back(e.path().lexically_relative(outside).string());
        EXPECT_EQ(there, std::vector<std::string>{"Lull1.mid"});
        std::ifstream in(outside / "Lull1.mid");
        std::string kept;
        std::getline(in, kept);
        EXPECT_EQ(kept, "someone else's");
        if (countdown >= 0) {
            EXPECT_EQ(said, "") << detail;   // the swap never came
            break;
        }
        EXPECT_EQ(said, MSG_INSTALL);
        EXPECT_TRUE(detail.find("a folder on the way is a link") != std::string::npos
                    || detail.find("Not a directory") != std::string::npos) << detail;
        EXPECT_EQ(Read("Gorvanel"), "old game");
        EXPECT_EQ(Read("Tessarine.dll"), "old strings");
    }
    fs::remove_all(outside);
}

} // namespace
