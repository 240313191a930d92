// The neutral turn always ends: on fixtures where a unit cannot make progress or dies in its own turn,
// and on maps from the real generator with the shipped catalogue, guards given any spell at all; every
// client that applies what the host sent agrees with it.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "ai_fixture.h"
#include "game/ai/computerturn.h"
#include "game/magic/targets.h"
#include "game/model/digest.h"
#include "game/model/mapgen.h"
#include "game/model/queries.h"
#include "game/model/turnstart.h"
#include "game/model/units.h"
#include "game/model/upgrade.h"
#include "game/net/lobby.h"
#include "game/net/sendqueue.h"
#include "game/screens/setupsteps.h"
#include "platform/clock.h"
#include "platform/random.h"

TEST_F(AiTest, TheNeutralTurnEndsWhateverStopsAUnit)
{
    struct Row {
        const char* what;
        std::function<void()> make;
        const char* logged;
    };
    const std::vector<Row> rows = {
        { "a target out of reach", [] { AddGuard(0, 0); AddEnemy(9, 9); }, "No units in range!" },
        { "a blocked path",
          [] {
              AddGuard(5, 5);
              AddEnemy(5, 1);
              map[4][5].counter2 = map[6][5].counter2 = map[5][4].counter2 = map[5][6].counter2 = 2;
          },
          "Blocked on all counts!" },
        { "no moves left",
          [] {
              Guard(AddGuard(5, 5)).moves = 0;
              AddEnemy(5, 3);
              comptarget = -1;
          },
          "No units in range!" },
        { "a spell its target refuses", [] { Learn(AddGuard(5, 5), 0, HEAL); AddEnemy(5, 6); }, "refused" },
        { "a refused spell and no attack",
          [] {
              const int32_t g = AddGuard(5, 5);
              Learn(g, 0, HEAL);
              Guard(g).rocks = 0;
              AddEnemy(5, 6);
          },
          "Action impossible." },
        { "a square spell with no free square",
          [] {
              Learn(AddGuard(0, 0), 0, FORCEFIELD);
              AddEnemy(1, 0);
              AddEnemy(0, 1);
              AddEnemy(1, 1);
          },
          "No free square to cast at." },
        { "killed by the counter of its last target",
          [] {
              Guard(AddGuard(5, 5)).hp = 1;
              GiveAbility(Enemy(AddEnemy(5, 6)), 0, FLAMING);
          },
          "is gone... next unit turn." },
        { "killed by a fire on its way",
          [] {
              Guard(AddGuard(5, 5)).hp = 1;
              Enemy(AddEnemy(5, 1)).hp = 5;
              map[5][4].hazard = 3;
          },
          "is gone... next unit turn." },
        { "immobile",
          [] {
              GiveAbility(Guard(AddGuard(5, 5)), 0, IMMOBILE);
              AddEnemy(5, 2);
          },
          "Blocked on all counts!" },
        { "a crowd on one enemy",
          [] {
              for (int32_t x = 3; x <= 7; x++)
                  for (int32_t y = 3; y <= 7; y += 2)
                      AddGuard(x, y);
              AddEnemy(5, 0);
              AddEnemy(9, 9);
          },
          "Acted on" },
    };
    for (const Row& r : rows) {
        MakeWorld(2, AIMAP);
        ResetComputerPlayer();
        CaptureLog();
        r.make();
        const TurnRun run = RunNeutralTurn(TurnBound(p[NEUTRALSIDE].units.size()));
        EXPECT_GE(run.frames, 0) << r.what;
        EXPECT_EQ(gs, GAME_ENDTURN) << r.what;
        EXPECT_LE(run.longest, UNITFRAMES) << r.what;
        EXPECT_TRUE(Logged(r.logged)) << r.what;
    }
}

TEST_F(AiTest, AUnitKilledInItsTurnHandsOnToTheUnitAfterIt)
{
    // The first guard dies striking a flaming enemy; the second still takes its turn, once.
    Guard(AddGuard(2, 2)).hp = 1;
    GiveAbility(Enemy(AddEnemy(2, 3)), 0, FLAMING);
    const int32_t second = AddGuard(7, 7);
    const int32_t secondid = Guard(second).id;
    const int32_t target = AddEnemy(7, 8);
    const TurnRun run = RunNeutralTurn(TurnBound(2));
    EXPECT_EQ(gs, GAME_ENDTURN);
    EXPECT_EQ(run.units, 2);
    ASSERT_EQ(p[NEUTRALSIDE].units.size(), 1u);
    EXPECT_EQ(Guard(0).id, secondid);
    EXPECT_EQ(Enemy(target).hp, 10 - 4);
}

