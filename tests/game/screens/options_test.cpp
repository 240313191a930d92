// The in-game menu, the options box and the victory screen: what each button does, where the boxes
// return to, and the names they show.
#include <gtest/gtest.h>

#include <vector>

#include "game/model/state.h"
#include "game/model/winner.h"
#include "game/net/lobby.h"
#include "game/screens/states.h"
#include "game/shell/images.h"
#include "game/shell/music.h"
#include "game/shell/shell.h"
#include "game/shell/sound.h"
#include "game/view/board.h"
#include "game/view/geometry.h"
#include "game/view/names.h"
#include "platform/input.h"
#include "tests/game/screens/playscreen.h"
#include "tests/game/support/world.h"

namespace {

class Options : public PlayScreenTest {
protected:
    // Esc over state, then the menu's frames.
    void OpenMenuOver(int32_t state)
    {
        gs = state;
        Frames(1);
        Tap(KEY_ESCAPE);
        Frames(1);
        ASSERT_EQ(gs, GAME_MENUOPEN);
        Frames(1);
        ASSERT_EQ(gs, GAME_MENU);
        Frames(1);
    }
};

TEST_F(Options, TheMenuReturnsToTheStateItWasOpenedOver)
{
    MakeGame(2, 12);
    ActWith(Put(0, 5, 5, Buyable(0)));
    Put(1, 9, 9, Buyable(0));
    OpenMenuOver(GAME_UNITTURN);
    EXPECT_EQ(returngs, GAME_UNITTURN);
    EXPECT_TRUE(Played(".\\Sound\\GSMenu.wav"));
    // A message moves a unit meanwhile: the board shows it after the menu.
    p[1].units[0].x = 8;
    Click(400, 350);    // "Cancel" at (300, 325)
    Frames(2);
    EXPECT_EQ(gs, GAME_RESUME);
    Frames(1);
    EXPECT_EQ(gs, GAME_UNITTURN);
    EXPECT_EQ(returngs, -1);
    EXPECT_EQ(candraw, 1);
}

TEST_F(Options, TheDimmedFrameBehindTheBoxHoldsNoPointer)
{
    // The box dims a copy of the frame last shown, into which the pointer was drawn: the copy is the
    // same around a quiet spot of the panel whether the mouse was there or far away.
    const int32_t spot[2] = { 605, 525 };
    std::vector<uint32_t> around[2];
    const int32_t mouse[2][2] = { { spot[0], spot[1] }, { 300, 5 } };
    for (int k = 0; k < 2; k++) {
        TearDown();
        SetUp();
        MakeGame(2, 12);
        ActWith(Put(0, 5, 5, Buyable(0)));
        MoveTo(mouse[k][0], mouse[k][1]);
        Frames(2);
        gs = GAME_MENUOPEN;
        returngs = GAME_UNITTURN;
        Frames(1);
        ASSERT_EQ(gs, GAME_MENU);
        const SysSurface* const picture = imgscreen.GetSurface();
        ASSERT_NE(picture, nullptr);
        for (int32_t y = spot[1]; y < spot[1] + 40; y++)
            for (int32_t x = spot[0]; x < spot[0] + 40; x++)
                around[k].push_back(picture->pixels[(size_t)y * picture->width + x]);
    }
    EXPECT_EQ(around[0], around[1]);
}

TEST_F(Options, TheMenuLeavesTheGameOrEndsTheProgram)
{
    MakeGame(2, 12);
    ActWith(Put(0, 5, 5, Buyable(0)));
    OpenMenuOver(GAME_UNITTURN);
    Click(400, 225);    // "Exit Program" at (300, 200)
    Frames(2);
    EXPECT_EQ(gs, GAME_EXIT);

    MakeGame(2, 12);
    ActWith(Put(0, 5, 5, Buyable(0)));
    OpenMenuOver(GAME_UNITTURN);
    Click(400, 150);    // "Quit Current Game" at (300, 125)
    Frames(2);
    EXPECT_EQ(gs, GAME_TOMAINMENU);
    EXPECT_TRUE(p.empty());
}

TEST_F(Options, LeavingAfterALostServerGoesToTheMainMenu)
{
    MakeGame(2, 12);
    BecomeClient(1);
    gs = GAME_LEAVEGAME;
    Frames(1);
    EXPECT_EQ(gs, GAME_TOMAINMENU);
    EXPECT_TRUE(p.empty());
    EXPECT_TRUE(map.empty());
}

TEST_F(Options, DrawingStaysOffBetweenTheFramesOfABox)
{
    MakeGame(2, 12);
    ActWith(Put(0, 5, 5, Buyable(0)));
    OpenMenuOver(GAME_UNITTURN);
    EXPECT_EQ(candraw, 0);
}

TEST_F(Options, TheSwitchesToggleTheirOptionsAndShowTheirValues)
{
    MakeGame(2, 12);
    ActWith(Put(0, 5, 5, Buyable(0)));
    soundon = 1;
    musicon = 1;
    gridon = 0;
    minimapon = 1;
    gs = GAME_OPTIONSOPEN;
    returngs = GAME_UNITTURN;
    Frames(2);
    ASSERT_EQ(gs, GAME_OPTIONS);
    const struct {
        int32_t y;
        const uint8_t* option;
    } switches[] = {{80, &soundon}, {155, &musicon}, {230, &gridon}, {305, &minimapon}};
    for (const auto& s : switches) {
        const uint8_t before = *s.option;
        Click(400, s.y + 25);
        Frames(2);
        EXPECT_EQ(*s.option, before ? 0 : 1) << s.y;
    }
    Click(400, 480);    // "Accept" at (300, 455)
    Frames(3);
    EXPECT_EQ(gs, GAME_UNITTURN);
}

TEST_F(Options, AutofocusIsOfferedOnlyWhileSomebodyElseActs)
{
    for (const bool watching : {false, true}) {
        MakeGame(2, 12);
        currplayer = watching ? 1 : 0;
        autofocus = 1;
        gs = GAME_OPTIONSOPEN;
        returngs = watching ? GAME_WATCH : GAME_UNITTURN;
        Frames(2);
        Click(400, 405);    // "Autofocus" at (300, 380)
        Frames(2);
        EXPECT_EQ(autofocus, watching ? 0 : 1) << watching;
    }
}

TEST_F(Options, OptionsOpenedFromTheMainMenuReturnThereWithoutAGame)
{
    gs = GAME_MAINMENU;
    Frames(1);
    gs = GAME_OPTIONSOPEN;
    returngs = GAME_MAINMENU;
    Frames(2);
    Click(400, 480);
    Frames(3);
    EXPECT_EQ(gs, GAME_MAINMENU);
}

TEST_F(Options, TheVictoryScreenNamesTheWinnerAndOkLeavesTheGame)
{
    for (const uint8_t names : {1, 0}) {
        MakeGame(2, 12);
        Put(0, 5, 5, Buyable(0));
        shownames = names;
        DeclareWinner(0);
        EXPECT_EQ(winnername, names ? "P0" : "Player One");
        Frames(1);
        EXPECT_EQ(gs, GAME_VICTORYSCREEN);
        Frames(1);
        Click(400, 560);    // "OK" at (300, 535)
        Frames(2);
        EXPECT_EQ(gs, GAME_TOMAINMENU);
    }
}

} // namespace
