// Play kinds between machines: the computer player's record, exploration experience, the next unit.
#include <gtest/gtest.h>

#include "game/model/digest.h"
#include "game/model/localplayer.h"
#include "game/model/queries.h"
#include "game/model/setup.h"
#include "game/model/sight.h"
#include "game/model/state.h"
#include "game/model/strids.h"
#include "game/model/strings.h"
#include "game/model/turns.h"
#include "game/net/builders.h"
#include "game/net/dispatch.h"
#include "game/net/frame.h"
#include "game/net/routing.h"
#include "game/screens/setupsteps.h"
#include "game/screens/states.h"
#include "game/screens/turnsteps.h"
#include "netplay.h"

TEST_F(NetPlayTest, TheComputerPlayersRecordIsAddedOnceAndAcknowledged)
{
    MakeWorld(2, 12, false);
    HostAndClient machines(1);
    machines.UseHost();
    gs = GAME_CREATENEUTRALS;
    CreateNeutralsStep();
    EXPECT_EQ(gs, GAME_PLACENEUTRALS);
    const std::vector<SentFrame> sent = machines.HostToClient();
    EXPECT_TRUE(Sent(sent, BuildCreateComputerPlayer(2, 0)));
    ASSERT_EQ(p.size(), 3u);
    EXPECT_TRUE(p[2].neutral);
    EXPECT_EQ(p[0].hostplayer, 1);      // the client knows the host's record too
    // The acknowledgement reaches the host; a second computer player is refused.
    machines.UseHost();
    EXPECT_EQ(p[1].ready, 0);
    machines.ClientToHost();
    EXPECT_EQ(p[1].ready, 1);
    machines.UseClient();
    DoMessage(std::string("\x06*42\xFF;", 6), TESTHOSTSOCKET, 0);
    EXPECT_EQ(p.size(), 3u);
    const uint64_t client = GameStateDigest();
    machines.UseHost();
    EXPECT_EQ(GameStateDigest(), client);
}

TEST_F(NetPlayTest, ExplorationIsAddedOnceOnEveryMachine)
{
    MakeWorld(3, 20);
    const int32_t u = AddTestUnit(1, 5, 5);
    const int32_t id = p[1].units[u].id;
    HostAndClient owner(1);
    owner.UseHost();
    ExploreFrom(1, 5, 5, 9, u);         // the host sees the look, not what it reveals
    owner.UseClient();
    ExploreFrom(1, 5, 5, 9, u);         // nine new squares here: 4
    EXPECT_EQ(p[1].units[u].experience, 4);
    owner.ClientToHost();
    EXPECT_EQ(p[1].units[u].experience, 4);
    // Passed on to every other client, not back to the owner.
    const std::vector<SentFrame> relayed = TakeSentFrames();
    ASSERT_EQ(relayed.size(), 1u);
    EXPECT_EQ(relayed[0].socket, TESTSOCKETBASE + 2);
    EXPECT_EQ(relayed[0].Body(), BuildAddExperience(id, 4));
    // Another client applies it; the owner would refuse his own gain back.
    BecomeClient(2);
    DeliverToClient(relayed, 2);
    EXPECT_EQ(p[1].units[u].experience, 8);
    BecomeClient(1);
    DoMessage(relayed[0].frame, TESTHOSTSOCKET, 0);
    EXPECT_EQ(p[1].units[u].experience, 8);
    EXPECT_TRUE(Logged("counted it already"));
}

