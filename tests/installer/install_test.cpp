// Installing into a temporary HOME: fresh, over an earlier install, into a directory holding other
// files, and failing part-way, which must leave everything as it was.
#include <cerrno>

#include "install_fixture.h"
#include "installer/failure.h"
#include "installer/record.h"
#include "installer/walks.h"

namespace {

const std::string lead = "An error has occurred during the install process.\nPlease reinstall this program.\n\nError: ";

std::string Operation(const char* operation, int code)
{
    return lead + operation + "\nError Code: " + std::to_string(code);
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
    EXPECT_EQ(Snapshot(key).size(), 3u);
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

} // namespace
