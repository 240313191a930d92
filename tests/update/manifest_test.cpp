// The manifest as a pure function: good lists, and every way a hostile or broken server can get one wrong.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "update/manifest.h"

namespace {

constexpr uint32_t V1_2_0_15 = (1u << 24) + (2u << 16) + 15;

std::string Lines(const std::vector<std::string>& lines, const char* end = "\n")
{
    std::string text;
    for (const std::string& l : lines)
        text += l + end;
    return text;
}

// A manifest of version 1.2.0.16 with these lines after the version.
std::string Newer(const std::vector<std::string>& rest)
{
    std::vector<std::string> lines = {"GORV_MRV_DATA", "Gorvanel", "an update", "1", "2", "0", "16"};
    lines.insert(lines.end(), rest.begin(), rest.end());
    return Lines(lines);
}

// A one-file manifest naming this target.
std::string OneTarget(const std::string& target)
{
    return Newer({"1", target, "10"});
}

struct Case {
    const char* name;
    std::string text;
    ManifestVerdict verdict;
    std::vector<std::string> targets;
    std::vector<int32_t> sizes;
    uint32_t current = V1_2_0_15;
};

TEST(Manifest, Table)
{
    std::vector<std::string> thousand = {"1000"};
    for (int i = 0; i < 1000; i++) {
        thousand.push_back("Data/f" + std::to_string(i));
        thousand.push_back("1");
    }
    std::vector<std::string> thousandone = thousand;
    thousandone[0] = "1001";
    thousandone.push_back("Data/last");
    thousandone.push_back("1");

    const Case cases[] = {
        {"good", Newer({"2", "Gorvanel", "-1", "Tessarine.dll", "1000"}), MANIFEST_NEWER,
         {"Gorvanel", "Tessarine.dll"}, {-1, 1000}},
        {"the string module without its size", Newer({"2", "Gorvanel", "1000", "Tessarine.dll", "-1"}),
         MANIFEST_MALFORMED, {}, {}},
        {"the string module without its size, in capitals", Newer({"1", ".\\TESSARINE.DLL", "-1"}), MANIFEST_MALFORMED,
         {}, {}},
        {"CR LF line ends",
         Lines({"GORV_MRV_DATA", "a", "b", "1", "2", "0", "16", "1", "Music\\Lull1.mid", "7"}, "\r\n"),
         MANIFEST_NEWER, {"Music/Lull1.mid"}, {7}},
        {"lines after the pairs are ignored", Newer({"1", "a.dll", "5", "junk", "/etc/passwd"}), MANIFEST_NEWER,
         {"a.dll"}, {5}},
        {"no last line end", Newer({"1", "a.dll"}) + "5", MANIFEST_NEWER, {"a.dll"}, {5}},
        {"count 0", Newer({"0"}), MANIFEST_NEWER, {}, {}},
        {"a negative count is no files", Newer({"-3", "a.dll", "5"}), MANIFEST_NEWER, {}, {}},
        {"1000 files", Newer(thousand), MANIFEST_NEWER, {}, {}},
        {"size 0", Newer({"1", "empty.txt", "0"}), MANIFEST_NEWER, {"empty.txt"}, {0}},
        {"largest size", Newer({"1", "big", " 2147483647 "}), MANIFEST_NEWER, {"big"}, {2147483647}},
        {"leading ./ and .\\", Newer({"2", "./a.dll", "1", ".\\Music\\b.mid", "2"}), MANIFEST_NEWER,
         {"a.dll", "Music/b.mid"}, {1, 2}},
        {"a work file's name below the top", OneTarget("Saves/PKG.000"), MANIFEST_NEWER, {"Saves/PKG.000"}, {10}},

        {"equal version", Lines({"GORV_MRV_DATA", "", "", "1", "2", "0", "15", "1", "a", "1"}), MANIFEST_NOTNEWER, {}, {}},
        {"lower version", Lines({"GORV_MRV_DATA", "", "", "1", "1", "9", "99"}), MANIFEST_NOTNEWER, {}, {}},
        {"first part 128 is newer, unsigned", Lines({"GORV_MRV_DATA", "", "", "128", "0", "0", "0", "0"}),
         MANIFEST_NEWER, {}, {}, 127u << 24},
        {"first part 127 is older than 200", Lines({"GORV_MRV_DATA", "", "", "127", "255", "255", "255"}),
         MANIFEST_NOTNEWER, {}, {}, 200u << 24},
        {"a part of 256 carries: 1.1.256.0 is 1.2.0.0", Lines({"GORV_MRV_DATA", "", "", "1", "1", "256", "0"}),
         MANIFEST_NOTNEWER, {}, {}, (1u << 24) + (2u << 16)},
        {"a part of 256 carries past 1.1.255.255", Lines({"GORV_MRV_DATA", "", "", "1", "1", "256", "0", "0"}),
         MANIFEST_NEWER, {}, {}, (1u << 24) + (1u << 16) + 0xFFFF},

        {"empty", "", MANIFEST_MALFORMED, {}, {}},
        {"wrong magic", Lines({"GORV_MRV_DATX", "", "", "9", "9", "9", "9", "0"}), MANIFEST_MALFORMED, {}, {}},
        {"magic with a blank", Lines({"GORV_MRV_DATA ", "", "", "9", "9", "9", "9", "0"}), MANIFEST_MALFORMED, {}, {}},
        {"an error page", "<html><body>404 Not Found</body></html>\n", MANIFEST_MALFORMED, {}, {}},
        {"version cut off", Lines({"GORV_MRV_DATA", "", "", "9"}), MANIFEST_MALFORMED, {}, {}},
        {"no count", Newer({}), MANIFEST_MALFORMED, {}, {}},
        {"count not a number", Newer({"many"}), MANIFEST_MALFORMED, {}, {}},
        {"count above 1000", Newer(thousandone), MANIFEST_MALFORMED, {}, {}},
        {"huge count", Newer({"99999999999", "a", "1"}), MANIFEST_MALFORMED, {}, {}},
        {"fewer pairs than the count", Newer({"3", "a", "1", "b", "2"}), MANIFEST_MALFORMED, {}, {}},
        {"a pair without its size", Newer({"1", "a"}), MANIFEST_MALFORMED, {}, {}},
        {"empty target", OneTarget(""), MANIFEST_MALFORMED, {}, {}},
        {"absolute", OneTarget("/etc/passwd"), MANIFEST_MALFORMED, {}, {}},
        {"absolute with backslashes", OneTarget("\\\\server\\share\\x"), MANIFEST_MALFORMED, {}, {}},
        {"parent", OneTarget("../outside"), MANIFEST_MALFORMED, {}, {}},
        {"parent through backslashes", OneTarget("..\\outside"), MANIFEST_MALFORMED, {}, {}},
        {"parent inside", OneTarget("Music/../../outside"), MANIFEST_MALFORMED, {}, {}},
        {"ends in parent", OneTarget("Music/.."), MANIFEST_MALFORMED, {}, {}},
        {"only a dot", OneTarget("."), MANIFEST_MALFORMED, {}, {}},
        {"a dot part", OneTarget("Music/./a.mid"), MANIFEST_MALFORMED, {}, {}},
        {"empty part", OneTarget("Music//a.mid"), MANIFEST_MALFORMED, {}, {}},
        {"trailing slash", OneTarget("Music/"), MANIFEST_MALFORMED, {}, {}},
        {"drive", OneTarget("C:\\Windows\\win.ini"), MANIFEST_MALFORMED, {}, {}},
        {"drive-relative", OneTarget("c:game.exe"), MANIFEST_MALFORMED, {}, {}},
        {"control character", OneTarget(std::string("a\tb")), MANIFEST_MALFORMED, {}, {}},
        {"NUL inside", OneTarget(std::string("a\0b", 3)), MANIFEST_MALFORMED, {}, {}},
        {"too long", OneTarget(std::string(MAXTARGETLENGTH + 1, 'a')), MANIFEST_MALFORMED, {}, {}},
        {"the manifest's own file", OneTarget("ftplist.txt"), MANIFEST_MALFORMED, {}, {}},
        {"the manifest's own file in capitals", OneTarget("FTPLIST.TXT"), MANIFEST_MALFORMED, {}, {}},
        {"a package file", OneTarget("PKG.000"), MANIFEST_MALFORMED, {}, {}},
        {"a package file's backup", OneTarget(".\\pkg.001.old"), MANIFEST_MALFORMED, {}, {}},
        {"a run's own manifest", OneTarget("ftplist.txt.0badc0de"), MANIFEST_MALFORMED, {}, {}},
        {"the update log", OneTarget("Update.Log"), MANIFEST_MALFORMED, {}, {}},
        {"a package name as a directory", OneTarget("PKG.002/x"), MANIFEST_MALFORMED, {}, {}},
        {"duplicate", Newer({"2", "a.dll", "1", "a.dll", "1"}), MANIFEST_MALFORMED, {}, {}},
        {"duplicate in another case", Newer({"2", "Gorvanel", "1", "GORVANEL", "1"}), MANIFEST_MALFORMED, {}, {}},
        {"duplicate through ./", Newer({"2", "a.dll", "1", "./a.dll", "1"}), MANIFEST_MALFORMED, {}, {}},
        {"a file and a directory", Newer({"2", "Music", "1", "Music/a.mid", "1"}), MANIFEST_MALFORMED, {}, {}},
        {"size -2", Newer({"1", "a", "-2"}), MANIFEST_MALFORMED, {}, {}},
        {"size past 32 bits", Newer({"1", "a", "2147483648"}), MANIFEST_MALFORMED, {}, {}},
        {"size with junk", Newer({"1", "a", "12kb"}), MANIFEST_MALFORMED, {}, {}},
        {"size empty", Newer({"1", "a", ""}), MANIFEST_MALFORMED, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ManifestResult r = ParseManifest(c.text, c.current);
        EXPECT_EQ(r.verdict, c.verdict) << r.detail;
        if (c.verdict != MANIFEST_NEWER || c.targets.empty() != c.sizes.empty())
            continue;
        if (!c.targets.empty()) {
            EXPECT_EQ(r.info.targets, c.targets);
            EXPECT_EQ(r.info.sizes, c.sizes);
        }
        EXPECT_EQ(r.info.count, (int32_t)r.info.targets.size());
        EXPECT_EQ(r.info.sizes.size(), r.info.targets.size());
    }
}

TEST(Manifest, ReadsTheWholeGoodList)
{
    const ManifestResult r = ParseManifest(Newer({"2", "Gorvanel", "-1", "Tessarine.dll", "1000"}), V1_2_0_15);
    ASSERT_EQ(r.verdict, MANIFEST_NEWER);
    EXPECT_EQ(r.info.text1, "Gorvanel");
    EXPECT_EQ(r.info.text2, "an update");
    EXPECT_EQ(r.info.version, V1_2_0_15 + 1);
    EXPECT_EQ(r.info.count, 2);
}

TEST(Manifest, UpToDateNamesTheVersionAsWritten)
{
    const ManifestResult r = ParseManifest(Lines({"GORV_MRV_DATA", "", "", "1", "02", "0", "15"}), V1_2_0_15);
    EXPECT_EQ(r.verdict, MANIFEST_NOTNEWER);
    EXPECT_EQ(r.detail, "Version 1.02.0.15 lower than current version.");
}

TEST(Manifest, WrongMagicHasTheListsDetail)
{
    EXPECT_EQ(ParseManifest("nope\n", 0).detail, "Malformed manifest list.");
}

TEST(Manifest, PackageNames)
{
    EXPECT_EQ(PackageName(0), "PKG.000");
    EXPECT_EQ(PackageName(42), "PKG.042");
    EXPECT_EQ(PackageName(999), "PKG.999");
}

} // namespace
