// The play screens' chat line: opening and closing it, the addressee keys, typing, its limits, and the
// line that goes out, through the real frames to another machine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/main/winmain.h"
#include "game/model/state.h"
#include "game/net/builders.h"
#include "game/net/frame.h"
#include "game/net/lobby.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/input.h"
#include "game/shell/shell.h"
#include "game/view/chat.h"
#include "game/view/drawing.h"
#include "game/view/feed.h"
#include "game/view/frames.h"
#include "game/view/names.h"
#include "platform/gdi.h"
#include "platform/inputscript.h"
#include "platform/window.h"
#include "tests/game/support/machines.h"
#include "tests/game/view/viewtest.h"

namespace {

class ChatTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        MakeBoard(3, 12);
        ResetChat();
        TakeSentFrames();
    }
    void TearDown() override
    {
        ResetChat();
        editmode = EDIT_NONE;
        editstring = nullptr;
        ClearSendQueue();
        ViewTest::TearDown();
    }
    // One frame with these keys down.
    static void Frame(std::initializer_list<uint8_t> down = {})
    {
        if (down.size())
            ScriptKeys(down);
        PollKeyboard();
        ChatEntry();
        framecount++;
    }
    static void Type(const std::string& text)
    {
        for (const char c : text)
            GameWndProc(SYS_CHAR, static_cast<uint8_t>(c), 0);
    }
    static bool Fed(const std::string& text)
    {
        for (const FeedMessage& m : messages)
            if (m.text == text)
                return true;
        return false;
    }
    // The width of a line in the chat's font.
    static int32_t Width(const std::string& line)
    {
        GdiDC* const dc = OpenSurfaceDC(backbuffer);
        SelectDCFont(dc, fonts[FONT_MEDIUM]);
        const int32_t width = MeasureDCText(dc, line).width;
        CloseDC(dc);
        return width;
    }
};

TEST_F(ChatTest, EnterOpensAndEnterOnAnEmptyLineClosesWithoutSending)
{
    Frame();
    EXPECT_EQ(chattarget, CHATCLOSED);
    EXPECT_EQ(editmode, EDIT_NONE);
    EXPECT_EQ(editstring, nullptr);
    Frame({ KEY_RETURN });
    EXPECT_EQ(chattarget, PUBLICCHAT);
    EXPECT_EQ(editmode, EDIT_TEXT);
    EXPECT_EQ(editstring, &paneltext);
    EXPECT_EQ(chatline, "Message: ");
    Frame({ KEY_RETURN });
    EXPECT_EQ(chattarget, CHATCLOSED);
    EXPECT_EQ(editmode, EDIT_NONE);
    EXPECT_TRUE(TakeSentFrames().empty());
    // Nothing printable is nothing to send either.
    Frame({ KEY_RETURN });
    paneltext = "\x01\x7F";
    Frame({ KEY_RETURN });
    EXPECT_EQ(chattarget, CHATCLOSED);
    EXPECT_EQ(paneltext, "");
    EXPECT_TRUE(TakeSentFrames().empty());
}

TEST_F(ChatTest, TypingAndRubbingOutGoIntoTheLine)
{
    Frame({ KEY_RETURN });
    Type("Helo");
    GameWndProc(SYS_KEYDOWN, SYSKEY_BACK, 0);
    Type("lo there");
    GameWndProc(SYS_CHAR, '\t', 0);     // not a printable character
    Frame();
    EXPECT_EQ(paneltext, "Hello there");
    EXPECT_EQ(chatline, "Message: Hello there");
    // Closed, the typing goes nowhere.
    Frame({ KEY_RETURN });
    Frame();
    Type("lost");
    EXPECT_EQ(paneltext, "");
}

TEST_F(ChatTest, AddresseeKeys)
{
    struct Case {
        const char* name;
        int32_t humans;
        int32_t local;
        std::initializer_list<uint8_t> keys;
        std::initializer_list<uint8_t> then;   // still down at the next read
        int32_t target;
        const char* line;
    };
    // MakeBoard's games: the humans, then the neutral side last.
    const Case cases[] = {
        { "F2 to player 1", 3, 0, { KEY_F2 }, {}, 1, "To P1: " },
        { "F1 to oneself does nothing", 3, 0, { KEY_F1 }, {}, CHATCLOSED, "" },
        { "F3 to the neutral side does nothing", 2, 0, { KEY_F3 }, {}, CHATCLOSED, "" },
        { "F5 past the records does nothing", 3, 0, { KEY_F5 }, {}, CHATCLOSED, "" },
        { "a later key wins", 4, 0, { KEY_F2, KEY_F4 }, { KEY_F4 }, 3, "To P3: " },
        { "an earlier key when the later is not allowed", 4, 3, { KEY_F2, KEY_F4 }, { KEY_F4 }, 1, "To P1: " },
        { "F1 from player 2", 3, 2, { KEY_F1 }, {}, 0, "To P0: " },
    };
    for (const Case& c : cases) {
        MakeBoard(c.humans, 12);
        you = p[c.local].sizeattime;
        YouToInt(true, true);
        ResetChat();
        ClearInputScript();
        ScriptKeys(c.keys);
        if (c.then.size())
            ScriptKeys(c.then);
        Frame();
        EXPECT_EQ(chattarget, c.target) << c.name;
        EXPECT_EQ(chatline, c.line) << c.name;
    }
}

