// The play screen's keys: each key's effect, the unit hot keys, picking a unit by a click, and ending
// a unit's turn or the whole turn.
#include <gtest/gtest.h>

#include <string>

#include "game/model/localplayer.h"
#include "game/model/state.h"
#include "game/screens/boardkeys.h"
#include "game/screens/states.h"
#include "game/screens/turnsteps.h"
#include "game/shell/input.h"
#include "game/view/board.h"
#include "game/view/geometry.h"
#include "platform/inputscript.h"
#include "tests/game/support/world.h"
#include "tests/game/view/viewtest.h"

namespace {

class BoardKeysTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        MakeBoard(2, 20);
        AddTestUnit(0, 3, 3);
        AddTestUnit(0, 5, 4);
        AddTestUnit(1, 8, 8);
        currplayer = 0;
        currunit = 0;
        gs = GAME_UNITTURN;
        pickedunit = 0;
        autofocus = 1;
        CaptureLog();
    }
    void TearDown() override
    {
        gs = GAME_INTRO;
        returngs = -1;
        pickedunit = 0;
        ViewTest::TearDown();
    }
    void CaptureLog() { log.clear(); }
    bool Logged(const std::string& line) const { return log.find(line) != std::string::npos; }
    // One frame of the game keys with these keys down.
    static void GameKeys(std::initializer_list<uint8_t> down)
    {
        ScriptKeys(down);
        PollKeyboard();
        HandleGameKeys();
    }
    static void UnitTurnKeys(std::initializer_list<uint8_t> down)
    {
        ScriptKeys(down);
        PollKeyboard();
        HandleUnitTurnKeys();
    }
};

TEST_F(BoardKeysTest, EachKeyItsEffect)
{
    struct Case {
        const char* name;
        uint8_t key;
        int32_t state;
        uint8_t grid, minimap;
        int32_t gs, returngs;
        int32_t viewleft;               // after CenterView(15, 15): 5
    };
    const Case cases[] = {
        { "G: the grid", KEY_G, GAME_UNITTURN, 1, 1, GAME_UNITTURN, -1, 5 },
        { "M: the minimap", KEY_M, GAME_UNITTURN, 0, 0, GAME_UNITTURN, -1, 5 },
        { "P: the options", KEY_P, GAME_UNITTURN, 0, 1, GAME_OPTIONSOPEN, GAME_UNITTURN, 5 },
        { "P while watching", KEY_P, GAME_WATCH, 0, 1, GAME_OPTIONSOPEN, GAME_WATCH, 5 },
        { "C: centre on the acting unit", KEY_C, GAME_UNITTURN, 0, 1, GAME_UNITTURN, -1, -7 },
        { "C while waiting", KEY_C, GAME_WAITPLAYERS, 0, 1, GAME_WAITPLAYERS, -1, -7 },
        { "another key", KEY_X, GAME_UNITTURN, 0, 1, GAME_UNITTURN, -1, 5 },
    };
    for (const Case& c : cases) {
        gridon = 0;
        minimapon = 1;
        gs = c.state;
        returngs = -1;
        CenterView(15, 15);
        ClearInputScript();
        GameKeys({ c.key });
        EXPECT_EQ(gridon, c.grid) << c.name;
        EXPECT_EQ(minimapon, c.minimap) << c.name;
        EXPECT_EQ(gs, c.gs) << c.name;
        EXPECT_EQ(returngs, c.returngs) << c.name;
        EXPECT_EQ(view.left, c.viewleft) << c.name;
        // A toggle uses its key's press and the frame goes on: no read waits for the release.
        EXPECT_EQ(ScriptedKeyboardReads(), 1) << c.name;
    }
    // Pressed again, a toggle goes back.
    GameKeys({ KEY_G });
    GameKeys({ KEY_G });
    EXPECT_EQ(gridon, 0);
}

TEST_F(BoardKeysTest, CentringNeedsAutofocusAndAnActingUnit)
{
    CenterView(15, 15);
    autofocus = 0;
    GameKeys({ KEY_C });
    EXPECT_EQ(view.left, 5);
    autofocus = 1;
    for (const int32_t stale : { -1, 2, 99 }) {
        currunit = stale;
        GameKeys({ KEY_C });
        EXPECT_EQ(view.left, 5) << "unit " << stale;
    }
    currplayer = 7;
    currunit = 0;
    GameKeys({ KEY_C });
    EXPECT_EQ(view.left, 5);
}

TEST_F(BoardKeysTest, CtrlDigitStoresTheActingUnitAndTheDigitRecallsIt)
{
    currunit = 1;
    GameKeys({ KEY_LCONTROL, KEY_3 });
    EXPECT_EQ(p[0].unithotkeys[2], p[0].units[1].id);
    EXPECT_EQ(gs, GAME_UNITTURN);
    currunit = 0;
    GameKeys({ KEY_RCONTROL, KEY_0 });
    EXPECT_EQ(p[0].unithotkeys[9], p[0].units[0].id);

    GameKeys({ KEY_3 });
    EXPECT_EQ(currunit, 0) << "the next-unit step moves on to unit 1";
    EXPECT_EQ(pickedunit, 1);
    EXPECT_EQ(gs, GAME_NEXTUNIT);

    // Only in the local unit turn.
    gs = GAME_WATCH;
    currunit = 1;
    GameKeys({ KEY_0 });
    EXPECT_EQ(currunit, 1);
    EXPECT_EQ(gs, GAME_WATCH);
}

