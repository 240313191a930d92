// Two programs at once in one install directory, a journal whose run is still at work, and folders
// swapped for links between the steps of an install.
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <functional>

#include "common/gamedir.h"
#include "install_fixture.h"
#include "installer/failure.h"
#include "installer/record.h"
#include "installer/walks.h"
#include "platform/dirhandle.h"

namespace {

const std::string lead = "An error has occurred during the install process.\nPlease reinstall this program.\n\nError: ";

class Racing : public InstallTest {
protected:
    void TearDown() override
    {
        beneathhook = nullptr;
        InstallTest::TearDown();
    }
    // Every file of the standard package in the game directory, byte for byte.
    void ExpectInstalled()
    {
        for (const FixtureFile& file : gamefiles)
            EXPECT_EQ(ReadBytes(GameDir() + file.name), file.bytes) << file.name;
        for (const FixtureFile& file : songs)
            EXPECT_EQ(ReadBytes(GameDir() + "Music/" + file.name), file.bytes) << file.name;
    }
    // Starts an install in a child process and returns once it has placed three of its files; it goes on
    // when Resume is called.
    void StartPausedInstall(const std::string& typed)
    {
        int ready[2];
        int go[2];
        ASSERT_EQ(pipe(ready), 0);
        ASSERT_EQ(pipe(go), 0);
        Module* const package = OpenPackage();
        child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            static int readyfd;
            static int gofd;
            readyfd = ready[1];
            gofd = go[0];
            installstephook = [](const char* step, size_t done) {
                char c = 1;
                if (strcmp(step, "placed") == 0 && done == 3 && write(readyfd, &c, 1) == 1)
                    (void)!read(gofd, &c, 1);
            };
            _exit(RunInstall(package, start.string(), typed, FIXTURE_REGKEY).empty() ? 0 : 1);
        }
        close(ready[1]);
        close(go[0]);
        gopipe = go[1];
        char c;
        ASSERT_EQ(read(ready[0], &c, 1), 1);
        close(ready[0]);
    }
    // Lets the paused install go on and waits for it: true when it succeeded.
    bool Resume()
    {
        const char c = 1;
        EXPECT_EQ(write(gopipe, &c, 1), 1);
        close(gopipe);
        int status = 0;
        EXPECT_EQ(waitpid(child, &status, 0), child);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    // What the updater sees when it starts: the lock's holder's words, or "" when it got the lock.
    std::string StartUpdater()
    {
        ::GameDir update;
        std::string busy;
        HoldGameDir(GameDir(), HOLDER_UPDATE, &update, &busy);
        return busy;
    }

    pid_t child = -1;
    int gopipe = -1;
};

// A second program starts while the first installer places its files: it says the folder is busy and
// touches nothing, and the first install ends whole.
TEST_F(Racing, ASecondProgramWhileAnInstallPlacesFiles)
{
    const struct {
        const char* what;
        bool earlier;                           // an install is there already: the first one repairs it
        std::function<std::string()> second;
        std::string said;
    } cases[] = {
        {"a second install into the same folder", false, [this] { return Install("~/Games/Gorvanel"); },
         BUSY_INSTALLER},
        {"a second repair", true, [this] { return Install("~/Games/Gorvanel/"); }, BUSY_INSTALLER},
        {"an uninstall", true, [this] { return Uninstall(); }, BUSY_INSTALLER},
        {"an install into another folder, whose recovery would undo the first", false,
         [this] { return Install("~/Games/Other"); }, BUSY_INSTALLER},
        {"an updater", true, [this] { return StartUpdater(); }, BUSY_INSTALLER},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(home);
        fs::create_directories(home / ".config");
        PackStandard("1");
        if (c.earlier) {
            ASSERT_EQ(Install("~/Games/Gorvanel"), "");
        }
        PackStandard("2");
        StartPausedInstall("~/Games/Gorvanel");
        const auto during = Snapshot(root);
        EXPECT_EQ(c.second(), c.said);
        EXPECT_EQ(Snapshot(root), during);
        EXPECT_TRUE(Resume());
        ExpectInstalled();
        std::vector<std::string> files;
        ASSERT_FALSE(ReadRecordList(FIXTURE_REGKEY, VALUE_FILES, &files));
        EXPECT_EQ(files.size(), 7u);
        std::string journal;
        EXPECT_TRUE(ReadRecordValue(FIXTURE_REGKEY, VALUE_JOURNAL, &journal));
        EXPECT_FALSE(fs::exists(GameDir() + LOCKFILE_NAME));
        EXPECT_FALSE(fs::exists(home / "Games/Other"));
    }
}

// While an update holds the game directory, an install, a repair, an uninstall and the recovery of a
// killed install all say so and touch nothing; once it is over, they run.
TEST_F(Racing, TheInstallerDuringAnUpdate)
{
    PackStandard("1");
    ASSERT_EQ(Install("~/Games/Gorvanel"), "");
    // An install killed part-way leaves its journal: its run is over, but the update holds the folder.
    PackStandard("2");
    Module* const package = OpenPackage();
    const pid_t killed = fork();
    ASSERT_GE(killed, 0);
    if (killed == 0) {
        installstephook = [](const char* step, size_t done) {
            if (strcmp(step, "placed") == 0 && done == 2)
                _exit(9);
        };
        RunInstall(package, start.string(), "~/Games/Gorvanel", FIXTURE_REGKEY);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(killed, &status, 0), killed);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 9);