TEST_F(AiTest, TheActingUnitIsFollowedWhenAnotherLeavesTheList)
{
    MakeWorld(2, 20);
    currplayer = turnholder = NEUTRALSIDE;
    Guard(AddGuard(0, 18)).alerted = 0;
    const int32_t second = AddGuard(0, 19);
    Guard(second).alerted = 0;
    const int32_t acting = AddGuard(5, 5);
    const int32_t actingid = Guard(acting).id;
    Enemy(AddEnemy(5, 1)).hp = 9;
    AddGuard(15, 15);
    const int32_t lasttarget = AddEnemy(15, 16);
    currunit = -1;
    gs = GAME_COMPTURN;
    for (int32_t sleeper = 0; sleeper < 2; sleeper++) {
        CompTurnStep();
        CompUnitStep();
    }
    CompTurnStep();
    ASSERT_EQ(currunit, acting);
    CompUnitStep();         // one step north
    EXPECT_EQ(Guard(acting).y, 4);
    // A sleeper is removed: the rules point currunit at the first unit, the other sleeper.
    KillUnit(NEUTRALSIDE, second, HUMAN);
    ProcessDeaths();
    EXPECT_EQ(currunit, 0);
    CompUnitStep();
    EXPECT_EQ(currunit, 1);
    EXPECT_EQ(Guard(1).id, actingid);
    EXPECT_EQ(Guard(1).y, 3);   // the same unit stepped on
    // Its turn ends, and the guard after it has its own.
    for (int32_t frame = 0; frame < TurnBound(2) && gs != GAME_ENDTURN; frame++) {
        if (gs == GAME_COMPTURN)
            CompTurnStep();
        else
            CompUnitStep();
        ProcessDeaths();
    }
    EXPECT_EQ(gs, GAME_ENDTURN);
    EXPECT_EQ(Enemy(lasttarget).hp, 10 - 4);
}

TEST_F(AiTest, TheUnitAfterTheActingOneHasItsTurnWhenTheActingOneAndAnEarlierOneDieTogether)
{
    Guard(AddGuard(0, 0)).alerted = 0;
    const int32_t acting = AddGuard(5, 5);
    AddEnemy(5, 1);
    const int32_t after = AddGuard(8, 8);
    const int32_t afterid = Guard(after).id;
    const int32_t target = AddEnemy(8, 9);
    currunit = -1;
    gs = GAME_COMPTURN;
    CompTurnStep();
    CompUnitStep();         // the sleeper's turn ends at once
    CompTurnStep();
    ASSERT_EQ(currunit, acting);
    CompUnitStep();         // one step north
    ASSERT_EQ(Guard(acting).y, 4);
    // The acting unit and the sleeper before it die in one pass of the main loop.
    KillUnit(NEUTRALSIDE, 0, HUMAN);
    KillUnit(NEUTRALSIDE, acting, HUMAN);
    ProcessDeaths();
    ASSERT_EQ(p[NEUTRALSIDE].units.size(), 1u);
    const TurnRun run = [] {
        TurnRun r;
        for (int32_t frame = 0; frame < TurnBound(1) && gs != GAME_ENDTURN; frame++) {
            if (gs == GAME_COMPTURN) {
                CompTurnStep();
                r.units += gs == GAME_COMPUNIT ? 1 : 0;
            } else {
                CompUnitStep();
            }
            ProcessDeaths();
        }
        return r;
    }();
    EXPECT_EQ(gs, GAME_ENDTURN);
    EXPECT_EQ(run.units, 1);
    EXPECT_EQ(Guard(0).id, afterid);
    EXPECT_EQ(Enemy(target).hp, 10 - 4);
}

TEST_F(AiTest, AUnitThatWouldStepOnForeverIsStopped)
{
    // An immobile guard gives up one unreachable target a step: more of them than it may take steps.
    const int32_t g = AddGuard(0, 0);
    GiveAbility(Guard(g), 0, IMMOBILE);
    Guard(g).moves = 10;
    for (int32_t n = 0; n < MAXUNITSTEPS + 6; n++)
        AddEnemy(2 + n % 8, 1 + n / 8);
    const TurnRun run = RunNeutralTurn(TurnBound(1));
    EXPECT_EQ(gs, GAME_ENDTURN);
    EXPECT_EQ(run.longest, UNITFRAMES);
    EXPECT_TRUE(Logged("took " + std::to_string(MAXUNITSTEPS) + " steps... next unit turn."));
}

TEST_F(AiTest, AUnitsTurnCutShortIsForgottenAtTheNextHandOver)
{
    const int32_t g = AddGuard(5, 5);
    AddEnemy(5, 1);
    currunit = -1;
    gs = GAME_COMPTURN;
    CompTurnStep();
    CompUnitStep();
    ASSERT_TRUE(compactive);
    // The game ends in the middle; in the next one the old guard's id is an enemy's.
    MakeWorld(2, AIMAP);
    AddEnemy(5, 1);
    const int32_t next = AddGuard(5, 5);
    ASSERT_NE(Guard(next).id, compunitid);
    RunNeutralTurn(TurnBound(1));
    EXPECT_FALSE(Logged("is gone"));
    EXPECT_EQ(Guard(next).y, 2);
    (void)g;
}

TEST_F(AiTest, ABlockedTargetIsForgottenWithTheUnitsTurn)
{
    // Blocked in one turn, the same unit (at the same index) goes for it again the next.
    const int32_t g = AddGuard(5, 5);
    AddEnemy(5, 1);
    map[5][4].counter2 = 1;
    map[4][5].counter2 = map[6][5].counter2 = 1;
    RunNeutralTurn(TurnBound(1));
    EXPECT_TRUE(Logged("Blocked on all counts!"));
    map[5][4].counter2 = 0;
    Guard(g).hits = 2;
    Guard(g).moves = 3;
    RunNeutralTurn(TurnBound(1));
    EXPECT_EQ(Guard(g).y, 2);
}

