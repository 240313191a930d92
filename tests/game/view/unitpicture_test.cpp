// Each unit's picture: its icon, colour, health bar and marks, kept by the unit's id.
#include <gtest/gtest.h>

#include "game/model/state.h"
#include "game/model/units.h"
#include "game/shell/display.h"
#include "game/shell/images.h"
#include "game/shell/shell.h"
#include "game/shell/surface.h"
#include "game/view/board.h"
#include "game/view/geometry.h"
#include "game/view/unitpicture.h"
#include "tests/game/support/world.h"
#include "tests/game/view/viewtest.h"

namespace {

class UnitPictureTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        MakeBoard(2, 10);
    }
    static const SysSurface* PictureOf(int32_t player, int32_t unit)
    {
        const Surface* const picture = UnitPicture(p[player].units[unit].id);
        return picture ? picture->GetSurface() : nullptr;
    }
    static Probe Layer(int32_t player, int32_t unit, PatchPlace place)
    {
        return LayerAt(PictureOf(player, unit), 0, 0, place);
    }
    // Pixels of the health bar row, from the bar's left end.
    static int32_t BarWidth(int32_t player, int32_t unit)
    {
        int32_t w = 0;
        while (CellAt(PictureOf(player, unit), 2 + w, 37).sheet == SHEET_HEALTH)
            w++;
        return w;
    }
};

TEST_F(UnitPictureTest, TheHealthBarIsHitPointsOverLifeOf36Pixels)
{
    struct Case {
        int32_t hp, life, width;
    };
    const Case cases[] = {
        { 10, 10, 36 }, { 5, 10, 18 }, { 1, 10, 3 }, { 0, 10, 0 },
        { 1, 1, 36 }, { 1, 0, 36 },         // a life below 2 counts as 1
        { 3, 2, 36 }, { 40, 10, 36 },       // above the life: full, never past the bar
        { -4, 10, 0 },                      // below 0: empty
    };
    for (const Case& c : cases) {
        const int32_t u = AddTestUnit(0, 1, 1);
        p[0].units[u].hp = c.hp;
        p[0].units[u].stat[STAT_LIFE] = c.life;
        ASSERT_FALSE(RenderUnitPicture(0, u));
        EXPECT_EQ(BarWidth(0, u), c.width) << c.hp << " of " << c.life;
    }
}

TEST_F(UnitPictureTest, TheIconComesFromTheSheetOfItsSquareAndState)
{
    struct Case {
        int8_t dark;
        uint32_t claim;
        int32_t actions;
        int32_t sheet;
    };
    const Case cases[] = {
        { 0, NOCLAIM, 2, SHEET_UNITS },
        { 1, NOCLAIM, 2, SHEET_UNITSTINT },
        { 0, 1, 2, SHEET_UNITSGREY },       // a voided square
        { 1, 0, 2, SHEET_UNITSGREY },
        { 0, NOCLAIM, 0, SHEET_UNITSGREY }, // a unit that cannot act
    };
    for (size_t i = 0; i < std::size(cases); i++) {
        const Case& c = cases[i];
        const int32_t x = static_cast<int32_t>(i);
        const int32_t u = AddTestUnit(1, x, 2, 3);
        map[x][2].dark = c.dark;
        map[x][2].bits = c.claim;
        p[1].units[u].stat[STAT_ACTIONS] = c.actions;
        ASSERT_FALSE(RenderUnitPicture(1, u));
        EXPECT_EQ(Layer(1, u, PATCH_ICON), (Probe{ c.sheet, 3 })) << "case " << i;
        EXPECT_EQ(Layer(1, u, PATCH_COLOUR), (Probe{ SHEET_UNITS, 241 })) << "player 1's colour";
        EXPECT_EQ(Layer(1, u, PATCH_FRAMEUNDER), (Probe{ SHEET_UNITS, 229 }));
        EXPECT_EQ(Layer(1, u, PATCH_FRAMEOVER), (Probe{ SHEET_UNITS, 230 }));
    }
}

TEST_F(UnitPictureTest, StatusMarksShowWhatTheUnitCannotDo)
{
    struct Case {
        int32_t hits, moves, poison;
        Probe noattack, nomoves, poisoned;
    };
    const Probe none = { SHEET_NONE, -1 };
    const Case cases[] = {
        { 2, 1, 0, none, none, none },
        { 1, 1, 0, { SHEET_UNITS, 232 }, none, none },
        { 2, 0, 0, none, { SHEET_UNITS, 231 }, none },
        { 0, -1, 3, { SHEET_UNITS, 232 }, { SHEET_UNITS, 231 }, { SHEET_UNITS, 236 } },
        { 2, 1, 1, none, none, { SHEET_UNITS, 234 } },
        { 2, 1, 60, none, none, { SHEET_UNITS, 239 } },     // held to the poison cells
    };
    for (const Case& c : cases) {
        const int32_t u = AddTestUnit(0, 3, 3);
        p[0].units[u].hits = c.hits;
        p[0].units[u].moves = c.moves;
        p[0].units[u].poison = c.poison;
        RenderUnitPicture(0, u);
        EXPECT_EQ(Layer(0, u, PATCH_NOATTACK), c.noattack) << c.hits << " " << c.moves << " " << c.poison;
        EXPECT_EQ(Layer(0, u, PATCH_NOMOVES), c.nomoves) << c.hits << " " << c.moves << " " << c.poison;
        EXPECT_EQ(Layer(0, u, PATCH_POISON), c.poisoned) << c.hits << " " << c.moves << " " << c.poison;
    }
}

