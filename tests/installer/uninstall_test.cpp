// Uninstalling: exactly the files the install wrote and the directories it made, then the record;
// never a file of someone else's, never anything outside the install directory.
#include <cerrno>

#include "install_fixture.h"
#include "installer/failure.h"
#include "installer/record.h"
#include "installer/walks.h"

namespace {

class Uninstalling : public InstallTest {
protected:
    void SetUp() override
    {
        InstallTest::SetUp();
        PackStandard();
        WriteBytes(root / "outside/keep.txt", "not the game's");
        fresh = Snapshot(root);
    }
    void InstallStandard()
    {
        ASSERT_EQ(Install("~/Games/Gorvanel"), "");
        ASSERT_TRUE(RecordKeyExists(FIXTURE_REGKEY));
    }
    std::map<std::string, std::string> fresh;     // before the install
};

TEST_F(Uninstalling, LeavesTheTreeAsBeforeTheInstall)
{
    InstallStandard();
    EXPECT_EQ(Uninstall(), "");
    EXPECT_FALSE(RecordKeyExists(FIXTURE_REGKEY));
    EXPECT_FALSE(fs::exists(home / ".config/gorvanel"));
    EXPECT_EQ(Snapshot(root), fresh);
}

TEST_F(Uninstalling, Cases)
{
    const struct {
        const char* what;
        std::function<void()> change;      // after the install
        std::vector<std::string> left;                  // what is still in HOME after the uninstall
    } cases[] = {
        {"a file of the user's in the music directory keeps it",
         [this] { WriteBytes(GameDir() + "Music/Mine.mid", "my song"); },
         {"Games", "Games/Gorvanel", "Games/Gorvanel/Music", "Games/Gorvanel/Music/Mine.mid"}},
        {"files the user deleted already",
         [this] { fs::remove_all(GameDir() + "Music"); fs::remove(GameDir() + "Gorvanel"); },
         {}},
        {"the directory gone altogether", [this] { fs::remove_all(home / "Games"); }, {}},
        {"the game's own files are not the install's",
         [this] { WriteBytes(GameDir() + "gorvanel.ini", "[Game]"); },
         {"Games", "Games/Gorvanel", "Games/Gorvanel/gorvanel.ini"}},
        {"a record edited to reach outside",
         [this] {
             WriteRecordList(FIXTURE_REGKEY, VALUE_FILES,
                             {"Gorvanel", "../../../outside/keep.txt", (root / "outside/keep.txt").string(),
                              "Music/../../../../outside/keep.txt"});
             fs::create_directories(root / "outside/empty");
             WriteRecordList(FIXTURE_REGKEY, VALUE_DIRECTORIES,
                             {(root / "outside/empty").string(), GameDir() + "Music/../../../../outside/empty"});
         },
         {"Games", "Games/Gorvanel", "Games/Gorvanel/Font.ttf", "Games/Gorvanel/Music",
          "Games/Gorvanel/Music/Lull1.mid", "Games/Gorvanel/Music/Menu.mid", "Games/Gorvanel/Tessarine.dll",
          "Games/Gorvanel/startup.dat", "Games/Gorvanel/update"}},
        {"the music directory turned into a link",
         [this] {
             WriteBytes(root / "outside/Lull1.mid", "someone else's");
             fs::remove_all(GameDir() + "Music");
             fs::create_directory_symlink(root / "outside", GameDir() + "Music");
         },
         {"Games", "Games/Gorvanel", "Games/Gorvanel/Music"}},
        {"a record from before the file list: the package's files",
         [this] {
             fs::remove(home / ".config/gorvanel/Thornquill/Gorvanel/files");
             fs::remove(home / ".config/gorvanel/Thornquill/Gorvanel/directories");
             WriteBytes(GameDir() + "notes.txt", "mine");
         },
         {"Games", "Games/Gorvanel", "Games/Gorvanel/notes.txt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(root / "outside");
        WriteBytes(root / "outside/keep.txt", "not the game's");
        InstallStandard();
        c.change();
        const auto outside = Snapshot(root / "outside");
        EXPECT_EQ(Uninstall(), "");
        EXPECT_FALSE(RecordKeyExists(FIXTURE_REGKEY));
        std::vector<std::string> left;
        for (const auto& [path, what] : Snapshot(home))
            if (path != ".config")
                left.push_back(path);
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(Snapshot(root / "outside"), outside);
        fs::remove_all(home / "Games");
    }
}

// The install directory replaced by a link to a folder of same-named files (and an empty folder where
// a directory of the install was): nothing there is removed, the uninstall says why, the record stays.
TEST_F(Uninstalling, ADirectoryThatNowLeadsElsewhereIsRefused)
{
    InstallStandard();
    for (const char* name : {"Gorvanel", "update", "Tessarine.dll", "Font.ttf", "startup.dat", "Music/Lull1.mid"})
        WriteBytes(root / "outside" / name, "someone else's");
    fs::create_directories(root / "outside/Music/Empty");
    fs::remove_all(GameDir());
    fs::create_directory_symlink(root / "outside", home / "Games/Gorvanel");
    WriteRecordList(FIXTURE_REGKEY, VALUE_DIRECTORIES,
                    {home.string() + "/Games", GameDir() + "Music/Empty", GameDir() + "Music"});
    const auto outside = Snapshot(root / "outside");
    EXPECT_EQ(Uninstall(), "An error has occurred during the uninstall process.\n\nError: " + std::string(INSTALLDIR_MOVED)
                               + GameDir() + " leads to " + (root / "outside").string() + "/");
    EXPECT_EQ(Snapshot(root / "outside"), outside);
    EXPECT_TRUE(RecordKeyExists(FIXTURE_REGKEY));
}

// Only the record's own values go with it; anything else kept in its folder stays, with the folder.
TEST_F(Uninstalling, OnlyTheRecordsOwnValuesGo)
{
    InstallStandard();
    const fs::path key = home / ".config/gorvanel/Thornquill/Gorvanel";
    WriteBytes(key / "settings.ini", "someone else's");
    EXPECT_EQ(Uninstall(), "");
    EXPECT_FALSE(fs::exists(key / "installed"));
    EXPECT_EQ(ReadBytes(key / "settings.ini"), "someone else's");
}

// A record folder that is a link is refused: what it leads to is read, written and deleted never.
TEST_F(Uninstalling, ALinkedRecordFolderIsRefused)
{
    InstallStandard();
    const fs::path key = home / ".config/gorvanel/Thornquill/Gorvanel";
    fs::rename(key, root / "outside/record");
    WriteBytes(root / "outside/record/other.txt", "someone else's");
    fs::create_directory_symlink(root / "outside/record", key);
    const auto outside = Snapshot(root / "outside");
    EXPECT_EQ(RecordKeyError(FIXTURE_REGKEY), RECORD_LINKED);
    std::string value;
    EXPECT_TRUE(ReadRecordValue(FIXTURE_REGKEY, VALUE_INSTALLED, &value));
    EXPECT_EQ(WriteRecordValue(FIXTURE_REGKEY, VALUE_INSTALLED, "/tmp/"), RECORD_LINKED);
    EXPECT_EQ(DeleteRecordKey(FIXTURE_REGKEY), RECORD_LINKED);
    EXPECT_EQ(RunUninstall(OpenPackage(), start.string(), FIXTURE_REGKEY, GameDir()),
              "An error has occurred during the uninstall process.\n\nError: " + std::string(OP_OPENRECORD)
                  + "\nError Code: -3 (The install record's folder is a link)");
    EXPECT_EQ(Snapshot(root / "outside"), outside);
    EXPECT_TRUE(fs::is_symlink(key));
}

// A directory of the user's where a listed file was is passed over: only files are removed.
TEST_F(Uninstalling, PassesOverADirectoryWhereAFileWas)
{
    InstallStandard();
    fs::remove(GameDir() + "update");
    fs::create_directories(GameDir() + "update/mine");
    EXPECT_EQ(Uninstall(), "");
    EXPECT_TRUE(fs::exists(GameDir() + "update/mine"));
    EXPECT_FALSE(fs::exists(GameDir() + "Gorvanel"));
}

// A listed file that will not go is reported; it stays listed, and the record stays for another try.
// (The tests run as root, to whom permissions are no obstacle: a name too long to remove stands in.)
TEST_F(Uninstalling, AFileThatWillNotGoStaysListed)
{
    InstallStandard();
    const std::string toolong(300, 'x');
    WriteRecordList(FIXTURE_REGKEY, VALUE_FILES, {"Font.ttf", toolong, "Gorvanel"});
    EXPECT_EQ(Uninstall(), "An error has occurred during the uninstall process.\n\nError: " + std::string(OP_DELETEFILE)
                               + "\nError Code: " + std::to_string(ENAMETOOLONG) + " (File name too long)");
    EXPECT_FALSE(fs::exists(GameDir() + "Font.ttf"));
    EXPECT_FALSE(fs::exists(GameDir() + "Gorvanel"));
    std::vector<std::string> files;
    ASSERT_FALSE(ReadRecordList(FIXTURE_REGKEY, VALUE_FILES, &files));
    EXPECT_EQ(files, std::vector<std::string>{toolong});
    EXPECT_TRUE(fs::exists(GameDir()));
}

// The configuration folder the install's record made goes with the record when nothing else is kept
// there; one that holds another program's files stays.
TEST_F(Uninstalling, TheConfigurationFolderTheRecordMadeGoesWithIt)
{
    for (const bool shared : {false, true}) {
        SCOPED_TRACE(shared ? "shared" : "the record's alone");
        fs::remove_all(home);
        fs::create_directories(home);
        WriteBytes(root / "outside/keep.txt", "not the game's");
        const auto before = Snapshot(root);
        InstallStandard();
        EXPECT_TRUE(fs::is_directory(home / ".config/gorvanel"));
        if (shared)
            WriteBytes(home / ".config/other/settings", "another program's");
        EXPECT_EQ(Uninstall(), "");
        if (shared) {
            EXPECT_EQ(ReadBytes(home / ".config/other/settings"), "another program's");
            EXPECT_FALSE(fs::exists(home / ".config/gorvanel"));
        } else {
            EXPECT_EQ(Snapshot(root), before);
        }
    }
}

} // namespace
