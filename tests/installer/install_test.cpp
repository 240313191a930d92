// Installing into a temporary HOME: fresh, over an earlier install, into a directory holding other
// files, and failing part-way, which must leave everything as it was.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "install_fixture.h"
#include "installer/failure.h"
#include "installer/record.h"
#include "platform/files.h"
#include "installer/walks.h"

namespace {

const std::string lead = "An error has occurred during the install process.\nPlease reinstall this program.\n\nError: ";

std::string Operation(const char* operation, int code)
{
    return lead + operation + "\nError Code: " + std::to_string(code) + " (" + SystemErrorText(code) + ")";
}

std::vector<std::string> List(const char* name)
{
    std::vector<std::string> lines;
    ReadRecordList(FIXTURE_REGKEY, name, &lines);
    return lines;
}

class Installing : public InstallTest {
protected:
    // Every file of the standard package in the game directory, byte for byte, with its run bit.
    void ExpectInstalled()
    {
        const auto expect = [](const fs::path& path, const FixtureFile& file) {
            ASSERT_TRUE(fs::is_regular_file(path)) << path;
            EXPECT_EQ(ReadBytes(path), file.bytes) << path;
            const bool runnable = (fs::status(path).permissions() & fs::perms::owner_exec) != fs::perms::none;
            EXPECT_EQ(runnable, (file.mode & 0111) != 0) << path;
        };
        for (const FixtureFile& file : gamefiles)
            expect(GameDir() + file.name, file);
        for (const FixtureFile& file : songs)
            expect(GameDir() + "Music/" + file.name, file);
    }
    // No staging folder of the install is left in the game directory.
    void ExpectNoStaging()
    {
        for (const auto& [path, what] : Snapshot(home))
            EXPECT_EQ(path.find(STAGING_PREFIX), std::string::npos) << path;
    }
    // No work file of the install is left anywhere under HOME.
    void ExpectNoWorkFiles()
    {
        for (const auto& [path, what] : Snapshot(home))
            EXPECT_TRUE(path.find(".part") == std::string::npos && path.find(".previous") == std::string::npos)
                << path;
    }
};

TEST_F(Installing, Fresh)
{
    PackStandard();
    EXPECT_EQ(Install("~/Games/Gorvanel"), "");
    ExpectInstalled();
    ExpectNoWorkFiles();

    // The record, under the configuration directory.
    const fs::path key = home / ".config/gorvanel/Thornquill/Gorvanel";
    EXPECT_EQ(ReadBytes(key / "installed"), GameDir());
    EXPECT_EQ(List(VALUE_FILES), (std::vector<std::string>{"Gorvanel", "update", "Tessarine.dll", "Font.ttf",
                                                            "startup.dat", "Music/Lull1.mid", "Music/Menu.mid"}));
    EXPECT_EQ(List(VALUE_DIRECTORIES), (std::vector<std::string>{home.string() + "/Games", home.string() + "/Games/Gorvanel",
                                                                  home.string() + "/Games/Gorvanel/Music"}));
    EXPECT_EQ(ReadBytes(key / "resolved"), GameDir());     // where it led, no link on the way
    EXPECT_EQ(Snapshot(key).size(), 4u);
}

TEST_F(Installing, RecordUnderXdgConfigHome)
{
    setenv("XDG_CONFIG_HOME", (root / "xdg").c_str(), 1);
    PackStandard();
    EXPECT_EQ(Install("$HOME/Games/Gorvanel/"), "");
    EXPECT_EQ(ReadBytes(root / "xdg/gorvanel/Thornquill/Gorvanel/installed"), GameDir());
    EXPECT_FALSE(fs::exists(home / ".config/gorvanel"));
    unsetenv("XDG_CONFIG_HOME");
}

TEST_F(Installing, OverAnEarlierInstall)
{
    const auto before = Snapshot(home);
    PackStandard("1");
    ASSERT_EQ(Install("~/Games/Gorvanel"), "");
    // The next version drops a song and brings a new module.
    gamefiles = {{"Gorvanel", "#!/bin/sh\necho game 2\n", 0755}, {"Lumeth.dll", "help"}};
    songs = {{"Lull1.mid", "MThd lull 2"}};
    Pack("GAME.DLL", ComponentManifest("#", gamefiles));
    Pack("MUSIC.DLL", ComponentManifest("Music", songs));
    EXPECT_EQ(Install("~/Games/Gorvanel/"), "");
    ExpectInstalled();
    ExpectNoWorkFiles();
    EXPECT_EQ(ReadBytes(GameDir() + "Music/Menu.mid"), "MThd menu 1");     // left as it was, still listed
    EXPECT_EQ(List(VALUE_FILES).size(), 8u);

    EXPECT_EQ(Uninstall(), "");
    EXPECT_EQ(Snapshot(home), before);
}

TEST_F(Installing, BesideOtherFiles)
{
    WriteBytes(GameDir() + "notes.txt", "mine");
    WriteBytes(GameDir() + "Music/Mine.mid", "my song");
    const auto before = Snapshot(home);
    PackStandard();
    EXPECT_EQ(Install("~/Games/Gorvanel"), "");
    ExpectInstalled();
    EXPECT_EQ(List(VALUE_DIRECTORIES), std::vector<std::string>());   // it made none
    EXPECT_EQ(Uninstall(), "");
    EXPECT_EQ(Snapshot(home), before);
}

// A failure part-way: what the install wrote goes, what was there stays as it was.
TEST_F(Installing, FailingPartWayLeavesEverythingAsItWas)
{
    const struct {
        const char* what;
        std::function<void(const fs::path& dir)> prepare;
        std::string message;
    } cases[] = {
        {"a directory where the last song goes",
         [](const fs::path& dir) {
             WriteBytes(dir / "Tessarine.dll", "the old strings");
             WriteBytes(dir / "Gorvanel", "the old game");
             fs::permissions(dir / "Gorvanel", fs::perms(0700));
             fs::create_directories(dir / "Music/Menu.mid");
         },
         Operation(OP_PLACEFILE, EISDIR)},
        {"a file where the music directory goes",
         [](const fs::path& dir) { WriteBytes(dir / "Music", "not a directory"); },
         Operation(OP_SUBDIR, ENOTDIR)},
        {"a link where the music directory goes",
         [this](const fs::path& dir) {
             fs::create_directories(root / "elsewhere");
             fs::create_directories(dir);
             fs::create_directory_symlink(root / "elsewhere", dir / "Music");
         },
         Operation(OP_SUBDIR, ENOTDIR)},
        {"a file on the way to the directory",
         [](const fs::path& dir) { WriteBytes(dir.parent_path(), "a file called Games"); },
         Operation(OP_INSTALLDIR, ENOTDIR)},
        {"the record cannot be written",
         [this](const fs::path& dir) {
             WriteBytes(dir / "Font.ttf", "the old font");
             WriteBytes(home / ".config/gorvanel/Thornquill", "a file where the key's folder goes");
         },
         Operation(OP_WRITERECORD, ENOTDIR)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(home);
        fs::create_directories(home / ".config");
        c.prepare(home / "Games/Gorvanel");
        PackStandard();
        const auto before = Snapshot(root);
        EXPECT_EQ(Install("~/Games/Gorvanel"), c.message);
        EXPECT_EQ(Snapshot(root), before);
    }
}

// A second install that fails keeps the first one whole, with its record.
TEST_F(Installing, FailingOverAnEarlierInstallKeepsIt)
{
    PackStandard("1");
    ASSERT_EQ(Install("~/Games/Gorvanel"), "");
    fs::remove(GameDir() + "Music/Menu.mid");
    fs::create_directories(GameDir() + "Music/Menu.mid");
    const auto before = Snapshot(home);
    PackStandard("2");
    EXPECT_EQ(Install("~/Games/Gorvanel"), Operation(OP_PLACEFILE, EISDIR));
    EXPECT_EQ(Snapshot(home), before);
}

// A package file named as the install's own work files once were keeps its own bytes, and so does the
// file it was named after: the work files live in the install's private staging folder.
TEST_F(Installing, NamesLikeWorkFilesAreJustNames)
{
    PackStandard();
    // Listed first, so that they would be put in place before the files they are named after.
    gamefiles.insert(gamefiles.begin(), {{".Gorvanel.part0", "not the game", 0644}, {".update.part0", "not the updater", 0644}});
    Pack("GAME.DLL", ComponentManifest("#", gamefiles));
    EXPECT_EQ(Install("~/Games/Gorvanel"), "");
    ExpectInstalled();
    ExpectNoStaging();
}

// A record that cannot be written leaves no empty record folders, and no files.
TEST_F(Installing, ARecordThatCannotBeWrittenLeavesNothing)
{
    PackStandard();
    const auto before = Snapshot(root);
    const std::string key = "Software\\Thornquill\\" + std::string(300, 'k');
    EXPECT_EQ(RunInstall(OpenPackage(), start.string(), "~/Games/Gorvanel", key),
              Operation(OP_WRITERECORD, ENAMETOOLONG));
    EXPECT_EQ(Snapshot(root), before);
}

// An install killed part-way (the process gone at once, as by SIGKILL or a power loss) is undone by the
// next install or uninstall, from the plan and the work names it recorded before its first write.
TEST_F(Installing, AKilledInstallIsUndoneByTheNextRun)
{
    const struct {
        const char* what;
        const char* step;       // where the install dies
        size_t done;
        bool earlier;           // an earlier install was there
        bool thenuninstall;     // the next run is an uninstall (else an install)
    } cases[] = {
        {"fresh, killed writing, then installed", "written", 3, false, false},
        {"fresh, killed placing, then installed", "placed", 4, false, false},
        {"fresh, killed after the record, then installed", "recorded", 7, false, false},
        {"over an earlier one, killed placing, then uninstalled", "placed", 5, true, true},
        {"over an earlier one, killed placing, then installed", "placed", 2, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(home);
        fs::create_directories(home / ".config");
        const auto empty = Snapshot(home);
        PackStandard("1");
        if (c.earlier) {
            ASSERT_EQ(Install("~/Games/Gorvanel"), "");
        }
        const auto earlier = Snapshot(home);
        PackStandard("2");
        static const char* killstep;
        static size_t killdone;
        killstep = c.step;
        killdone = c.done;
        Module* const package = OpenPackage();
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            installstephook = [](const char* step, size_t done) {
                if (strcmp(step, killstep) == 0 && done == killdone)
                    _exit(9);   // no clean-up of any kind
            };
            RunInstall(package, start.string(), "~/Games/Gorvanel", FIXTURE_REGKEY);
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 9);
        EXPECT_NE(Snapshot(home), earlier);     // it did leave something
        if (c.thenuninstall) {
            EXPECT_EQ(Uninstall(), "");
            EXPECT_EQ(Snapshot(home), empty);
        } else {
            EXPECT_EQ(Install("~/Games/Gorvanel"), "");
            ExpectInstalled();
            ExpectNoStaging();
            EXPECT_EQ(List(VALUE_FILES).size(), 7u);
            std::string journal;
            EXPECT_TRUE(ReadRecordValue(FIXTURE_REGKEY, VALUE_JOURNAL, &journal));
            EXPECT_EQ(Uninstall(), "");
            EXPECT_EQ(Snapshot(home), empty);
        }
    }
}

} // namespace
