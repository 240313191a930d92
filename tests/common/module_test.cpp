// The data-module reader: lookups on a fixture packed by gorvpack, and malformed files that must not open.
#include "common/module.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::string fixturedir = GORV_FIXTURE_DIR;

struct ModuleCloser {
    void operator()(Module* module) const { CloseModule(module); }
};
using ModulePtr = std::unique_ptr<Module, ModuleCloser>;

std::vector<uint8_t> FixtureBytes()
{
    std::vector<uint8_t> bytes;
    FILE* const file = fopen((fixturedir + "/Fixture.dll").c_str(), "rb");
    if (file == nullptr)
        return bytes;
    int c;
    while ((c = fgetc(file)) != EOF)
        bytes.push_back((uint8_t)c);
    fclose(file);
    return bytes;
}

uint32_t GetU32(const std::vector<uint8_t>& bytes, const size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | (uint32_t)bytes[at + 3] << 24;
}

void SetU32(std::vector<uint8_t>& bytes, const size_t at, const uint32_t value)
{
    for (int i = 0; i < 4; i++)
        bytes[at + i] = (uint8_t)(value >> (8 * i));
}

class ModuleFixture : public testing::Test {
protected:
    void SetUp() override
    {
        bytes = FixtureBytes();
        ASSERT_FALSE(bytes.empty()) << "fixture module missing in " << fixturedir;
        module.reset(OpenModuleFromBytes(bytes));
        ASSERT_NE(module, nullptr);
    }
    std::string String(const uint32_t id, const int size = 500)
    {
        std::vector<char> buf(size, 'X');
        const int length = ModuleString(module.get(), id, buf.data(), size);
        EXPECT_EQ(length, (int)strlen(buf.data()));
        return buf.data();
    }
    std::vector<uint8_t> bytes;
    ModulePtr module;
};