// The host pays a client's report only for a look of that unit it saw itself, once per look, and no
// more than the look could earn (budget 9 reaches nine squares: at most 4 with the divisor 2).
TEST_F(NetPlayTest, TheHostPaysExplorationOnlyForLooksItSaw)
{
    struct Case {
        const char* what;
        int32_t looks;                  // looks the host saw
        std::vector<int32_t> reports;   // what the client then says, in order
        int32_t paid;                   // experience the host adds in all
        bool refused;                   // an "ERROR:" line
    };
    const Case cases[] = {
        { "a look, reported", 1, { 4 }, 4, false },
        { "no look at all", 0, { 3 }, 0, true },
        { "one look, two reports", 1, { 4, 4 }, 4, true },
        { "more than the look can earn, then what it earned", 1, { 5, 4 }, 4, true },
        { "a look that earned nothing counts as one", 2, { 0, 4 }, 4, false },
        { "twenty reports of the most a message carries", 1, std::vector<int32_t>(20, MAXSENTGAIN), 0, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetGameState();
        MakeWorld(2, 20);
        const int32_t u = AddTestUnit(1, 5, 5);
        const int32_t id = p[1].units[u].id;
        HostAndClient machines(1);
        machines.UseHost();
        for (int32_t look = 0; look < c.looks; look++)
            ExploreFrom(1, 5, 5, 9, u);
        CaptureLog();
        for (const int32_t gain : c.reports)
            DoMessage(BuildFrame(BuildAddExperience(id, gain)), p[1].socket, 0);
        EXPECT_EQ(p[1].units[u].experience, c.paid);
        EXPECT_TRUE(upgradequeue.empty());
        EXPECT_EQ(Logged("ERROR:"), c.refused);
    }
}

TEST_F(NetPlayTest, TheHostsOwnExplorationReachesTheClients)
{
    MakeWorld(2, 20);
    const int32_t u = AddTestUnit(0, 5, 5);
    HostAndClient machines(1);
    machines.UseHost();
    ExploreFrom(0, 5, 5, 9, u);
    EXPECT_EQ(p[0].units[u].experience, 4);
    machines.HostToClient();
    EXPECT_EQ(p[0].units[u].experience, 4);
}

TEST_F(NetPlayTest, TheNextUnitIsFollowedElsewhereAndRelayed)
{
    MakeWorld(3, 12);
    AddTestUnit(1, 2, 2);
    const int32_t u = AddTestUnit(1, 4, 4);
    currplayer = turnholder = 1;
    HostAndClient machines(1);
    machines.UseClient();
    currunit = u - 1;
    gs = GAME_NEXTUNIT;
    NextUnitStep();
    EXPECT_EQ(gs, GAME_UNITTURN);
    EXPECT_EQ(currunit, u);
    machines.ClientToHost();
    EXPECT_EQ(currunit, u);             // the host follows him
    const std::vector<SentFrame> relayed = TakeSentFrames();
    EXPECT_TRUE(Sent(relayed, BuildNextUnit(p[1].units[u].id)));
    // A unit of another player than the one whose turn it is: refused.
    DoMessage(relayed[0].frame, p[2].socket, 0);
    EXPECT_TRUE(Logged("ERROR: Player 2 gave an order"));
}

TEST_F(NetPlayTest, TheComputerTurnEndsWithoutRunningItsEndOfTurnAbilitiesItself)
{
    MakeWorld(2, 12);
    AddTestUnit(2, 3, 3);
    currplayer = turnholder = 2;
    currunit = -1;
    gs = GAME_COMPTURN;
    CompTurnStep();
    EXPECT_EQ(gs, GAME_COMPUNIT);       // the guard takes its turn
    gs = GAME_COMPTURN;
    CompTurnStep();
    EXPECT_EQ(gs, GAME_ENDTURN);        // none left: ServerNextTurn runs the abilities, once
    EXPECT_FALSE(Logged("Executing ability"));
}

TEST_F(NetPlayTest, ARefusedDeploymentSendsTheClientBackWithHisUnit)
{
    MakeWorld(2, 20);
    ASSERT_FALSE(buyable.empty());
    const UnitListEntry soldier = buyable[0];
    p[1].startx = p[1].starty = 5;
    p[1].gold = 100;
    turnholder = 1;     // his morning turn
    turncount = 0;
    HostAndClient machines(1);
    machines.UseClient();
    const int32_t price = GetResNumber(static_cast<uint32_t>(soldier.type + STR_UNITCOST));    // a base type
    p[1].gold -= price;     // paid in his shop
    p[1].bought = { soldier };
    map[6][5].mark = map[7][5].mark = 1;
    auto deploy = [&](int32_t x) {
        gs = GAME_DEPLOY;
        hoveritem = 0;
        ASSERT_FALSE(DeployAt(x, 5));
        EXPECT_EQ(gs, GAME_DEPLOYWAIT);
        EXPECT_EQ(p[1].bought.size(), 1u);  // not spent before the host places it
    };

    // The host finds the square taken by a unit the client does not know of.
    deploy(6);
    machines.UseHost();
    AddTestUnit(0, 6, 5);
    const int32_t hostunits = static_cast<int32_t>(p[1].units.size());
    machines.ClientToHost();
    EXPECT_EQ(static_cast<int32_t>(p[1].units.size()), hostunits);
    const std::vector<SentFrame> answer = machines.HostToClient();
    EXPECT_TRUE(Sent(answer, BuildSetGs(GAME_PREPAREDEPLOY)));
    EXPECT_EQ(gs, GAME_PREPAREDEPLOY);
    ASSERT_EQ(p[1].bought.size(), 1u);
    EXPECT_EQ(p[1].bought[0].type, soldier.type);

    // Placed elsewhere: the host's copy comes back and only then is the bought unit spent.
    deploy(7);
    machines.ClientToHost();
    machines.HostToClient();
    EXPECT_EQ(gs, GAME_PREPAREDEPLOY);
    EXPECT_TRUE(p[1].bought.empty());
    const UnitRef placed = FindUnit(UnitIdAt(7, 5));
    EXPECT_EQ(placed.player, 1);
    const int32_t gold = p[1].gold;
    machines.UseHost();
    EXPECT_EQ(p[1].gold, gold);
    EXPECT_EQ(FindUnit(UnitIdAt(7, 5)).player, 1);
}
