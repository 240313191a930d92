// The playing screens as the game draws them headless: each test brings one screen to a typical frame
// on a map of the game's own making and compares it with its golden fixture
// (tests/game/support/golden.h); the frame is written as <test binary dir>/play-<name>.png to look at.
#include <gtest/gtest.h>

#include <string>

#include "game/magic/targets.h"
#include "game/model/catalogue.h"
#include "game/model/state.h"
#include "game/model/winner.h"
#include "game/net/lobby.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/view/commandmode.h"
#include "platform/input.h"
#include "tests/game/screens/playscreen.h"

namespace {

class GoldenPlayScreens : public PlayScreenTest {
};

TEST_F(GoldenPlayScreens, WarlordSelection)
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
    ExpectGoldenScreen("play-warlords");
}

TEST_F(GoldenPlayScreens, Shop)
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
    ExpectGoldenScreen("play-shop");
}

TEST_F(GoldenPlayScreens, InGameMenu)
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
    ExpectGoldenScreen("play-menu");
}

TEST_F(GoldenPlayScreens, Options)
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
    ExpectGoldenScreen("play-options");
}

TEST_F(GoldenPlayScreens, Victory)
{
    MakeRealGame(2, 30, 7);
    Put(0, 15, 15, Warlord(0));
    Put(0, 14, 16, Buyable(2));
    DeclareWinner(0);
    Frames(3);
    ASSERT_EQ(gs, GAME_VICTORYSCREEN);
    ExpectGoldenScreen("play-victory");
}

TEST_F(GoldenPlayScreens, Deployment)
{
    MakeRealGame(2, 30, 7);
    p[0].startx = 15;
    p[0].starty = 15;
    Put(0, 15, 15, Warlord(0));
    for (const size_t k : {2, 5, 5, 9})
        p[0].bought.push_back(buyable[k]);
    Put(1, 26, 25, Warlord(1));
    gs = GAME_BEGINDEPLOY;
    Frames(3);
    ASSERT_EQ(gs, GAME_DEPLOY);
    Click(ScreenX(16), ScreenY(14));    // one placed already
    Frames(3);
    MoveTo(ScreenX(13), ScreenY(16));
    Frames(2);
    ExpectGoldenScreen("play-deploy");
}

TEST_F(GoldenPlayScreens, UnitTurnWithItsAttackRangeMarked)
{
    MakeRealGame(2, 30, 7);
    const int32_t archer = Put(0, 15, 15, Buyable(4));
    Put(0, 14, 14, Warlord(0));
    Put(0, 16, 16, Buyable(2));
    Put(1, 17, 14, Buyable(0));
    Put(1, 19, 15, Warlord(1));
    ActWith(archer);
    Frames(1);
    Tap(KEY_TAB);
    Frames(1);
    ASSERT_EQ(commandmode, COMMAND_ATTACK);
    MoveTo(ScreenX(17), ScreenY(14));
    Frames(2);
    ExpectGoldenScreen("play-unitturn");
}

TEST_F(GoldenPlayScreens, SpellBeingAimed)
{
    MakeRealGame(2, 30, 7);
    const int32_t caster = Put(0, 15, 15, Warlord(0));
    Put(1, 17, 16, Buyable(0));
    int32_t spell = -1;
    for (size_t s = 0; s < spells.size() && spell < 0; s++)
        if (spells[s].test == TargetEnemyUnit && spells[s].range >= 3)
            spell = (int32_t)s;
    ASSERT_GE(spell, 0);
    p[0].units[caster].spells[0] = spell;
    p[0].units[caster].mana = 10;
    ActWith(caster);
    Frames(1);
    Click(675, 540);        // the spell's icon in the unit panel
    Frames(2);
    ASSERT_EQ(commandmode, COMMAND_SPELL);
    MoveTo(ScreenX(17), ScreenY(16));
    Frames(2);
    ExpectGoldenScreen("play-spell");
}

TEST_F(GoldenPlayScreens, DaySummary)
{
    MakeRealGame(3, 30, 7);
    startgold = 600;
    for (int32_t day = 0; day < 4; day++) {
        for (int32_t i = 0; i < 3; i++) {
            if (day == 0)
                Put(i, 5 + 8 * i, 5, Warlord(i));
            if (day > 0 && i != 1)
                Put(i, 5 + 8 * i, 6 + day, Buyable((size_t)day));
            p[i].gold = 600 - 90 * day + 40 * i;
            p[i].kills = day * (i + 1) / 2;
        }
        if (day == 3)
            p[1].units.clear();     // his army fell on the fourth day
        gs = GAME_DAYSUMMARYOPEN;
        Frames(1);
    }
    MoveTo(300, 560);
    Frames(2);
    ExpectGoldenScreen("play-summary");
}

} // namespace