TEST_F(ChatTest, NamesHiddenTheAddresseeIsShownByNumber)
{
    shownames = 0;
    Frame({ KEY_F3 });
    EXPECT_EQ(chatline, "To Player Three: ");
    shownames = 1;
}

TEST_F(ChatTest, TheCaretBlinksEveryTwentyFrames)
{
    Frame({ KEY_RETURN });
    paneltext = "hi";
    for (int32_t f = 0; f < 80; f++) {
        framecount = f;
        PollKeyboard();
        ChatEntry();
        const bool caret = chatline.back() == '|';
        EXPECT_EQ(caret, f / 20 % 2 == 1) << "frame " << f;
    }
}

TEST_F(ChatTest, TooLongOrTooWideLosesOneCharacterAFrame)
{
    Frame({ KEY_RETURN });
    paneltext = std::string(CHATLIMIT + 1, 'i');
    Frame();
    EXPECT_EQ(chatline, "Message: " + std::string(CHATLIMIT + 1, 'i')) << "this frame still shows it";
    EXPECT_EQ(paneltext.size(), size_t(CHATLIMIT));

    // Wide letters: the line shrinks a character a frame until it is narrower than 550 pixels.
    paneltext = std::string(80, 'W');
    ASSERT_GE(Width("Message: " + paneltext), CHATWIDTH);
    int32_t frames = 0;
    while (Width("Message: " + paneltext) >= CHATWIDTH && frames < 100) {
        const size_t before = paneltext.size();
        Frame();
        EXPECT_EQ(paneltext.size(), before - 1);
        frames++;
    }
    const size_t fits = paneltext.size();
    Frame();
    EXPECT_EQ(paneltext.size(), fits);
    EXPECT_LT(Width("Message: " + paneltext), CHATWIDTH);
}

TEST_F(ChatTest, EnterSendsTheLineToEverybodyOrToOne)
{
    Frame({ KEY_RETURN });
    Type("hello all");
    Frame({ KEY_RETURN });
    EXPECT_EQ(chattarget, CHATCLOSED);
    EXPECT_EQ(paneltext, "");
    std::vector<SentFrame> sent = TakeSentFrames();
    ASSERT_FALSE(sent.empty());
    for (const SentFrame& f : sent)
        EXPECT_EQ(f.Body(), BuildChat(0, PUBLICCHAT, "P0: hello all"));
    EXPECT_TRUE(Fed("P0: hello all"));

    Frame({ KEY_F2 });
    Type("psst");
    Frame({ KEY_RETURN });
    sent = TakeSentFrames();
    ASSERT_FALSE(sent.empty());
    for (const SentFrame& f : sent)
        EXPECT_EQ(f.Body(), BuildChat(0, 1, "P0 (private): psst"));
    // The next line starts empty and to everybody.
    Frame({ KEY_RETURN });
    EXPECT_EQ(chatline, "Message: ");
}

// A line with bytes no machine can show, the frames' own ';', and more than a frame carries: what
// goes out is printable, fits its frame, and reaches the other machine whole.
TEST_F(ChatTest, AnyLineGoesOutAsOneSoundFrame)
{
    struct Case {
        const char* name;
        std::string typed;
        std::string sent;       // empty: only the limits are checked
    };
    const Case cases[] = {
        { "the frame's separator", "a;b;;", "a;b;;" },
        { "a separator last", "end;", "end;" },
        { "control bytes and DEL", std::string("a\x01\x1F\x7F") + "b\n", "ab" },
        { "bytes CP1252 leaves undefined", "x\x81\x8D\x8F\x90\x9Dy", "xy" },
        { "a zero byte", std::string("x\0y", 3), "xy" },
        { "CP1252 letters", "caf\xE9 \x80", "caf\xE9 \x80" },
        { "piled up past the limit", std::string(600, 'i'), "" },
        { "piled up past the width", std::string(150, 'W'), "" },
    };
    for (const Case& c : cases) {
        MakeBoard(2, 12);
        ResetChat();
        TakeSentFrames();
        HostAndClient machines(1);
        machines.UseHost();
        Frame({ KEY_RETURN });
        paneltext = c.typed;        // as if typed while the frame loop was held up
        Frame({ KEY_RETURN });
        const std::vector<SentFrame> sent = machines.HostToClient();
        ASSERT_EQ(sent.size(), 1u) << c.name;
        const char* why = nullptr;
        EXPECT_TRUE(FrameIsSound(sent[0].frame, &why)) << c.name << ": " << (why ? why : "");
        ASSERT_FALSE(messages.empty()) << c.name;
        const std::string shown = messages.back().text;
        ASSERT_EQ(shown.substr(0, 4), "P0: ") << c.name;
        const std::string line = shown.substr(4);
        if (!c.sent.empty()) {
            EXPECT_EQ(line, c.sent) << c.name;
        }
        EXPECT_LE(line.size(), size_t(CHATLIMIT)) << c.name;
        EXPECT_LT(Width("Message: " + line), CHATWIDTH) << c.name;
    }
}

} // namespace
