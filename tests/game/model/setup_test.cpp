// Setting up the armies: the warlord placement, the host's announced units and deployment, each on
// the host and as a client sees it.
#include <gtest/gtest.h>

#include "game/model/digest.h"
#include "game/model/setup.h"
#include "game/model/turns.h"
#include "game/model/units.h"
#include "game/net/builders.h"
#include "game/net/routing.h"
#include "game/model/states.h"
#include "tests/game/model/units_fixture.h"

class SetupTest : public UnitsTest {
protected:
    void SetUp() override
    {
        UnitsTest::SetUp();
        p[1].startx = 4;
        p[1].starty = 6;
        p[0].startx = 12;
        p[0].starty = 12;
    }
};

TEST_F(SetupTest, AWarlordTakesHisTypesBonusesFilterAndGoldOnce)
{
    const int32_t gold = p[1].gold;
    EXPECT_FALSE(PlaceWarlord(T_LORD, 1, 0));
    ASSERT_EQ(p[1].units.size(), 1u);
    const Unit& w = U(1, 0);
    EXPECT_EQ(w.type, T_LORD);
    EXPECT_EQ(w.x, 4);
    EXPECT_EQ(w.y, 6);
    EXPECT_EQ(w.notwarlord, 0);
    EXPECT_EQ(w.mana, WARLORDMANA);
    EXPECT_EQ(p[1].warlordtype, T_LORD);
    for (int k = 0; k < NUMSTATS; k++) {
        EXPECT_EQ(p[1].bonus[k], k + 1);
        EXPECT_EQ(p[1].filtermin[k], k == STAT_ATTACK ? 3 : 0);
        EXPECT_EQ(p[1].filtermax[k], k == STAT_ATTACK ? 5 : 50);
    }
    EXPECT_EQ(p[1].expbonus, 7);
    EXPECT_EQ(p[1].spellexpbonus, 8);
    EXPECT_EQ(p[1].sightbonus, 2);
    EXPECT_EQ(p[1].gold, gold + WARLORDGOLD);   // and no price for the warlord himself

    EXPECT_TRUE(PlaceWarlord(T_LORD, 1, 0));     // a second time
    EXPECT_TRUE(PlaceWarlord(T_SOLDIER, 0, 0));  // not a warlord type
    EXPECT_TRUE(PlaceWarlord(T_LORD, 2, 0));     // the neutral side
    EXPECT_TRUE(PlaceWarlord(T_LORD, 5, 0));
    EXPECT_EQ(p[1].units.size(), 1u);
    EXPECT_EQ(p[1].gold, gold + WARLORDGOLD);
    EXPECT_TRUE(p[0].units.empty());
}

TEST_F(SetupTest, AClientsWarlordIsPlacedByTheHostWithItsIdAndThenByTheClient)
{
    HostAndClient machines(1);
    machines.UseClient();
    SendToPlayer(BuildWarlordSelected(1, T_LORD, 300), -1);  // the client's own counters mean nothing
    machines.ClientToHost();
    ASSERT_EQ(p[1].units.size(), 1u);
    const int32_t id = U(1, 0).id;
    const std::vector<SentFrame> sent = machines.HostToClient();
    EXPECT_TRUE(Sent(sent, BuildWarlordSelected(1, T_LORD, id)));
    ASSERT_EQ(p[1].units.size(), 1u);
    EXPECT_EQ(U(1, 0).id, id);
    const uint64_t client = GameStateDigest();
    machines.UseHost();
    EXPECT_EQ(GameStateDigest(), client);

    // A choice for somebody else, or a second one, is refused by the host.
    machines.UseClient();
    SendToPlayer(BuildWarlordSelected(0, T_LORD, 300), -1);
    SendToPlayer(BuildWarlordSelected(1, T_LORD, 300), -1);
    machines.ClientToHost();
    EXPECT_TRUE(p[0].units.empty());
    EXPECT_EQ(p[1].units.size(), 1u);
    EXPECT_TRUE(TakeSentFrames().empty());
}

TEST_F(SetupTest, TheHostAnnouncesTheUnitsItCreatesExceptWarlords)
{
    HostAndClient machines(1);
    const int32_t u = CreateUnitAndAnnounce(2, 7, 8, T_IMP, 0);
    ASSERT_GE(u, 0);
    EXPECT_EQ(CreateUnitAndAnnounce(2, 7, 9, T_WARLORD, 0), u + 1);
    EXPECT_EQ(CreateUnitAndAnnounce(2, 20, 9, T_IMP, 0), -1);      // no message could carry the square
    const std::vector<SentFrame> sent = machines.HostToClient();
    EXPECT_TRUE(Sent(sent, BuildCreateUnit(2, T_IMP, p[2].units.empty() ? 0 : U(2, 0).id, 7, 8)));
    EXPECT_EQ(p[2].units.size(), 1u);   // the warlord type was not announced
    EXPECT_EQ(CreateUnitAndAnnounce(2, 3, 3, T_IMP, 0), -1);        // a client creates nothing
    machines.UseHost();
    p[2].units.pop_back();
    const uint64_t host = GameStateDigest();
    machines.UseClient();
    EXPECT_EQ(GameStateDigest(), host);
}

