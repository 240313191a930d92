// The installed version read from the string module, and where updates come from.
#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "update/settings.h"
#include "update/version.h"
#include "update_fixture.h"

namespace {

TEST(Version, LeadingIntReadsAsAtoiDoes)
{
    struct Case {
        const char* text;
        int32_t value;
    } const cases[] = {
        {"15", 15}, {" 7", 7}, {"+3", 3}, {"-4", -4}, {"12abc", 12}, {"", 0}, {"x1", 0},
        {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LeadingInt(c.text), c.value) << c.text;
}

class VersionTest : public GameDirTest {};

TEST_F(VersionTest, LoadsFromTheModule)
{
    struct Case {
        const char* name;
        std::string module;     // "" for no module file
        bool failed;
        uint32_t version;
        const char* text;
    } const cases[] = {
        {"1.2.0.15", VersionModule("1", "2", "0", "15"), false, (1u << 24) + (2u << 16) + 15,
         "Current Version: 1.2.0.15"},
        {"a part of 256 carries", VersionModule("1", "1", "256", "0"), false, (1u << 24) + (2u << 16),
         "Current Version: 1.1.256.0"},
        {"the text keeps what is written", VersionModule("01", "2b", "0", "7"), false, (1u << 24) + (2u << 16) + 7,
         "Current Version: 01.2b.0.7"},
        {"first part above 127", VersionModule("200", "0", "0", "1"), false, (200u << 24) + 1,
         "Current Version: 200.0.0.1"},
        {"a missing string reads as 0", StringModule({{STR_VERSION, "3"}, {STR_VERSION + 2, "5"}}), false,
         (3u << 24) + (5u << 8), "Current Version: 3..5."},
        {"no module", "", true, 0, "Current Version:"},
        {"not a module", "MZ garbage", true, 0, "Current Version:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(File("Tessarine.dll"));
        if (!c.module.empty())
            Write("Tessarine.dll", c.module);
        uint32_t version = 12345;
        std::string text = "stale";
        EXPECT_EQ(LoadVersion(File("tessarine.dll").c_str(), &version, &text), c.failed);
        EXPECT_EQ(version, c.version);
        EXPECT_EQ(text, c.text);
    }
}

std::string lastbox;
void CaptureBox(const char*, const char* text) { lastbox = text; }

TEST(Version, ReadCurrentVersionWithoutTheModuleSaysSo)
{
    lastbox.clear();
    SetMessageBoxHook(CaptureBox);
    EXPECT_TRUE(ReadCurrentVersion());      // the test's directory has no string module
    SetMessageBoxHook(nullptr);
    // An update can repair it: the version reads as 0.0.0.0, older than any.
    EXPECT_EQ(lastbox, "Error: Unable to initialize Tessarine engine.\n\nThe game's files are damaged: press Update to "
                       "repair them.");
    EXPECT_EQ(currentversion, 0u);
    EXPECT_EQ(currentversiontext, "Current Version: 0.0.0.0");
}

TEST(Settings, BaseUrlComesFromTheCommandLineTheVariableOrTheBuild)
{
    struct Case {
        const char* name;
        std::vector<const char*> args;
        const char* variable;
        std::string url;
    } const cases[] = {
        {"built in", {"update"}, nullptr, DefaultBaseUrl()},
        {"variable", {"update"}, "http://127.0.0.1:8000/u/", "http://127.0.0.1:8000/u/"},
        {"variable gains its slash", {"update"}, "https://mirror.example.org/g", "https://mirror.example.org/g/"},
        {"option beats variable", {"update", "--url", "http://a/"}, "http://b/", "http://a/"},
        {"option with =", {"update", "--url=http://a/x"}, nullptr, "http://a/x/"},
        {"not the web", {"update", "--url", "file:///etc/"}, nullptr, DefaultBaseUrl()},
        {"empty variable", {"update"}, "", DefaultBaseUrl()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::internal::CaptureStderr();
        EXPECT_EQ(ChooseBaseUrl((int)c.args.size(), const_cast<char**>(c.args.data()), c.variable), c.url);
        testing::internal::GetCapturedStderr();
    }
    EXPECT_EQ(DefaultBaseUrl().back(), '/');
}

TEST(Settings, PlaceholderAddresses)
{
    for (const char* url : {"https://gorvanel.example.net/download/files/gorvanel/", "http://example.com/",
                            "https://EXAMPLE.ORG./x/", "http://user@updates.example:8080/", "http://a.invalid/"})
        EXPECT_TRUE(IsPlaceholderUrl(url)) << url;
    for (const char* url : {"https://gorvanel.net/download/", "http://127.0.0.1:8000/u/", "https://example.community/",
                            "http://notexample.com/", "http://localhost/"})
        EXPECT_FALSE(IsPlaceholderUrl(url)) << url;
    EXPECT_EQ(DefaultBaseUrl().rfind("https://", 0), 0u);
}

} // namespace
