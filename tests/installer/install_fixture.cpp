// The install tests' fixture.
#include "install_fixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "installer/record.h"
#include "installer/walks.h"

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::map<std::string, std::string> Snapshot(const fs::path& dir)
{
    std::map<std::string, std::string> entries;
    if (!fs::exists(dir))
        return entries;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir)) {
        const std::string name = e.path().lexically_relative(dir).string();
        if (e.is_symlink())
            entries[name] = "link";
        else if (e.is_directory())
            entries[name] = "dir";
        else
            entries[name] = std::to_string((int)e.status().permissions()) + ":" + ReadBytes(e.path());
    }
    return entries;
}

void InstallTest::SetUp()
{
    const testing::TestInfo* const info = testing::UnitTest::GetInstance()->current_test_info();
    root = fs::path(GORV_SCRATCH_DIR) / (std::string(info->test_suite_name()) + "." + info->name());
    fs::remove_all(root);
    home = root / "home";
    start = root / "start";
    fs::create_directories(home / ".config");
    fs::create_directories(start);
    fs::create_directories(root / "src");
    const char* const old = getenv("HOME");
    hadhome = old != nullptr;
    oldhome = old ? old : "";
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
}

void InstallTest::TearDown()
{
    for (Module* module : opened)
        CloseModule(module);
    if (hadhome)
        setenv("HOME", oldhome.c_str(), 1);
    else
        unsetenv("HOME");
}

std::string InstallTest::ComponentManifest(const std::string& dir, const std::vector<FixtureFile>& files)
{
    std::string m = "number RCDATA TQINSTALLHEAD 137\ntext RCDATA ROOT " + dir + "\nnumber RCDATA NUMFILES "
                    + std::to_string(files.size()) + "\n";
    for (size_t j = 0; j < files.size(); j++) {
        const std::string n = std::to_string(10000 + j);
        const fs::path source = root / "src" / std::to_string(sources++);
        WriteBytes(source, files[j].bytes);
        m += "text RCDATA FILE" + n + " " + files[j].name + "\n";
        m += "number RCDATA SIZE" + n + " " + std::to_string(files[j].bytes.size()) + "\n";
        m += "resource RCDATA DATA" + n + " " + source.string() + "\n";
        if (files[j].mode)
            m += "number RCDATA MODE" + n + " " + std::to_string(files[j].mode) + "\n";
    }
    return m;
}

std::string InstallTest::PackageManifest(const std::vector<std::string>& components, const std::string& extra)
{
    std::string m = "number RCDATA TQINSTALLHEAD 137\n"
                    "text RCDATA PROGRAM Gorvanel\n"
                    "text RCDATA DEFDIR ~/Games/Gorvanel/\n"
                    "text RCDATA REGKEY Software\\\\Thornquill\\\\Gorvanel\n"
                    "text RCDATA EXECUTE Gorvanel\n"
                    "text RCDATA TQSUBDIR Gorvanel\n"
                    "text RCDATA LICENSE Play fair.\n"
                    "number RCDATA NUMDIRECTORIES " + std::to_string(components.size()) + "\n";
    for (size_t i = 0; i < components.size(); i++)
        m += "text RCDATA DIR" + std::to_string(10000 + i) + " " + components[i] + "\n";
    return m + extra;
}

void InstallTest::Pack(const std::string& name, const std::string& manifest)
{
    const fs::path file = root / "src" / (name + ".manifest");
    WriteBytes(file, manifest);
    const std::string command = std::string("\"") + GORVPACK + "\" \"" + file.string() + "\" \"" +
                                (start / name).string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << manifest;
}

void InstallTest::PackStandard(const std::string& version)
{
    gamefiles = {
        {"Gorvanel", "#!/bin/sh\necho game " + version + "\n", 0755},
        {"update", "#!/bin/sh\necho update\n", 0755},
        {"Tessarine.dll", "strings " + version, 0644},
        {"Font.ttf", std::string("font\0bytes", 10) + version, 0644},
        {"startup.dat", "", 0644},
    };
    songs = {{"Lull1.mid", "MThd lull " + version}, {"Menu.mid", "MThd menu " + version}};
    Pack("GAME.DLL", ComponentManifest("#", gamefiles));
    Pack("MUSIC.DLL", ComponentManifest("Music", songs));
    Pack("INSTALL.DLL", PackageManifest({"GAME.DLL", "MUSIC.DLL"}));
}

Module* InstallTest::OpenPackage()
{
    Module* const package = OpenModule((start / "INSTALL.DLL").c_str());
    opened.push_back(package);
    return package;
}

std::string InstallTest::Install(const std::string& typed)
{
    Module* const package = OpenPackage();
    if (!package)
        return "no package";
    return RunInstall(package, start.string(), typed, FIXTURE_REGKEY);
}

std::string InstallTest::Uninstall()
{
    Module* const package = OpenPackage();
    if (!package)
        return "no package";
    std::string dir;
    if (ReadRecordValue(FIXTURE_REGKEY, VALUE_INSTALLED, &dir))
        return "no record";
    return RunUninstall(package, start.string(), FIXTURE_REGKEY, dir);
}