TEST_F(SetupTest, AClientsDeployedUnitIsCreatedByTheHostForEveryone)
{
    currplayer = 1;
    turnholder = 1;                     // his morning turn
    HostAndClient machines(1);
    machines.UseClient();
    p[1].gold -= Price(T_SOLDIER);      // he paid in the shop
    p[1].bought.push_back({ T_SOLDIER, 0, 0, T_SOLDIER });
    EXPECT_EQ(SendDeployMessage(1, 4, 7, T_SOLDIER, 0), -1);
    EXPECT_TRUE(p[1].units.empty());    // not before the host's answer
    machines.ClientToHost();
    ASSERT_EQ(p[1].units.size(), 1u);
    EXPECT_EQ(U(1, 0).moves, 3);        // the host brought it up to date at once
    const int32_t id = U(1, 0).id;
    machines.HostToClient();
    ASSERT_EQ(p[1].units.size(), 1u);
    EXPECT_EQ(U(1, 0).id, id);
    EXPECT_EQ(gs, GAME_PREPAREDEPLOY);
    EXPECT_TRUE(p[1].bought.empty());   // the answer spends his bought entry
    EXPECT_EQ(U(1, 0).moves, 3);        // and so did his own machine, at the same point
    machines.UseHost();
    const uint64_t host = GameStateDigest();
    machines.UseClient();
    EXPECT_EQ(GameStateDigest(), host);
}

TEST_F(SetupTest, TheHostRefusesPlacementsOutOfTurnOfUnboughtKindsOrOnTakenSquares)
{
    currplayer = 1;
    turnholder = 1;
    AddTestUnit(0, 4, 8);
    HostAndClient machines(1);
    struct Case {
        int32_t type, x, y;
        bool sent;          // a warlord type never leaves the client
    };
    const Case refused[] = { { T_ELEMENTAL, 4, 7, true }, { T_WARLORD, 4, 7, false }, { T_SOLDIER, 4, 8, true } };
    for (const Case& c : refused) {
        machines.UseClient();
        SendDeployMessage(1, c.x, c.y, c.type, 0);
        machines.ClientToHost();
        EXPECT_TRUE(p[1].units.empty());
        // Only he hears of it: he goes back to placing his units.
        const std::vector<SentFrame> sent = TakeSentFrames();
        ASSERT_EQ(sent.size(), c.sent ? 1u : 0u) << c.type;
        if (c.sent) {
            EXPECT_EQ(sent[0].socket, TESTSOCKETBASE + 1);
            EXPECT_EQ(sent[0].Body(), BuildSetGs(GAME_PREPAREDEPLOY));
        }
    }
    // Not his turn; his turn but out of his camp's reach; then the same placement in his turn is taken.
    currplayer = turnholder = 0;
    machines.UseClient();
    SendDeployMessage(1, 4, 7, T_SOLDIER, 0);
    machines.ClientToHost();
    EXPECT_TRUE(p[1].units.empty());
    currplayer = turnholder = 1;
    machines.UseClient();
    SendDeployMessage(1, 14, 14, T_SOLDIER, 0);
    machines.ClientToHost();
    EXPECT_TRUE(p[1].units.empty());
    machines.UseClient();
    SendDeployMessage(1, 4, 7, T_SOLDIER, 0);
    machines.ClientToHost();
    EXPECT_EQ(p[1].units.size(), 1u);
}

// Before his first turn (the host deploys straight from the shop): the unit is brought up to date with
// the rest of his army when his turn begins, on every machine alike.
TEST_F(SetupTest, TheHostsOwnDeploymentIsAnnouncedAndOthersChargeIt)
{
    HostAndClient machines(1);
    const int32_t gold = p[0].gold;
    SendDeployMessage(0, 12, 11, T_SOLDIER, 0);
    ASSERT_EQ(p[0].units.size(), 1u);
    EXPECT_EQ(p[0].gold, gold);
    const int32_t id = U(0, 0).id;
    const std::vector<SentFrame> sent = machines.HostToClient();
    EXPECT_TRUE(Sent(sent, BuildDeployUnit(0, T_SOLDIER, id, 12, 11)));
    ASSERT_EQ(p[0].units.size(), 1u);
    EXPECT_EQ(U(0, 0).id, id);
    EXPECT_EQ(p[0].gold, gold - Price(T_SOLDIER));
    EXPECT_EQ(U(0, 0).moves, 0);
    machines.UseHost();
    ServerNextTurn(-1);                 // his turn
    EXPECT_EQ(U(0, 0).moves, 3);
    machines.HostToClient();
    EXPECT_EQ(U(0, 0).moves, 3);
}

TEST_F(SetupTest, PreparingADeploymentRunsEveryDeploymentAbilityAndEndsWithNothingLeft)
{
    AddTestUnit(0, 1, 1);
    AddTestUnit(0, 2, 1);
    U(0, 0).abilities[2] = A_MUSTER;
    U(0, 1).abilities[0] = A_MUSTER;
    p[0].bought.push_back({ T_IMP, 0, 0, T_IMP });
    hoveritem = 3;
    EXPECT_FALSE(PrepareDeploy(0));
    EXPECT_EQ(hoveritem, 0);
    ASSERT_EQ(slotcalls.size(), 2u);
    EXPECT_EQ(slotcalls[1].a1, 0);
    EXPECT_EQ(slotcalls[1].a2, 1);
    EXPECT_EQ(slotcalls[1].a3, 0);

    p[0].bought.clear();
    map[3][3].mark = 1;
    shoppers = 0;
    turncount = 0;
    EXPECT_TRUE(PrepareDeploy(0));
    EXPECT_EQ(slotcalls.size(), 4u);    // again at every call
    EXPECT_EQ(turncount, -1);
    EXPECT_EQ(shoppers, 1);
    EXPECT_EQ(currunit, -1);
    EXPECT_EQ(gs, GAME_WAITPLAYERS);
    EXPECT_EQ(map[3][3].mark, 0);
    EXPECT_TRUE(TakeSentFrames().empty());

    BecomeClient(1);
    turncount = 0;
    EXPECT_TRUE(PrepareDeploy(1));
    EXPECT_EQ(turncount, 0);
    EXPECT_EQ(gs, GAME_STARTTURN);
    EXPECT_TRUE(Sent(TakeSentFrames(), BuildDoneShopping()));
}
