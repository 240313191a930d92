// The unit panel, the square panel and a summary graph page drawn with the game's own pictures and
// catalogue, compared with their golden fixtures (tests/game/support/golden.h); the frames are written
// in the build tree to look at (unitpanel.png, squarepanel.png, graphpage.png).
#include <gtest/gtest.h>

#include <string>

#include "game/model/catalogue.h"
#include "game/model/mapgen.h"
#include "game/model/state.h"
#include "game/model/stats.h"
#include "game/model/units.h"
#include "game/net/lobby.h"
#include "game/screens/states.h"
#include "game/shell/display.h"
#include "game/shell/fonts.h"
#include "game/shell/images.h"
#include "game/shell/input.h"
#include "game/view/board.h"
#include "game/view/commandmode.h"
#include "game/view/cursor.h"
#include "game/view/drawing.h"
#include "game/view/feed.h"
#include "game/view/geometry.h"
#include "game/view/graph.h"
#include "game/view/header.h"
#include "game/view/linestrips.h"
#include "game/view/minimap.h"
#include "game/view/squareinfo.h"
#include "game/view/text.h"
#include "game/view/unitpanel.h"
#include "game/view/unitpicture.h"
#include "platform/gdi.h"
#include "tests/game/support/golden.h"
#include "tests/game/support/world.h"
#include "tests/game/view/viewtest.h"

namespace {

enum : int32_t { GEOMANCER = 18, CATAPULT = 23, PIKEMAN = 2, BATTLEMAGE = 14 };

class GoldenPanels : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        UnloadTestStrings();
        ASSERT_FALSE(LoadGameText()) << "the game's string module";
        ASSERT_FALSE(LoadGameArt()) << "the game's image modules";
        MakeScene();
        StartGoldenTexts();
    }
    void TearDown() override
    {
        RecordDrawnText(nullptr);
        ReleaseAllImages();
        shownlife = shownmoves = shownmana = shownexp = 0;
        commandmode = COMMAND_MOVE;
        daysummary.clear();
        startgold = 0;
        summarypage = PAGE_ASSETS;
        ViewTest::TearDown();
    }
    // A meadow with woods and hills, a mine and a node; a Geomancer of Aldric's acting, a Catapult and a
    // Pikeman of Brenna's beside him.
    void MakeScene()
    {
        MakeWorld(2, 24, true);
        SetPlayerName(p[0], "Aldric");
        SetPlayerName(p[1], "Brenna");
        uint32_t seed = 11;
        for (int32_t x = 0; x < 24; x++)
            for (int32_t y = 0; y < 24; y++) {
                MapSquare& s = map[x][y];
                seed = seed * 1103515245 + 12345;
                const uint32_t r = (seed >> 16) % 10;
                s.terrain = r < 6 ? TERRAIN_OPEN : r < 8 ? TERRAIN_TREES : TERRAIN_ROUGH;
                s.extra = static_cast<uint8_t>((seed >> 8) % 4);
                s.explored = 1;
            }
        map[9][5].terrain = TERRAIN_MINE, map[9][5].extra = 0;
        map[4][9].terrain = TERRAIN_SITE, map[4][9].extra = 0;
        geomancer = CreateUnit(0, 6, 6, GEOMANCER, 0);
        catapult = CreateUnit(1, 8, 6, CATAPULT, 0);
        CreateUnit(1, 9, 7, PIKEMAN, 0);
        CreateUnit(0, 5, 7, BATTLEMAGE, 0);
        ASSERT_GE(geomancer, 0);
        ASSERT_GE(catapult, 0);
        // Fresh units act from their owner's next turn: this is that turn.
        for (Player& player : p)
            for (Unit& u : player.units) {
                u.hits = u.stat[STAT_ACTIONS];
                u.moves = u.stat[STAT_MOVES];
            }
        Unit& g = p[0].units[geomancer];
        g.mana = 6;
        g.hp = g.stat[STAT_LIFE] - 3;
        g.moves = 1;
        g.experience = 12;
        p[1].units[catapult].rocks = 2;
        p[1].units[catapult].hp -= 2;
        p[1].units[catapult].poison = 2;
        p[0].gold = 275;
        currplayer = 0;
        currunit = geomancer;
        daycount = 3;
        turncount = MORNING;
        view = { 0, 0, 20, 13 };
        RedrawUnitPictures();
        RebuildBoardImage();
        RebuildMinimap(0, 1);
        for (int frame = 0; frame < 100; frame++)
            UpdatePanelBars(0, geomancer);
    }
    // Board, frame, header, minimap and the unit panel, with the cursor where the mouse is.
    void ComposeBoard()
    {
        ClearBackBuffer();
        DrawBoard(0, 0);
        DrawScreenBorder();
        DrawUnitPanel(0, geomancer);
        DrawMinimap();
    }
    // The board with the mouse on the first spell: its box shows above the panel.
    void ComposeUnitPanel()
    {
        mousex = 670;
        mousey = 535;
        ComposeBoard();
    }
    void ExpectGolden(const char* name)
    {
        DrawCursor(0);
        FlipScreen();
        ExpectGoldenFrame(name, GORV_TEST_DIR);
    }
    int32_t geomancer = -1, catapult = -1;
};