TEST_F(UnitPictureTest, OnlyTheOwnerSeesHisHiddenUnitsMark)
{
    struct Case {
        int32_t owner, stealth;
        int8_t dark;
        Probe hidden;
    };
    const Probe none = { SHEET_NONE, -1 };
    const Case cases[] = {
        { 0, 1, 0, none },
        { 0, 2, 0, { SHEET_UNITS, 247 } },
        { 0, 1, 1, { SHEET_UNITS, 248 } },
        { 1, 2, 0, none },                  // hidden from us, and no mark of ours on it
    };
    for (size_t i = 0; i < std::size(cases); i++) {
        const Case& c = cases[i];
        const int32_t x = static_cast<int32_t>(i);
        const int32_t u = AddTestUnit(c.owner, x, 4);
        p[c.owner].units[u].stat[STAT_STEALTH] = c.stealth;
        map[x][4].dark = c.dark;
        RenderUnitPicture(c.owner, u);
        EXPECT_EQ(Layer(c.owner, u, PATCH_HIDDEN), c.hidden) << "case " << i;
    }
}

TEST_F(UnitPictureTest, APictureFollowsItsUnitByIdAndGoesWithIt)
{
    const int32_t first = AddTestUnit(1, 1, 1, 1);
    AddTestUnit(1, 2, 1, 3);
    RedrawUnitPictures();
    EXPECT_EQ(UnitPictureCount(), 2);
    const int32_t firstid = p[1].units[first].id;

    // The second unit moves down the list when the first is removed; its picture still finds it.
    RemoveUnit(1, first);
    EXPECT_EQ(UnitPicture(firstid), nullptr);
    EXPECT_EQ(UnitPictureCount(), 1);
    ClearBackBuffer();
    RebuildBoardImage();
    DrawBoard(0, 0);
    const ScreenPoint at = SquareToScreen(2, 1);
    EXPECT_EQ(LayerAt(backbuffer, at.x, at.y, PATCH_ICON), (Probe{ SHEET_UNITS, 3 }));
    const ScreenPoint gone = SquareToScreen(1, 1);
    EXPECT_EQ(LayerAt(backbuffer, gone.x, gone.y, PATCH_ICON), (Probe{ SHEET_TERRAIN, 0 }));

    // A unit dropped without a word leaves no picture behind after the next redraw.
    const int32_t dropped = p[1].units[0].id;
    p[1].units.clear();
    RedrawUnitPictures();
    EXPECT_EQ(UnitPicture(dropped), nullptr);
    EXPECT_EQ(UnitPictureCount(), 0);
}

TEST_F(UnitPictureTest, BadIndexesAndCellsAreSkipped)
{
    const int32_t u = AddTestUnit(0, 1, 1);
    EXPECT_TRUE(RenderUnitPicture(0, 5));
    EXPECT_TRUE(RenderUnitPicture(7, 0));
    EXPECT_TRUE(RenderUnitPicture(-1, 0));
    EXPECT_EQ(UnitPictureCount(), 0);

    // A picture cell past the sheet draws no icon; a code with no colour draws no colour.
    p[0].units[u].picture = 300;
    p[0].code = 0xF9;
    EXPECT_FALSE(RenderUnitPicture(0, u));
    EXPECT_EQ(Layer(0, u, PATCH_ICON), (Probe{ SHEET_NONE, -1 }));
    EXPECT_EQ(Layer(0, u, PATCH_COLOUR), (Probe{ SHEET_NONE, -1 }));
    EXPECT_EQ(Layer(0, u, PATCH_FRAMEOVER), (Probe{ SHEET_UNITS, 230 })) << "the rest is drawn";
    EXPECT_NE(log.find("ERROR: Cell 300 lies outside its 657 x 657 sheet."), std::string::npos) << log;
    EXPECT_NE(log.find("ERROR: Player code 249 has no colour."), std::string::npos);

    // Off the map it keeps its old picture.
    p[0].units[u].x = 10;
    EXPECT_TRUE(RenderUnitPicture(0, u));
    EXPECT_NE(UnitPicture(p[0].units[u].id), nullptr);

    candraw = 0;
    EXPECT_TRUE(RenderUnitPicture(0, u));
}

} // namespace
