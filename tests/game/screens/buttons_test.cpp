// Text buttons driven by the scripted mouse, frame by frame, and the small callbacks of the screens.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/model/state.h"
#include "game/screens/boardkeys.h"
#include "game/screens/buttons.h"
#include "game/screens/callbacks.h"
#include "game/screens/states.h"
#include "game/shell/input.h"
#include "game/shell/music.h"
#include "game/shell/sound.h"
#include "game/view/board.h"
#include "game/view/geometry.h"
#include "tests/game/screens/screentest.h"

namespace {

std::vector<std::pair<int32_t, int32_t>> calls;

bool Record(int32_t a, int32_t b)
{
    calls.emplace_back(a, b);
    return false;
}

bool Stop(int32_t, int32_t)
{
    return true;
}

// One button at (100, 100)-(300, 150); a frame reads the mouse and runs the button.
class Buttons : public ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        calls.clear();
        byte = 0;
    }
    bool Frame(ButtonCallback callback = Record)
    {
        PollMouse(&mousex, &mousey);
        return DrawTextButton(100, 100, "Press", callback, 7, 9, byte, 1);
    }
    int Count(const char* sound) const
    {
        int n = 0;
        for (const std::string& s : soundsplayed)
            n += s == sound;
        return n;
    }
    uint8_t byte = 0;
};

const char* const GSBUTTON = ".\\Sound\\GSButton.wav";
const char* const GSOK = ".\\Sound\\GSOK.wav";

// A gesture: the mouse's place and left button at each frame, and what must follow.
struct Gesture {
    const char* name;
    std::vector<std::tuple<int32_t, int32_t, bool>> frames;   // x, y, button down
    int callbacks;
    int pressedsounds;
    int oksounds;
};

TEST_F(Buttons, AClickFiresOnReleaseInsideTheSameButtonOnly)
{
    const Gesture gestures[] = {
        { "press and release inside", { { 150, 120, true }, { 150, 120, false } }, 1, 1, 1 },
        { "press inside, drag out, release", { { 150, 120, true }, { 400, 120, true }, { 400, 120, false } }, 0, 1, 0 },
        { "press outside, drag in, release", { { 50, 50, true }, { 150, 120, true }, { 150, 120, false } }, 1, 1, 1 },
        { "held inside for frames", { { 150, 120, true }, { 151, 121, true }, { 152, 122, true }, { 152, 122, false } }, 1, 1, 1 },
        { "press outside, release inside", { { 50, 50, true }, { 150, 120, false } }, 0, 0, 0 },
        { "release on the edge outside", { { 299, 149, true }, { 300, 150, false } }, 0, 1, 0 },
        { "hover only", { { 150, 120, false }, { 160, 130, false } }, 0, 0, 0 },
    };
    for (const Gesture& g : gestures) {
        calls.clear();
        soundsplayed.clear();
        byte = 0;
        for (const auto& [x, y, down] : g.frames) {
            if (down)
                Press(x, y);
            else
                MoveTo(x, y);
            Frame();
        }
        EXPECT_EQ((int)calls.size(), g.callbacks) << g.name;
        EXPECT_EQ(Count(GSBUTTON), g.pressedsounds) << g.name;
        EXPECT_EQ(Count(GSOK), g.oksounds) << g.name;
        EXPECT_EQ(byte, 0) << g.name;
        if (!calls.empty()) {
            EXPECT_EQ(calls[0], std::make_pair(7, 9)) << g.name;
        }
    }
}

TEST_F(Buttons, APressShowsTheButtonPressedAndLatchesItsByte)
{
    Press(150, 120, 3);
    Frame();
    EXPECT_EQ(byte, 1);
    Frame();
    EXPECT_EQ(byte, 1);
    EXPECT_EQ(Count(GSBUTTON), 1) << "once per press";
}

TEST_F(Buttons, ACallbackThatStopsTheFrameIsPassedOn)
{
    Press(150, 120);
    EXPECT_FALSE(Frame(Stop));
    EXPECT_TRUE(Frame(Stop));
}

TEST_F(Buttons, AByteLeftPressedBySomeOtherScreenIsClearedWithoutAClick)
{
    // Two screens share the byte; the first was left with its button held.
    byte = 1;
    MoveTo(500, 500);
    Frame();
    EXPECT_EQ(byte, 0);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(Count(GSOK), 0);
}

TEST_F(Buttons, NoSoundsWithTheSoundOptionOff)
{
    soundon = 0;
    Press(150, 120);
    Frame();
    Frame();
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_TRUE(soundsplayed.empty());
}

TEST_F(Buttons, CreateButtonsLeavesEveryButtonIdle)
{
    buttonstates[0] = 1;
    buttonstates[BUTTONCOUNT - 1] = 1;
    EXPECT_FALSE(CreateButtons());
    for (const uint8_t b : buttonstates)
        EXPECT_EQ(b, 0);
}

struct Toggle {
    const char* name;
    ButtonCallback callback;
    uint8_t* option;
};

TEST_F(Buttons, TogglesTurnZeroToOneAndAnythingElseToZero)
{
    const Toggle toggles[] = {
        { "music", ToggleMusic, &musicon },   { "sound", ToggleSound, &soundon }, { "minimap", ToggleMinimap, &minimapon },
        { "grid", ToggleGrid, &gridon },      { "autofocus", ToggleAutofocus, &autofocus },
    };
    for (const Toggle& t : toggles) {
        *t.option = 0;
        EXPECT_FALSE(t.callback(0, 0));
        EXPECT_EQ(*t.option, 1) << t.name;
        *t.option = 5;
        t.callback(0, 0);
        EXPECT_EQ(*t.option, 0) << t.name;
    }
}

TEST_F(Buttons, MusicTurnedOffStopsTheSongAndTurnedOnStartsNone)
{
    ASSERT_FALSE(LoadMusic());
    musicon = 1;
    ASSERT_TRUE(PlaySong(SONG_MENU));
    ASSERT_TRUE(IsSongPlaying(songs[SONG_MENU], true));
    ToggleMusic(0, 0);
    EXPECT_EQ(musicon, 0);
    EXPECT_TRUE(IsSongPlaying(songs[SONG_MENU], false));
    ToggleMusic(0, 0);
    EXPECT_EQ(musicon, 1);
    EXPECT_TRUE(IsSongPlaying(songs[SONG_MENU], false)) << "the next screen that asks for its song starts it";
    FreeMusic();
    musicon = 0;
}

TEST_F(Buttons, StateChangesTakeTheirArguments)
{
    EXPECT_FALSE(SetGS(GAME_CREDITSOPEN, 99));
    EXPECT_EQ(gs, GAME_CREDITSOPEN);

    gs = GAME_MAINMENU;
    EXPECT_FALSE(OpenOptions(1, 2));
    EXPECT_EQ(gs, GAME_OPTIONSOPEN);
    EXPECT_EQ(returngs, GAME_MAINMENU);

    launchupdate = 0;
    EXPECT_FALSE(ExitForUpdate(0, 0));
    EXPECT_EQ(gs, GAME_EXIT);
    EXPECT_EQ(launchupdate, 1);
    launchupdate = 0;
}

} // namespace
