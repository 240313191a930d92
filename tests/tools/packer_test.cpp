// gorvpack, run as the build runs it: modules it packs read back through the module reader, and inputs
// it must refuse with a message naming the file and line, leaving the previous output in place.
#include "common/module.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct ModuleCloser {
    void operator()(Module* module) const { CloseModule(module); }
};
using ModulePtr = std::unique_ptr<Module, ModuleCloser>;

void WriteFile(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

class Packer : public testing::Test {
protected:
    void SetUp() override
    {
        const testing::TestInfo* const info = testing::UnitTest::GetInstance()->current_test_info();
        root = fs::path(GORV_SCRATCH_DIR) / (std::string(info->test_suite_name()) + "." + info->name());
        fs::remove_all(root);
        fs::create_directories(root);
    }
    // Runs gorvpack on dir/test.manifest into dir/out.mod; true when it fails. Its messages go to `errors`.
    bool Pack(const fs::path& dir)
    {
        const std::string command = std::string("\"") + GORVPACK + "\" \"" + (dir / "test.manifest").string() +
                                    "\" \"" + (dir / "out.mod").string() + "\" 2> \"" +
                                    (dir / "errors.txt").string() + "\"";
        const int status = std::system(command.c_str());
        errors = ReadFile(dir / "errors.txt");
        return status != 0;
    }
    std::string String(const Module* module, const uint32_t id)
    {
        char buf[1000];
        ModuleString(module, id, buf, sizeof buf);
        return buf;
    }
    fs::path root;
    std::string errors;
};

TEST_F(Packer, PacksStringsAndResources)
{
    // Manifest order, name case and a file in a subfolder must not matter to the reader.
    WriteFile(root / "test.manifest",
              "# a comment\n"
              "\n"
              "resource WAVE .\\Sound\\Zed.wav sounds/zed.wav\n"
              "strings main.txt\n"
              "   resource  BITMAP   Background   art/bg.bmp  \n"
              "resource WAVE .\\Sound\\GSOK.wav sounds/gsok.wav\n"
              "strings more.txt\r\n");
    WriteFile(root / "main.txt",
              "\xEF\xBB\xBF# Strings, with a byte-order mark and CR line ends.\r\n"
              "1\tcaf\xC3\xA9 \xE2\x80\x94 \xE2\x82\xAC \xE2\x84\xA2 \xC5\xB8\r\n"      // é — € ™ Ÿ
              "\r\n"
              "2\ta\\nb\\tc\\\\d\r\n"
              "3\ta\\\\nb\r\n"                       // an escaped backslash, then a plain n
              "4\t\r\n"
              "5\t  spaced\ttab # not a comment\r\n"
              "4294967295\tlast\r\n");
    WriteFile(root / "more.txt", "0\tzero\n6\tsix");    // no final new line
    WriteFile(root / "sounds/zed.wav", "zed");
    WriteFile(root / "sounds/gsok.wav", std::string("gs\0ok", 5));
    WriteFile(root / "art/bg.bmp", "BM");
    ASSERT_FALSE(Pack(root)) << errors;
    EXPECT_EQ(errors, "");

    ModulePtr module(OpenModule((root / "out.mod").string().c_str()));
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(String(module.get(), 0), "zero");
    EXPECT_EQ(String(module.get(), 1), "caf\xE9 \x97 \x80 \x99 \x9F");
    EXPECT_EQ(String(module.get(), 2), "a\nb\tc\\d");
    EXPECT_EQ(String(module.get(), 3), "a\\nb");
    EXPECT_EQ(String(module.get(), 4), "");
    EXPECT_EQ(String(module.get(), 5), "  spaced\ttab # not a comment");
    EXPECT_EQ(String(module.get(), 6), "six");
    EXPECT_EQ(String(module.get(), 4294967295u), "last");
    EXPECT_EQ(String(module.get(), 7), "");

    const struct {
        const char* type;
        const char* name;
        std::string data;
    } resources[] = {
        {"wave", ".\\sound\\zed.WAV", "zed"},
        {"WAVE", ".\\Sound\\GSOK.wav", std::string("gs\0ok", 5)},
        {"BITMAP", "BACKGROUND", "BM"},
    };
    for (const auto& r : resources) {
        ModuleData found;
        ASSERT_FALSE(FindModuleResource(module.get(), r.type, r.name, &found)) << r.name;
        EXPECT_EQ(std::string((const char*)found.data, found.size), r.data) << r.name;
    }
    EXPECT_FALSE(fs::exists(root / "out.mod.tmp"));
}

// Numbers as four little-endian bytes; texts in CP1252 with their NUL, from the line or from a file.
TEST_F(Packer, PacksNumbersAndTexts)
{
    WriteFile(root / "test.manifest",
              "number RCDATA SIGN 137\n"
              "number RCDATA MAX 4294967295\n"
              "number RCDATA ZERO 0\n"
              "text RCDATA NAME  caf\xC3\xA9 \\\\ \\n and\\tmore  \n"
              "textfile RCDATA LICENCE docs/licence.txt\n"
              "textfile RCDATA LAST docs/last.txt\n");
    WriteFile(root / "docs/licence.txt", "\xEF\xBB\xBFline one\r\n\r\nline \xE2\x82\xAC three \\n\r\n");
    WriteFile(root / "docs/last.txt", "no final line end");
    ASSERT_FALSE(Pack(root)) << errors;

    ModulePtr module(OpenModule((root / "out.mod").string().c_str()));
    ASSERT_NE(module, nullptr);
    const struct {
        const char* name;
        std::string data;
    } resources[] = {
        {"SIGN", std::string("\x89\0\0\0", 4)},
        {"MAX", "\xFF\xFF\xFF\xFF"},
        {"ZERO", std::string(4, '\0')},
        {"NAME", std::string("caf\xE9 \\ \n and\tmore") + '\0'},
        {"LICENCE", std::string("line one\n\nline \x80 three \\n\n") + '\0'},
        {"LAST", std::string("no final line end") + '\0'},
    };
    for (const auto& r : resources) {
        ModuleData found;
        ASSERT_FALSE(FindModuleResource(module.get(), "RCDATA", r.name, &found)) << r.name;
        EXPECT_EQ(std::string((const char*)found.data, found.size), r.data) << r.name;
    }
}

// Every character CP1252 has, from its UTF-8 form.
TEST_F(Packer, ConvertsEveryCp1252Character)
{
    // The characters of bytes 0x80..0x9F (0: unused byte).
    const uint32_t high[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
    };
    const auto utf8 = [](const uint32_t c) {
        std::string s;
        if (c < 0x80) {
            s += (char)c;
        } else if (c < 0x800) {
            s += (char)(0xC0 | c >> 6);
            s += (char)(0x80 | (c & 0x3F));
        } else {
            s += (char)(0xE0 | c >> 12);
            s += (char)(0x80 | (c >> 6 & 0x3F));
            s += (char)(0x80 | (c & 0x3F));
        }
        return s;
    };
    std::string text, expected;
    for (uint32_t byte = 0x20; byte <= 0xFF; byte++) {
        if (byte == '\\' || byte == 0x7F)
            continue;
        const uint32_t code = byte >= 0x80 && byte <= 0x9F ? high[byte - 0x80] : byte;
        if (code == 0)
            continue;
        text += utf8(code);
        expected += (char)byte;
    }
    WriteFile(root / "test.manifest", "strings s.txt\n");
    WriteFile(root / "s.txt", "1\t" + text + "\n");
    ASSERT_FALSE(Pack(root)) << errors;
    ModulePtr module(OpenModule((root / "out.mod").string().c_str()));
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(String(module.get(), 1), expected);
}

TEST_F(Packer, RefusesBadInput)
{
    const struct {
        const char* what;
        std::string manifest;
        std::string strings;    // s.txt
        std::string message;    // a part of the error message
    } cases[] = {
        {"unknown directive", "strings s.txt\nbogus x\n", "", "test.manifest:2: unknown directive 'bogus'"},
        {"strings without a file", "strings\n", "", "test.manifest:1: expected: strings <file>"},
        {"missing string table", "strings nothere.txt\n", "", "test.manifest:1: cannot read string table"},
        {"resource without a file", "resource WAVE a.wav\n", "", "test.manifest:1: expected: resource"},
        {"missing resource file", "resource WAVE a.wav nothere.bin\n", "", "test.manifest:1: cannot read"},
        {"resource repeated in another case", "resource WAVE .\\A.wav s.txt\n\nresource wave .\\a.WAV s.txt\n", "",
         "test.manifest:3: resource wave .\\a.WAV is already defined at"},
        {"name too long", "resource WAVE " + std::string(MODULE_MAXNAME + 1, 'n') + " s.txt\n", "",
         "test.manifest:1: a type or name is longer than"},
        {"no TAB", "strings s.txt\n", "# c\n12 twelve\n", "s.txt:2: expected <id><TAB><text>"},
        {"id not a number", "strings s.txt\n", "x1\tx\n", "s.txt:1: expected <id><TAB><text>"},
        {"negative id", "strings s.txt\n", "-1\tx\n", "s.txt:1: expected <id><TAB><text>"},
        {"id too large", "strings s.txt\n", "4294967296\tx\n", "s.txt:1: expected <id><TAB><text>"},
        {"empty id", "strings s.txt\n", "\tx\n", "s.txt:1: expected <id><TAB><text>"},
        {"indented line", "strings s.txt\n", " 1\tx\n", "s.txt:1: expected <id><TAB><text>"},
        {"id repeated", "strings s.txt\n", "5\ta\n6\tb\n5\tc\n", "s.txt:3: string 5 is defined twice"},
        {"id repeated across tables", "strings s.txt\nstrings s.txt\n", "5\ta\n", "s.txt:1: string 5 is defined twice"},
        {"unknown escape", "strings s.txt\n", "5\ta\\qb\n", "s.txt:1: unknown escape \\q"},
        {"lone backslash at the end", "strings s.txt\n", "5\tab\\\n", "s.txt:1: a lone '\\'"},
        {"character outside CP1252", "strings s.txt\n", "1\tok\n5\t\xE0\xB2\xA0\n", "s.txt:2: character U+0CA0 has no CP1252"},
        {"a C1 control", "strings s.txt\n", "5\t\xC2\x81\n", "s.txt:1: character U+0081 has no CP1252"},
        {"four-byte character", "strings s.txt\n", "5\t\xF0\x9F\x98\x80\n", "s.txt:1: character U+1F600"},
        {"truncated UTF-8", "strings s.txt\n", "5\tab\xC3\n", "s.txt:1: invalid UTF-8"},
        {"overlong UTF-8", "strings s.txt\n", "5\t\xC0\xAF\n", "s.txt:1: invalid UTF-8"},
        {"UTF-8 surrogate", "strings s.txt\n", "5\t\xED\xA0\x80\n", "s.txt:1: invalid UTF-8"},
        {"Latin-1 byte, not UTF-8", "strings s.txt\n", "5\tcaf\xE9\n", "s.txt:1: invalid UTF-8"},
        {"NUL in a text", "strings s.txt\n", std::string("5\ta\0b\n", 6), "s.txt:1: a NUL character"},
        {"number without a value", "number RCDATA N\n", "", "test.manifest:1: expected: number <TYPE> <name> <value>"},
        {"number not decimal", "number RCDATA N 0x10\n", "", "test.manifest:1: expected a decimal value"},
        {"number too large", "number RCDATA N 4294967296\n", "", "test.manifest:1: expected a decimal value"},
        {"negative number", "number RCDATA N -1\n", "", "test.manifest:1: expected a decimal value"},
        {"text without a text", "text RCDATA T   \n", "", "test.manifest:1: expected: text <TYPE> <name> <text>"},
        {"text outside CP1252", "text RCDATA T \xE0\xB2\xA0\n", "", "test.manifest:1: character U+0CA0"},
        {"text and number of one name", "text RCDATA T a\nnumber rcdata t 1\n", "", "test.manifest:2: resource rcdata t"},
        {"missing text file", "textfile RCDATA T nothere.txt\n", "", "test.manifest:1: cannot read"},
        {"text file with a NUL", "textfile RCDATA T s.txt\n", std::string("a\0b", 3), "s.txt: a NUL character"},
        {"text file not UTF-8", "textfile RCDATA T s.txt\n", "caf\xE9", "s.txt: invalid UTF-8"},
    };
    int index = 0;
    for (const auto& c : cases) {
        const fs::path dir = root / std::to_string(index++);
        WriteFile(dir / "test.manifest", c.manifest);
        WriteFile(dir / "s.txt", c.strings);
        WriteFile(dir / "out.mod", "previous");
        EXPECT_TRUE(Pack(dir)) << c.what;
        EXPECT_NE(errors.find(c.message), std::string::npos) << c.what << ": got " << errors;
        EXPECT_EQ(ReadFile(dir / "out.mod"), "previous") << c.what;
        EXPECT_FALSE(fs::exists(dir / "out.mod.tmp")) << c.what;
    }
}

TEST_F(Packer, RefusesAMissingManifestAndWrongArguments)
{
    EXPECT_TRUE(Pack(root));
    EXPECT_NE(errors.find("test.manifest: cannot read the manifest"), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(root / "out.mod"));
    const std::string command = std::string("\"") + GORVPACK + "\" only-one 2> \"" + (root / "e.txt").string() + "\"";
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_NE(ReadFile(root / "e.txt").find("usage: gorvpack <manifest> <output>"), std::string::npos);
}

TEST_F(Packer, ReplacesThePreviousOutput)
{
    WriteFile(root / "test.manifest", "strings s.txt\n");
    WriteFile(root / "s.txt", "1\tfirst\n");
    ASSERT_FALSE(Pack(root)) << errors;
    WriteFile(root / "s.txt", "1\tsecond\n");
    ASSERT_FALSE(Pack(root)) << errors;
    ModulePtr module(OpenModule((root / "out.mod").string().c_str()));
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(String(module.get(), 1), "second");
}

}  // namespace
