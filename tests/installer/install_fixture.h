// Install packages packed by gorvpack into a scratch folder, a temporary HOME to install into, and
// pictures of folders to compare.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/module.h"

namespace fs = std::filesystem;

// One file of a component: its name in the package, its bytes, its MODE (none when mode is 0).
struct FixtureFile {
    std::string name;
    std::string bytes;
    uint32_t mode = 0644;
};

inline constexpr char FIXTURE_REGKEY[] = "Software\\Thornquill\\Gorvanel";

class InstallTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The manifest of a component module with these files under root ("#": the install directory).
    std::string ComponentManifest(const std::string& root, const std::vector<FixtureFile>& files);
    // The manifest of the package module listing these component files, with extra lines appended.
    std::string PackageManifest(const std::vector<std::string>& components, const std::string& extra = "");
    // Packs the manifest into the start directory as name (gorvpack fails the test when it refuses).
    void Pack(const std::string& name, const std::string& manifest);
    // The standard package: "GAME.DLL" (the programs, modules and fonts) and "MUSIC.DLL" (the songs).
    void PackStandard(const std::string& version = "1");
    Module* OpenPackage();                              // the start directory's INSTALL.DLL (closed at TearDown)
    std::string Install(const std::string& typed);      // RunInstall on it: "" or the failure box's text
    std::string Uninstall();                            // RunUninstall of the recorded install
    std::string GameDir() const { return home.string() + "/Games/Gorvanel/"; }

    fs::path root;      // everything of the test
    fs::path home;      // $HOME
    fs::path start;     // where the installer and its package lie
    std::vector<FixtureFile> gamefiles;     // the standard package's files, by component
    std::vector<FixtureFile> songs;

private:
    int sources = 0;
    std::vector<Module*> opened;
    std::string oldhome;
    bool hadhome = false;
};

std::string ReadBytes(const fs::path& path);
void WriteBytes(const fs::path& path, const std::string& bytes);
// Every entry under dir: path -> "dir", "link", or the file's mode and bytes.
std::map<std::string, std::string> Snapshot(const fs::path& dir);
