// The install record's folder of values under the configuration directory.
#include "install_fixture.h"
#include "installer/record.h"

namespace {

using Record = InstallTest;

TEST_F(Record, KeysAsFolders)
{
    const std::string store = home.string() + "/.config/gorvanel";
    const struct {
        const char* key;
        std::string dir;    // "" when refused
    } cases[] = {
        {"Software\\Thornquill\\Gorvanel", store + "/Thornquill/Gorvanel"},
        {"software/Thornquill/Gorvanel\\", store + "/Thornquill/Gorvanel"},
        {"Thornquill", store + "/Thornquill"},
        {"Software\\", ""},
        {"", ""},
        {"Software\\..\\..\\x", ""},
        {"Software\\a\\\\b", ""},
        {"/etc", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RecordKeyDir(c.key), c.dir) << c.key;
    setenv("XDG_CONFIG_HOME", "relative/config", 1);        // not a full path: ignored
    EXPECT_EQ(RecordKeyDir("Software\\Thornquill\\Gorvanel"), store + "/Thornquill/Gorvanel");
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("HOME");
    EXPECT_EQ(RecordRoot(), "");
    EXPECT_EQ(WriteRecordValue("Software\\Thornquill\\Gorvanel", "installed", "/x/"), RECORD_NOKEY);
}

TEST_F(Record, ValuesAreWrittenWholeAndTheKeyGoesWithItsFolders)
{
    const std::string key = "Software\\Thornquill\\Gorvanel";
    EXPECT_FALSE(RecordKeyExists(key));
    std::string value;
    EXPECT_TRUE(ReadRecordValue(key, "installed", &value));
    EXPECT_EQ(WriteRecordValue(key, "installed", "/opt/one/"), 0);
    EXPECT_EQ(WriteRecordValue(key, "installed", "/opt/two/"), 0);
    EXPECT_EQ(WriteRecordList(key, "files", {"a", "b/c"}), 0);
    EXPECT_EQ(WriteRecordValue(key, "../escape", "x"), RECORD_NOKEY);
    ASSERT_FALSE(ReadRecordValue(key, "installed", &value));
    EXPECT_EQ(value, "/opt/two/");
    std::vector<std::string> files;
    ASSERT_FALSE(ReadRecordList(key, "files", &files));
    EXPECT_EQ(files, (std::vector<std::string>{"a", "b/c"}));
    const fs::path dir = home / ".config/gorvanel/Thornquill/Gorvanel";
    EXPECT_EQ(Snapshot(dir).size(), 2u);     // no work file left beside the values

    // Another program's key under the same store keeps the store's folder.
    EXPECT_EQ(WriteRecordValue("Software\\Thornquill\\Other", "installed", "/opt/other/"), 0);
    EXPECT_EQ(DeleteRecordKey(key), 0);
    EXPECT_FALSE(RecordKeyExists(key));
    EXPECT_TRUE(RecordKeyExists("Software\\Thornquill\\Other"));
    EXPECT_EQ(DeleteRecordKey("Software\\Thornquill\\Other"), 0);
    EXPECT_FALSE(fs::exists(home / ".config/gorvanel"));
    EXPECT_TRUE(fs::exists(home / ".config"));
    EXPECT_EQ(DeleteRecordKey(key), 0);     // nothing to delete is no error
}

} // namespace