TEST_F(ModuleFixture, StringsById)
{
    const std::string alphabet = "abcdefghijklmnopqrstuvwxyz";
    std::string long600;
    for (int i = 0; i < 600; i++)
        long600 += alphabet[i % 26];
    const struct {
        uint32_t id;
        std::string text;
    } cases[] = {
        {0, "zero"},
        {1, "Hello, world"},
        {7, "caf\xE9 \x97 5 \x80"},     // é, an em dash and the euro sign in CP1252
        {8, ""},
        {42, "line one\nline two\tand a tab \\ and a backslash"},
        {100, long600.substr(0, 499)},
        {4294967295u, "the largest id"},
        {2, ""},                        // missing: between ids, before the end, past the end
        {99, ""},
        {4294967294u, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(String(c.id), c.text) << "id " << c.id;
}

TEST_F(ModuleFixture, StringsCutToTheBuffer)
{
    char buf[600];
    memset(buf, 'X', sizeof buf);
    EXPECT_EQ(ModuleString(module.get(), 100, buf, 500), 499);
    EXPECT_EQ(buf[498], 'a' + 498 % 26);
    EXPECT_EQ(buf[499], '\0');
    EXPECT_EQ(buf[500], 'X');

    EXPECT_EQ(String(1, 13), "Hello, world");     // exactly room for the text and its NUL
    EXPECT_EQ(String(1, 12), "Hello, worl");
    EXPECT_EQ(String(1, 1), "");

    for (const int size : {0, -1}) {
        buf[0] = 'X';
        EXPECT_EQ(ModuleString(module.get(), 1, buf, size), 0);
        EXPECT_EQ(buf[0], 'X') << "size " << size << " must write nothing";
    }
    EXPECT_EQ(ModuleString(module.get(), 1, nullptr, 10), 0);
}

TEST_F(ModuleFixture, MissingStringEmptiesTheBuffer)
{
    char buf[16] = "previous";
    EXPECT_EQ(ModuleString(module.get(), 5, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "");
    strcpy(buf, "previous");
    EXPECT_EQ(ModuleString(nullptr, 1, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "");
}

TEST_F(ModuleFixture, ResourcesByTypeAndNameIgnoringCase)
{
    const struct {
        const char* type;
        const char* name;
        const char* data;   // null: not found
    } cases[] = {
        {"WAVE", ".\\Sound\\GSOK.wav", "RIFF gsok"},
        {"wave", ".\\SOUND\\gsok.WAV", "RIFF gsok"},
        {"Wave", ".\\sound\\other.wav", "RIFF other"},
        {"BITMAP", "BACKGROUND", "BM background"},
        {"bitmap", "Background", "BM background"},
        {"RCDATA", "empty", ""},
        {"WAV", ".\\Sound\\GSOK.wav", nullptr},      // the type matters
        {"WAVE", "./Sound/GSOK.wav", nullptr},       // a backslash is not a slash
        {"WAVE", ".\\Sound\\GSOK.wa", nullptr},
        {"WAVE", ".\\Sound\\GSOK.wavx", nullptr},
        {"WAVE", ".\\Sound\\Missing.wav", nullptr},
        {"BITMAP", "", nullptr},
        {"", "BACKGROUND", nullptr},
        {"ZZZZ", "zzzz", nullptr},                    // past the last entry
        {"AAAA", "aaaa", nullptr},                    // before the first
    };
    for (const auto& c : cases) {
        ModuleData found = {(const uint8_t*)"junk", 4};
        const bool failed = FindModuleResource(module.get(), c.type, c.name, &found);
        if (c.data == nullptr) {
            EXPECT_TRUE(failed) << c.type << " " << c.name;
            EXPECT_EQ(found.data, nullptr);
            EXPECT_EQ(found.size, 0u);
        } else {
            ASSERT_FALSE(failed) << c.type << " " << c.name;
            EXPECT_EQ(std::string((const char*)found.data, found.size), c.data) << c.type << " " << c.name;
        }
    }
    ModuleData found;
    EXPECT_TRUE(FindModuleResource(module.get(), nullptr, "x", &found));
    EXPECT_TRUE(FindModuleResource(module.get(), "WAVE", nullptr, &found));
    EXPECT_TRUE(FindModuleResource(nullptr, "WAVE", ".\\Sound\\GSOK.wav", &found));
}

TEST(ModuleOpen, ByWindowsStyleName)
{
    ModulePtr module(OpenModule((fixturedir + "\\FIXTURE.DLL").c_str()));
    ASSERT_NE(module, nullptr);
    char buf[32];
    EXPECT_EQ(ModuleString(module.get(), 0, buf, sizeof buf), 4);
    EXPECT_STREQ(buf, "zero");
    // Its pages given back to the file, a module still reads the same.
    ModuleData before;
    ASSERT_FALSE(FindModuleResource(module.get(), "WAVE", ".\\Sound\\GSOK.wav", &before));
    const std::string bytes((const char*)before.data, before.size);
    ReleaseModulePages(module.get());
    ReleaseModulePages(nullptr);
    EXPECT_EQ(std::string((const char*)before.data, before.size), bytes);
    EXPECT_EQ(ModuleString(module.get(), 0, buf, sizeof buf), 4);

    errno = 0;
    EXPECT_EQ(OpenModule((fixturedir + "\\Missing.dll").c_str()), nullptr);
    EXPECT_EQ(errno, ENOENT);
    errno = 0;
    EXPECT_EQ(OpenModuleFromBytes({'G', 'M', 'O', 'D'}), nullptr);
    EXPECT_EQ(errno, EINVAL);
}

TEST(ModuleOpen, EmptyModuleAndTrailingBytes)
{
    std::vector<uint8_t> bytes(MODULE_HEADERSIZE);
    SetU32(bytes, 0, MODULE_MAGIC);
    SetU32(bytes, 4, MODULE_VERSION);
    ModulePtr empty(OpenModuleFromBytes(bytes));
    ASSERT_NE(empty, nullptr);
    char buf[8] = "x";
    EXPECT_EQ(ModuleString(empty.get(), 0, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "");
    ModuleData found;
    EXPECT_TRUE(FindModuleResource(empty.get(), "WAVE", "a", &found));

    bytes.resize(bytes.size() + 5, 0xFF);
    EXPECT_NE(ModulePtr(OpenModuleFromBytes(bytes)), nullptr);
}

// Every cut of a valid module is rejected; under AddressSanitizer none reads past its bytes.
TEST(ModuleMalformed, TruncatedAtEveryLength)
{
    const std::vector<uint8_t> bytes = FixtureBytes();
    ASSERT_FALSE(bytes.empty());
    for (size_t length = 0; length < bytes.size(); length++) {
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + length);
        EXPECT_EQ(ModulePtr(OpenModuleFromBytes(cut)), nullptr) << "cut at " << length;
    }
}

TEST(ModuleMalformed, CorruptedFields)
{
    const std::vector<uint8_t> good = FixtureBytes();
    ASSERT_FALSE(good.empty());
    ASSERT_NE(ModulePtr(OpenModuleFromBytes(good)), nullptr);
    const uint32_t size = (uint32_t)good.size();
    const uint32_t stringcount = GetU32(good, 8);
    ASSERT_GE(stringcount, 2u);
    ASSERT_GE(GetU32(good, 12), 2u);
    const auto str = [](const uint32_t i, const uint32_t field) {
        return MODULE_HEADERSIZE + i * MODULE_STRINGENTRY + field * 4;
    };
    const auto res = [&](const uint32_t i, const uint32_t field) {
        return MODULE_HEADERSIZE + stringcount * MODULE_STRINGENTRY + i * MODULE_RESOURCEENTRY + field * 4;
    };
    enum { ID, OFFSET, LENGTH };
    enum { TYPEOFF, TYPELEN, NAMEOFF, NAMELEN, DATAOFF, DATALEN };

    // A patch writes values at byte positions; opens says whether the result is still a valid module.
    const struct {
        const char* what;
        std::vector<std::pair<uint32_t, uint32_t>> patch;
        bool opens;
    } cases[] = {
        {"bad magic", {{0, 0x444F4D48}}, false},
        {"other version", {{4, MODULE_VERSION + 1}}, false},
        {"string count all ones", {{8, 0xFFFFFFFF}}, false},
        {"string count whose table size wraps a u32", {{8, 0x15555556}}, false},
        {"resource count all ones", {{12, 0xFFFFFFFF}}, false},
        {"resource count whose table size wraps a u32", {{12, 0x0AAAAAAB}}, false},
        {"tables one entry longer than the file", {{12, (size - MODULE_HEADERSIZE) / MODULE_RESOURCEENTRY + 1}}, false},
        {"string offset + length wraps a u32", {{str(0, OFFSET), 0xFFFFFFF0}, {str(0, LENGTH), 0x20}}, false},
        {"string one byte past the end", {{str(1, OFFSET), size - 3}, {str(1, LENGTH), 4}}, false},
        {"string starting past the end", {{str(1, OFFSET), size + 1}, {str(1, LENGTH), 0}}, false},
        {"string length all ones", {{str(0, LENGTH), 0xFFFFFFFF}}, false},
        {"string holding a NUL", {{str(0, OFFSET), 4}, {str(0, LENGTH), 2}}, false},
        {"ids swapped", {{str(0, ID), GetU32(good, str(1, ID))}, {str(1, ID), GetU32(good, str(0, ID))}}, false},
        {"ids repeated", {{str(1, ID), GetU32(good, str(0, ID))}}, false},
        {"empty string ending the file", {{str(1, OFFSET), size}, {str(1, LENGTH), 0}}, true},
        {"type offset + length wraps a u32", {{res(0, TYPEOFF), 0xFFFFFFFF}, {res(0, TYPELEN), 2}}, false},
        {"name offset + length wraps a u32", {{res(1, NAMEOFF), 0xFFFFFFFE}, {res(1, NAMELEN), 4}}, false},
        {"data offset + length wraps a u32", {{res(0, DATAOFF), 0x10}, {res(0, DATALEN), 0xFFFFFFF8}}, false},
        {"data one byte past the end", {{res(1, DATAOFF), 0}, {res(1, DATALEN), size + 1}}, false},
        {"empty type", {{res(0, TYPELEN), 0}}, false},
        {"empty name", {{res(1, NAMELEN), 0}}, false},
        {"name longer than the limit", {{res(0, NAMEOFF), 0}, {res(0, NAMELEN), MODULE_MAXNAME + 1}}, false},
        {"name holding a NUL", {{res(0, NAMEOFF), 4}, {res(0, NAMELEN), 2}}, false},
        {"resources out of order", {{res(0, NAMEOFF), GetU32(good, res(1, NAMEOFF))},
                                    {res(0, NAMELEN), GetU32(good, res(1, NAMELEN))},
                                    {res(0, TYPEOFF), GetU32(good, res(1, TYPEOFF))},
                                    {res(0, TYPELEN), GetU32(good, res(1, TYPELEN))},
                                    {res(1, NAMEOFF), GetU32(good, res(0, NAMEOFF))},
                                    {res(1, NAMELEN), GetU32(good, res(0, NAMELEN))},
                                    {res(1, TYPEOFF), GetU32(good, res(0, TYPEOFF))},
                                    {res(1, TYPELEN), GetU32(good, res(0, TYPELEN))}}, false},
        {"resource repeated", {{res(1, NAMEOFF), GetU32(good, res(0, NAMEOFF))},
                               {res(1, NAMELEN), GetU32(good, res(0, NAMELEN))},
                               {res(1, TYPEOFF), GetU32(good, res(0, TYPEOFF))},
                               {res(1, TYPELEN), GetU32(good, res(0, TYPELEN))}}, false},
        {"empty data at the very end", {{res(1, DATAOFF), size}, {res(1, DATALEN), 0}}, true},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bytes = good;
        for (const auto& [at, value] : c.patch)
            SetU32(bytes, at, value);
        ModulePtr module(OpenModuleFromBytes(bytes));
        EXPECT_EQ(module != nullptr, c.opens) << c.what;
    }
}

}  // namespace