    ::GameDir update;
    std::string busy;
    ASSERT_EQ(HoldGameDir(GameDir(), HOLDER_UPDATE, &update, &busy), 0);
    const auto during = Snapshot(root);
    EXPECT_EQ(Install("~/Games/Gorvanel"), BUSY_UPDATE);
    EXPECT_EQ(Snapshot(root), during);
    EXPECT_EQ(Uninstall(), BUSY_UPDATE);
    EXPECT_EQ(Snapshot(root), during);
    // Into another folder: the recovery of the killed install needs the updater's folder.
    EXPECT_EQ(Install("~/Games/Other"), BUSY_UPDATE);
    EXPECT_EQ(Snapshot(root), during);

    ReleaseGameDir(&update);
    EXPECT_EQ(Install("~/Games/Gorvanel"), "");
    ExpectInstalled();
    EXPECT_EQ(Uninstall(), "");
    EXPECT_FALSE(fs::exists(home / "Games"));
}

// A journal whose run is gone is undone even with the same process id on another boot; one whose run
// is alive (this very process) is left alone.
TEST_F(Racing, OnlyAJournalWhoseRunIsOverIsUndone)
{
    EXPECT_TRUE(IsRunAlive(RunIdentity()));
    const std::string self = RunIdentity();
    const std::string otherboot = "00000000-0000-0000-0000-000000000000" + self.substr(self.find(' '));
    EXPECT_FALSE(IsRunAlive(otherboot));
    EXPECT_FALSE(IsRunAlive(self.substr(0, self.rfind(' ')) + " 1"));   // the same process id, another start
    EXPECT_FALSE(IsRunAlive(""));

    PackStandard();
    fs::create_directories(GameDir() + ".gorvanel-install-0123456789abcdef");
    WriteBytes(GameDir() + "Gorvanel", "placed by the run");
    for (const auto& [run, undone] : {std::pair{self, false}, std::pair{otherboot, true}}) {
        SCOPED_TRACE(undone ? "over" : "alive");
        WriteBytes(GameDir() + "Gorvanel", "placed by the run");
        ASSERT_EQ(WriteRecordValue(FIXTURE_REGKEY, VALUE_JOURNAL,
                                   "dir\t" + GameDir() + "\nstaging\t.gorvanel-install-0123456789abcdef\nrun\t" + run
                                       + "\nfresh\t1\nfile\t0\tGorvanel\n"),
                  0);
        const auto before = Snapshot(root);
        ::GameDir held;
        std::string busy;
        ASSERT_EQ(HoldGameDir(GameDir(), HOLDER_INSTALLER, &held, &busy), 0);
        std::vector<std::string> left;
        EXPECT_EQ(RecoverInterruptedInstall(FIXTURE_REGKEY, &held, &left), undone ? "" : BUSY_INSTALLER);
        ReleaseGameDir(&held);
        if (undone) {
            EXPECT_FALSE(fs::exists(GameDir() + "Gorvanel"));
            EXPECT_FALSE(RecordKeyExists(FIXTURE_REGKEY));
        } else {
            EXPECT_EQ(Snapshot(root), before);
        }
    }
}

// A folder of the install swapped for a link to a folder outside, at each step that reaches below it:
// the step fails and says why, the install is undone where it can be, and nothing outside is touched.
TEST_F(Racing, AFolderSwappedForALinkAtEachStep)
{
    static fs::path outside;
    static std::string music;
    static int countdown;
    outside = root / "outside";
    music = GameDir() + "Music";
    // Both versions packed once, put in the start directory as each run needs them.
    for (const char* version : {"1", "2"}) {
        PackStandard(version);
        fs::copy(start, root / (std::string("package") + version));
    }
    const auto put = [this](const char* version) {
        fs::copy(root / (std::string("package") + version), start,
                 fs::copy_options::overwrite_existing | fs::copy_options::recursive);
    };
    for (const bool repair : {false, true}) {
        for (int step = 0;; step++) {
            SCOPED_TRACE(std::string(repair ? "repair" : "fresh") + ", swapped before step " + std::to_string(step));
            fs::remove_all(home);
            fs::create_directories(home / ".config");
            fs::remove_all(outside);
            WriteBytes(outside / "Lull1.mid", "someone else's");
            put("1");
            if (repair) {
                ASSERT_EQ(Install("~/Games/Gorvanel"), "");
            }
            put("2");
            const auto before = Snapshot(outside);
            countdown = step;
            beneathhook = [](const char*, const std::string& relative) {
                if ((relative == "Music" || relative.rfind("Music/", 0) == 0) && countdown-- == 0) {
                    std::error_code ignored;
                    fs::rename(music, music + ".real", ignored);
                    fs::create_directory_symlink(outside, music);
                }
            };
            const std::string said = Install("~/Games/Gorvanel");
            beneathhook = nullptr;
            EXPECT_EQ(Snapshot(outside), before);
            if (countdown >= 0) {
                EXPECT_EQ(said, "");    // every step was taken: the swap never came
                break;
            }
            const bool clear = said.find("(A folder on the way is a link, which is never followed)") != std::string::npos
                               || said.find("(Not a directory)") != std::string::npos;
            EXPECT_TRUE(clear) << said;
            // What lies in the directory itself is as before the install.
            if (repair) {
                EXPECT_EQ(ReadBytes(GameDir() + "Gorvanel"), "#!/bin/sh\necho game 1\n");
                EXPECT_EQ(ReadBytes(GameDir() + "Tessarine.dll"), "strings 1");
            } else {
                EXPECT_FALSE(fs::exists(GameDir() + "Gorvanel"));
                EXPECT_FALSE(fs::exists(GameDir() + "Tessarine.dll"));
            }
            EXPECT_FALSE(fs::exists(GameDir() + LOCKFILE_NAME));
        }
    }
}

} // namespace
