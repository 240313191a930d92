// One whole play screen composed headless (board, units, fog, marks, minimap, feed, header, frame),
// compared with its golden fixture (tests/game/support/golden.h): once with the fixture's sheets, whose
// every cell has its own colour, so a wrong cell, position or colour anywhere changes pixels; once with
// the game's own pictures. The PNGs are written under the build tree; after an intended change, look at
// them and run `make golden`.
#include <gtest/gtest.h>

#include <string>

#include "game/model/mapgen.h"
#include "game/model/state.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/shell/shell.h"
#include "game/view/board.h"
#include "game/view/cursor.h"
#include "game/view/feed.h"
#include "game/view/frames.h"
#include "game/view/geometry.h"
#include "game/view/header.h"
#include "game/view/minimap.h"
#include "game/view/names.h"
#include "game/view/unitpanel.h"
#include "game/view/unitpicture.h"
#include "platform/clock.h"
#include "platform/headless.h"
#include "tests/game/support/golden.h"
#include "tests/game/support/world.h"
#include "tests/game/view/viewtest.h"

namespace {

// A game on its second day: three players and the neutral side on a 30-square map, part of it never
// seen, a dark wood, a forcefield, a hazard, the range of the selected unit marked, and a river with an
// end, straight runs, two bends and a crossing.
void MakeScene()
{
    MakeWorld(3, 30, true);
    SetPlayerName(p[0], "Aldric");
    SetPlayerName(p[1], "Brenna");
    SetPlayerName(p[2], "Corvin");
    // Mostly open ground, woods and hills, a few gold deposits, from a fixed sequence.
    uint32_t seed = 7;
    const uint8_t kinds[20] = { 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 2, 2, 2, 0, 5 };
    for (int32_t x = 0; x < 30; x++)
        for (int32_t y = 0; y < 30; y++) {
            MapSquare& s = map[x][y];
            seed = seed * 1103515245 + 12345;
            s.terrain = kinds[(seed >> 16) % 20];
            s.extra = static_cast<uint8_t>((seed >> 8) % 4);
            // Unexplored beyond a slanting line, and in a pocket that has explored land on all sides.
            s.explored = x < 18 && y + x / 3 < 16 && !(x >= 12 && x <= 13 && y >= 1 && y <= 2);
            if (x >= 9 && x <= 12 && y >= 2 && y <= 5)
                s.dark = 1;
        }
    const int32_t river[][2] = { { 2, 6 }, { 2, 7 }, { 2, 8 }, { 2, 9 }, { 3, 9 }, { 4, 9 }, { 5, 9 },
                                 { 6, 9 }, { 7, 9 }, { 7, 10 }, { 7, 11 }, { 7, 12 } };
    for (const auto& at : river)
        map[at[0]][at[1]].terrain = TERRAIN_RIVER;
    map[5][9].terrain = TERRAIN_CROSSING, map[5][9].extra = 0;   // across a river running left to right
    JoinRiverEdges();
    map[4][3].terrain = 3, map[4][3].extra = 0;     // Aldric's mine
    map[15][8].terrain = 3, map[15][8].extra = 5;   // nobody's
    map[22][4].terrain = 3, map[22][4].extra = 5;   // unseen: it glints
    map[8][7].counter2 = 2;
    map[11][10].hazard = 3;
    map[13][11].timed = 1;
    map[6][6].bits = 1;                             // voided by Brenna
    const int32_t positions[4][3][2] = { { { 5, 5 }, { 6, 4 }, { 7, 6 } }, { { 14, 6 }, { 15, 7 }, { 13, 8 } },
                                         { { 24, 6 }, { 3, 11 }, { 4, 12 } }, { { 10, 3 }, { 11, 4 }, { 16, 2 } } };
    for (int32_t player = 0; player < 4; player++)
        for (const auto& at : positions[player]) {
            const int32_t u = AddTestUnit(player, at[0], at[1], 1 + (at[0] + at[1]) % 3);
            p[player].units[u].picture = (at[0] * 5 + at[1]) % 40;
        }
    p[0].units[1].hp = 4;
    p[0].units[2].moves = 0;
    p[1].units[0].poison = 2;
    p[1].units[1].hits = 0;
    for (int32_t x = 4; x <= 8; x++)
        for (int32_t y = 4; y <= 6; y++)
            map[x][y].mark = 1;
    p[0].gold = 340;
    currplayer = 0;
    currunit = 0;
    daycount = 2;
    turncount = 1;
    framecount = 7;
    view = { -1, 0, 19, 13 };
    for (int frame = 0; frame < 100; frame++)
        UpdatePanelBars(currplayer, currunit);     // the meters glide to the unit's figures
    AddMessage(0, "Your unit claimed this gold mine.");
    AdvanceClock(2000);
    AddMessage(0, "Brenna: Your warlord will not live to see the night.", 0x00FF00);
    AdvanceClock(2000);
    AddMessage(0, "The target resisted the spell!");
}

// The play screen of the scene, composed and shown.
void ComposePlayScreen()
{
    const int32_t local = YouToInt();
    StartGoldenTexts();
    RebuildBoardImage();
    RedrawUnitPictures();
    RebuildMinimap(local, 0);
    ClearBackBuffer();
    DrawBoard(1, local);
    DrawScreenBorder();
    DrawUnitPanel(currplayer, currunit);
    DrawTurnHeader();
    DrawMinimap();
    DrawMessageFeed(local);
    mousex = 430;
    mousey = 250;
    DrawCursor(0);
    FlipScreen();
}

class GoldenTest : public ViewTest {
protected:
    void TearDown() override
    {
        shownlife = shownmoves = shownmana = shownexp = 0;
        ViewTest::TearDown();
    }
};

TEST_F(GoldenTest, ThePlayScreen)
{
    MakeScene();
    ComposePlayScreen();
    ExpectGoldenFrame("playscreen_fixture", GORV_TEST_DIR);
}

// The same screen with the game's own pictures: the image modules of the game directory loaded as the
// game loads them.
TEST_F(GoldenTest, ThePlayScreenWithTheGamesArt)
{
    const bool failed = LoadGameArt();
    if (!failed) {
        MakeScene();
        ComposePlayScreen();
        ExpectGoldenFrame("playscreen", GORV_TEST_DIR);
    }
    ReleaseAllImages();
    ASSERT_FALSE(failed) << "the game's image modules did not load";
}

} // namespace