TEST_F(GoldenPanels, TheUnitPanel)
{
    ComposeUnitPanel();
    ExpectGolden("unitpanel");
}

// The comparison itself: the unit panel (captions with shadows over the board) drawn with each fault of
// the text layer must differ from its golden frame, and drawn with none, match it.
class FrameBreaks : public GoldenPanels, public testing::WithParamInterface<TextBreak> {
protected:
    void TearDown() override
    {
        SetTextFaults(nullptr);
        GoldenPanels::TearDown();
    }
};

TEST_P(FrameBreaks, TheUnitPanel)
{
    SetTextFaults(&GetParam().faults);
    ComposeUnitPanel();
    DrawCursor(0);
    FlipScreen();
    ExpectBreakSeen("unitpanel", GetParam(), GORV_TEST_DIR);
}

INSTANTIATE_TEST_SUITE_P(Text, FrameBreaks, testing::ValuesIn(TextBreaks(true)),
                         [](const testing::TestParamInfo<TextBreak>& row) { return std::string(row.param.name); });

TEST_F(GoldenPanels, TheSquarePanel)
{
    mousex = 8 * 40 + 20;       // over Brenna's Catapult
    mousey = 6 * 40 + 20;
    ComposeBoard();
    EXPECT_TRUE(DrawSquareInfo(5, 360));
    ExpectGolden("squarepanel");
}

TEST_F(GoldenPanels, AGraphPage)
{
    startgold = 300;
    const int32_t assets[6][3] = { { 420, 380, 300 }, { 510, 460, 350 }, { 480, 620, 330 },
                                   { 650, 700, 290 }, { 900, 680, -1 }, { 1120, 760, -1 } };
    for (const auto& day : assets) {
        DaySummaryRow row;
        for (int32_t slot = 0; slot < SUMMARYSLOTS; slot++)
            row.assets[slot] = row.kills[slot] = row.mines[slot] = slot < 3 ? day[slot] : SLOT_EMPTY;
        daysummary.push_back(row);
    }
    MakeWorld(3, 24, true);
    ClearBackBuffer();
    DrawSurface(0, 0, imgback);
    DrawStripB(0, 75, 800);
    BeginText(FONT_BOARDLARGE);
    DrawShadowText(0, 0, 800, 75, "End of Day Summary", 0xFF8000, TEXT_SINGLELINE | TEXT_VCENTRE);
    SelectDCFont(textdc, fonts[FONT_MEDIUM]);
    DrawShadowText(5, 490, 200, 50, GraphTitle(), COLOUR_WHITE, FORMAT_CENTREDLINE);
    EndText();
    EXPECT_FALSE(DrawSummaryGraph());
    mousex = 300;
    mousey = 400;
    ExpectGolden("graphpage");
}

} // namespace
