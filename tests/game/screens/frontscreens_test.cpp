// The intro, the name entry, the main menu with its slide, the two dialogs and the credits, played
// through the screen machine with scripted keys and clicks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/model/localplayer.h"
#include "game/net/link.h"
#include "game/screens/callbacks.h"
#include "game/screens/frontlook.h"
#include "game/screens/intro.h"
#include "game/screens/menu.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/shell.h"
#include "game/view/frames.h"
#include "platform/clock.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/window.h"
#include "tests/game/screens/screentest.h"

namespace {

class FrontScreens : public ScreenTest {};

TEST_F(FrontScreens, TheIntroRuns141FramesOfAtLeast40Milliseconds)
{
    const uint32_t start = GetTicks();
    const int frames = FramesUntil(GAME_ENTERNAME, 500);
    EXPECT_EQ(frames, 141);
    EXPECT_GE(GetTicks() - start, 141u * 40);
    EXPECT_LT(GetTicks() - start, 141u * 60);
}

TEST_F(FrontScreens, AKeyEndsTheIntroOnceEveryKeyIsUp)
{
    Frames(10);
    Tap(KEY_SPACE, 30);                 // held across the frame's reads for a while
    Frames(1);
    EXPECT_EQ(gs, GAME_INTROEND);
    EXPECT_EQ(screencounter, 11);
    Frames(1);
    EXPECT_EQ(gs, GAME_ENTERNAME);
}

TEST_F(FrontScreens, AKeyTappedBetweenFramesStillEndsTheIntro)
{
    // Down for the frame's own first read only, as a quick tap between two frames is.
    Frames(3);
    Tap(KEY_RETURN, 1);
    Frames(1);
    EXPECT_EQ(gs, GAME_INTROEND);
}

TEST_F(FrontScreens, TheNameHoldsNineCharactersAndTypingGoesIntoIt)
{
    gs = GAME_ENTERNAME;
    Frames(1);
    EXPECT_EQ(editmode, EDIT_NAME);
    ASSERT_EQ(editstring, &playername);
    InjectText("Gwendolyn");
    Frames(1);
    EXPECT_EQ(playername, "Gwendolyn");
    InjectText("X");
    Frames(1);
    EXPECT_EQ(playername, "Gwendolyn") << "the tenth character is gone the next frame";
    InjectText("\x01\x7F\xE9");
    Frames(1);
    EXPECT_EQ(playername, "Gwendolyn");
    EXPECT_EQ(entrydisplay.substr(0, 9), "Gwendolyn");
}

TEST_F(FrontScreens, AcceptShowsOnlyForANameWithAVisibleCharacter)
{
    struct Case {
        const char* name;
        bool accepted;
    } cases[] = { { "", false }, { "   ", false }, { " a ", true }, { "Bo", true } };
    for (const Case& c : cases) {
        gs = GAME_ENTERNAME;
        playername = c.name;
        Frames(1);
        Click(695, 570);
        Frames(2);
        EXPECT_EQ(gs, c.accepted ? GAME_TOMAINMENU : GAME_ENTERNAME) << '"' << c.name << '"';
    }
}

TEST_F(FrontScreens, QuitOnTheNameEntryEndsTheProgramWithoutTheDialog)
{
    gs = GAME_ENTERNAME;
    Frames(1);
    Click(105, 570);
    Frames(2);
    EXPECT_EQ(gs, GAME_EXIT);
    Frames(1);
    EXPECT_FALSE(MainWindowExists());
}

TEST_F(FrontScreens, TheSlideIntoTheMainMenuTakes40Frames)
{
    gs = GAME_TOMAINMENU;
    Frames(1);
    EXPECT_EQ(gs, GAME_MAINMENUFADE);
    const uint32_t start = GetTicks();
    EXPECT_EQ(FramesUntil(GAME_MAINMENU, 100), 40);
    EXPECT_GE(GetTicks() - start, 39u * 13);
}

TEST_F(FrontScreens, EachMenuIconLeadsToItsScreen)
{
    struct Icon {
        int32_t x, y, state;
    } icons[] = {
        { 400, 100, GAME_HOST }, { 256, 156, GAME_JOIN }, { 545, 156, GAME_HELPOPEN }, { 256, 494, GAME_CREDITSOPEN },
        { 545, 494, GAME_OPTIONSOPEN }, { 400, 550, GAME_QUIT }, { 652, 327, GAME_UPDATE }, { 148, 324, GAME_ENTERNAME },
    };
    for (const Icon& icon : icons) {
        gs = GAME_MAINMENU;
        Frames(1);
        Click(icon.x, icon.y);
        Frames(1);
        EXPECT_EQ(gs, icon.state) << icon.x << ", " << icon.y;
        EXPECT_TRUE(Played(".\\Sound\\GSOK.wav"));
    }
}

TEST_F(FrontScreens, TheMainMenuForgetsWhereTheOptionsReturn)
{
    gs = GAME_MAINMENU;
    returngs = GAME_UNITTURN;
    Frames(1);
    EXPECT_EQ(returngs, -1);
    Click(545, 494);                    // options
    Frames(1);
    EXPECT_EQ(returngs, GAME_MAINMENU);
}

TEST_F(FrontScreens, TheUpdateDialogIsTheOnlyWayToTheUpdater)
{
    struct Case {
        int32_t dialog, x, y, state;
        uint8_t update;
    } cases[] = {
        { GAME_UPDATE, 400, 270, GAME_EXIT, 1 },
        { GAME_UPDATE, 400, 330, GAME_MAINMENU, 0 },
        { GAME_QUIT, 400, 270, GAME_MAINMENU, 0 },
        { GAME_QUIT, 400, 330, GAME_EXIT, 0 },
    };
    for (const Case& c : cases) {
        launchupdate = 0;
        gs = c.dialog;
        Frames(1);
        Click(c.x, c.y);
        Frames(2);
        EXPECT_EQ(gs, c.state) << c.dialog << " at " << c.y;
        EXPECT_EQ(launchupdate, c.update) << c.dialog << " at " << c.y;
    }
    launchupdate = 0;
}

TEST_F(FrontScreens, EscDoesNothingOnTheDialogsAndTheCredits)
{
    for (const int32_t s : { GAME_UPDATE, GAME_QUIT, GAME_CREDITS }) {
        gs = s;
        Tap(KEY_ESCAPE);
        Frames(2);
        EXPECT_EQ(gs, s);
    }
}

TEST_F(FrontScreens, TheCreditsSlideInAndReturnToTheMenu)
{
    gs = GAME_MAINMENU;
    Frames(1);
    Click(256, 494);
    Frames(1);
    EXPECT_EQ(FramesUntil(GAME_CREDITS, 100), 41);
    Click(400, 540);
    Frames(2);
    EXPECT_EQ(gs, GAME_TOMAINMENU);
}

} // namespace

