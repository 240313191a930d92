// The install package as the build makes it: gorvpackage and gorvpack over a game directory, read
// back through the installer's own reader, every byte equal.
#include <cstdlib>
#include <random>

#include "install_fixture.h"
#include "installer/package.h"
#include "installer/plan.h"

namespace {

class PackageBuild : public InstallTest {
protected:
    // Runs the packaging step on a game directory into root/out; true when it fails.
    bool Package(const fs::path& game, const fs::path& head)
    {
        const std::string command = std::string("\"") + CMAKE_COMMAND + "\" -DGAMEDIR=\"" + game.string()
                                    + "\" -DHEAD=\"" + head.string() + "\" -DOUT=\"" + (root / "out").string()
                                    + "\" -DWORK=\"" + (root / "work").string() + "\" -DGORVPACKAGE=\"" + GORVPACKAGE
                                    + "\" -DGORVPACK=\"" + GORVPACK + "\" -P \"" + PACKAGE_SCRIPT + "\" > \""
                                    + (root / "package.log").string() + "\" 2>&1";
        return std::system(command.c_str()) != 0;
    }
    // The plan read back from root/out: path -> bytes, with a '*' in front for a file that may be run.
    std::map<std::string, std::string> ReadBack()
    {
        std::map<std::string, std::string> files;
        Module* const package = OpenModule((root / "out/INSTALL.DLL").c_str());
        EXPECT_NE(package, nullptr);
        if (!package)
            return files;
        InstallPlan plan;
        try {
            ReadInstallPlan(package, (root / "out").string(), &plan);
        } catch (...) {
            ADD_FAILURE() << "the package does not read back";
        }
        for (const PlannedFile& file : plan.files)
            files[file.path] = (file.executable ? "*" : "") + std::string((const char*)file.data, file.size);
        CloseModule(package);
        return files;
    }
    // The same for the files of a game directory.
    static std::string Entry(const fs::path& path)
    {
        const bool runnable = (fs::status(path).permissions() & fs::perms::owner_exec) != fs::perms::none;
        return (runnable ? "*" : "") + ReadBytes(path);
    }
};

TEST_F(PackageBuild, RoundTripOfAGameDirectory)
{
    const fs::path game = root / "game";
    std::mt19937 random(7);
    std::string big(300000, '\0');
    for (char& c : big)
        c = (char)random();
    const struct {
        const char* name;
        std::string bytes;
        bool runnable;
        bool packed;
    } files[] = {
        {"Gorvanel", "\x7F" "ELF the game", true, true},
        {"update", "\x7F" "ELF the updater", true, true},
        {"installer", "\x7F" "ELF the installer", true, false},     // beside the package, not in it
        {"Vistorn.dll", big, false, true},
        {"tavel.DLL", std::string("\0\1\2", 3), false, true},
        {"Font.ttf", "font", false, true},
        {"Font2.otf", "font 2", false, true},
        {"startup.dat", "fil Vistorn.dll\nstp\n", false, true},
        {"empty.dll", "", false, true},
        {"gorvanel.ini", "[Game]", false, false},                    // the game's own, written as it runs
        {"debug.txt", "log", false, false},
        {"notes.txt", "notes", false, false},
        {"Music/Lull1.mid", "MThd 1", false, true},
        {"Music/Menu.mid", "MThd 2", false, true},
        {"Music/cover.png", "png", false, false},
        {"Scratch/x.tmp", "tmp", false, false},
    };
    std::map<std::string, std::string> expected;
    for (const auto& f : files) {
        WriteBytes(game / f.name, f.bytes);
        fs::permissions(game / f.name, fs::perms(f.runnable ? 0755 : 0644));
        if (f.packed)
            expected[f.name] = (f.runnable ? "*" : "") + f.bytes;
    }
    WriteBytes(root / "head.manifest", "number RCDATA TQINSTALLHEAD 137\ntext RCDATA PROGRAM Gorvanel Setup\n");
    ASSERT_FALSE(Package(game, root / "head.manifest")) << ReadBytes(root / "package.log");

    std::vector<std::string> folder;
    for (const auto& [path, what] : Snapshot(root / "out"))
        folder.push_back(path + (what.rfind(std::to_string((int)fs::perms(0755)), 0) == 0 ? "*" : ""));
    EXPECT_EQ(folder, (std::vector<std::string>{"Font.ttf", "GAME.DLL", "INSTALL.DLL", "MUSIC.DLL", "installer*"}));
    EXPECT_EQ(ReadBack(), expected);

    // And installed from it, every byte and run bit as in the game directory.
    fs::remove_all(start);
    fs::copy(root / "out", start);
    EXPECT_EQ(Install("~/Games/Gorvanel"), "");
    std::map<std::string, std::string> installed;
    for (const auto& [path, what] : Snapshot(home / "Games/Gorvanel"))
        if (what != "dir")
            installed[path] = Entry(home / "Games/Gorvanel" / path);
    EXPECT_EQ(installed, expected);
}

TEST_F(PackageBuild, RefusesAGameDirectoryWithoutGameFiles)
{
    WriteBytes(root / "game/notes.txt", "nothing to install");
    WriteBytes(root / "head.manifest", "number RCDATA TQINSTALLHEAD 137\n");
    EXPECT_TRUE(Package(root / "game", root / "head.manifest"));
    EXPECT_NE(ReadBytes(root / "package.log").find("holds no game files"), std::string::npos);
}

// The real game directory of this build, with the package's real texts.
TEST_F(PackageBuild, RoundTripOfTheBuiltGame)
{
    const fs::path game = GORV_DIST;
    ASSERT_TRUE(fs::exists(game / "Gorvanel")) << "build the game first";
    ASSERT_FALSE(Package(game, GORV_INSTALL_HEAD)) << ReadBytes(root / "package.log");

    std::map<std::string, std::string> expected;
    for (const auto& [path, what] : Snapshot(game)) {
        const std::string name = fs::path(path).filename().string();
        if (what == "dir" || name == "installer" || name == "gorvanel.ini" || name == "debug.txt")
            continue;
        expected[path] = Entry(game / path);
    }
    for (const char* needed : {"Gorvanel", "update", "Tessarine.dll", "Vistorn.dll", "Brackwel.dll", "tavel.dll",
                               "Font.ttf", "startup.dat", "Music/Lull1.mid"})
        EXPECT_EQ(expected.count(needed), 1u) << needed << " is not in the game directory";
    EXPECT_EQ(ReadBack(), expected);

    Module* const package = OpenModule((root / "out/INSTALL.DLL").c_str());
    ASSERT_NE(package, nullptr);
    EXPECT_EQ(PackageText(package, "PROGRAM"), "Gorvanel Setup");
    EXPECT_EQ(PackageText(package, "DEFDIR"), "~/Games/Gorvanel/");
    EXPECT_EQ(PackageText(package, "REGKEY"), "Software\\Thornquill\\Gorvanel");
    EXPECT_EQ(PackageText(package, "EXECUTE"), "Gorvanel");
    const std::string licence = PackageText(package, "LICENSE");
    EXPECT_NE(licence.find("Do you accept these terms?"), std::string::npos);
    // A message box does not wrap it: every line must fit on the screen.
    size_t longest = 0;
    for (size_t start = 0, end; start < licence.size(); start = end + 1) {
        end = licence.find('\n', start);
        if (end == std::string::npos)
            end = licence.size();
        longest = std::max(longest, end - start);
    }
    EXPECT_LE(longest, 76u);
    CloseModule(package);
}

} // namespace
