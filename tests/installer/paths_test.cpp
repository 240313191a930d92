// The path rules: names a package may give, and the directory a user types.
#include "installer/paths.h"

#include <gtest/gtest.h>

TEST(InstallPaths, PackageNames)
{
    const struct {
        const char* name;
        const char* path;   // "" when refused
    } cases[] = {
        {"Gorvanel", "Gorvanel"},
        {"Music\\Lull1.mid", "Music/Lull1.mid"},
        {"a/b/c.txt", "a/b/c.txt"},
        {"caf\xE9.txt", "caf\xC3\xA9.txt"},     // CP1252 in the package, UTF-8 on disk
        {".hidden", ".hidden"},
        {"", ""},
        {"/etc/passwd", ""},
        {"\\etc\\passwd", ""},
        {"..", ""},
        {"../x", ""},
        {"..\\x", ""},
        {"a/../../x", ""},
        {"a/./b", ""},
        {"a//b", ""},
        {"a/", ""},
        {"a\nb", ""},
        {"a\x7F", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PackagePath(c.name), c.path) << c.name;
    EXPECT_TRUE(IsBareFileName("GAME.DLL"));
    EXPECT_FALSE(IsBareFileName("sub/GAME.DLL"));
    EXPECT_FALSE(IsBareFileName("sub\\GAME.DLL"));
    EXPECT_FALSE(IsBareFileName(".."));
}

TEST(InstallPaths, TypedDirectories)
{
    const struct {
        const char* typed;
        const char* home;
        const char* dir;    // "" when refused
    } cases[] = {
        {"~/Games/Gorvanel/", "/home/ann", "/home/ann/Games/Gorvanel/"},
        {"~/Games/Gorvanel", "/home/ann", "/home/ann/Games/Gorvanel/"},
        {"~", "/home/ann", "/home/ann/"},
        {"$HOME/Games", "/home/ann/", "/home/ann/Games/"},
        {"${HOME}/Games", "/home/ann", "/home/ann/Games/"},
        {"  /opt/gorvanel  ", "/home/ann", "/opt/gorvanel/"},
        {"/opt//gorvanel/./x/../", nullptr, "/opt/gorvanel/"},
        {"/tmp/~/x", "/home/ann", "/tmp/~/x/"},        // only a leading ~ is home
        {"~ann/Games", "/home/ann", ""},               // another user's home is not looked up
        {"$HOMER/x", "/home/ann", ""},
        {"~/Games", nullptr, ""},
        {"~/Games", "relative/home", ""},
        {"Games/Gorvanel", "/home/ann", ""},
        {"", "/home/ann", ""},
        {"   ", "/home/ann", ""},
        {"/", "/home/ann", ""},
        {"/..", "/home/ann", ""},
        {"~/..", "/", ""},
        {"/opt/a\tb", "/home/ann", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpandInstallDir(c.typed, c.home), c.dir) << "'" << c.typed << "'";
}
