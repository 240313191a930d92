// UTF-8 <-> CP1252: typed text arrives as UTF-8, the game speaks CP1252.
#include <gtest/gtest.h>

#include <string>

#include "platform/cp1252.h"

namespace {

TEST(Cp1252, FromUtf8)
{
    struct Case {
        const char* utf8;
        std::string cp1252;
    };
    const Case cases[] = {
        {"Gorvanel 1.0", "Gorvanel 1.0"},
        {"\xC3\xA9", "\xE9"},                       // é
        {"\xE2\x82\xAC", "\x80"},                   // €
        {"\xC5\x92\xE2\x84\xA2\xE2\x80\xA6", "\x8C\x99\x85"},  // Œ ™ …
        {"\xC5\xB8\xC3\xBF", "\x9F\xFF"},           // Ÿ ÿ
        {"a\xE6\x97\xA5" "b", "ab"},                // a 日 b: CP1252 has no 日
        {"a\xF0\x9F\x98\x80" "b", "ab"},            // a four-byte character
        {"\xC2\x80", ""},                           // U+0080 is not the euro's byte
        {"\xC2\x81", "\x81"},                       // an unused byte keeps its C1 control
        {"\xC3", ""},                               // cut off at the end
        {"\xC3" "A", "A"},                          // cut off by a plain character
        {"\x80x\xBF", "x"},                         // stray continuation bytes
        {"\xC0\xAF" "/", "/"},                      // overlong '/'
        {"\xED\xA0\x80z", "z"},                     // a surrogate
        {"\xF4\x90\x80\x80z", "z"},                 // beyond U+10FFFF
        {"\xFFq", "q"},                             // never a lead byte
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252) << "from " << c.utf8;
}

TEST(Cp1252, ToUtf8)
{
    EXPECT_EQ(Cp1252ToUtf8("\x80 \xE9\x99"), "\xE2\x82\xAC \xC3\xA9\xE2\x84\xA2");
    EXPECT_EQ(Cp1252ToUnicode(0x80), 0x20ACu);
    EXPECT_EQ(Cp1252ToUnicode(0x9F), 0x178u);
    EXPECT_EQ(Cp1252ToUnicode(0x41), 0x41u);
    EXPECT_EQ(Cp1252ToUnicode(0xA0), 0xA0u);
}

TEST(Cp1252, EveryByteSurvivesTheRoundTrip)
{
    for (int b = 1; b < 256; b++) {
        const std::string one(1, (char)b);
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << "byte " << b;
    }
}

} // namespace
