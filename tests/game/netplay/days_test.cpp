// A new day between a host and a client whose army has fallen: the client may read the day's summary
// through before the day begins or still be reading it, and both machines must count the same day,
// hold the same phase and turn holder, and roughen the land alike afterwards.
#include <vector>

#include "game/magic/spells.h"
#include "game/model/digest.h"
#include "game/model/turns.h"
#include "game/screens/setupsteps.h"
#include "game/screens/states.h"
#include "game/screens/turnsteps.h"
#include "tests/game/netplay/netplay.h"

namespace {

// The host's own player reads the summary through, shops nothing and deploys nothing, and waits:
// with the fallen client not waited for, the day's first turn begins.
void HostShopsAndStartsTheDay()
{
    gs = GAME_PRESHOP;
    PreShopStep();
    ASSERT_EQ(gs, GAME_SHOP);
    DoneShopping();
    if (gs == GAME_BEGINDEPLOY) {
        BeginDeployStep();
        ShadeMapStep();
        PrepareDeployStep();
    }
    ASSERT_EQ(gs, GAME_WAITPLAYERS);
    WaitPlayersStep();
    ASSERT_NE(gs, GAME_WAITPLAYERS);
}

// Each square's terrain and its variant.
std::vector<int32_t> Terrain()
{
    std::vector<int32_t> terrain;
    for (const auto& column : map)
        for (const MapSquare& s : column)
            terrain.push_back(s.terrain * 256 + s.extra);
    return terrain;
}

} // namespace

TEST_F(NetPlayTest, ANewDayIsCountedAlikeOnAMachineWhosePlayerHasFallen)
{
    for (const bool clientreadsthrough : { false, true }) {
        SCOPED_TRACE(clientreadsthrough ? "the client left the summary first" : "the client still reads the summary");
        MakeWorld(2, 20);
        AddTestUnit(0, 6, 6);
        AddTestUnit(2, 15, 15);
        p[1].warlordtype = 2;           // his warlord fell: no army left
        daycount = 1;
        turncount = 2;
        currplayer = turnholder = 2;    // the neutral side ends the night
        HostAndClient machines(1);
        machines.UseHost();
        ServerNextTurn(2);
        ASSERT_EQ(gs, GAME_DAYSUMMARYOPEN);
        machines.HostToClient();
        ASSERT_EQ(gs, GAME_DAYSUMMARYOPEN);
        if (clientreadsthrough) {
            gs = GAME_PRESHOP;
            PreShopStep();
            ASSERT_EQ(gs, GAME_WAITPLAYERS);
            WaitPlayersStep();
            machines.ClientToHost();
        } else {
            machines.UseHost();
        }
        HostShopsAndStartsTheDay();
        EXPECT_EQ(daycount, 2);
        EXPECT_EQ(turncount, 0);
        EXPECT_EQ(currplayer, 0);
        const uint64_t hostdigest = GameStateDigest();
        machines.HostToClient();
        EXPECT_EQ(gs, GAME_WATCH);
        EXPECT_EQ(daycount, 2);
        EXPECT_EQ(turncount, 0);
        EXPECT_EQ(currplayer, 0);
        EXPECT_EQ(GameStateDigest(), hostdigest);

        // The rough ground's variants are drawn from the day, the phase and the turn holder, which every
        // machine must hold alike for the land to look the same everywhere.
        SpellRoughen(0, 0, 9, 9, 0, 0);
        const std::vector<int32_t> clientland = Terrain();
        const uint64_t clientdigest = GameStateDigest();
        machines.UseHost();
        SpellRoughen(0, 0, 9, 9, 0, 0);
        EXPECT_EQ(Terrain(), clientland);
        EXPECT_EQ(GameStateDigest(), clientdigest);
        ClearSendQueue();
    }
}
