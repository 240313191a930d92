// Field codings and the frame: the bytes every peer must agree on.
#include <gtest/gtest.h>

#include "game/net/codings.h"
#include "game/net/frame.h"
#include "nettest.h"

TEST(Codings, SmallNumbersAreOffsetByFifty)
{
    EXPECT_EQ(EncodeNum(-1), '1');
    EXPECT_EQ(EncodeNum(0), '2');
    EXPECT_EQ(EncodeNum(1), '3');
    EXPECT_EQ(DecodeNum('1'), -1);
    EXPECT_EQ(DecodeNum(50 + 127), 127);
    EXPECT_EQ(DecodeNum(50 + 128), -128);   // signed readers wrap above 127
    EXPECT_EQ(DecodeNumUnsigned(50 + 205), 205);
    EXPECT_EQ(DecodeNumUnsigned(1), 207);   // below the offset wraps to the top
    EXPECT_EQ(TranslateChar((char)0xFF), 255);
}

TEST(Codings, VersionsPackWithoutOverflow)
{
    const int32_t high[4] = {255, 255, 255, 255};
    const int32_t low[4] = {1, 2, 3, 4};
    EXPECT_EQ(PackVersion(high), 0xFFFFFFFFu);
    EXPECT_EQ(PackVersion(low), 0x01020304u);
}

TEST(Codings, WriterRefusesFieldsThatCannotTravel)
{
    EXPECT_EQ(MsgWriter('f').Id(258).Num(-1).Num(205).Finish(), Bytes({'f', 1, 2, '1', 255, ';'}));
    EXPECT_EQ(MsgWriter('f').Id(256).Finish(), "");        // low byte 0
    EXPECT_EQ(MsgWriter('f').Id(255).Finish(), "");        // high byte 0
    EXPECT_EQ(MsgWriter('f').Id(65536).Finish(), "");
    EXPECT_EQ(MsgWriter('q').Raw(0).Finish(), "");
    EXPECT_EQ(MsgWriter('q').Raw(256).Finish(), "");
    EXPECT_EQ(MsgWriter('n').Num(-50).Finish(), "");       // would be the byte 0
    EXPECT_EQ(MsgWriter('n').Num(206).Finish(), "");
    EXPECT_EQ(MsgWriter('a').Text(std::string("a\0b", 3)).Finish(), "");
}

TEST(Codings, ReaderNeverReadsPastTheEnd)
{
    const std::string text = Bytes({'f', 1, 2, '3'});
    MsgReader r(text);
    EXPECT_EQ(r.Id(), 258);
    EXPECT_EQ(r.Num(), 1);
    EXPECT_FALSE(r.bad);
    EXPECT_EQ(r.Num(), 0);
    EXPECT_TRUE(r.bad);

    const std::string half = Bytes({'f', 1});
    MsgReader h(half);
    EXPECT_EQ(h.Id(), 0);
    EXPECT_TRUE(h.bad);
}

TEST(Codings, DecimalFieldsAreWholeAndInRange)
{
    struct Case {
        const char* text;
        bool ok;
        int32_t value;
    };
    const Case cases[] = {
        {"e750", true, 750},       {"e-12", true, -12},  {"e2147483647", true, 2147483647},
        {"e2147483648", false, 0}, {"e", false, 0},      {"e12x", false, 0},
        {"e+5", false, 0},         {"e-", false, 0},
    };
    for (const Case& c : cases) {
        const std::string text = c.text;
        MsgReader r(text);
        const int32_t value = r.Dec();
        EXPECT_EQ(!r.bad, c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(Codings, TextIsCutToItsField)
{
    const std::string text = "{abcdefghijklmnop";
    MsgReader r(text);
    EXPECT_EQ(r.Text(10), "abcdefghij");
    EXPECT_EQ(r.Left(), 0u);
}

class FrameTest : public NetTest {};

TEST_F(FrameTest, FramesCountThemselves)
{
    EXPECT_EQ(BuildFrame("z;"), Bytes({3, 'z', ';'}));
    EXPECT_EQ(BuildFrame("z"), Bytes({3, 'z', ';'}));                   // the ';' is added and counted
    EXPECT_EQ(BuildFrame(Bytes({'f', 1, ';', ';'})), Bytes({5, 'f', 1, ';', ';'}));
    EXPECT_EQ(BuildFrame(std::string(253, 'a') + ';').size(), 255u);   // the largest frame
}

TEST_F(FrameTest, UnframeableBodiesAreRefused)
{
    EXPECT_EQ(BuildFrame(""), "");
    EXPECT_EQ(BuildFrame(std::string(254, 'a') + ';'), "");            // the length byte would wrap
    EXPECT_EQ(BuildFrame(std::string(254, 'a')), "");
    EXPECT_EQ(BuildFrame(std::string("a\0;", 3)), "");
    EXPECT_TRUE(Logged("ERROR: Refused to send"));
}

TEST_F(FrameTest, SoundFramesOnly)
{
    EXPECT_TRUE(FrameIsSound(Bytes({3, 'z', ';'}), nullptr));
    EXPECT_FALSE(FrameIsSound(Bytes({3, 'z', 'z'}), nullptr));         // no ';'
    EXPECT_FALSE(FrameIsSound(Bytes({4, 'z', ';'}), nullptr));         // length differs
    EXPECT_FALSE(FrameIsSound(Bytes({4, 'a', 0, ';'}), nullptr));      // zero byte
    EXPECT_FALSE(FrameIsSound(Bytes({2, ';'}), nullptr));              // no room for a kind
}

TEST(FrameLog, UnprintableBytesAreEscaped)
{
    EXPECT_EQ(LogText(Bytes({3, 'z', ';'})), "\\x03z;");
    EXPECT_EQ(LogText("a\\b"), "a\\x5Cb");
}
