// Windows-style names over a case-sensitive directory, program names, and starting a program.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/files.h"

namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& path, const std::string& text = "")
{
    std::ofstream(path) << text;
}

// A fresh directory holding a few game files, made the working directory for the test.
class FilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::path(testing::TempDir()) / "gorv_files_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        fs::create_directories(dir / "Music");
        fs::create_directories(dir / "Saves");
        Touch(dir / "Tessarine.dll");
        Touch(dir / "startup.dat");
        Touch(dir / "Music" / "Lull1.mid");
        Touch(dir / "DUP.txt");
        Touch(dir / "Dup.txt");
        olddir = fs::current_path();
        fs::current_path(dir);
    }
    void TearDown() override
    {
        fs::current_path(olddir);
        fs::remove_all(dir);
    }
    fs::path dir;
    fs::path olddir;
};

TEST_F(FilesTest, ResolvesWindowsNames)
{
    struct Case {
        const char* name;
        const char* path;
    };
    const Case cases[] = {
        {"startup.dat", "startup.dat"},
        {"Tessarine.dll", "Tessarine.dll"},
        {"tessarine.dll", "Tessarine.dll"},
        {"TESSARINE.DLL", "Tessarine.dll"},
        {".\\startup.dat", "startup.dat"},
        {"./startup.dat", "startup.dat"},
        {".\\Music\\lull1.MID", "Music/Lull1.mid"},
        {"music/LULL1.mid", "Music/Lull1.mid"},
        {"MUSIC\\", "Music/"},
        {"dup.txt", "DUP.txt"},                     // two candidates: the first in byte order
        {"missing.txt", "missing.txt"},
        {".\\Missing\\Thing.txt", "Missing/Thing.txt"},
        {"saves\\New.sav", "Saves/New.sav"},        // a new file in an existing directory
        {"music\\..\\STARTUP.DAT", "Music/../startup.dat"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolvePath(c.name), c.path) << "name " << c.name;

    const std::string absolute = dir.string() + "/music/lull1.mid";
    EXPECT_EQ(ResolvePath(absolute.c_str()), dir.string() + "/Music/Lull1.mid");
}

// Whole files are read or mapped only from regular files within the limit: a pipe, a device or a
// directory is refused at once (a pipe with no writer would block the reader; a device could flood it).
TEST_F(FilesTest, WholeFilesOnlyFromRegularFilesWithinTheLimit)
{
    Touch(dir / "Song.mid", "MThd-song");
    Touch(dir / "Empty.dll", "");
    ASSERT_EQ(mkfifo((dir / "Pipe.dll").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir / "Zero.dll");
    struct Case {
        const char* name;
        size_t limit;
        int error;                                  // 0: read
    };
    const Case cases[] = {
        {".\\song.MID", 100, 0},
        {"Song.mid", 9, 0},                         // exactly the limit
        {"Song.mid", 8, EFBIG},
        {"pipe.dll", 100, EINVAL},
        {"zero.dll", 100, EINVAL},
        {"Music", 100, EINVAL},
        {"Missing.dll", 100, ENOENT},
        {"Empty.dll", 100, 0},
    };
    for (const Case& c : cases) {
        const std::string whole = std::string(c.name) == "Empty.dll" ? "" : "MThd-song";
        std::vector<uint8_t> bytes = {1, 2, 3};
        errno = 0;
        const bool failed = ReadWholeFile(c.name, c.limit, bytes);
        EXPECT_EQ(failed, c.error != 0) << c.name;
        if (c.error == 0) {
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), whole) << c.name;
        } else {
            EXPECT_EQ(errno, c.error) << c.name;
            EXPECT_TRUE(bytes.empty()) << c.name;
        }

        MappedFile mapped = {bytes.data(), 1};
        errno = 0;
        const bool unmapped = MapWholeFile(c.name, c.limit, &mapped);
        EXPECT_EQ(unmapped, c.error != 0) << c.name << " mapped";
        EXPECT_EQ(std::string((const char*)mapped.data, mapped.size), c.error == 0 ? whole : "") << c.name << " mapped";
        if (c.error != 0) {
            EXPECT_EQ(errno, c.error) << c.name << " mapped";
        }
        UnmapFile(&mapped);
        EXPECT_EQ(mapped.data, nullptr);
    }
}

TEST_F(FilesTest, ExistenceAndCurrentDirectory)
{
    EXPECT_TRUE(FileExists("tessarine.dll"));
    EXPECT_TRUE(FileExists(".\\music\\lull1.mid"));
    EXPECT_FALSE(FileExists("music"));
    EXPECT_FALSE(FileExists("nothing.dll"));
    EXPECT_TRUE(DirectoryExists("MUSIC"));
    EXPECT_FALSE(DirectoryExists("startup.dat"));
    EXPECT_FALSE(DirectoryExists("nowhere"));

    EXPECT_EQ(fs::path(GetCurrentDir()), fs::current_path());
    EXPECT_FALSE(SetCurrentDir(".\\music"));
    EXPECT_EQ(fs::path(GetCurrentDir()), fs::canonical(dir / "Music"));
    EXPECT_TRUE(FileExists("LULL1.MID"));
    EXPECT_TRUE(SetCurrentDir("nowhere"));
    EXPECT_EQ(fs::path(GetCurrentDir()), fs::canonical(dir / "Music"));
}

TEST_F(FilesTest, ProgramNamesMapToOurExecutables)
{
    fs::create_directories(dir / "bin");
    Touch(dir / "bin" / "Gorvanel");
    struct Case {
        const char* name;
        const char* path;
    };
    const Case cases[] = {
        {"update.exe", "update"},
        {"UPDATE.EXE", "update"},
        {".\\update.exe", "update"},
        {"Gorvanel.exe", "Gorvanel"},
        {"gorvanel.EXE", "Gorvanel"},
        {"Gorvanel", "Gorvanel"},
        {"C:\\Games\\Gorvanel\\Gorvanel.exe", "C:/Games/Gorvanel/Gorvanel"},
        {"\"/opt/games/gorvanel.exe\"", "/opt/games/Gorvanel"},
        {"BIN\\GORVANEL.EXE", "bin/Gorvanel"},
        {"installer.exe", "installer"},
        {".exe", ".exe"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgramPath(c.name), c.path) << "name " << c.name;
}

TEST_F(FilesTest, StartsAProgramInItsOwnSession)
{
    // The stand-in updater writes its session id, then renames the file so that it appears whole.
    const fs::path script = dir / "update";
    Touch(script,
          "#!/bin/sh\n"
          "read -r stat < /proc/$$/stat\n"
          "set -- $stat\n"
          "echo $6 > started.tmp && mv started.tmp started\n");
    fs::permissions(script, fs::perms::owner_all);

    ASSERT_FALSE(StartProgram(".\\Update.exe"));
    const fs::path marker = dir / "started";
    for (int i = 0; i < 1000 && !fs::exists(marker); i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(fs::exists(marker)) << "the program did not run";
    pid_t session = 0;
    std::ifstream(marker) >> session;
    EXPECT_GT(session, 0);
    EXPECT_NE(session, getsid(0));

    EXPECT_TRUE(StartProgram("missing.exe"));
}

} // namespace
