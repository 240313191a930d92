// Packages that must be refused, each with the message the user is shown, before anything is written.
#include <cerrno>
#include <functional>

#include "install_fixture.h"
#include "installer/failure.h"
#include "installer/paths.h"
#include "installer/record.h"
#include "platform/files.h"

namespace {

const std::string lead = "An error has occurred during the install process.\nPlease reinstall this program.\n\nError: ";

std::string Operation(const char* operation, int code)
{
    return lead + operation + "\nError Code: " + std::to_string(code) + " (" + SystemErrorText(code) + ")";
}

// Replaces the first occurrence of a line in a manifest.
std::string Replace(std::string manifest, const std::string& line, const std::string& by)
{
    const size_t at = manifest.find(line);
    EXPECT_NE(at, std::string::npos) << line;
    if (at != std::string::npos)
        manifest.replace(at, line.size(), by);
    return manifest;
}

class HostilePackage : public InstallTest {
protected:
    std::vector<FixtureFile> Game()
    {
        return {{"Gorvanel", "#!/bin/sh\n", 0755}, {"Tessarine.dll", "strings"}, {"Font.ttf", "font"}};
    }
    std::vector<FixtureFile> Music()
    {
        return {{"Lull1.mid", "MThd"}};
    }
    // Packs the game, the music and the package, each manifest changed by its function first.
    void PackChanged(const std::function<std::string(std::string)>& game,
                     const std::function<std::string(std::string)>& music,
                     const std::function<std::string(std::string)>& package)
    {
        Pack("GAME.DLL", game(ComponentManifest("#", Game())));
        Pack("MUSIC.DLL", music(ComponentManifest("Music", Music())));
        Pack("INSTALL.DLL", package(PackageManifest({"GAME.DLL", "MUSIC.DLL"})));
    }
};

using Change = std::function<std::string(std::string)>;
const Change same = [](std::string m) { return m; };

Change Swap(const std::string& line, const std::string& by)
{
    return [=](std::string m) { return Replace(m, line, by); };
}

Change Append(const std::string& lines)
{
    return [=](std::string m) { return m + lines; };
}

TEST_F(HostilePackage, IsRefusedBeforeAnythingIsWritten)
{
    const struct {
        const char* what;
        Change game, music, package;
        std::string message;
    } cases[] = {
        {"the good package", same, same, same, ""},
        {"package signature 136", same, same, Swap("TQINSTALLHEAD 137", "TQINSTALLHEAD 136"), lead + PACKAGE_INVALID},
        {"package without signature", same, same, Swap("number RCDATA TQINSTALLHEAD 137\n", ""),
         lead + "TQINSTALLHEAD"},
        {"signature of two bytes", same, same, Swap("number RCDATA TQINSTALLHEAD 137", "text RCDATA TQINSTALLHEAD a"),
         lead + PACKAGE_INVALID},
        {"no NUMDIRECTORIES", same, same, Swap("number RCDATA NUMDIRECTORIES 2\n", ""), lead + "NUMDIRECTORIES"},
        {"more components than listed", same, same, Swap("NUMDIRECTORIES 2", "NUMDIRECTORIES 4000000000"),
         lead + "DIR10002"},
        {"component outside the start directory", same, same, Swap("DIR10001 MUSIC.DLL", "DIR10001 ../MUSIC.DLL"),
         lead + PACKAGE_INVALID},
        {"component by full path", same, same, Swap("DIR10001 MUSIC.DLL", "DIR10001 /etc/passwd"),
         lead + PACKAGE_INVALID},
        {"missing component", same, same, Swap("DIR10001 MUSIC.DLL", "DIR10001 NOTHERE.DLL"),
         Operation(OP_LOADCOMPONENT, ENOENT)},
        {"component signature 136", same, Swap("TQINSTALLHEAD 137", "TQINSTALLHEAD 136"), same,
         lead + COMPONENT_INVALID},
        {"component without ROOT", same, Swap("text RCDATA ROOT Music\n", ""), same, lead + "ROOT"},
        {"more files than listed", Swap("NUMFILES 3", "NUMFILES 4294967295"), same, same, lead + "FILE10003"},
        {"file without size", Swap("number RCDATA SIZE10001 7\n", ""), same, same, lead + "SIZE10001"},
        {"file without data", same, Swap("resource RCDATA DATA10000", "resource RCDATA OTHER"), same,
         lead + "DATA10000"},
        {"size past the data", Swap("SIZE10002 4", "SIZE10002 5"), same, same, lead + COMPONENT_INVALID},
        {"size far past the data", Swap("SIZE10002 4", "SIZE10002 4294967295"), same, same, lead + COMPONENT_INVALID},
        {"size of three bytes", Swap("number RCDATA SIZE10002 4", "text RCDATA SIZE10002 ab"), same, same,
         lead + COMPONENT_INVALID},
        {"file up and out", Swap("FILE10000 Gorvanel", "FILE10000 ../Gorvanel"), same, same, lead + COMPONENT_INVALID},
        {"file up and out, Windows style", Swap("FILE10000 Gorvanel", "FILE10000 ..\\\\..\\\\Gorvanel"), same, same,
         lead + COMPONENT_INVALID},
        {"file by full path", Swap("FILE10000 Gorvanel", "FILE10000 /tmp/Gorvanel"), same, same,
         lead + COMPONENT_INVALID},
        {"file down and up and out", Swap("FILE10000 Gorvanel", "FILE10000 a/../../Gorvanel"), same, same,
         lead + COMPONENT_INVALID},
        {"file with an empty part", Swap("FILE10000 Gorvanel", "FILE10000 a//Gorvanel"), same, same,
         lead + COMPONENT_INVALID},
        {"file named twice", Swap("FILE10001 Tessarine.dll", "FILE10001 Gorvanel"), same, same,
         lead + COMPONENT_INVALID},
        {"file named twice in another case", Swap("FILE10001 Tessarine.dll", "FILE10001 gorvanel"), same, same,
         lead + COMPONENT_INVALID},
        {"file named by two components", Swap("FILE10002 Font.ttf", "FILE10002 Music/Lull1.mid"), same, same,
         lead + COMPONENT_INVALID},
        {"file where a component's directory goes", Swap("FILE10002 Font.ttf", "FILE10002 music"), same, same,
         lead + COMPONENT_INVALID},
        {"file under the install's staging name", Swap("FILE10002 Font.ttf", "FILE10002 .Gorvanel-Install-0123456789abcdef/x"),
         same, same, lead + COMPONENT_INVALID},
        {"ROOT the install's staging name", same, Swap("ROOT Music", "ROOT .gorvanel-install-"), same,
         lead + COMPONENT_INVALID},
        {"ROOT up and out", same, Swap("ROOT Music", "ROOT .."), same, lead + COMPONENT_INVALID},
        {"ROOT of two parts", same, Swap("ROOT Music", "ROOT Music/Songs"), same, lead + COMPONENT_INVALID},
        {"ROOT by full path", same, Swap("ROOT Music", "ROOT /tmp"), same, lead + COMPONENT_INVALID},
        {"compatibility file up and out", same, same,
         Append("number RCDATA COMPTFILES 1\ntext RCDATA SECN10000 ../compat.ini\n"), lead + PACKAGE_INVALID},
        {"compatibility file over a game file", same, same,
         Append("number RCDATA COMPTFILES 1\ntext RCDATA SECN10000 Gorvanel\n"), lead + PACKAGE_INVALID},
        {"more compatibility files than listed", same, same,
         Append("number RCDATA COMPTFILES 2\ntext RCDATA SECN10000 compat.ini\n"), lead + "SECN10001"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(start);
        fs::create_directories(start);
        PackChanged(c.game, c.music, c.package);
        const auto before = Snapshot(home);
        EXPECT_EQ(Install("~/Games/Gorvanel" + std::to_string(n++)), c.message);
        if (c.message.empty()) {
            EXPECT_TRUE(RecordKeyExists(FIXTURE_REGKEY));
            DeleteRecordKey(FIXTURE_REGKEY);
            fs::remove_all(home / "Games");
        }
        EXPECT_EQ(Snapshot(home), before);
    }
}

// Modules whose own tables lie: they do not open, and the component fails to load.
TEST_F(HostilePackage, BrokenComponentModules)
{
    const struct {
        const char* what;
        std::function<void(std::string&)> damage;
    } cases[] = {
        {"cut short", [](std::string& b) { b.resize(b.size() / 2); }},
        {"cut to its header", [](std::string& b) { b.resize(16); }},
        {"empty", [](std::string& b) { b.clear(); }},
        {"a resource count past the data", [](std::string& b) { b[15] = '\x7F'; }},
        {"a data length past the end", [](std::string& b) { b[16 + 20 + 3] = '\x7F'; }},  // the first entry's data length
        {"not a module", [](std::string& b) { b = "MZ\x90" + b; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(start);
        fs::create_directories(start);
        PackChanged(same, same, same);
        std::string bytes = ReadBytes(start / "MUSIC.DLL");
        c.damage(bytes);
        WriteBytes(start / "MUSIC.DLL", bytes);
        const auto before = Snapshot(home);
        EXPECT_EQ(Install("~/Games/Gorvanel"), Operation(OP_LOADCOMPONENT, EINVAL));
        EXPECT_EQ(Snapshot(home), before);
    }
}

TEST_F(HostilePackage, UnusableDirectories)
{
    PackChanged(same, same, same);
    for (const char* typed : {"", "   ", "Games/Gorvanel", "~other/Games"}) {
        const auto before = Snapshot(root);
        EXPECT_EQ(Install(typed), lead + INSTALLDIR_INVALID) << "'" << typed << "'";
        EXPECT_EQ(Snapshot(root), before) << typed;
    }
    // Full paths, but the system's folders: refused, saying why, with a folder of the user's own offered.
    const struct {
        const char* typed;
        const char* folder;
    } system[] = {
        {"/", "/"}, {"/tmp/../", "/"}, {"/usr/local/games", "/usr/local/games/"}, {"/etc", "/etc/"},
        {"/home", "/home/"}, {"/proc/self/cwd/x", "/proc/self/cwd/x/"},
    };
    const std::string own = home.string() + "/Games/Gorvanel/";
    for (const auto& c : system) {
        const auto before = Snapshot(root);
        setenv("HOME", home.c_str(), 1);
        const std::string said = Install(c.typed);
        EXPECT_EQ(said, lead + c.folder + " is a folder of the system: the game's files would lie among the system's own, "
                                          "where removing them again could harm it.\nPlease choose a folder of your own, "
                                          "such as " + own) << c.typed;
        EXPECT_EQ(Snapshot(root), before) << c.typed;
    }
    for (const char* typed : {"/opt/Gorvanel", "/tmp/Gorvanel", "/usrx/Gorvanel"})
        EXPECT_FALSE(IsSystemFolder(ExpandInstallDir(typed, nullptr))) << typed;
    unsetenv("HOME");
    EXPECT_EQ(Install("~/Games/Gorvanel"), lead + INSTALLDIR_INVALID);
    EXPECT_FALSE(fs::exists(home / "Games"));
}

} // namespace
