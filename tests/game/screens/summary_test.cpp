// The day summary: the day's row of figures, the leaders, the sound of the day, and the screen's
// buttons.
#include <gtest/gtest.h>

#include "game/model/state.h"
#include "game/net/lobby.h"
#include "game/screens/states.h"
#include "game/screens/summary.h"
#include "game/screens/summaryfigures.h"
#include "game/view/graph.h"
#include "tests/game/screens/playscreen.h"
#include "tests/game/support/world.h"

namespace {

class Summary : public PlayScreenTest {
protected:
    void SetUp() override
    {
        PlayScreenTest::SetUp();
        daysummary.clear();
        summarypage = PAGE_ASSETS;
    }
    void TearDown() override
    {
        daysummary.clear();
        PlayScreenTest::TearDown();
    }
};

TEST_F(Summary, TheRowHoldsEachPlayersFiguresInHisSlot)
{
    MakeGame(3, 12);
    Put(0, 2, 2, Buyable(0));
    Put(0, 3, 2, Buyable(1));
    Put(2, 9, 9, Buyable(0));
    p[0].gold = 100;
    p[2].gold = 7;
    p[0].kills = 3;
    map[5][5].terrain = 3;
    map[5][5].extra = 2;    // player 2's mine
    gs = GAME_DAYSUMMARYOPEN;
    Frames(1);
    ASSERT_EQ(daysummary.size(), 1u);
    const DaySummaryRow& row = daysummary[0];
    EXPECT_EQ(row.assets[0], 100 + UnitPrice(Buyable(0)) + UnitPrice(Buyable(1)));
    EXPECT_EQ(row.kills[0], 3);
    EXPECT_EQ(row.mines[0], 0);
    EXPECT_EQ(row.assets[1], SLOT_NOUNITS) << "no units that day";
    EXPECT_EQ(row.kills[1], SLOT_NOUNITS);
    EXPECT_EQ(row.assets[2], 7 + UnitPrice(Buyable(0)));
    EXPECT_EQ(row.mines[2], 1);
    for (int32_t slot = 3; slot < SUMMARYSLOTS; slot++)
        EXPECT_EQ(row.assets[slot], SLOT_EMPTY) << slot;
    EXPECT_EQ(gs, GAME_DAYSUMMARY);
}

TEST_F(Summary, FiveHumansHaveFiveSlots)
{
    MakeGame(5, 12);
    for (int32_t i = 0; i < 5; i++)
        Put(i, i, 0, Buyable(0));
    gs = GAME_DAYSUMMARYOPEN;
    Frames(1);
    ASSERT_EQ(daysummary.size(), 1u);
    for (int32_t slot = 0; slot < 5; slot++)
        EXPECT_GT(daysummary[0].assets[slot], 0) << slot;
}

TEST_F(Summary, AFigureHasALeaderOnlyWhenOnePlayerAloneHoldsItsHighestValue)
{
    const struct {
        const char* what;
        std::vector<int32_t> kills;     // -1: no units
        int32_t leader;
    } cases[] = {
        {"one highest", {2, 5, 1}, 1},
        {"a tie", {5, 5, 1}, -1},
        {"a tie below the highest", {1, 1, 5}, 2},
        {"the highest has no units", {2, -1, 1}, 0},
        {"nobody has units", {-1, -1, -1}, -1},
    };
    for (const auto& c : cases) {
        MakeGame(3, 12);
        for (int32_t i = 0; i < 3; i++) {
            if (c.kills[i] < 0)
                continue;
            Put(i, i, 0, Buyable(0));
            p[i].kills = c.kills[i];
        }
        // The neutral side's kills never lead.
        Put((int32_t)p.size() - 1, 9, 9, Buyable(0));
        p.back().kills = 99;
        EXPECT_EQ(FigureLeader(PAGE_KILLS), c.leader) << c.what;
    }
}

TEST_F(Summary, TheSoundTellsTheLocalPlayerHowHeDid)
{
    const struct {
        int32_t leaders[GRAPHPAGES];
        const char* sound;
    } cases[] = {
        {{0, -1, -1}, ".\\Sound\\GSGoodSummary.wav"},
        {{1, 1, 0}, ".\\Sound\\GSGoodSummary.wav"},
        {{-1, -1, -1}, ".\\Sound\\GSConnect.wav"},
        {{1, -1, -1}, ".\\Sound\\GSBadSummary.wav"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(SummarySound(0, c.leaders), c.sound);
}

TEST_F(Summary, ASingleRecordRecordsNothing)
{
    MakeWorld(1, 12, false);
    EXPECT_TRUE(PrepareDaySummary());
    EXPECT_TRUE(daysummary.empty());
}

TEST_F(Summary, TheButtonsTurnTheGraphAndGoOnToTheShop)
{
    MakeGame(2, 12);
    Put(0, 2, 2, Buyable(0));
    Put(1, 9, 9, Buyable(0));
    gs = GAME_DAYSUMMARYOPEN;
    Frames(2);
    for (const int32_t page : {PAGE_KILLS, PAGE_MINES, PAGE_ASSETS}) {
        Click(105, 515);    // the page button at (5, 490)
        Frames(2);
        EXPECT_EQ(summarypage, page);
    }
    Click(105, 570);        // "Done" at (5, 545)
    Frames(2);
    EXPECT_EQ(gs, GAME_PRESHOP);
}

} // namespace
