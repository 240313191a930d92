// Pictures of the playing screens as the game draws them headless, for eyes: each test brings one
// screen to a typical frame on a map of the game's own making and saves it as
// <test binary dir>/play-<name>.png.
#include <gtest/gtest.h>

#include <string>

#include "game/model/catalogue.h"
#include "game/model/state.h"
#include "game/model/winner.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "tests/game/screens/playscreen.h"

namespace {

class PlayShots : public PlayScreenTest {
protected:
    void ExpectDrawn(const PixelRect& rect)
    {
        const PixelRect ink = Ink(backbuffer, rect);
        EXPECT_LT(ink.left, ink.right);
    }
};

TEST_F(PlayShots, WarlordSelection)
{
    MakeRealGame(2, 30, 7);
    p[0].startx = 8;
    p[0].starty = 8;
    gs = GAME_PREWARLORD;
    Frames(1);
    const int32_t row = 490 / std::max(warlordtypecount, 1);
    Click(100, 50 + row + row / 2);     // the second warlord
    Frames(1);
    MoveTo(560, 180);                   // over its first spell
    Frames(2);
    SaveScreen("play-warlords");
    ExpectDrawn({200, 75, 725, 495});
}

TEST_F(PlayShots, Shop)
{
    MakeRealGame(2, 30, 7);
    Put(0, 8, 8, Warlord(0));
    p[0].gold = 600;
    gs = GAME_PRESHOP;
    Frames(1);
    Click(buyable[3].iconx + 20, buyable[3].icony + 20);
    Frames(1);
    Click(690, 425);    // bought once
    Frames(2);
    MoveTo(650, 350);
    Frames(1);
    SaveScreen("play-shop");
    ExpectDrawn({65, 100, 380, 380});
}

TEST_F(PlayShots, InGameMenu)
{
    MakeRealGame(2, 30, 7);
    ActWith(Put(0, 15, 15, Warlord(0)));
    Put(0, 16, 15, Buyable(2));
    Put(1, 18, 14, Buyable(4));
    Frames(2);
    gs = GAME_MENUOPEN;
    returngs = GAME_UNITTURN;
    Frames(1);
    MoveTo(420, 225);
    Frames(2);
    SaveScreen("play-menu");
    ExpectDrawn({285, 110, 515, 390});
}

TEST_F(PlayShots, Options)
{
    MakeRealGame(2, 30, 7);
    Put(0, 15, 15, Warlord(0));
    Put(1, 18, 14, Buyable(4));
    currplayer = 1;
    gs = GAME_WATCH;
    Frames(2);
    gs = GAME_OPTIONSOPEN;
    returngs = GAME_WATCH;
    Frames(3);
    SaveScreen("play-options");
    ExpectDrawn({285, 70, 515, 530});
}

TEST_F(PlayShots, Victory)
{
    MakeRealGame(2, 30, 7);
    Put(0, 15, 15, Warlord(0));
    Put(0, 14, 16, Buyable(2));
    DeclareWinner(0);
    Frames(3);
    ASSERT_EQ(gs, GAME_VICTORYSCREEN);
    SaveScreen("play-victory");
    ExpectDrawn({5, 130, 795, 490});
}

} // namespace