namespace {

// The window's picture now.
std::vector<uint32_t> Shown()
{
    int width = 0;
    int height = 0;
    const uint32_t* const frame = LastPresentedFrame(&width, &height);
    return frame ? std::vector<uint32_t>(frame, frame + (size_t)width * height) : std::vector<uint32_t>{};
}

// Whether the title's colour on the next frame differs from this frame's.
bool TitleColourMovesNext()
{
    const uint32_t now = PulseColour();
    framecount++;
    const bool moves = PulseColour() != now;
    framecount--;
    return moves;
}

// The idle menu draws again only what can have changed: after each change the window shows what the
// same frame drawn whole would.
TEST_F(FrontScreens, TheIdleMenuShowsWhatAFrameDrawnWholeWould)
{
    struct Case {
        const char* what;
        int32_t x, y;                   // where the cursor goes
        int32_t later;                  // frames skipped (the title's colour moves on)
        const char* address;            // null: as it is
        const char* version;
        bool titlemoves = false;        // shown, then idle frames until the next one's title colour is new
    } cases[] = {
        { "nothing", 700, 400, 0, nullptr, nullptr },
        { "the title's colour", 700, 400, 25, nullptr, nullptr },
        { "the title's colour from one frame to the next", 700, 400, 0, nullptr, nullptr, true },
        { "the cursor onto an icon", 400, 100, 0, nullptr, nullptr },
        { "the cursor off it", 700, 400, 0, nullptr, nullptr },
        { "the title's colour under the cursor", 390, 40, 0, nullptr, nullptr, true },
        { "the title's colour under the cursor astride its last row", 200, 55, 0, nullptr, nullptr, true },
        { "the address", 700, 400, 0, "10.1.2.3", nullptr },
        { "the version", 700, 400, 0, nullptr, "Version 9" },
    };
    const std::string address = localaddress;
    const std::string version = versiontext;
    gs = GAME_MAINMENU;
    MoveTo(700, 400);
    Frames(3);
    for (const Case& c : cases) {
        MoveTo(c.x, c.y);
        framecount += c.later;
        if (c.address)
            localaddress = c.address;
        if (c.version)
            versiontext = c.version;
        // The change is shown first, then the frames go on until the title's colour is about to move.
        if (c.titlemoves) {
            do
                Frames(1);
            while (!TitleColourMovesNext());
        }
        Frames(1);
        ASSERT_EQ(gs, GAME_MAINMENU) << c.what;
        const std::vector<uint32_t> shown = Shown();
        // The same frame again, with the back buffer another screen's.
        ClearBackBuffer();
        FlipScreen();
        framecount--;
        Frames(1);
        EXPECT_TRUE(Shown() == shown) << "after " << c.what;
    }
    localaddress = address;
    versiontext = version;
}

} // namespace