namespace {

// The shipped catalogue, with its handlers bound, as the game loads it.
bool LoadShipped()
{
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(GORV_DIST_DIR);
    const bool failed = LoadGameText();
    std::filesystem::current_path(previous);
    if (failed)
        return false;
    CreateSpells();
    return true;
}

// A free square within reach squares of (x, y), drawn; false when the draws found none.
bool FreeSquareNear(int32_t x, int32_t y, int32_t reach, int32_t* fx, int32_t* fy)
{
    for (int tries = 0; tries < 20; tries++) {
        *fx = x + Random() % (2 * reach + 1) - reach;
        *fy = y + Random() % (2 * reach + 1) - reach;
        if (InBounds(*fx, *fy) && IsSquareFree(0, 0, *fx, *fy, 0))
            return true;
    }
    return false;
}

// A game's board as the host makes it for that many humans: the map search, the neutral side and its
// guards round every mine. Then armies near the guards, most guards awake, and every spell rated by a
// new random power, one guard in three knowing one or two spells of any kind.
void MakeGeneratedGame(uint32_t seed, int32_t humans)
{
    MakeWorld(humans, MINMAPSIZE, false);
    map.clear();
    mapsize = 0;
    SeedRandom(seed);
    // The search seeds each candidate from the clock: one frame apart, as the screen runs it.
    UseVirtualClock(seed * 7919u);
    ASSERT_FALSE(CreateBlankMap(MapSizeFor(humans)));
    StartMapSearch();
    gs = GAME_CREATEMAP;
    while (gs == GAME_CREATEMAP) {
        CreateMapStep();
        AdvanceClock(16);
    }
    CreateNeutralsStep();
    while (gs == GAME_PLACENEUTRALS)
        PlaceNeutralsStep();
    ProcessUpgrades();
    const int32_t neutral = static_cast<int32_t>(p.size()) - 1;
    ASSERT_TRUE(p[neutral].neutral);
    for (SpellInfo& spell : spells)
        spell.power = Random() % 12;
    const size_t guards = p[neutral].units.size();
    for (size_t g = 0; g < guards; g++) {
        Unit& guard = p[neutral].units[g];
        guard.alerted = Random() % 4 != 0 ? 1 : 0;
        if (Random() % 3 == 0) {
            guard.mana = MAXMANA;
            for (int32_t slot = 0; slot < 1 + Random() % 2; slot++)
                guard.spells[slot] = Random() % static_cast<int32_t>(spells.size());
        }
        const int32_t gx = guard.x, gy = guard.y;
        for (int32_t n = Random() % 3; n > 0; n--) {
            int32_t x, y;
            if (FreeSquareNear(gx, gy, 6, &x, &y))
                CreateUnit(Random() % humans, x, y, buyable[Random() % buyable.size()].type, 0);
        }
    }
    ClearSendQueue();
}

class GeneratedMapTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        ASSERT_TRUE(LoadShipped());
        ResetComputerPlayer();
    }
    void TearDown() override
    {
        ResetComputerPlayer();
        UseRealClock();
        GameTest::TearDown();
    }
};

} // namespace

TEST_F(GeneratedMapTest, EveryNeutralTurnEndsAndTheClientsAgree)
{
    int32_t longest = 0, acted = 0;
    for (uint32_t seed = 1; seed <= 200; seed++) {
        const int32_t humans = 2 + static_cast<int32_t>(seed % 3);
        CaptureDebugLog(nullptr);   // the map search's thousands of lines
        MakeGeneratedGame(seed, humans);
        if (HasFatalFailure())
            return;
        CaptureLog();
        const int32_t neutral = static_cast<int32_t>(p.size()) - 1;
        currplayer = turnholder = neutral;
        UpdateUnits(neutral);       // the turn's moves and actions
        ClearSendQueue();
        size_t units = 0;
        for (const Player& player : p)
            units += player.units.size();
        HostAndClient machines(1);
        // Every unit of the game could end up the neutral side's (spells that change sides).
        const TurnRun run = RunNeutralTurn(TurnBound(units + p[neutral].units.size()));
        ASSERT_GE(run.frames, 0) << "seed " << seed;
        EXPECT_LE(run.longest, UNITFRAMES) << "seed " << seed;
        longest = std::max(longest, run.longest);
        acted += Logged("Acted on") ? 1 : 0;
        EXPECT_EQ(gs, GAME_ENDTURN) << "seed " << seed;
        machines.HostToClient();
        const uint64_t client = GameStateDigest();
        machines.UseHost();
        EXPECT_EQ(GameStateDigest(), client) << "seed " << seed;
        ResetComputerPlayer();
    }
    // The maps give the guards work: most turns strike or cast somewhere.
    EXPECT_GT(acted, 100);
    RecordProperty("longest_unit_turn", longest);
}