TEST_F(BoardKeysTest, ARecalledUnitThatIsGoneIsLoggedAndNothingChanges)
{
    currunit = 1;
    GameKeys({ KEY_LCONTROL, KEY_3 });
    p[0].units.erase(p[0].units.begin() + 1);
    currunit = 0;
    GameKeys({ KEY_3 });
    EXPECT_TRUE(Logged("Couldn't find the unit called... assumed it was killed.\n"));
    EXPECT_EQ(currunit, 0);
    EXPECT_EQ(pickedunit, 0);
    EXPECT_EQ(gs, GAME_UNITTURN);
    // An empty slot, and a slot naming another player's unit, the same.
    CaptureLog();
    GameKeys({ KEY_5 });
    EXPECT_TRUE(Logged("Couldn't find the unit called"));
    p[0].unithotkeys[5] = p[1].units[0].id;
    CaptureLog();
    GameKeys({ KEY_6 });
    EXPECT_TRUE(Logged("Couldn't find the unit called"));
    EXPECT_EQ(gs, GAME_UNITTURN);
}

TEST_F(BoardKeysTest, StoringWithoutAnActingUnitIsLogged)
{
    for (const int32_t stale : { -1, 2 }) {
        currunit = stale;
        CaptureLog();
        GameKeys({ KEY_LCONTROL, KEY_1 });
        EXPECT_TRUE(Logged("Unusual circumstance trying to cache unit entry.\n")) << stale;
        EXPECT_EQ(p[0].unithotkeys[0], -1);
    }
}

TEST_F(BoardKeysTest, AClickOnAnOwnUnitPicksItOnceReleased)
{
    view = { 0, 0, 20, 13 };
    // Unit 1 stands on (5, 4): pixels (200..239, 160..199).
    mousex = 210;
    mousey = 170;
    mousestate.buttons[0] = KEY_DOWNBIT;
    ScriptMouse(0, 0, 1, 3);            // held for three more reads, then let go
    UnitTurnKeys({});
    EXPECT_EQ(currunit, 0);
    EXPECT_EQ(pickedunit, 1);
    EXPECT_EQ(gs, GAME_NEXTUNIT);
    EXPECT_EQ(ScriptedMouseReads(), 4);

    struct Case {
        const char* name;
        int32_t x, y;
    };
    const Case nothing[] = {
        { "an enemy", 8 * 40 + 5, 8 * 40 + 5 },
        { "an empty square", 400, 300 },
        { "under the command buttons", 20, 130 },
        { "under the minimap", 790, 40 },
    };
    for (const Case& c : nothing) {
        gs = GAME_UNITTURN;
        currunit = 1;
        mousex = c.x;
        mousey = c.y;
        mousestate.buttons[0] = KEY_DOWNBIT;
        UnitTurnKeys({});
        EXPECT_EQ(gs, GAME_UNITTURN) << c.name;
        EXPECT_EQ(currunit, 1) << c.name;
    }
}

TEST_F(BoardKeysTest, SpaceEndsTheUnitsTurnAndCtrlSpaceTheWholeTurn)
{
    map[1][1].mark = 1;
    const int32_t moves = p[0].units[0].moves, hits = p[0].units[0].hits;
    UnitTurnKeys({ KEY_SPACE });
    EXPECT_EQ(map[1][1].mark, 0);
    EXPECT_EQ(gs, GAME_NEXTUNIT);
    // The unit rests: the search passes it over, while its moves and actions stay as every other
    // machine has them.
    EXPECT_EQ(p[0].units[0].moves, moves);
    EXPECT_EQ(p[0].units[0].hits, hits);
    currunit = -1;
    NextUnitStep();
    EXPECT_EQ(currunit, 1);

    for (const uint8_t ctrl : { KEY_LCONTROL, KEY_RCONTROL }) {
        gs = GAME_UNITTURN;
        currunit = 1;
        UnitTurnKeys({ ctrl, KEY_SPACE });
        EXPECT_EQ(gs, GAME_ENDTURN);
    }
    // With no acting unit the turn still goes on, and nothing is written.
    for (const int32_t stale : { -1, 2 }) {
        gs = GAME_UNITTURN;
        currunit = stale;
        UnitTurnKeys({ KEY_SPACE });
        EXPECT_EQ(gs, GAME_NEXTUNIT) << stale;
    }
}

TEST_F(BoardKeysTest, TheUpgradeChordIsTheHostsAlone)
{
    UnitTurnKeys({ KEY_U, KEY_9, KEY_LSHIFT });
    ASSERT_EQ(upgradequeue.size(), 1u);
    EXPECT_EQ(upgradequeue.front(), p[0].units[0].id);
    upgradequeue.clear();
    UnitTurnKeys({ KEY_U, KEY_9 });
    EXPECT_TRUE(upgradequeue.empty()) << "all three keys";
    BecomeClient(1);
    currplayer = 1;
    currunit = 0;
    gs = GAME_UNITTURN;
    UnitTurnKeys({ KEY_U, KEY_9, KEY_LSHIFT });
    EXPECT_TRUE(upgradequeue.empty());
    EXPECT_EQ(p[1].units[0].type, 1) << "a client's unit is not upgraded behind the host's back";
}

} // namespace
