#include "common/strutil.h"

#include <gtest/gtest.h>

TEST(StrUtil, TrimKeepsInnerBlanksAndEmptiesBlankText)
{
    EXPECT_EQ(Trim(" \t two words\r\n"), "two words");
    EXPECT_EQ(Trim(" \t\r\n\v\f"), "");
    EXPECT_EQ(TrimLeft("  a b  "), "a b  ");
    EXPECT_EQ(TrimRight("  a b  "), "  a b");
    EXPECT_EQ(Trim(""), "");
}

TEST(StrUtil, SplitTokenWalksTheWords)
{
    std::string s = "   chk \t  Font.ttf   ";
    std::string token;
    EXPECT_EQ(SplitToken(token, s), "chk");
    EXPECT_EQ(token, "chk");
    EXPECT_EQ(s, "Font.ttf");
    EXPECT_EQ(SplitToken(token, s), "Font.ttf");
    EXPECT_EQ(s, "");
    EXPECT_EQ(SplitToken(token, s), "");
    EXPECT_EQ(token, "");
}

TEST(StrUtil, ToLowerChangesOnlyCapitals)
{
    EXPECT_EQ(ToLowerString("Sound = ON 12\xC9"), "sound = on 12\xC9");
}

TEST(StrUtil, IntToString)
{
    EXPECT_EQ(IntToString(-45), "-45");
    EXPECT_EQ(IntToString(0), "0");
    EXPECT_EQ(IntToString(INT32_MIN), "-2147483648");
}
